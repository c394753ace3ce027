#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"

#include <QObject>

class QLineEdit;
class QSplitter;
class QWidget;

namespace notarium {

class Node;
class TExtMemo;
class TreePane;

// Moving through the outline page by page, moving the focus between the panes, and maximising
// either side of the window.
class ViewCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    ViewCommands(const WindowContext& context, QSplitter& splitter, TreePane& tree, QWidget& memoSide,
        QLineEdit& title, TExtMemo& memo, QObject* parent = nullptr);
    ~ViewCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    bool treeShown() const { return m_treeShown; }
    bool memoSideShown() const { return m_memoSideShown; }
    // Shows both sides again.
    void restorePanes();
    // The tree pane's width, remembered while the tree pane fills the window.
    int treeWidth() const;
    void setTreeWidth(int width);

    void goToNode(Node* target);
    void changeFocus();
    void goTitle();
    void toggleTreeMaximized();
    void toggleMemoMaximized();

private:
    WindowContext m_context;
    QSplitter& m_splitter;
    TreePane& m_tree;
    QWidget& m_memoSide;
    QLineEdit& m_title;
    TExtMemo& m_memo;
    ActionRegistry* m_actions = nullptr;
    bool m_treeShown = true;
    bool m_memoSideShown = true;
    int m_treeWidth = 182;
};

} // namespace notarium
