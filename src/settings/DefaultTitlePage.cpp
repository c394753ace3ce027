#include "settings/DefaultTitlePage.h"

#include "core/settings/DefaultTitles.h"
#include "core/text/CommaText.h"
#include "editor/TRetCheckListBox.h"
#include "memo/TDefTitles.h"
#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QStringList>

#include <algorithm>

namespace notarium {

using namespace option_controls;

namespace {

// Where an item keeps its set's comma text, exactly as it is stored.
constexpr int kCommaTextRole = Qt::UserRole;


// A set as a person reads it: its titles apart, each in quotes where the stored form quotes it,
// so a set stored without the quotes a title needed shows the titles it really gives.
QString readable(const std::string& commaText)
{
    const DefaultTitles set(commaText);
    QStringList titles;
    for (const std::string& title : set.items())
        titles << QString::fromStdString(toCommaText({ title }));
    return titles.join(QStringLiteral(", "));
}

} // namespace

DefaultTitlePage::DefaultTitlePage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("デフォタイトル"),
        TOptionDialog::kFirstHelpContext + TOptionDialog::DefaultTitlePage)
{
    m_list = new TRetCheckListBox;
    m_list->setObjectName(QStringLiteral("TitleCheckList"));
    m_list->setReturnNext(false);
    m_add = button("AddTitleButton", QStringLiteral("追加(&D)..."));
    m_edit = button("EditTitleButton", QStringLiteral("編集(&E)..."));
    m_delete = button("DeleteTitleButton", QStringLiteral("削除(&L)"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("カテゴリ, メモ, 結論のタイトル(&T)"), m_list), 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0, 4, 1);
    grid->addWidget(m_add, 1, 1);
    grid->addWidget(m_edit, 2, 1);
    grid->addWidget(m_delete, 3, 1);
    auto* note = new QLabel(QStringLiteral("チェックしたタイトルが新しいカテゴリ、メモ、結論に付きます。"));
    note->setWordWrap(true);
    grid->addWidget(note, 5, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);

    connect(m_list, &QListWidget::itemChanged, this, &DefaultTitlePage::keepOneChecked);
    connect(m_list, &QListWidget::currentRowChanged, this, &DefaultTitlePage::followSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DefaultTitlePage::editSet);
    connect(m_add, &QPushButton::clicked, this, &DefaultTitlePage::addSet);
    connect(m_edit, &QPushButton::clicked, this, &DefaultTitlePage::editSet);
    connect(m_delete, &QPushButton::clicked, this, &DefaultTitlePage::deleteSet);
    followSelection();
}

void DefaultTitlePage::load(const Settings& settings)
{
    OptionPage::load(settings);
    DefaultTitleSets titles = settings.defaultTitleSets();
    // A section emptied by hand still leaves one set to use, and some set is always checked.
    if (titles.sets.empty())
        titles.sets.emplace_back(DefaultTitles::kBuiltIn);
    if (titles.checkIndex < 0 || titles.checkIndex >= static_cast<int>(titles.sets.size()))
        titles.checkIndex = 0;
    m_list->clear();
    for (std::size_t i = 0; i < titles.sets.size(); ++i)
        addRow(titles.sets[i], static_cast<int>(i) == titles.checkIndex);
    m_list->setCurrentRow(titles.checkIndex);
    followSelection();
}

void DefaultTitlePage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    if (scope != OptionScope::Ok)
        return;
    DefaultTitleSets titles;
    for (int row = 0; row < m_list->count(); ++row)
        titles.sets.push_back(m_list->item(row)->data(kCommaTextRole).toString().toStdString());
    titles.checkIndex = std::max(checkedRow(), 0);
    settings.setDefaultTitleSets(titles);
}

void DefaultTitlePage::addRow(const std::string& commaText, bool checked)
{
    m_checking = true;
    const int row = m_list->addCheckItem(QString(), checked);
    setRowText(m_list->item(row), commaText);
    m_checking = false;
}

void DefaultTitlePage::setRowText(QListWidgetItem* item, const std::string& commaText)
{
    item->setData(kCommaTextRole, QString::fromStdString(commaText));
    item->setText(readable(commaText));
}

void DefaultTitlePage::keepOneChecked(QListWidgetItem* changed)
{
    if (m_checking)
        return;
    const int row = m_list->row(changed);
    if (m_list->isChecked(row))
        checkOnly(row);
    else if (checkedRow() < 0)
        checkOnly(row); // the set in use cannot be unchecked, only replaced by another
}

void DefaultTitlePage::checkOnly(int row)
{
    m_checking = true;
    for (int other = 0; other < m_list->count(); ++other)
        m_list->setChecked(other, other == row);
    m_checking = false;
}

int DefaultTitlePage::checkedRow() const
{
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->isChecked(row))
            return row;
    return -1;
}

void DefaultTitlePage::followSelection()
{
    m_edit->setEnabled(m_list->currentRow() >= 0);
    m_delete->setEnabled(m_list->currentRow() >= 0 && m_list->count() > 1);
}

void DefaultTitlePage::addSet()
{
    const std::optional<std::string> added = TDefTitles::edit(window(), m_delete, std::nullopt);
    if (!added)
        return;
    addRow(*added, false);
    m_list->setCurrentRow(m_list->count() - 1);
    followSelection();
}

void DefaultTitlePage::editSet()
{
    QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr)
        return;
    const std::optional<std::string> edited
        = TDefTitles::edit(window(), m_delete, item->data(kCommaTextRole).toString().toStdString());
    if (!edited)
        return;
    m_checking = true;
    setRowText(item, *edited);
    m_checking = false;
}

void DefaultTitlePage::deleteSet()
{
    const int row = m_list->currentRow();
    if (row < 0 || m_list->count() <= 1)
        return;
    const bool wasChecked = m_list->isChecked(row);
    delete m_list->takeItem(row);
    if (wasChecked)
        checkOnly(0);
    m_list->setCurrentRow(std::min(row, m_list->count() - 1));
    followSelection();
}

} // namespace notarium
