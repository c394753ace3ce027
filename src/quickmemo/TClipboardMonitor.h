#pragma once

#include "core/document/QuickMemo.h"

#include <QElapsedTimer>
#include <QObject>

namespace notarium {

// Watches the system clipboard (never the primary selection) and raises changed() once for each
// new text it brings while the monitor is enabled; a content without text is no clip.
//
// X11 notifies every change, also while another program has the focus. Wayland notifies only the
// focused program, and again each time it gets the focus back: a notification that brings the
// content already seen is that repetition, and recheck() (called when the window is activated)
// reports a change made while the window was away. Clipboard managers announce the text they have
// just taken over once more; the same text within a second is one clip on every platform.
class TClipboardMonitor : public QObject {
    Q_OBJECT

public:
    explicit TClipboardMonitor(QObject* parent = nullptr);
    ~TClipboardMonitor() override;

    bool Enabled() const { return m_enabled; }
    // Switching on takes what the clipboard holds now as seen: only later changes are reported.
    void setEnabled(bool enabled);

    // The program writes the clipboard itself: nothing is reported until the last resume(),
    // which takes the new content as seen.
    void pause();
    void resume();

    // The window was activated: a content that arrived unnoticed is reported now, once.
    void recheck();

    // Notifications come only while the program has the focus (taken from the platform; tests
    // set it).
    void setNotifiesOnlyWhileFocused(bool onlyWhileFocused) { m_onlyWhileFocused = onlyWhileFocused; }

signals:
    void changed();

private:
    void clipboardChanged();
    void report(bool recheck);
    void rememberCurrent();

    QElapsedTimer m_clock;
    LastClip m_last;
    bool m_enabled = false;
    int m_pauses = 0;
    bool m_onlyWhileFocused = false;
};

} // namespace notarium
