#include "app/TreeCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/DocumentTreeModel.h"
#include "app/MenuBuilder.h"
#include "app/PaintingSuspended.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

namespace notarium {

namespace {

const QString kDeleteCaption = QStringLiteral("削除動作の確認");
const QString kDamagedSubtree
    = QStringLiteral("クリップボードのメモデータが壊れているため、貼り付けできませんでした。");
const QString kDeleteQuestion
    = QStringLiteral("選択されたデータを削除してもいいですか？（下位のデータもすべて削除されます）");

void setMenuEnabled(const MenuBuilder& menus, const QString& name, bool enabled)
{
    if (QMenu* menu = menus.menu(name))
        menu->menuAction()->setEnabled(enabled);
}

bool isMenuEnabled(const MenuBuilder& menus, const QString& name)
{
    QMenu* menu = menus.menu(name);
    return menu != nullptr && menu->menuAction()->isEnabled();
}

} // namespace

TreeCommands::TreeCommands(const WindowContext& context, TreePane& tree, DocumentTreeModel& model,
    const MenuBuilder& menus, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_model(model)
    , m_menus(menus)
    , m_operations(context.document)
{
    // The context node is kept between pop-ups; it must not outlive its node.
    QObject::connect(&m_model, &DocumentTreeModel::removalPending, this, [this] {
        if (m_contextNode != nullptr && m_model.isBeingRemoved(m_contextNode))
            m_contextNode = nullptr;
    });
    // A new or opened document: the old one's context node and saved tree state are gone.
    QObject::connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_contextNode = nullptr;
        setRestoreTreeStateEnabled(false);
    });
    // A node dragged to another place may open or close the branch commands.
    QObject::connect(&m_tree, &TreePane::nodeDropped, this, [this] { m_context.updateActions(); });
}

TreeCommands::~TreeCommands() = default;

void TreeCommands::connect(ActionRegistry& a)
{
    m_actions = &a;
    auto on = [this, &a](const char* event, void (TreeCommands::*command)()) {
        a.connectEvent(QString::fromLatin1(event), this, [this, command](QAction*) { (this->*command)(); });
    };
    on("tbNewCategoryClick", &TreeCommands::newCategory);
    on("pmTrayCategoryClick", &TreeCommands::newChildCategory);
    on("tbNewMemoClick", &TreeCommands::newMemo);
    on("NewChildMemoClick", &TreeCommands::newChildMemo);
    on("tbNewResultClick", &TreeCommands::newResult);
    on("tbExchange1Click", &TreeCommands::exchangeCategoryMemo);
    on("tbExchange2Click", &TreeCommands::exchangeMemoResult);
    on("tbNodeUpClick", &TreeCommands::moveUp);
    on("tbNodeDownClick", &TreeCommands::moveDown);
    on("tbLevelUpClick", &TreeCommands::levelUp);
    on("tbLevelDownClick", &TreeCommands::levelDown);
    on("LevelUpChildrenClick", &TreeCommands::levelUpChildren);
    on("LevelDnSiblingsClick", &TreeCommands::levelDownSiblings);
    on("tbDeleteClick", &TreeCommands::deleteTarget);
    on("TreeCutClick", &TreeCommands::cutSubtree);
    on("TreeCopyClick", &TreeCommands::copySubtree);
    on("TreePasteClick", &TreeCommands::pasteSubtree);
    on("ExpandAllTreeClick", &TreeCommands::expandAll);
    on("CollapseAllTreeClick", &TreeCommands::collapseAll);
    on("CollapseTreeClick", &TreeCommands::collapseBranch);
    on("RestoreTreeStateClick", &TreeCommands::restoreTreeState);
}

// ---- Enabling ----------------------------------------------------------------------------------

void TreeCommands::updateActions(const ActionState& state)
{
    const ActionRegistry& a = *m_actions;
    const bool editable = state.editable();
    for (const char* event :
        { "tbNewCategoryClick", "pmTrayCategoryClick", "tbNewMemoClick", "NewChildMemoClick" })
        a.setEventEnabled(QString::fromLatin1(event), !state.readOnly);
    for (const char* event : { "tbNewResultClick", "tbExchange1Click", "tbExchange2Click", "tbNodeUpClick",
             "tbNodeDownClick", "tbLevelUpClick", "tbLevelDownClick", "LevelUpChildrenClick",
             "LevelDnSiblingsClick", "tbDeleteClick", "TreeCutClick" })
        a.setEventEnabled(QString::fromLatin1(event), editable);
    a.setEventEnabled(QStringLiteral("TreeCopyClick"), state.userNode);
    a.setEventEnabled(QStringLiteral("TreePasteClick"), !state.readOnly && state.clipboardHasSubtree);

    a.setEventEnabled(QStringLiteral("ExpandAllTreeClick"), state.hasContent);
    a.setEventEnabled(QStringLiteral("CollapseAllTreeClick"), state.hasContent);
    const Node* node = state.node;
    const bool branch = state.userNode && (node->level() > 1 || node->hasChildren());
    a.setEventEnabled(QStringLiteral("CollapseTreeClick"), branch);
    a.setEventEnabled(QStringLiteral("RestoreTreeStateClick"), m_canRestoreTreeState);
}

void TreeCommands::preparePopup(Popup popup, const ActionState& state, Node* node)
{
    if (popup != Popup::Tree)
        return;
    m_contextNode = node;
    m_tree.clearRightPress();

    const ActionRegistry& a = *m_actions;
    auto follow = [&a](const char* item, const char* twin) {
        QAction* action = a.action(QString::fromLatin1(item));
        QAction* main = a.action(QString::fromLatin1(twin));
        if (action != nullptr && main != nullptr)
            action->setEnabled(main->isEnabled());
    };
    auto set = [&a](const char* item, bool enabled) {
        if (QAction* action = a.action(QString::fromLatin1(item)))
            action->setEnabled(enabled);
    };
    follow("pmNewCategory", "NewCategory");
    follow("pmNewChildCategory", "NewChildCategory");
    follow("pmNewMemo", "NewMemo");
    follow("pmNewChildMemo", "NewChildMemo");
    follow("pmMemoWizard", "MemoWizard");
    follow("pmTreePaste", "TreePaste");
    follow("RestoreTreeState2", "RestoreTreeState");

    const bool userNode = node != nullptr && node->isUserNode();
    const bool editable = userNode && !state.readOnly;
    set("pmNewResult", editable);
    set("pmTreeCut", editable);
    set("pmTreeCopy", userNode);
    set("pmTreeDelete", editable);
    setMenuEnabled(m_menus, QStringLiteral("pmLevelChange"), editable);
    setMenuEnabled(m_menus, QStringLiteral("pmIconChange"), editable);
    setMenuEnabled(m_menus, QStringLiteral("BookMenu2"), isMenuEnabled(m_menus, QStringLiteral("BookmarkMenu")));
}

// ---- Helpers -----------------------------------------------------------------------------------

Node* TreeCommands::commandTarget() const
{
    if (m_tree.isRightPressed() && m_contextNode != nullptr)
        return m_contextNode;
    return m_tree.selectedNode();
}

bool TreeCommands::isReadOnly() const
{
    return m_context.document.isReadOnly();
}

void TreeCommands::beep()
{
    m_context.prompt().beep();
}

void TreeCommands::scrollOnePageLeft()
{
    QScrollBar* bar = m_tree.horizontalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
}

void TreeCommands::setRestoreTreeStateEnabled(bool enabled)
{
    m_canRestoreTreeState = enabled;
    if (m_actions != nullptr)
        m_actions->setEventEnabled(QStringLiteral("RestoreTreeStateClick"), enabled);
}

void TreeCommands::captureTreeState()
{
    m_operations.captureTreeState(m_tree.selectedNode(), m_tree.topNode());
}

void TreeCommands::allowRestoreTreeState()
{
    setRestoreTreeStateEnabled(true);
}

// ---- New nodes ---------------------------------------------------------------------------------

void TreeCommands::newCategory()
{
    newNode(KindCategory, Placement::AfterTarget);
}

void TreeCommands::newChildCategory()
{
    newNode(KindCategory, Placement::LastChild);
}

void TreeCommands::newMemo()
{
    newNode(KindMemo, Placement::AfterTarget);
}

void TreeCommands::newChildMemo()
{
    newNode(KindMemo, Placement::LastChild);
}

void TreeCommands::newResult()
{
    // A result is always the last child of its target, never its sibling.
    newNode(KindResult, Placement::LastChild);
}

void TreeCommands::newNode(int kind, Placement placement)
{
    Node* target = commandTarget();
    // A result belongs under a user node; categories and memos may go under a top-level node.
    if (target == nullptr || isReadOnly() || (kind == KindResult && !target->isUserNode())) {
        beep();
        return;
    }
    // The settings file holds UTF-8; node titles are CP932.
    std::string title = cp932::fromUtf8(m_context.settings.currentDefaultTitles().titleFor(kind));
    Node* node = nullptr;
    if (placement == Placement::AfterTarget && target->isUserNode()) {
        // The new node takes the place after the target; the pane must not jump while it does.
        PaintingSuspended painting(&m_tree);
        Node* top = m_tree.topNode();
        node = m_operations.insertNodeAfter(target, kind, std::move(title));
        m_tree.setTopNode(top);
    } else {
        // After a top-level node there is no place at its level: the node goes below it.
        node = m_operations.addChildNode(target, kind, std::move(title));
    }
    if (node == nullptr) {
        beep();
        return;
    }
    showNewNode(node);
}

void TreeCommands::showNewNode(Node* node)
{
    if (node == nullptr)
        return;
    m_tree.setSelectedNode(node);
    m_context.memo.editTitle();
    m_context.updateActions();
}

// ---- Kinds, moves and levels -------------------------------------------------------------------

void TreeCommands::exchangeCategoryMemo()
{
    changeShape(&TreeOperations::exchangeCategoryMemo);
}

void TreeCommands::exchangeMemoResult()
{
    changeShape(&TreeOperations::exchangeMemoResult);
}

void TreeCommands::moveUp()
{
    const bool skipClosedTree = m_context.settings.get(key::SkipClosedTree);
    changeShape([this, skipClosedTree](Node* target) { return m_operations.moveUp(target, skipClosedTree); });
}

void TreeCommands::moveDown()
{
    const bool skipClosedTree = m_context.settings.get(key::SkipClosedTree);
    changeShape(
        [this, skipClosedTree](Node* target) { return m_operations.moveDown(target, skipClosedTree); });
}

void TreeCommands::levelUp()
{
    changeShape(&TreeOperations::levelUp);
}

void TreeCommands::levelDown()
{
    changeShape(&TreeOperations::levelDown);
}

void TreeCommands::levelUpChildren()
{
    changeShape(&TreeOperations::levelUpChildren);
}

void TreeCommands::levelDownSiblings()
{
    changeShape(&TreeOperations::levelDownSiblings);
}

void TreeCommands::changeShape(bool (TreeOperations::*operation)(Node*))
{
    changeShape([this, operation](Node* target) { return (m_operations.*operation)(target); });
}

void TreeCommands::changeShape(const std::function<bool(Node*)>& operation)
{
    Node* target = commandTarget();
    bool acted = false;
    {
        PaintingSuspended painting(&m_tree);
        acted = target != nullptr && operation(target);
        // The moved node stays in sight.
        if (acted && Document::isVisible(target))
            m_tree.scrollTo(m_model.indexFromNode(target));
    }
    if (!acted) {
        beep();
        return;
    }
    m_context.updateActions();
}

// ---- Delete and the subtree clipboard ----------------------------------------------------------

void TreeCommands::deleteTarget()
{
    Node* target = commandTarget();
    if (target == nullptr || !target->isUserNode() || isReadOnly()) {
        beep();
        return;
    }
    // The subtree shows what would go while the question is open.
    m_model.setDimmedSubtree(target);
    if (!m_context.settings.get(key::NoConfirm)) {
        const PromptAnswer answer = m_context.prompt().ask(
            m_context.window, kDeleteQuestion, kDeleteCaption, MessageIcon::Question, PromptButtons::YesNo);
        if (answer != PromptAnswer::Yes) {
            m_model.clearDimmed();
            return;
        }
    }
    m_model.clearDimmed();
    // The title edit would otherwise keep the focus for a node that is gone.
    m_context.memo.leaveTitle();
    if (m_context.settings.get(key::SaveData))
        cutNode(target);
    else
        removeNode(target);
}

void TreeCommands::cutSubtree()
{
    Node* target = commandTarget();
    if (target == nullptr || !target->isUserNode() || isReadOnly()) {
        beep();
        return;
    }
    cutNode(target);
}

void TreeCommands::cutNode(Node* target)
{
    // The subtree carries the text the person sees, not the text last stored.
    m_context.memo.store();
    m_clipboard.copy(target);
    removeNode(target);
}

void TreeCommands::removeNode(Node* target)
{
    TreePane* tree = &m_tree;
    Node* next = m_operations.deleteSubtree(target, tree->selectedNode());
    if (next != nullptr && next != tree->selectedNode())
        tree->setSelectedNode(next);
    m_context.updateActions();
}

void TreeCommands::copySubtree()
{
    Node* target = commandTarget();
    if (target == nullptr || !target->isUserNode()) {
        beep();
        return;
    }
    m_context.memo.store();
    m_clipboard.copy(target);
}

void TreeCommands::pasteSubtree()
{
    Node* target = commandTarget();
    if (target == nullptr || isReadOnly()) {
        beep();
        return;
    }
    QString error;
    const Node* first = m_clipboard.paste(target, m_context.document, &error);
    if (first == nullptr && !error.isEmpty()) {
        // Bytes under the program's format that do not read as a subtree: nothing is pasted, and
        // the person is told why rather than left with a beep.
        beep();
        m_context.prompt().tell(m_context.window, kDamagedSubtree + QStringLiteral("\r\n\r\n(") + error
                + QStringLiteral(")"), QStringLiteral("お知らせ"), MessageIcon::Warning);
        return;
    }
    // Marked even when the clipboard held nothing to paste.
    m_context.document.setModified(true);
    m_context.updateActions();
}

// ---- View commands -----------------------------------------------------------------------------

void TreeCommands::expandAll()
{
    TreePane* tree = &m_tree;
    Node* selected = tree->selectedNode();
    {
        PaintingSuspended painting(tree);
        Node* top = tree->topNode();
        if (!m_operations.expandAll(selected, top)) {
            beep();
            return;
        }
        tree->setTopNode(top);
        if (selected != nullptr)
            tree->scrollTo(m_model.indexFromNode(selected));
        scrollOnePageLeft();
    }
    setRestoreTreeStateEnabled(true);
}

void TreeCommands::collapseAll()
{
    TreePane* tree = &m_tree;
    {
        PaintingSuspended painting(tree);
        Node* keep = m_operations.collapseAll(tree->selectedNode(), tree->topNode());
        if (keep == nullptr) {
            beep();
            return;
        }
        tree->setSelectedNode(keep);
        scrollOnePageLeft();
    }
    setRestoreTreeStateEnabled(true);
    m_context.updateActions();
}

void TreeCommands::collapseBranch()
{
    TreePane* tree = &m_tree;
    Node* branch = m_operations.collapseBranch(tree->selectedNode());
    if (branch == nullptr) {
        beep();
        return;
    }
    tree->setSelectedNode(branch);
    m_context.updateActions();
}

void TreeCommands::restoreTreeState()
{
    TreePane* tree = &m_tree;
    Document& document = m_context.document;
    {
        PaintingSuspended painting(tree);
        if (Node* saved = document.nodeAt(document.savedCurrentIndex()))
            tree->setSelectedNode(saved);
        const TreeStateRestore restore = m_operations.restoreTreeState();
        // A selection inside a branch the restored state closes moves onto that branch, as when
        // the person closes it.
        Node* selected = tree->selectedNode();
        if (selected != nullptr && !Document::isVisible(selected)) {
            Node* shown = selected->parent();
            while (shown != nullptr && !shown->isRoot() && !Document::isVisible(shown))
                shown = shown->parent();
            if (shown != nullptr && !shown->isRoot())
                tree->setSelectedNode(shown);
        }
        if (restore.topVisible != nullptr)
            tree->setTopNode(restore.topVisible);
        scrollOnePageLeft();
    }
    setRestoreTreeStateEnabled(false);
    m_context.updateActions();
}

} // namespace notarium
