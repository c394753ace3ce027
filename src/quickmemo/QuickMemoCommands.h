#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/document/QuickMemo.h"
#include "memo/MemoCommands.h"
#include "quickmemo/TClipboardMonitor.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
class QLineEdit;

namespace notarium {

class MenuBuilder;
class TExtMemo;
class TreeCommands;
class TreePane;

// Instant memo (one new memo from the clipboard's text) and collection mode (every later clip
// goes into the selected memo, or into a new memo of its own). The set is also the edit
// commands' handle on the monitor, so that the program's own copies are not collected.
class QuickMemoCommands : public QObject, public CommandSet, public ClipboardMonitorControl {
    Q_OBJECT

public:
    QuickMemoCommands(const WindowContext& context, TreePane& tree, QLineEdit& title, TExtMemo& memo,
        TreeCommands& treeCommands, MemoCommands& memoCommands, const MenuBuilder& menus,
        QObject* parent = nullptr);
    ~QuickMemoCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    // ClipboardMonitorControl
    bool isCollecting() const override { return m_collecting; }
    void pause() override;
    void resume() override;
    void stopCollecting() override;

    TClipboardMonitor& monitor() { return m_monitor; }

    // The commands, as the actions run them.
    void instantMemo();
    void switchCollectionMode();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class DocumentWatch;

    void setCollecting(bool on);
    void clipArrived();
    void collect(const std::string& clip, bool replaced);
    // The clipboard's text as a memo takes it (CP932, line breaks CR LF, no end-of-file mark);
    // nothing when the clipboard holds no text, or only a subtree's titles. *replaced is set when
    // characters CP932 cannot hold became 〓.
    std::optional<std::string> clipFromClipboard(bool* replaced) const;
    // Runs the new memo command; the memo it made and selected, or null.
    Node* newMemo();
    // Puts the text into node, the selected node, through the binding; with titled, the node's
    // title becomes the text's first line.
    void putText(Node* node, ClipInsertion insertion, bool titled);
    void setCaptionMark(bool on);
    bool isInstantMemoKey(const QKeyEvent* event) const;
    bool multiMemoMode() const;

    WindowContext m_context;
    TreePane& m_tree;
    QLineEdit& m_title;
    TExtMemo& m_memo;
    TreeCommands& m_treeCommands;
    MemoCommands& m_memoCommands;
    const MenuBuilder& m_menus;
    ActionRegistry* m_actions = nullptr;
    TClipboardMonitor m_monitor;
    std::unique_ptr<DocumentWatch> m_documentWatch;
    bool m_collecting = false;
    // The quick memo tool bar was shown already when collection mode was switched on.
    bool m_toolBarWasShown = false;
};

} // namespace notarium
