#include "search/FindCommands.h"

#include "app/ActionRegistry.h"
#include "app/StatusPanels.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "app/ViewCommands.h"
#include "core/document/Document.h"
#include "core/search/HTSearch.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/Cp932Chars.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "search/HistoryComboBox.h"
#include "search/SearchWindows.h"
#include "search/TFindForm1.h"
#include "search/TWinRoller.h"

#include <QScrollBar>

namespace notarium {

FindCommands::FindCommands(const WindowContext& context, const SearchPanes& panes, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_panes(panes)
{
}

FindCommands::~FindCommands()
{
    delete m_window;
}

void FindCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(QStringLiteral("tbFindClick"), this, [this](QAction*) { openFindWindow(); });
    actions.connectEvent(QStringLiteral("FindNext1Click"), this, [this](QAction*) { findNext(); });
    actions.connectEvent(QStringLiteral("FindPrev1Click"), this, [this](QAction*) { findPrevious(); });
}

void FindCommands::updateActions(const ActionState&)
{
    m_actions->setEventEnabled(QStringLiteral("tbFindClick"), true);
    m_actions->setEventEnabled(QStringLiteral("FindNext1Click"), !m_state.text.empty());
    m_actions->setEventEnabled(QStringLiteral("FindPrev1Click"), !m_state.text.empty());
}

void FindCommands::windowClosing()
{
    closeFindWindow();
}

// ---- The find window ---------------------------------------------------------------------------

void FindCommands::openFindWindow()
{
    if (m_window) {
        search_windows::bringBack(m_window, m_window->roller());
        return;
    }
    m_panes.treeCommands.captureTreeState();
    m_window = new TFindForm1(m_context.window, m_context.help());
    m_window->findEdit()->setHistory(m_context.settings.history(Settings::History::Find));
    const QString selected = search_windows::selectedSearchText(m_panes.memo);
    m_window->start(m_state, selected.isEmpty() ? Cp932Chars::decode(m_state.text) : selected);
    m_titleHit = false;
    m_memoHit = false;
    QObject::connect(m_window, &TFindForm1::findRequested, this, &FindCommands::findRequested);
    // However it closes (its button, Esc, the close box, a search without a hit), the window is
    // gone at once for the commands; a find command later opens a new one.
    QObject::connect(m_window, &QDialog::finished, this, [this] {
        m_window = nullptr;
    });
    search_windows::centreOn(m_window, m_context.window);
    m_window->show();
}

void FindCommands::findRequested()
{
    if (!searchTextFrom(m_window->findEdit()->currentText()))
        return;
    m_window->store(m_state);
    historyChanged();
    m_context.updateActions();
    find(FindFrom::SelectedNode);
}

void FindCommands::historyChanged()
{
    search_windows::saveHistory(m_context, Settings::History::Find, m_window->findEdit()->history());
}

void FindCommands::closeFindWindow()
{
    if (m_window)
        m_window->close();
}

bool FindCommands::searchTextFrom(const QString& text)
{
    bool replaced = false;
    std::string bytes = cp932::fromUtf16(text.toStdU16String(), &replaced);
    if (replaced) {
        // No text of the document can hold such a character.
        m_context.status.setMessage(QStringLiteral("検索する文字列に Shift-JIS で表せない文字が含まれています"));
        m_context.beep();
        return false;
    }
    m_state.text = std::move(bytes);
    return true;
}

// ---- Find next and previous --------------------------------------------------------------------

bool FindCommands::composing() const
{
    return m_panes.memo.isComposing() || m_panes.title.isComposing() || (m_window && m_window->isComposing());
}

void FindCommands::findNext()
{
    if (m_state.text.empty() || composing())
        return;
    m_state.forward = true;
    find(FindFrom::SelectedNode);
}

void FindCommands::findPrevious()
{
    if (m_state.text.empty() || composing())
        return;
    m_state.forward = false;
    find(FindFrom::SelectedNode);
}

void FindCommands::find(FindFrom from)
{
    // A hit in the memo pane or the title box must be seen: the right-hand side comes back when
    // the tree pane fills the window.
    if (!m_panes.view.memoSideShown())
        m_panes.view.toggleTreeMaximized();
    // The walk searches the stored texts; the memo pane's edits go into its node first.
    m_context.memo.store();
    if (m_memoHit) {
        if (findInMemoPane()) {
            m_panes.treeCommands.allowRestoreTreeState();
            return;
        }
        if (!m_state.allPages) {
            closeFindWindow();
            m_context.beep();
            return;
        }
        from = FindFrom::NextNode;
    }

    const WrapQuestion ask = [this](bool forward) {
        m_context.beep();
        return m_context.prompt().askAt(m_context.window, QString::fromStdString(wrapQuestion(forward)),
                   QStringLiteral("確認"), MessageIcon::Question, PromptButtons::YesNo, QPoint(60, 60))
            == PromptAnswer::Yes;
    };
    for (;;) {
        const bool hadTitleHit = m_titleHit;
        const FindWalkResult result
            = findNodeHit(m_context.document, m_panes.tree.selectedNode(), from, m_state, m_titleHit, ask);
        if (hadTitleHit && !m_titleHit)
            m_panes.title.setSelection(0, 0);
        switch (result.outcome) {
        case FindWalkResult::Outcome::TitleHit:
            m_panes.tree.setSelectedNode(result.node);
            showTitleHit();
            m_panes.treeCommands.allowRestoreTreeState();
            return;
        case FindWalkResult::Outcome::BodyHit: {
            m_memoHit = true;
            m_panes.tree.setSelectedNode(result.node);
            TExtMemo& memo = m_panes.memo;
            memo.setSelPos(m_state.forward ? 0 : memo.TextLength());
            memo.setSelLen(0);
            if (findInMemoPane()) {
                m_panes.treeCommands.allowRestoreTreeState();
                return;
            }
            // The pane's text no longer holds what the node's stored text did: on to the next.
            from = FindFrom::NextNode;
            continue;
        }
        case FindWalkResult::Outcome::PageEnded:
            m_memoHit = false;
            closeFindWindow();
            m_context.beep();
            return;
        case FindWalkResult::Outcome::Declined:
        case FindWalkResult::Outcome::NoNode:
            m_memoHit = false;
            closeFindWindow();
            return;
        }
    }
}

bool FindCommands::findInMemoPane()
{
    TExtMemo& memo = m_panes.memo;
    const std::string text = memo.bytes();
    SelectionPair selection { memo.SelPos(), memo.SelLen() };
    if (!FindInText(text, selection, m_state.text, m_state.options())) {
        memo.setSelPos(memo.SelPos() + memo.SelLen());
        memo.setSelLen(0);
        m_memoHit = false;
        return false;
    }
    memo.setSelPos(selection.start);
    memo.setSelLen(selection.length);
    memo.ScrollCaret();
    m_memoHit = true;
    if (!m_window) {
        memo.setFocus();
        return true;
    }
    // The find window moves off the hit.
    QWidget* viewport = memo.viewport();
    const int hitBottom = memo.PosFromChar(selection.start + selection.length).y() + search_windows::lineHeight(memo);
    const QRect frame = m_window->frameGeometry();
    const int windowTop = viewport->mapFromGlobal(frame.topLeft()).y();
    if (hitBottom > windowTop - 20 && hitBottom < windowTop + frame.height() + 20) {
        if (hitBottom < viewport->height() / 2)
            search_windows::moveBelow(m_window, viewport->mapToGlobal(QPoint(0, hitBottom + 30)).y());
        else
            search_windows::moveAboveBy(m_window, frame.height() + 20);
    }
    return true;
}

void FindCommands::showTitleHit()
{
    Node* node = m_panes.tree.selectedNode();
    if (node == nullptr)
        return;
    const std::size_t at = findInTitle(node->title(), m_state.text);
    if (at == std::string_view::npos)
        return;
    ImeLineEdit& title = m_panes.title;
    if (m_window) {
        const int titleTop = title.mapToGlobal(QPoint(0, 0)).y();
        if (m_window->frameGeometry().top() < titleTop)
            search_windows::moveBelow(
                m_window, m_panes.memo.viewport()->mapToGlobal(QPoint(0, 0)).y() + 20);
    } else {
        title.setFocus();
    }
    const std::string& bytes = node->title();
    const auto start = Cp932Chars::decode(std::string_view(bytes).substr(0, at)).size();
    const auto length = Cp932Chars::decode(std::string_view(bytes).substr(at, m_state.text.size())).size();
    title.setSelection(static_cast<int>(start), static_cast<int>(length));
}

} // namespace notarium
