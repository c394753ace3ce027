#pragma once

#include <QKeyEvent>

namespace notarium {

// The key that moves the focus on in the Enter-moves-on controls: Enter or Return, alone or with
// Shift (Ctrl and Alt make other keys of it).
inline bool isReturnNextKey(const QKeyEvent* event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace notarium
