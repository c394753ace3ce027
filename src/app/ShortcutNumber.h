#pragma once

#include <QKeySequence>

namespace notarium {

// Shortcut numbers as the settings file keeps them: the low byte is the key's virtual-key code,
// plus 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt; 0 is no key.
QKeySequence keySequenceFromShortcut(int value);
// 0 when the key has no virtual-key code here.
int shortcutFromKeySequence(const QKeySequence& keys);

} // namespace notarium
