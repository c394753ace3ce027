#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/settings/DateTimeFormat.h"

#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;

namespace notarium {

class MenuBuilder;
class TExtMemo;
class TreePane;

// What the edit commands need of the clipboard monitor of collection mode. The program's own
// copy must not come back as a collected clip, so copy pauses the monitor around its clipboard
// write; cut does not (cut text is collected like any other clip).
class ClipboardMonitorControl {
public:
    virtual ~ClipboardMonitorControl() = default;
    // Collection mode is on and the monitor watches the clipboard.
    virtual bool isCollecting() const = 0;
    // Stops reacting to clipboard changes until resume().
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Switches collection mode off as its command does (the external editor needs the clipboard
    // to itself while the person edits).
    virtual void stopCollecting() = 0;
};

// The editing commands of the title box and the memo pane, the memo pane's key handling and
// its enabling.
class MemoCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    MemoCommands(const WindowContext& context, QLineEdit& title, TExtMemo& memo, TreePane& tree,
        const MenuBuilder& menus, QObject* parent = nullptr);
    ~MemoCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void preparePopup(Popup popup, const ActionState& state, Node* node) override;

    // Sets the memo pane's character height to twice the average character width of its font (a
    // font named "Terminal" is left as it is). Call after the memo font has been set.
    void adjustMemoLineHeight();
    static void adjustLineHeight(TExtMemo& memo);
    // The character height in twips for a sample "ABCDEFGH" of sampleWidth pixels.
    static int lineHeightTwips(int sampleWidth, int pixelsPerInch);

    // Collection mode's monitor; null (the default) while there is none.
    void setClipboardMonitor(ClipboardMonitorControl* monitor) { m_monitor = monitor; }
    ClipboardMonitorControl* clipboardMonitor() const { return m_monitor; }
    // Where the date and time commands take "now" from (tests fix it).
    void setClock(std::function<DateTimeValue()> clock) { m_clock = std::move(clock); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Box { None, Title, Memo };

    Box focusedBox() const;
    bool isWritable(Box box) const;
    bool memoWritable() const;

    void undo();
    void cut();
    void copy();
    void paste();
    void selectAll();
    void eraseLineBreaks();
    void insertDateTime(bool time);
    void replaceSelection(Box box, const QString& text);

    bool memoKeyPress(QKeyEvent* event);
    bool titleKeyPress(QKeyEvent* event);
    bool clipboardKey(QKeyEvent* event);
    bool autoIndentNewLine();
    bool unindentLine();
    void openPopupAtCaret();

    WindowContext m_context;
    QLineEdit& m_title;
    TExtMemo& m_memo;
    TreePane& m_tree;
    const MenuBuilder& m_menus;
    ActionRegistry* m_actions = nullptr;
    ClipboardMonitorControl* m_monitor = nullptr;
    std::function<DateTimeValue()> m_clock;
};

} // namespace notarium
