#include "app/AboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace notarium {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* icon = new QLabel(this);
    const QIcon windowIcon = parent ? parent->windowIcon() : QApplication::windowIcon();
    const QIcon shown
        = windowIcon.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxInformation) : windowIcon;
    icon->setPixmap(shown.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Notarium"), this);
    name->setObjectName(QStringLiteral("ProgramName"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    name->setFont(nameFont);

    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("VersionLabel"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* description = new QLabel(QStringLiteral("アウトライン形式でメモを整理するメモ帳です。"), this);
    description->setObjectName(QStringLiteral("DescriptionLabel"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutBox::versionText()
{
    return QStringLiteral("バージョン ") + QStringLiteral(NOTARIUM_VERSION);
}

} // namespace notarium
