#include "settings/THotKeyEdit.h"

#include "app/ShortcutNumber.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace notarium {

namespace {

constexpr Qt::KeyboardModifiers kTakenModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// The digit on the key of the main keyboard's digit row, from the key code that the X11 and
// Wayland platforms report (evdev code + 8: 10 is the 1 key, 19 the 0 key). With Shift held the
// layout names the key by its symbol ("%" for Shift+5), which has no stored form; the number
// names the key itself, as the bookmark keys Ctrl+Shift+0 … 9 do.
int digitRowKey(const QKeyEvent* event)
{
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland")))
        return 0;
    const quint32 code = event->nativeScanCode();
    if (code < 10 || code > 19)
        return 0;
    return code == 19 ? Qt::Key_0 : Qt::Key_1 + static_cast<int>(code - 10);
}

// The platform's names of the keys, spaced: "Ctrl+N" shows as "Ctrl + N". Only the "+" between
// the modifiers and the key are spaced, so the Plus key itself stays one "+".
QString spaced(const QKeySequence& keys)
{
    const QString full = keys.toString(QKeySequence::NativeText);
    if (keys.isEmpty())
        return full;
    const QString key = QKeySequence(keys[0].key()).toString(QKeySequence::NativeText);
    if (key.isEmpty() || !full.endsWith(key))
        return full;
    QString modifiers = full.left(full.size() - key.size());
    modifiers.replace(QLatin1Char('+'), QStringLiteral(" + "));
    // Qt's Japanese translation misspells this one key name.
    if (key == QLatin1String("Backspae"))
        return modifiers + QStringLiteral("Backspace");
    return modifiers + key;
}

} // namespace

THotKeyEdit::THotKeyEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setPlaceholderText(QStringLiteral("なし"));
    // A right click asks the dialog for its help menu, as on the other controls.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void THotKeyEdit::setShortcut(int shortcut)
{
    const int taken = keySequenceFromShortcut(shortcut).isEmpty() ? 0 : shortcut;
    const bool changed = taken != m_shortcut;
    m_shortcut = taken;
    showShortcut();
    if (changed)
        emit shortcutChanged(m_shortcut);
}

QString THotKeyEdit::displayText(int shortcut)
{
    return spaced(keySequenceFromShortcut(shortcut));
}

QVariant THotKeyEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

bool THotKeyEdit::movesFocus(const QKeyEvent* event)
{
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    return tab && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool THotKeyEdit::event(QEvent* event)
{
    // Every combination is the box's own, before any shortcut or mnemonic of the dialog (Alt+D
    // would press the assign button) or the dialog's Enter and Esc can see it.
    if (event->type() == QEvent::ShortcutOverride) {
        if (!movesFocus(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!movesFocus(key)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

int THotKeyEdit::shortcutOf(const QKeyEvent* event) const
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers & ~kTakenModifiers)
        return 0; // the settings file has no place for Meta
    if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier) && !m_ctrlAltAllowed)
        return 0;
    int key = event->key();
    if (key == Qt::Key_Backtab)
        key = Qt::Key_Tab; // Shift+Tab, held with Ctrl or Alt
    else if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    int shortcut = shortcutFromKeySequence(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
    if (shortcut == 0 && (modifiers & Qt::ShiftModifier)) {
        if (const int digit = digitRowKey(event))
            shortcut = shortcutFromKeySequence(QKeySequence(QKeyCombination(modifiers, Qt::Key(digit))));
    }
    return shortcut;
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (isModifierKey(event->key())) {
        showHeldModifiers(event->modifiers());
        return;
    }
    if (const int shortcut = shortcutOf(event))
        setShortcut(shortcut);
    else
        showShortcut(); // refused: the box keeps what it held
}

void THotKeyEdit::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (isModifierKey(event->key()))
        showHeldModifiers(event->modifiers());
}

void THotKeyEdit::focusOutEvent(QFocusEvent* event)
{
    showShortcut();
    QLineEdit::focusOutEvent(event);
}

void THotKeyEdit::showHeldModifiers(Qt::KeyboardModifiers modifiers)
{
    modifiers &= kTakenModifiers;
    if (modifiers == Qt::NoModifier) {
        showShortcut();
        return;
    }
    // The names as the full text would have them, without the key.
    QString held = spaced(QKeySequence(QKeyCombination(modifiers, Qt::Key_A)));
    held.chop(1);
    setText(held);
}

void THotKeyEdit::showShortcut()
{
    setText(displayText(m_shortcut));
}

} // namespace notarium
