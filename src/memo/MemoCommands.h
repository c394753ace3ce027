#pragma once

#include "app/WindowParts.h"
#include "core/settings/DateTimeFormat.h"

#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;
class QMenu;

namespace notarium {

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
};

// The editing commands of the title box and the memo pane, the memo pane's key handling, its
// enabling and its status panels.
class MemoCommands : public QObject {
    Q_OBJECT

public:
    MemoCommands(const WindowParts& parts, QObject* parent = nullptr);
    ~MemoCommands() override;

    // Connects the command table's events and the panes' signals to the commands.
    void connectActions();
    // Enabling after every selection change of the tree.
    void updateCommandStates();
    // Just before the memo pop-up menu opens.
    void preparePopup();

    // Sets the memo pane's character height to twice the average character width of its font (a
    // font named "Terminal" is left as it is). Call after the memo font has been set.
    void adjustMemoLineHeight();
    static void adjustLineHeight(TExtMemo& memo);
    // The character height in twips for a sample "ABCDEFGH" of sampleWidth pixels.
    static int lineHeightTwips(int sampleWidth, int pixelsPerInch);

    // Collection mode's monitor; null (the default) while there is none.
    void setClipboardMonitor(ClipboardMonitorControl* monitor) { m_monitor = monitor; }
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
    bool clipboardKey(QKeyEvent* event);
    bool autoIndentNewLine();
    bool unindentLine();
    void openPopupAtCaret();

    void refreshMemoStates();
    void refreshTitleStates();
    void refreshPasteState();

    WindowParts m_parts;
    ClipboardMonitorControl* m_monitor = nullptr;
    std::function<DateTimeValue()> m_clock;
    QList<QMetaObject::Connection> m_appWatches;
};

} // namespace notarium
