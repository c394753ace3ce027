#include "templates/TTempDlg.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/WidgetHint.h"
#include "templates/TTempEditForm.h"
#include "templates/TemplateKindIcon.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace notarium {

namespace {

const QString kDeleteQuestion = QStringLiteral("選択したテンプレートの登録を削除してもいいですか？\r\n※ディス"
                                               "ク上のテンプレートファイルも削除されます。");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QToolButton* arrowButton(const char* name, Qt::ArrowType arrow, const char* hint)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setFixedSize(24, 24);
    button->setEnabled(false);
    setHint(button, hint);
    return button;
}

// One kind image and what it means, for the legend under the list.
QWidget* legendItem(int includeTree, const char* meaning)
{
    auto* item = new QWidget;
    auto* layout = new QHBoxLayout(item);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* image = new QLabel;
    image->setPixmap(templateKindIcon(includeTree).pixmap(QSize(16, 16)));
    layout->addWidget(image);
    layout->addWidget(new QLabel(QString::fromUtf8(meaning)));
    return item;
}

} // namespace

TTempDlg::TTempDlg(const TemplateDialogContext& context, std::vector<TemplateEntry> entries)
    : QDialog(context.mainWindow)
    , m_context(context)
    , m_list(std::move(entries))
{
    setObjectName(QStringLiteral("TTempDlg"));
    setWindowTitle(QStringLiteral("テンプレート"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    m_view = new QTreeWidget;
    m_view->setObjectName(QStringLiteral("TemplateList"));
    m_view->setColumnCount(2);
    m_view->setHeaderLabels({ QStringLiteral("テンプレート名"), QStringLiteral("テンプレートファイル") });
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAllColumnsShowFocus(true);
    m_view->setTextElideMode(Qt::ElideMiddle); // a long path keeps its file name in sight
    m_view->setIconSize(QSize(16, 16));
    m_view->header()->setSectionsClickable(false);
    m_view->header()->setSectionsMovable(false);
    m_view->header()->setStretchLastSection(true);
    m_view->setColumnWidth(0, 170);
    m_view->setColumnWidth(1, 280);
    m_view->setMinimumWidth(170 + 280 + 2 * m_view->frameWidth());

    auto* listLabel = new QLabel(QStringLiteral("登録済みテンプレート(&F)"));
    listLabel->setObjectName(QStringLiteral("Label24"));
    listLabel->setBuddy(m_view);

    m_upButton = arrowButton("sbDataUp", Qt::UpArrow, "選択されたテンプレートを上に移動します");
    m_downButton = arrowButton("sbDataDn", Qt::DownArrow, "選択されたテンプレートを下に移動します");
    m_addButton = dialogButton("AddButton", "追加(&D)...", "リストにテンプレートを追加します");
    m_editButton = dialogButton("EditButton", "編集(&E)...", "選択したテンプレートを編集します");
    m_deleteButton = dialogButton("DeleteButton", "削除(&L)...", "選択したテンプレートを削除します");
    m_insertButton = dialogButton("InsertButton", "In&sert", "選択したテンプレートを挿入します");
    m_insertButton->setDefault(true);
    m_closeButton = dialogButton("CloseButton", "Close", "テンプレートダイアログを閉じます");
    m_helpButton = dialogButton("HelpButton", "&Help", "テンプレート登録のヘルプを表示します");
    for (QPushButton* b : { m_editButton, m_deleteButton, m_insertButton })
        b->setEnabled(false);

    auto* legend = new QWidget;
    legend->setObjectName(QStringLiteral("Panel1"));
    auto* legendLayout = new QHBoxLayout(legend);
    legendLayout->setContentsMargins(0, 0, 0, 0);
    legendLayout->setSpacing(16);
    legendLayout->addWidget(legendItem(0, "= テキストのみ"));
    legendLayout->addWidget(legendItem(1, "= ツリー情報あり"));
    legendLayout->addStretch();

    auto* moves = new QVBoxLayout;
    moves->setSpacing(4);
    moves->addStretch();
    moves->addWidget(m_upButton);
    moves->addWidget(m_downButton);
    moves->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* b : { m_addButton, m_editButton, m_deleteButton })
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addStretch();
    for (QPushButton* b : { m_insertButton, m_closeButton, m_helpButton })
        buttons->addWidget(b);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(listLabel, 0, 0);
    grid->addWidget(m_view, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addLayout(buttons, 0, 2, 3, 1);
    grid->addWidget(legend, 2, 0);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnMinimumWidth(2, 84);

    connect(m_view, &QTreeWidget::currentItemChanged, this, &TTempDlg::updateButtons);
    connect(m_view, &QTreeWidget::itemSelectionChanged, this, &TTempDlg::updateButtons);
    connect(m_upButton, &QToolButton::clicked, this, [this] { moveSelected(true); });
    connect(m_downButton, &QToolButton::clicked, this, [this] { moveSelected(false); });
    connect(m_addButton, &QPushButton::clicked, this, &TTempDlg::addTemplate);
    connect(m_editButton, &QPushButton::clicked, this, &TTempDlg::editTemplate);
    connect(m_deleteButton, &QPushButton::clicked, this, &TTempDlg::deleteTemplate);
    connect(m_insertButton, &QPushButton::clicked, this, &TTempDlg::insertTemplate);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpButton, &QPushButton::clicked, this,
        [this] { m_context.services.help->showContext(HelpWindow::TemplateListContext); });
    new ContextHelp(this, *m_context.services.help, HelpWindow::TemplateListContext);

    fillRows();
    if (m_list.size() > 0)
        selectRow(0);
    // A fixed frame, at least the designed client size.
    setFixedSize(sizeHint().expandedTo(QSize(572, 251)));
}

TTempDlg::~TTempDlg() = default;

void TTempDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_list.size() == 0)
        m_addButton->setFocus();
    else
        m_view->setFocus();
}

// ---- Rows --------------------------------------------------------------------------------------

void TTempDlg::fillRows()
{
    m_view->clear();
    for (const TemplateEntry& entry : m_list.entries()) {
        auto* item = new QTreeWidgetItem(m_view);
        item->setText(0, fromUtf8(entry.name));
        item->setText(1, fromUtf8(entry.path));
        item->setToolTip(1, item->text(1));
        item->setIcon(0, templateKindIcon(entry.includeTree));
    }
    updateButtons();
}

std::optional<std::size_t> TTempDlg::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_view->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    const int row = m_view->indexOfTopLevelItem(selected.constFirst());
    return row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row));
}

void TTempDlg::selectRow(std::size_t row)
{
    QTreeWidgetItem* item = m_view->topLevelItem(static_cast<int>(row));
    if (item == nullptr)
        return;
    m_view->setCurrentItem(item);
    item->setSelected(true);
    m_view->scrollToItem(item);
}

void TTempDlg::updateButtons()
{
    const TemplateListCommands commands = m_list.commands(selectedRow(), m_context.selectedIsTopLevel);
    m_editButton->setEnabled(commands.edit);
    m_deleteButton->setEnabled(commands.remove);
    m_upButton->setEnabled(commands.moveUp);
    m_downButton->setEnabled(commands.moveDown);
    m_insertButton->setEnabled(commands.insert);
}

// ---- Commands ----------------------------------------------------------------------------------

void TTempDlg::moveSelected(bool up)
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row)
        return;
    const std::optional<std::size_t> moved = up ? m_list.moveUp(*row) : m_list.moveDown(*row);
    if (!moved)
        return;
    fillRows();
    selectRow(*moved);
    // The hand stays on the button it used while that still works.
    QToolButton* used = up ? m_upButton : m_downButton;
    QToolButton* other = up ? m_downButton : m_upButton;
    (used->isEnabled() ? used : other)->setFocus();
}

void TTempDlg::addTemplate()
{
    TTempEditForm editor(m_context, m_list, std::nullopt, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    const std::size_t row = m_list.add(editor.entry());
    fillRows();
    selectRow(row);
    m_view->setFocus();
}

void TTempDlg::editTemplate()
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row)
        return;
    TTempEditForm editor(m_context, m_list, row, this);
    if (!editor.load(m_list.at(*row)))
        return;
    if (editor.exec() != QDialog::Accepted)
        return;
    const TemplateEntry edited = editor.entry();
    m_list.update(*row, edited.name, edited.path);
    fillRows();
    selectRow(*row);
    m_view->setFocus();
}

void TTempDlg::deleteTemplate()
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row)
        return;
    const PromptAnswer answer = m_context.services.prompt->ask(this, kDeleteQuestion,
        QStringLiteral("テンプレート削除"), MessageIcon::Question, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes)
        return;
    const TemplateEntry entry = m_list.at(*row);
    // A file another row still uses stays: deleting it would break that template.
    std::string error;
    const bool deleted
        = m_list.fileUsedByOther(*row) || entry.path.empty() || deleteTemplateFile(entry.path, &error);
    m_list.remove(*row);
    fillRows();
    if (m_list.size() > 0) {
        selectRow(std::min(*row, m_list.size() - 1));
        m_view->setFocus();
    } else {
        m_addButton->setFocus();
    }
    if (!deleted) {
        const Message& message = messages::TemplateFileNotDeleted;
        m_context.services.prompt->tell(this,
            fromUtf8(messages::templateFileNotDeletedText(entry.path, error)), fromUtf8(message.caption),
            message.icon);
    }
}

void TTempDlg::insertTemplate()
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row || !m_list.commands(row, m_context.selectedIsTopLevel).insert)
        return;
    if (m_context.insert)
        m_context.insert(m_list.at(*row));
    accept();
}

} // namespace notarium
