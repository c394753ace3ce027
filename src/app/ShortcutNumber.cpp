#include "app/ShortcutNumber.h"

#include <array>
#include <utility>

namespace notarium {

namespace {

constexpr int kShift = 0x2000;
constexpr int kCtrl = 0x4000;
constexpr int kAlt = 0x8000;

// Virtual-key codes without a simple rule; letters, digits and F1-F24 are computed.
constexpr std::array<std::pair<int, int>, 31> kKeys = { {
    { 0x08, Qt::Key_Backspace },
    { 0x09, Qt::Key_Tab },
    { 0x0D, Qt::Key_Return },
    { 0x1B, Qt::Key_Escape },
    { 0x20, Qt::Key_Space },
    { 0x21, Qt::Key_PageUp },
    { 0x22, Qt::Key_PageDown },
    { 0x23, Qt::Key_End },
    { 0x24, Qt::Key_Home },
    { 0x25, Qt::Key_Left },
    { 0x26, Qt::Key_Up },
    { 0x27, Qt::Key_Right },
    { 0x28, Qt::Key_Down },
    { 0x2D, Qt::Key_Insert },
    { 0x2E, Qt::Key_Delete },
    { 0x6A, Qt::Key_Asterisk },
    { 0x6B, Qt::Key_Plus },
    { 0xBA, Qt::Key_Colon },
    { 0xBB, Qt::Key_Semicolon },
    { 0xBC, Qt::Key_Comma },
    { 0xBD, Qt::Key_Minus },
    { 0xBE, Qt::Key_Period },
    { 0xBF, Qt::Key_Slash },
    { 0xC0, Qt::Key_At },
    { 0xDB, Qt::Key_BracketLeft },
    { 0xDC, Qt::Key_yen },
    { 0xDD, Qt::Key_BracketRight },
    { 0xDE, Qt::Key_AsciiCircum },
    { 0xE2, Qt::Key_Backslash },
    { 0x13, Qt::Key_Pause },
    // The keypad's slash after the main one, so a slash is written as the main key.
    { 0x6F, Qt::Key_Slash },
} };

int qtKeyOf(int vk)
{
    if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A))
        return vk; // Qt's codes for digits and letters are their ASCII codes
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    for (const auto& [code, key] : kKeys)
        if (code == vk)
            return key;
    return 0;
}

int vkOf(int key)
{
    if ((key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    for (const auto& [code, qtKey] : kKeys)
        if (qtKey == key)
            return code;
    return 0;
}

} // namespace

QKeySequence keySequenceFromShortcut(int value)
{
    const int key = qtKeyOf(value & 0xFF);
    if (value <= 0 || key == 0)
        return {};
    int modifiers = 0;
    if (value & kShift)
        modifiers |= Qt::SHIFT;
    if (value & kCtrl)
        modifiers |= Qt::CTRL;
    if (value & kAlt)
        modifiers |= Qt::ALT;
    return QKeySequence(modifiers | key);
}

int shortcutFromKeySequence(const QKeySequence& keys)
{
    if (keys.count() != 1)
        return 0;
    const QKeyCombination combination = keys[0];
    const int vk = vkOf(combination.key());
    if (vk == 0)
        return 0;
    int value = vk;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ShiftModifier)
        value |= kShift;
    if (modifiers & Qt::ControlModifier)
        value |= kCtrl;
    if (modifiers & Qt::AltModifier)
        value |= kAlt;
    return value;
}

} // namespace notarium
