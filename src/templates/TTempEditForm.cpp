#include "templates/TTempEditForm.h"

#include "app/ActionRegistry.h"
#include "app/ContextHelp.h"
#include "app/DocumentTreeModel.h"
#include "app/HelpWindow.h"
#include "app/PaintingSuspended.h"
#include "app/TreePane.h"
#include "app/WidgetHint.h"
#include "core/settings/Settings.h"
#include "core/templates/TemplateMessages.h"
#include "core/templates/TextTemplate.h"
#include "core/templates/TreeTemplate.h"
#include "core/text/Cp932Codec.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "templates/TemplateKindIcon.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace notarium {

namespace {

const QString kDeleteQuestion
    = QStringLiteral("選択されたデータを削除してもいいですか？（下位のデータもすべて削除されます）");
const QString kDamagedSubtree
    = QStringLiteral("クリップボードのメモデータが壊れているため、貼り付けできませんでした。");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Entries hold UTF-8 paths, as the store does; the file system takes the platform's bytes.
std::string localPath(const std::string& utf8)
{
    return QFile::encodeName(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())))
        .toStdString();
}

// A page holds its kind in both image indexes.
void settleKinds(Document& doc, Node* top)
{
    const Node* last = top->lastDescendant();
    for (Node* node = top;; node = node->next()) {
        if (node->selectedIndex() != node->imageIndex())
            doc.setKind(node, node->imageIndex());
        if (node == last)
            break;
    }
}

// The template tree's model: the document's own, with the template image at the root, which
// is no folder of the document.
class TemplateTreeModel : public DocumentTreeModel {
public:
    using DocumentTreeModel::DocumentTreeModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole && imagesShown()) {
            const Node* node = nodeFromIndex(index);
            if (node != nullptr && node->isTopLevel())
                return templateKindIcon(1);
        }
        return DocumentTreeModel::data(index, role);
    }
};

} // namespace

TTempEditForm::TTempEditForm(const TemplateDialogContext& context, const TemplateList& list,
    std::optional<std::size_t> editing, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_list(list)
    , m_editing(editing)
    , m_operations(m_doc)
{
    newTemplateDocument(m_doc);
    setObjectName(QStringLiteral("TTempEditForm"));
    setWindowTitle(QStringLiteral("テンプレートの編集"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
        | Qt::WindowCloseButtonHint);

    m_includeTree = new QCheckBox(QStringLiteral("ツリー構造を含める(&R)"));
    m_includeTree->setObjectName(QStringLiteral("cbIncludeTree"));
    setHint(m_includeTree, "テンプレートにツリー構造を含めます");

    m_model = new TemplateTreeModel(m_doc, this);
    m_tree = new TreePane;
    m_tree->setObjectName(QStringLiteral("TempTree"));
    m_tree->setModel(m_model);
    m_tree->setFixedWidth(176);

    m_edit = new TExtMemo;
    m_edit->setObjectName(QStringLiteral("TempEdit"));
    m_edit->setWordWrap(false);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setInputMethodOpen(true);
    // The template's text looks as it will in the memo pane, with its line ends, tabs and end
    // of text shown.
    const TExtMemo& memo = m_context.memoPane;
    m_edit->EditMarks().assign(memo.EditMarks());
    m_edit->EditMarks().CrLf.Enabled = true;
    m_edit->EditMarks().Eot.Enabled = true;
    m_edit->EditMarks().Tab.Enabled = true;
    m_edit->setTabWidth(memo.TabWidth());
    m_edit->setFont(memo.font());
    m_edit->setImeColors(memo.ImeColors());
    m_edit->installEventFilter(this);
    m_edit->viewport()->installEventFilter(this);

    m_name = new ImeLineEdit;
    m_name->setObjectName(QStringLiteral("TempName"));
    setHint(m_name,
        "メニューに表示する\nテンプレート名を入力します|メニューに表示するテンプレート名を入力します");

    // The file is chosen in the save dialog only, so its name is always one the dialog accepted.
    m_file = new ImeLineEdit;
    m_file->setObjectName(QStringLiteral("TempFile"));
    m_file->setReadOnly(true);
    m_file->setInputMethodOpen(false);
    setHint(m_file, "テンプレートを保存するファイル名を指定|テンプレートを保存するファイル名を指定します");
    m_file->installEventFilter(this);
    m_fileButton = new QToolButton;
    m_fileButton->setObjectName(QStringLiteral("TempFileButton"));
    m_fileButton->setText(QStringLiteral("..."));
    setHint(m_fileButton, "[Alt]+[↓]でダイアログを表示");

    m_okButton = dialogButton("OKButton", "&OK", "作成・編集したテンプレートを保存します");
    m_okButton->setEnabled(false);
    m_cancelButton = dialogButton("CancelButton", "&Cancel", "テンプレートの作成・編集をキャンセルします");
    m_helpButton = dialogButton("HelpButton", "&Help", "テンプレート編集のヘルプを表示します");

    auto* treeRow = new QHBoxLayout;
    treeRow->setSpacing(4);
    treeRow->addWidget(m_includeTree);
    treeRow->addWidget(dialogLabel("Label3", "↓(&T)", m_tree));
    treeRow->addStretch();

    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(2);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(m_fileButton);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    fields->addWidget(dialogLabel("Label2", "テンプレート名(&N)", m_name), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(dialogLabel("Label4", "ファイル名(&F)", m_file), 1, 0);
    fields->addLayout(fileRow, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_helpButton);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addLayout(treeRow, 0, 0);
    grid->addWidget(dialogLabel("Label1", "テンプレート(&E)", m_edit), 0, 1, 1, 2);
    grid->addWidget(m_tree, 1, 0);
    grid->addWidget(m_edit, 1, 1, 1, 2);
    grid->addLayout(fields, 2, 0, 1, 2);
    grid->addLayout(buttons, 2, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    buildMenu();

    connect(m_tree, &TreePane::selectedNodeChanged, this, &TTempEditForm::pageChanged);
    connect(m_tree, &TreePane::editRefused, this, &TTempEditForm::beep);
    connect(m_tree, &TreePane::popupMenuAboutToShow, this, &TTempEditForm::updateMenu);
    connect(m_includeTree, &QCheckBox::toggled, this, &TTempEditForm::applyIncludeTree);
    connect(m_includeTree, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            m_tree->setFocus();
        else
            m_edit->setFocus();
    });
    connect(m_name, &QLineEdit::textChanged, this, &TTempEditForm::updateOkButton);
    connect(m_file, &QLineEdit::textChanged, this, &TTempEditForm::updateOkButton);
    connect(m_fileButton, &QToolButton::clicked, this, &TTempEditForm::chooseFile);
    connect(m_okButton, &QPushButton::clicked, this, &TTempEditForm::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpButton, &QPushButton::clicked, this,
        [this] { m_context.services.help->showContext(HelpWindow::TemplateEditorContext); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TTempEditForm::updateMenu);
    new ContextHelp(this, *m_context.services.help, HelpWindow::TemplateEditorContext);

    m_tree->setSelectedNode(m_doc.documentNode());
    applyIncludeTree();
    resize(712, 380);
    setMinimumSize(580, 352);
}

TTempEditForm::~TTempEditForm()
{
    // The pane and its model go before the document they follow (children would go after it).
    disconnect(m_tree, nullptr, this, nullptr);
    delete m_tree;
    delete m_model;
}

// ---- The menu ----------------------------------------------------------------------------------

QAction* TTempEditForm::addMenuItem(const char* name, const char* caption, const char* hint,
    const char* mainAction, void (TTempEditForm::*command)(), bool shown)
{
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr) {
        action->setToolTip(QString::fromUtf8(hint));
        action->setStatusTip(QString::fromUtf8(hint));
    }
    // The person's own keys of the main window's commands.
    if (mainAction != nullptr)
        if (const QAction* main = m_context.actions.action(QString::fromLatin1(mainAction)))
            action->setShortcuts(main->shortcuts());
    action->setShortcutContext(Qt::WindowShortcut);
    // Held by the dialog as well, so the keys work while the menu is closed; the hidden items are
    // reached by their keys only.
    addAction(action);
    if (shown)
        m_menu->addAction(action);
    connect(action, &QAction::triggered, this, command);
    return action;
}

void TTempEditForm::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu3"));
    using F = TTempEditForm;
    m_treeItems = {
        addMenuItem(
            "TempMenu01", "カテゴリーを作成(&B)", "カテゴリーを作成します", "NewCategory", &F::newCategory),
        addMenuItem("TempMenu02", "カテゴリー（下の階層）を作成(&V)", "下の階層にカテゴリーを作成します",
            "NewChildCategory", &F::newChildCategory),
        addMenuItem("TempMenu03", "メモを作成(&M)", "メモを作成します", "NewMemo", &F::newMemo),
        addMenuItem("TempMenu04", "メモ（下の階層）を作成(&N)", "下の階層にメモを作成します", "NewChildMemo",
            &F::newChildMemo),
        addMenuItem("TempMenu05", "結論を作成(&R)", "結論を作成します", "NewResult", &F::newResult),
    };
    m_menu->addSeparator();
    m_pasteItem = addMenuItem("TempMenu15", "メモを貼り付け(&P)", nullptr, "TreePaste", &F::paste);
    m_menu->addSeparator();
    m_pageItems = {
        addMenuItem("TempMenu06", "アイコンを変更（カテゴリーとメモ）(&G)", "アイコンを変更します", nullptr,
            &F::exchangeCategoryMemo),
        addMenuItem("TempMenu07", "アイコンを変更（メモと結論）(&H)", "アイコンを変更します", nullptr,
            &F::exchangeMemoResult),
    };
    m_menu->addSeparator();
    m_pageItems.append(addMenuItem("TempMenu08", "選択したメモを削除(&L)",
        "選択しているカテゴリーやメモを削除します", "TreeDelete", &F::deletePage));
    m_treeItems.append(addMenuItem("TempMenu09", "前のページ", nullptr, "PageUp", &F::previousPage, false));
    m_treeItems.append(addMenuItem("TempMenu10", "次のページ", nullptr, "PageDn", &F::nextPage, false));
    m_pageItems.append(addMenuItem("TempMenu11", "メモを上に移動(&U)", nullptr, "NodeUp", &F::moveUp, false));
    m_pageItems.append(
        addMenuItem("TempMenu12", "メモを下に移動(&D)", nullptr, "NodeDown", &F::moveDown, false));
    m_pageItems.append(
        addMenuItem("TempMenu13", "階層レベルを上げる(&E)", nullptr, "LevelUp", &F::levelUp, false));
    m_pageItems.append(
        addMenuItem("TempMenu14", "階層レベルを下げる(&W)", nullptr, "LevelDown", &F::levelDown, false));
    connect(m_menu, &QMenu::aboutToShow, this, &TTempEditForm::updateMenu);
}

void TTempEditForm::updateMenu()
{
    const bool on = m_showingPages;
    const Node* node = m_tree->selectedNode();
    const bool page = node != nullptr && node->isUserNode();
    for (QAction* action : std::as_const(m_treeItems))
        action->setEnabled(on);
    for (QAction* action : std::as_const(m_pageItems))
        action->setEnabled(on && page);
    m_pasteItem->setEnabled(on && m_clipboard.holdsSubtree());
}

// ---- Loading -----------------------------------------------------------------------------------

bool TTempEditForm::load(const TemplateEntry& entry)
{
    const QString path = fromUtf8(entry.path);
    if (entry.path.empty() || !QFileInfo::exists(path)) {
        tell(messages::TemplateFileMissing, fromUtf8(messages::templateFileMissingText(entry.path)));
        return false;
    }
    auto cannotRead = [this](const std::string& error) {
        QString text = fromUtf8(messages::CannotOpenFile.text);
        if (!error.empty())
            text += QStringLiteral("\r\n\r\n(") + QString::fromStdString(error) + QStringLiteral(")");
        tell(messages::CannotOpenFile, text);
    };
    if (entry.isTree()) {
        const TemplateReadResult read = loadTemplateTree(localPath(entry.path), m_doc, m_doc.documentNode());
        if (!read.ok()) {
            if (read.message.empty())
                cannotRead(read.errorText);
            else
                tell(read.message);
            return false;
        }
        m_includeTree->setChecked(true);
        m_doc.setAllExpanded(true);
        m_tree->setSelectedNode(read.firstPage != nullptr ? read.firstPage : m_doc.documentNode());
    } else {
        std::string text;
        std::string error;
        Message refused;
        if (!loadTextTemplate(localPath(entry.path), text, &error, &refused)) {
            if (!refused.empty())
                tell(refused);
            else
                cannotRead(error);
            return false;
        }
        m_edit->setBytes(text);
        m_edit->setModified(false);
    }
    // The file keeps the format it was written in.
    m_includeTree->setEnabled(false);
    m_name->setText(fromUtf8(entry.name));
    m_name->setModified(false);
    m_file->setText(path);
    return true;
}

TemplateEntry TTempEditForm::entry() const
{
    TemplateEntry entry;
    entry.name = m_name->text().trimmed().toUtf8().toStdString();
    entry.includeTree = m_includeTree->isChecked() ? 1 : 0;
    entry.path = m_file->text().toUtf8().toStdString();
    return entry;
}

void TTempEditForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_showingPages)
        m_tree->scrollTo(m_model->indexFromNode(m_tree->selectedNode()));
    if (m_includeTree->isEnabled())
        m_includeTree->setFocus();
    else if (m_showingPages)
        m_tree->setFocus();
    else
        m_edit->setFocus();
}

// ---- The two kinds and the pages ---------------------------------------------------------------

void TTempEditForm::applyIncludeTree()
{
    const bool on = m_includeTree->isChecked();
    if (on != m_showingPages) {
        // Switching between the kinds keeps both texts: the plain text waits while the pages are
        // shown, and the page being shown keeps what was typed into it.
        if (on) {
            m_plainText = m_edit->bytes();
            m_showingPages = true;
            showPage(m_tree->selectedNode());
        } else {
            storePage(m_tree->selectedNode());
            m_showingPages = false;
            m_edit->setReadOnly(false);
            m_edit->setBytes(m_plainText);
            m_edit->setModified(false);
        }
    }
    m_tree->setEnabled(on);
    m_tree->setPopupMenu(on ? m_menu : nullptr);
    // A tree that takes no part looks like the dialog around it.
    QPalette palette = m_tree->palette();
    palette.setColor(QPalette::Base, on ? QPalette().color(QPalette::Base) : palette.color(QPalette::Button));
    m_tree->setPalette(palette);
    updateMenu();
}

void TTempEditForm::pageChanged(Node* previous, Node* current)
{
    if (!m_showingPages)
        return;
    // The page being left keeps what was typed into it; previous is null when it is being deleted.
    storePage(previous);
    showPage(current);
    updateMenu();
}

void TTempEditForm::storePage(Node* page)
{
    if (page == nullptr || !page->isUserNode() || !m_edit->Modified())
        return;
    page->data()->MemoStr = m_edit->bytes();
    m_doc.notifyDataChanged(page);
    m_edit->setModified(false);
}

void TTempEditForm::showPage(Node* node)
{
    const bool page = node != nullptr && node->isUserNode();
    m_edit->setBytes(page ? std::string_view(node->data()->MemoStr) : std::string_view());
    m_edit->setModified(false);
    // The root carries no body.
    m_edit->setReadOnly(!page);
}

// ---- Commands on the pages ---------------------------------------------------------------------

Node* TTempEditForm::target() const
{
    return m_showingPages ? m_tree->selectedNode() : nullptr;
}

void TTempEditForm::beep()
{
    m_context.services.prompt->beep();
}

void TTempEditForm::tell(const Message& message, const QString& text)
{
    m_context.services.prompt->tell(
        this, text.isEmpty() ? fromUtf8(message.text) : text, fromUtf8(message.caption), message.icon);
}

void TTempEditForm::newPage(int kind, bool asChild)
{
    Node* node = target();
    if (node == nullptr) {
        beep();
        return;
    }
    // The settings file holds UTF-8; titles are CP932.
    std::string title = cp932::fromUtf8(m_context.settings.currentDefaultTitles().titleFor(kind));
    Node* page = nullptr;
    if (!asChild && node->isUserNode()) {
        // The new page takes the place after the target; the tree must not jump while it does.
        PaintingSuspended painting(m_tree);
        Node* top = m_tree->topNode();
        page = m_operations.insertNodeAfter(node, kind, std::move(title));
        m_tree->setTopNode(top);
    } else {
        page = m_operations.addChildNode(node, kind, std::move(title));
    }
    if (page == nullptr) {
        beep();
        return;
    }
    m_tree->setSelectedNode(page);
    m_tree->edit(m_model->indexFromNode(page));
}

void TTempEditForm::paste()
{
    Node* node = target();
    if (node == nullptr || !m_clipboard.holdsSubtree()) {
        beep();
        return;
    }
    const int firstRow = node->childCount();
    QString error;
    Node* first = m_clipboard.paste(node, m_doc, &error);
    if (first == nullptr) {
        beep();
        if (!error.isEmpty())
            m_context.services.prompt->tell(this,
                kDamagedSubtree + QStringLiteral("\r\n\r\n(") + error + QStringLiteral(")"),
                QStringLiteral("お知らせ"), MessageIcon::Warning);
        return;
    }
    for (int row = firstRow; row < node->childCount(); ++row)
        settleKinds(m_doc, node->child(row));
    updateMenu();
}

void TTempEditForm::exchangeCategoryMemo()
{
    changeShape(&TreeOperations::exchangeCategoryMemo);
}

void TTempEditForm::exchangeMemoResult()
{
    changeShape(&TreeOperations::exchangeMemoResult);
}

void TTempEditForm::deletePage()
{
    Node* node = target();
    if (node == nullptr || !node->isUserNode()) {
        beep();
        return;
    }
    // The pages that would go are dimmed while the question is open.
    m_model->setDimmedSubtree(node);
    const PromptAnswer answer = m_context.services.prompt->ask(
        this, kDeleteQuestion, QStringLiteral("削除動作の確認"), MessageIcon::Question, PromptButtons::YesNo);
    m_model->clearDimmed();
    if (answer != PromptAnswer::Yes)
        return;
    Node* next = m_operations.deleteSubtree(node, m_tree->selectedNode());
    if (next != nullptr && next != m_tree->selectedNode())
        m_tree->setSelectedNode(next);
    updateMenu();
}

void TTempEditForm::previousPage()
{
    Node* node = target();
    Node* previous = node != nullptr ? node->prev() : nullptr;
    if (previous == nullptr) {
        beep();
        return;
    }
    m_tree->setSelectedNode(previous);
}

void TTempEditForm::nextPage()
{
    Node* node = target();
    Node* next = node != nullptr ? node->next() : nullptr;
    if (next == nullptr) {
        beep();
        return;
    }
    m_tree->setSelectedNode(next);
}

void TTempEditForm::moveUp()
{
    const bool skipClosedTree = m_context.settings.get(key::SkipClosedTree);
    changeShape([this, skipClosedTree](Node* node) { return m_operations.moveUp(node, skipClosedTree); });
}

void TTempEditForm::moveDown()
{
    const bool skipClosedTree = m_context.settings.get(key::SkipClosedTree);
    changeShape([this, skipClosedTree](Node* node) { return m_operations.moveDown(node, skipClosedTree); });
}

void TTempEditForm::levelUp()
{
    changeShape(&TreeOperations::levelUp);
}

void TTempEditForm::levelDown()
{
    changeShape(&TreeOperations::levelDown);
}

void TTempEditForm::changeShape(bool (TreeOperations::*operation)(Node*))
{
    changeShape([this, operation](Node* node) { return (m_operations.*operation)(node); });
}

void TTempEditForm::changeShape(const std::function<bool(Node*)>& operation)
{
    // The template tree follows the main tree's rules: the root never moves, and nothing goes
    // beside it.
    Node* node = target();
    bool acted = false;
    {
        PaintingSuspended painting(m_tree);
        acted = node != nullptr && operation(node);
        // The moved page stays in sight.
        if (acted && Document::isVisible(node))
            m_tree->scrollTo(m_model->indexFromNode(node));
    }
    if (!acted) {
        beep();
        return;
    }
    updateMenu();
}

// ---- File and OK -------------------------------------------------------------------------------

void TTempEditForm::chooseFile()
{
    QString folder = fromUtf8(m_context.settings.get(key::TemplateFolder));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString path
        = m_context.services.files->saveFileName(this, QStringLiteral("テンプレートファイルの保存"), folder,
            QStringLiteral("Notarium Template File (*.nmt)"), QStringLiteral("nmt"));
    if (path.isEmpty())
        return;
    m_file->setText(QFileInfo(path).absoluteFilePath());
}

void TTempEditForm::updateOkButton()
{
    m_okButton->setEnabled(!m_name->text().trimmed().isEmpty() && !m_file->text().isEmpty());
}

void TTempEditForm::save()
{
    if (!m_okButton->isEnabled())
        return;
    // A title being typed in place, and a composition under way, belong to what is saved. The
    // in-place editor would commit only as it loses the focus, which a key for OK does not take.
    if (m_tree->isEditingTitle()) {
        const QModelIndex index = m_tree->currentIndex();
        if (QWidget* box = m_tree->indexWidget(index)) {
            QAbstractItemDelegate* delegate = m_tree->itemDelegateForIndex(index);
            emit delegate->commitData(box);
            emit delegate->closeEditor(box, QAbstractItemDelegate::NoHint);
        }
    }
    if (m_name->isComposing()) {
        m_name->setInputMethodOpen(false);
        m_name->setInputMethodOpen(true);
    }
    if (m_edit->isComposing()) {
        m_edit->setInputMethodOpen(false);
        m_edit->setInputMethodOpen(true);
    }
    if (m_showingPages)
        storePage(m_tree->selectedNode());

    const TemplateEntry entry = this->entry();
    const TemplateEntryProblem problem = m_list.check(entry, m_editing);
    if (problem != TemplateEntryProblem::None) {
        tell(messages::TemplateEntryRefused, fromUtf8(messages::templateEntryProblemText(problem, entry)));
        if (problem == TemplateEntryProblem::PathNotStorable)
            m_fileButton->setFocus();
        else
            m_name->setFocus();
        return;
    }

    const std::string path = localPath(entry.path);
    const WriteResult result
        = entry.isTree() ? writeTreeTemplate(path, m_doc) : writeTextTemplate(path, m_edit->bytes());
    if (!result.ok) {
        // The editor stays open with everything in it: another file can be chosen, or the
        // person cancels. A list entry without its file is never made.
        QString text = fromUtf8(result.message.text);
        if (!result.errorText.empty())
            text += QStringLiteral("\r\n\r\n(") + QString::fromStdString(result.errorText)
                + QStringLiteral(")");
        tell(result.message, text);
        m_fileButton->setFocus();
        return;
    }
    if (!result.changedTitles.empty()) {
        QString text
            = QStringLiteral("次のページには、テンプレートファイルにそのままでは保存できない行がありました。")
            + QStringLiteral("\r\n")
            + QStringLiteral("行頭の「}}end」の前に空白を入れるなどして保存しました。")
            + QStringLiteral("\r\n");
        for (const std::string& title : result.changedTitles)
            text += QStringLiteral("\r\n・") + QString::fromStdU16String(cp932::toUtf16(title));
        m_context.services.prompt->tell(this, text, QStringLiteral("お知らせ"), MessageIcon::Information);
    }
    accept();
}

// ---- Events ------------------------------------------------------------------------------------

bool TTempEditForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_file && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down && (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
            chooseFile();
            return true;
        }
    }
    // With the pages shown, the text box offers the page commands; otherwise its own edit menu.
    if ((watched == m_edit || watched == m_edit->viewport()) && event->type() == QEvent::ContextMenu
        && m_showingPages) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QPoint at = menuEvent->reason() == QContextMenuEvent::Mouse
            ? menuEvent->globalPos()
            : m_edit->viewport()->mapToGlobal(m_edit->cursorRect().bottomLeft());
        updateMenu();
        m_menu->popup(at);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace notarium
