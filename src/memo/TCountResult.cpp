#include "memo/TCountResult.h"

#include "app/WidgetHint.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace notarium {

namespace {

constexpr int kNumberWidth = 73;

} // namespace

QString TCountResult::formatCount(std::int64_t count, const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(static_cast<qlonglong>(count)).rightJustified(10);
}

TCountResult::TCountResult(const CharacterCounts& counts, QWidget* mainWindow)
    : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("TCountResult"));
    setWindowTitle(QStringLiteral("文字数カウント"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    auto* icon = new QLabel;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(16);
    rows->setVerticalSpacing(6);
    const QLocale locale;
    const struct {
        const char* caption;
        const char* name;
        std::int64_t value;
    } lines[] = {
        { "選択メモのテキスト", "SelNodeLabel", counts.node },
        { "選択ツリーのテキスト", "SelTreeLabel", counts.branch },
        { "すべてのテキスト", "OverallLabel", counts.total },
    };
    int row = 0;
    for (const auto& line : lines) {
        rows->addWidget(new QLabel(QString::fromUtf8(line.caption)), row, 0);
        auto* number = new QLabel(formatCount(line.value, locale));
        number->setObjectName(QString::fromLatin1(line.name));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(kNumberWidth);
        number->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows->addWidget(number, row, 1);
        ++row;
    }

    auto* ok = dialogButton("OKButton", "OK", "");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(icon);
    top->addLayout(rows, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 12, 14, 10);
    outer->setSpacing(12);
    outer->addLayout(top);
    outer->addLayout(buttons);
    // A dialog border: the window keeps its size.
    setFixedSize(sizeHint().expandedTo(QSize(259, 118)));
    ok->setFocus();
}

} // namespace notarium
