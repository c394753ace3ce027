#include "settings/HelperListPage.h"

#include "core/io/FileIo.h"
#include "core/text/HelperListFile.h"
#include "editor/TRetListBox.h"
#include "platform/LocalPath.h"
#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <vector>

namespace notarium {

using namespace option_controls;

namespace {

std::vector<std::string> toPhrases(const QStringList& rows)
{
    std::vector<std::string> phrases;
    phrases.reserve(static_cast<std::size_t>(rows.size()));
    for (const QString& row : rows)
        phrases.push_back(row.toStdString());
    return phrases;
}

QStringList fromPhrases(const std::vector<std::string>& phrases)
{
    QStringList rows;
    for (const std::string& phrase : phrases)
        rows << QString::fromUtf8(phrase.data(), static_cast<qsizetype>(phrase.size()));
    return rows;
}

} // namespace

HelperListPage::HelperListPage(OptionDialogState& state)
    : OptionPage(
        state, QStringLiteral("入力支援"), TOptionDialog::kFirstHelpContext + TOptionDialog::HelperListPage)
{
    m_list = new TRetListBox;
    m_list->setObjectName(QStringLiteral("HelpListBox"));
    m_list->setReturnNext(false);
    // Empty phrases are rows too, as high as the others.
    m_list->setItemHeight(m_list->fontMetrics().height() + 4);
    m_string = edit("HelpStringEdit");
    m_add = button("AddStringButton", QStringLiteral("追加(&D)"));
    m_edit = button("EditStringButton", QStringLiteral("編集(&E)"));
    m_delete = button("DeleteStringButton", QStringLiteral("削除(&L)"));
    m_up = button("UpStringButton", QStringLiteral("上へ(&U)"));
    m_down = button("DownStringButton", QStringLiteral("下へ(&N)"));
    m_sorted = check("cbSortList", QStringLiteral("ABC順(&S)"));

    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : { m_add, m_edit, m_delete })
        buttons->addWidget(each);
    buttons->addSpacing(10);
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch(1);
    buttons->addWidget(m_sorted);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("入力支援リスト(&I)"), m_list), 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(label(QStringLiteral("文字列(&T)"), m_string), 2, 0);
    grid->addWidget(m_string, 3, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &HelperListPage::followSelection);
    connect(m_string, &QLineEdit::textEdited, this, [this](QString text) {
        QListWidgetItem* item = m_list->currentItem();
        if (item == nullptr)
            return;
        // A phrase is one line of the file: a pasted line break would split it in two.
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            text.replace(QLatin1Char('\r'), QLatin1Char(' '));
            text.replace(QLatin1Char('\n'), QLatin1Char(' '));
            m_string->setText(text);
        }
        item->setText(text);
        m_changed = true;
    });
    // A sorted list takes a changed phrase to its place once the typing is done.
    connect(m_string, &QLineEdit::editingFinished, this, [this] {
        if (m_sorted->isChecked())
            sortRows();
    });
    connect(m_add, &QPushButton::clicked, this, &HelperListPage::addRow);
    connect(m_edit, &QPushButton::clicked, this, &HelperListPage::editRow);
    connect(m_delete, &QPushButton::clicked, this, &HelperListPage::deleteRow);
    connect(m_up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(m_sorted, &QCheckBox::toggled, this, [this](bool on) {
        m_changed = true;
        if (on)
            sortRows();
    });
    followSelection();
}

void HelperListPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    const QString path = state().helperListFile;
    std::vector<std::string> read;
    // A missing file is an empty list; so is a file too large to read, which is not read.
    const bool exists = !path.isEmpty() && QFileInfo::exists(path);
    m_fileRead = exists && loadHelperList(localPath(path), read) == HelperListLoad::Read;
    m_fileRefused = exists && !m_fileRead;
    setPhrases(fromPhrases(read));
    {
        const QSignalBlocker blocker(m_sorted);
        m_sorted->setChecked(settings.getForDialog(key::HelpListSorted));
    }
    if (m_sorted->isChecked())
        sortRows();
    m_changed = false;
}

void HelperListPage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    if (scope == OptionScope::Ok)
        settings.set(key::HelpListSorted, m_sorted->isChecked());
}

bool HelperListPage::saveFiles(QString* error)
{
    // Nothing to give the window when there was no file to read and nothing was typed: a file
    // that could not be read is not replaced by an empty list.
    if (!m_fileRead && !m_changed)
        return true;
    const QStringList rows = phrases();
    if (m_changed && m_fileRefused) {
        // The list shown is not the file's: writing it would throw the file's phrases away.
        if (error != nullptr)
            *error = QStringLiteral("ファイル %1 を読み込めなかったため、文字列入力支援リストの変更は保存しませんでした。"
                                    "\r\nファイルはそのまま残っています。")
                         .arg(QDir::toNativeSeparators(state().helperListFile));
        return false;
    }
    if (m_changed) {
        const QString path = state().helperListFile;
        std::string reason;
        const bool written = QDir().mkpath(QFileInfo(path).absolutePath())
            && writeFileAtomically(
                localPath(path), writeHelperList(toPhrases(rows)), &reason);
        if (!written) {
            if (error != nullptr)
                *error = QStringLiteral("ファイル %1 に書き込めませんでした。\r\n\r\n(%2)")
                             .arg(QDir::toNativeSeparators(path),
                                 reason.empty() ? QStringLiteral("フォルダーを作成できません")
                                                : QString::fromStdString(reason));
            return false;
        }
        m_fileRead = true;
        m_changed = false;
    }
    state().helperPhrases = rows;
    return true;
}

QStringList HelperListPage::phrases() const
{
    QStringList rows;
    for (int row = 0; row < m_list->count(); ++row)
        rows << m_list->item(row)->text();
    return rows;
}

void HelperListPage::setPhrases(const QStringList& phrases)
{
    m_list->clear();
    m_list->addItems(phrases);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    followSelection();
}

void HelperListPage::followSelection()
{
    const int row = m_list->currentRow();
    const bool chosen = row >= 0;
    m_string->setText(chosen ? m_list->item(row)->text() : QString());
    m_string->setEnabled(chosen);
    m_edit->setEnabled(chosen);
    m_delete->setEnabled(chosen);
    m_up->setEnabled(chosen && row > 0);
    m_down->setEnabled(chosen && row + 1 < m_list->count());
}

void HelperListPage::sortRows()
{
    const QListWidgetItem* current = m_list->currentItem();
    const QString chosen = current != nullptr ? current->text() : QString();
    std::vector<std::string> sorted = toPhrases(phrases());
    sortHelperList(sorted);
    const QStringList rows = fromPhrases(sorted);
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setText(rows.at(row));
    // The chosen phrase stays chosen at its new place.
    if (current != nullptr) {
        const QSignalBlocker blocker(m_list);
        m_list->setCurrentRow(static_cast<int>(rows.indexOf(chosen)));
    }
    followSelection();
}

void HelperListPage::addRow()
{
    const int row = m_list->currentRow() >= 0 ? m_list->currentRow() + 1 : m_list->count();
    m_list->insertItem(row, QString());
    m_list->setCurrentRow(row);
    m_changed = true;
    m_string->setFocus();
}

void HelperListPage::editRow()
{
    if (m_list->currentRow() < 0)
        return;
    m_string->setFocus();
    m_string->selectAll();
}

void HelperListPage::deleteRow()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    delete m_list->takeItem(row);
    m_list->setCurrentRow(std::min(row, m_list->count() - 1));
    m_changed = true;
    followSelection();
}

void HelperListPage::moveRow(int step)
{
    const int row = m_list->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_list->count())
        return;
    // A sorted list has no order of the person's own.
    m_sorted->setChecked(false);
    QListWidgetItem* item = m_list->takeItem(row);
    m_list->insertItem(target, item);
    m_list->setCurrentRow(target);
    m_changed = true;
    followSelection();
}

} // namespace notarium
