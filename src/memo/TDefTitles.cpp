#include "memo/TDefTitles.h"

#include "app/WidgetHint.h"
#include "core/settings/DefaultTitles.h"
#include "core/text/CommaText.h"
#include "editor/TRetEdit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace notarium {

namespace {

const QString kCaption = QStringLiteral("デフォルトのタイトル");

TRetEdit* titleEdit(const char* name)
{
    auto* edit = new TRetEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

TDefTitles::TDefTitles(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDefTitles"));
    setWindowTitle(kCaption);
    setModal(true);
    m_category = titleEdit("CatEdit");
    m_memo = titleEdit("MemEdit");
    m_result = titleEdit("ResEdit");
    auto* form = new QFormLayout;
    form->addRow(dialogLabel("CatLabel", "カテゴリ(&C)", m_category), m_category);
    form->addRow(dialogLabel("MemLabel", "メモ(&M)", m_memo), m_memo);
    form->addRow(dialogLabel("ResLabel", "結論(&R)", m_result), m_result);

    m_ok = dialogButton("OKButton", "OK", "");
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    auto* cancel = dialogButton("CancelButton", "Cancel", "");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(buttons);

    for (TRetEdit* edit : { m_category, m_memo, m_result })
        connect(edit, &QLineEdit::textChanged, this, &TDefTitles::updateOk);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        takeTitles();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void TDefTitles::start(const std::optional<std::string>& commaText)
{
    m_items = commaText ? DefaultTitles(*commaText).items() : std::vector<std::string> {};
    setWindowTitle(kCaption + (commaText ? QStringLiteral("を編集") : QStringLiteral("を追加")));
    TRetEdit* edits[] = { m_category, m_memo, m_result };
    for (std::size_t i = 0; i < 3; ++i)
        edits[i]->setText(i < m_items.size() ? QString::fromStdString(m_items[i]) : QString());
    m_ok->setEnabled(false);
    m_category->setFocus();
}

void TDefTitles::updateOk()
{
    m_ok->setEnabled(!m_category->text().isEmpty() && !m_memo->text().isEmpty() && !m_result->text().isEmpty());
}

void TDefTitles::takeTitles()
{
    // A set read with fewer than three items gets the missing ones.
    if (m_items.size() < 3)
        m_items.resize(3);
    m_items[0] = m_category->text().toStdString();
    m_items[1] = m_memo->text().toStdString();
    m_items[2] = m_result->text().toStdString();
}

std::string TDefTitles::commaText() const
{
    return toCommaText(m_items);
}

std::optional<std::string> TDefTitles::edit(
    QWidget* parent, const QWidget* anchor, const std::optional<std::string>& commaText)
{
    TDefTitles dialog(parent);
    dialog.start(commaText);
    if (anchor != nullptr) {
        // Right-aligned under the button that asked for it, so it opens over the list it edits.
        dialog.adjustSize();
        const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
        dialog.move(corner.x() - dialog.width(), corner.y());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.commaText();
}

} // namespace notarium
