#include "loader/GlobalHotKey.h"

#include "app/ShortcutNumber.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>

#include <array>
#include <cstdlib>
#include <utility>

// The X11 headers come last: their macros (None, KeyPress, Bool) clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace notarium {

namespace {

constexpr int kShift = 0x2000;
constexpr int kCtrl = 0x4000;
constexpr int kAlt = 0x8000;

// Qt's keys that are not Latin-1 characters, as X keysyms. A Latin-1 key's Qt code is its keysym.
constexpr std::array<std::pair<int, unsigned long>, 15> kSpecialKeys = { {
    { Qt::Key_Backspace, XK_BackSpace },
    { Qt::Key_Tab, XK_Tab },
    { Qt::Key_Return, XK_Return },
    { Qt::Key_Escape, XK_Escape },
    { Qt::Key_PageUp, XK_Prior },
    { Qt::Key_PageDown, XK_Next },
    { Qt::Key_End, XK_End },
    { Qt::Key_Home, XK_Home },
    { Qt::Key_Left, XK_Left },
    { Qt::Key_Up, XK_Up },
    { Qt::Key_Right, XK_Right },
    { Qt::Key_Down, XK_Down },
    { Qt::Key_Insert, XK_Insert },
    { Qt::Key_Delete, XK_Delete },
    { Qt::Key_Pause, XK_Pause },
} };

unsigned long keysymOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return XK_a + static_cast<unsigned long>(qtKey - Qt::Key_A); // the key's own, unshifted symbol
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return XK_F1 + static_cast<unsigned long>(qtKey - Qt::Key_F1);
    if (qtKey > 0x20 && qtKey < 0x100)
        return static_cast<unsigned long>(qtKey);
    if (qtKey == Qt::Key_Space)
        return XK_space;
    for (const auto& [key, keysym] : kSpecialKeys)
        if (key == qtKey)
            return keysym;
    return NoSymbol;
}

// The modifier bit that Num Lock is mapped to (usually Mod2), 0 when none is.
quint16 numLockMask(Display* display)
{
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    if (numLock == 0)
        return 0;
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr)
        return 0;
    quint16 mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier)
        for (int i = 0; i < map->max_keypermod; ++i)
            if (map->modifiermap[modifier * map->max_keypermod + i] == numLock) {
                mask = static_cast<quint16>(1U << modifier);
                break;
            }
    XFreeModifiermap(map);
    return mask;
}

QNativeInterface::QX11Application* x11()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
}

} // namespace

GlobalHotKey::GlobalHotKey(int shortcut, QObject* parent)
    : QObject(parent)
{
    if (shortcut != 0)
        grab(shortcut);
}

GlobalHotKey::~GlobalHotKey()
{
    ungrab();
}

void GlobalHotKey::grab(int shortcut)
{
    auto* native = x11();
    if (native == nullptr || native->display() == nullptr || native->connection() == nullptr) {
        m_state = State::Unsupported;
        return;
    }
    Display* display = native->display();
    xcb_connection_t* connection = native->connection();
    const QKeySequence keys = keySequenceFromShortcut(shortcut);
    const unsigned long keysym = keys.isEmpty() ? NoSymbol : keysymOf(keys[0].key());
    const KeyCode keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display, keysym);
    if (keycode == 0) {
        m_state = State::NotOnKeyboard;
        return;
    }
    m_root = static_cast<quint32>(DefaultRootWindow(display));
    m_keycode = static_cast<quint8>(keycode);
    m_modifiers = 0;
    if (shortcut & kShift)
        m_modifiers |= XCB_MOD_MASK_SHIFT;
    if (shortcut & kCtrl)
        m_modifiers |= XCB_MOD_MASK_CONTROL;
    if (shortcut & kAlt)
        m_modifiers |= XCB_MOD_MASK_1;

    // A passive grab matches the modifier state exactly, so with Caps Lock or Num Lock on the key
    // would not arrive; the grab is repeated with each combination of the two.
    const quint16 numLock = numLockMask(display);
    const quint16 variants[4] = { 0, XCB_MOD_MASK_LOCK, numLock, static_cast<quint16>(XCB_MOD_MASK_LOCK | numLock) };
    m_grabCount = 0;
    for (int i = 0; i < 4; ++i) {
        if (i >= 2 && numLock == 0)
            break;
        const quint16 modifiers = m_modifiers | variants[i];
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 0, m_root, modifiers, m_keycode,
            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            free(error);
            if (i == 0) {
                // Another program holds the plain combination (BadAccess).
                m_state = State::Taken;
                return;
            }
            continue;
        }
        m_lockModifiers[m_grabCount++] = variants[i];
    }
    m_state = State::Active;
    QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
}

void GlobalHotKey::ungrab()
{
    if (m_state != State::Active)
        return;
    m_state = State::NoKey;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->removeNativeEventFilter(this);
    auto* native = qGuiApp != nullptr ? x11() : nullptr;
    if (native == nullptr || native->connection() == nullptr)
        return;
    for (int i = 0; i < m_grabCount; ++i)
        xcb_ungrab_key(native->connection(), m_keycode, m_root, m_modifiers | m_lockModifiers[i]);
    xcb_flush(native->connection());
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    constexpr quint16 kRelevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
    if (key->event != m_root || key->detail != m_keycode || (key->state & kRelevant) != m_modifiers)
        return false;
    emit pressed();
    return true;
}

} // namespace notarium
