#pragma once

#include <QMetaObject>
#include <QObject>

class QLineEdit;

namespace notarium {

class Document;
class DocumentTreeModel;
class Node;
class StatusPanels;
class TExtMemo;
class TreePane;
struct ActionState;

// The binding of the title box and the memo pane to the tree pane's selected node: the one place
// where the memo pane's text and view state are stored into a node and loaded back from it.
// Every command that reads or changes node text while the memo pane may hold edits goes through
// store() first; a command that changed the selected node's text in the document shows it again
// with reload().
class MemoBinding : public QObject {
    Q_OBJECT

public:
    MemoBinding(Document& document, TreePane& tree, DocumentTreeModel& model, QLineEdit& title, TExtMemo& memo,
        StatusPanels& status, QObject* parent = nullptr);
    ~MemoBinding() override;

    // The node the panes show (the tree pane's selected node), or null.
    Node* node() const;
    TreePane& tree() const { return m_tree; }
    // Stores the memo pane's text (when edited), caret, selection and first line into the
    // selected node, and clears the memo pane's modified mark.
    void store();
    // Shows the selected node's title and text again, as stored in the document.
    void reload();
    // The document was replaced (new, opened, closed): selects node (null: the first user node
    // position, index 1) and shows it, scrolled into view with the tree fully to the left.
    void showDocument(Node* node);

    // Makes the title box ready to be typed over (a node just created), unless the tree pane
    // fills the window.
    void editTitle();
    // Moves the focus from the title box to the memo pane (the title's node is going away).
    void leaveTitle();

    // The title box is enabled for user nodes and both boxes are read-only where the node
    // cannot be changed.
    void updateEditors(const ActionState& state);
    // Tells the person that characters Shift-JIS cannot hold became 〓.
    void reportReplaced();

signals:
    // A selection change is about to store the old node and load current: the commands must
    // follow the new node first.
    void nodeChanging(notarium::Node* current);

private:
    void selectionChanged(Node* previous, Node* current);
    void storeInto(Node* node);
    void load(Node* node);
    void clearMemo();
    void showTitle(const Node* node);
    void titleTyped(const QString& text);
    void titleEditedInTree(Node* node, bool replaced);
    void showCaret();

    Document& m_doc;
    TreePane& m_tree;
    DocumentTreeModel& m_model;
    QLineEdit& m_title;
    TExtMemo& m_memo;
    StatusPanels& m_status;
    // While the binding itself changes the memo pane, its change signals are not edits.
    bool m_loading = false;
    QMetaObject::Connection m_focusWatch;
};

} // namespace notarium
