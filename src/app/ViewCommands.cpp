#include "app/ViewCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"

#include <QLineEdit>
#include <QSplitter>

namespace notarium {

ViewCommands::ViewCommands(const WindowContext& context, QSplitter& splitter, TreePane& tree, QWidget& memoSide,
    QLineEdit& title, TExtMemo& memo, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_splitter(splitter)
    , m_tree(tree)
    , m_memoSide(memoSide)
    , m_title(title)
    , m_memo(memo)
{
}

ViewCommands::~ViewCommands() = default;

void ViewCommands::connect(ActionRegistry& a)
{
    m_actions = &a;
    auto step = [this](Node* (*next)(const Node*)) {
        return [this, next](QAction*) {
            const Node* node = m_tree.selectedNode();
            goToNode(node ? next(node) : nullptr);
        };
    };
    a.connectEvent(QStringLiteral("tbPageDnClick"), this, step([](const Node* n) { return n->next(); }));
    a.connectEvent(QStringLiteral("tbPageUpClick"), this, step([](const Node* n) { return n->prev(); }));
    a.connectEvent(QStringLiteral("LowerPageClick"), this, step(&Document::nextVisible));
    a.connectEvent(QStringLiteral("UpperPageClick"), this, step(&Document::prevVisible));
    a.connectEvent(QStringLiteral("ChangeFocus1Click"), this, [this](QAction*) { changeFocus(); });
    a.connectEvent(QStringLiteral("GoTitleClick"), this, [this](QAction*) { goTitle(); });
    a.connectEvent(QStringLiteral("tbTreePaneMaximizeClick"), this, [this](QAction*) { toggleTreeMaximized(); });
    a.connectEvent(QStringLiteral("tbMemoPaneMaximizeClick"), this, [this](QAction*) { toggleMemoMaximized(); });
}

void ViewCommands::updateActions(const ActionState& state)
{
    const ActionRegistry& a = *m_actions;
    const bool both = m_treeShown && m_memoSideShown;
    a.setEventEnabled(QStringLiteral("GoTitleClick"), state.userNode);
    a.setEventEnabled(QStringLiteral("ChangeFocus1Click"), both);
    a.setEventEnabled(QStringLiteral("tbTreePaneMaximizeClick"), m_treeShown);
    a.setEventEnabled(QStringLiteral("tbMemoPaneMaximizeClick"), m_memoSideShown);
    a.setEventChecked(QStringLiteral("tbTreePaneMaximizeClick"), !m_memoSideShown);
    a.setEventChecked(QStringLiteral("tbMemoPaneMaximizeClick"), !m_treeShown);
}

void ViewCommands::goToNode(Node* target)
{
    if (m_title.hasFocus())
        m_memo.setFocus();
    if (target == nullptr) {
        m_context.beep();
        return;
    }
    m_tree.setSelectedNode(target);
}

void ViewCommands::changeFocus()
{
    if (m_tree.hasFocus())
        m_memo.setFocus();
    else if (m_title.hasFocus() || m_memo.hasFocus())
        m_tree.setFocus();
}

void ViewCommands::goTitle()
{
    if (m_title.isEnabled() && m_memoSideShown)
        m_title.setFocus();
    else
        m_context.beep();
}

void ViewCommands::toggleMemoMaximized()
{
    if (m_tree.hasFocus())
        m_memo.setFocus();
    m_treeShown = !m_treeShown;
    m_tree.setVisible(m_treeShown);
    m_context.updateActions();
}

void ViewCommands::toggleTreeMaximized()
{
    if (m_memoSideShown) {
        m_tree.setFocus();
        m_treeWidth = m_tree.width();
        m_memoSideShown = false;
        m_memoSide.hide();
    } else {
        m_memoSideShown = true;
        m_memoSide.show();
        m_splitter.setSizes({ m_treeWidth, qMax(60, m_splitter.width() - m_treeWidth) });
        m_memo.setFocus();
    }
    m_context.updateActions();
}

void ViewCommands::restorePanes()
{
    if (!m_memoSideShown)
        toggleTreeMaximized();
    if (!m_treeShown)
        toggleMemoMaximized();
}

int ViewCommands::treeWidth() const
{
    return m_memoSideShown && m_treeShown ? m_tree.width() : m_treeWidth;
}

void ViewCommands::setTreeWidth(int width)
{
    m_treeWidth = width;
    m_splitter.setSizes({ width, qMax(60, m_splitter.window()->width() - width) });
}

} // namespace notarium
