#pragma once

#include "app/CommandSet.h"
#include "app/SubtreeClipboard.h"
#include "app/WindowContext.h"
#include "core/document/TreeOperations.h"

#include <QObject>

#include <functional>

namespace notarium {

class DocumentTreeModel;
class MenuBuilder;
class Node;
class TreePane;

// The commands that change the shape of the outline and the view commands of the tree pane,
// through the core tree operations, with their enabling, confirmations and selection.
class TreeCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    TreeCommands(const WindowContext& context, TreePane& tree, DocumentTreeModel& model, const MenuBuilder& menus,
        QObject* parent = nullptr);
    ~TreeCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void preparePopup(Popup popup, const ActionState& state, Node* node) override;

    // The node the tree commands act on: the node the pop-up menu was opened on while a right
    // press in the tree pane is pending, else the selected node.
    Node* commandTarget() const;

    // Makes a node just created the selected one and shows its title ready to be typed over.
    void showNewNode(Node* node);

    // Records the tree's expanded states and its selected and top nodes (a search window opens);
    // allowRestoreTreeState() then lets RestoreTreeState bring them back (the search found a hit
    // and moved the selection).
    void captureTreeState();
    void allowRestoreTreeState();
    bool canRestoreTreeState() const { return m_canRestoreTreeState; }

    // The commands, as the actions run them.
    void newCategory();
    void newChildCategory();
    void newMemo();
    void newChildMemo();
    void newResult();
    void exchangeCategoryMemo();
    void exchangeMemoResult();
    void moveUp();
    void moveDown();
    void levelUp();
    void levelDown();
    void levelUpChildren();
    void levelDownSiblings();
    void deleteTarget();
    void cutSubtree();
    void copySubtree();
    void pasteSubtree();
    void expandAll();
    void collapseAll();
    void collapseBranch();
    void restoreTreeState();

private:
    enum class Placement { AfterTarget, LastChild };

    void newNode(int kind, Placement placement);
    // Runs a command that changes the shape of the tree around target, with the tree pane's
    // painting suspended; beeps when the command did nothing.
    void changeShape(bool (TreeOperations::*operation)(Node*));
    void changeShape(const std::function<bool(Node*)>& operation);
    // Puts target's subtree on the clipboard and deletes it.
    void cutNode(Node* target);
    void removeNode(Node* target);
    void scrollOnePageLeft();
    void setRestoreTreeStateEnabled(bool enabled);
    bool isReadOnly() const;
    void beep();

    WindowContext m_context;
    TreePane& m_tree;
    DocumentTreeModel& m_model;
    const MenuBuilder& m_menus;
    ActionRegistry* m_actions = nullptr;
    TreeOperations m_operations;
    SubtreeClipboard m_clipboard;
    // The node the pop-up menu last opened on; cleared when it leaves the document.
    Node* m_contextNode = nullptr;
    bool m_canRestoreTreeState = false;
};

} // namespace notarium
