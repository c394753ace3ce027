#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace notarium {

// A key combination that reaches this program wherever the focus is: on X11 a passive grab of the
// key on the root window. Wayland gives a program no such grab.
class GlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    enum class State {
        NoKey, // the shortcut number is 0
        Active,
        Unsupported, // the display server has no global keys (Wayland, offscreen)
        Taken, // another program holds the combination
        NotOnKeyboard, // the key has no code on this keyboard, or no virtual-key code here
    };

    // shortcut: a shortcut number as the settings file keeps it (virtual key + 0x2000 Shift,
    // 0x4000 Ctrl, 0x8000 Alt).
    explicit GlobalHotKey(int shortcut, QObject* parent = nullptr);
    ~GlobalHotKey() override;
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    State state() const { return m_state; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void pressed();

private:
    void grab(int shortcut);
    void ungrab();

    State m_state = State::NoKey;
    quint32 m_root = 0;
    quint8 m_keycode = 0;
    quint16 m_modifiers = 0;
    // The lock modifiers the grab was repeated with (Caps Lock, Num Lock).
    quint16 m_lockModifiers[4] = {};
    int m_grabCount = 0;
};

} // namespace notarium
