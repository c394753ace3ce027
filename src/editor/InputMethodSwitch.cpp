#include "editor/InputMethodSwitch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QWidget>

namespace notarium {

void InputMethodSwitch::setOpen(QWidget& widget, bool open, const std::function<QString()>& preeditText)
{
    if (open == m_open)
        return;
    // The application's input method serves the focused widget only; another widget's pre-edit
    // text is not its composition.
    const bool focused = widget.hasFocus();
    if (!open) {
        if (focused && !preeditText().isEmpty())
            QGuiApplication::inputMethod()->commit();
        const QString left = preeditText();
        if (!left.isEmpty()) {
            QInputMethodEvent commit;
            commit.setCommitString(left);
            QCoreApplication::sendEvent(&widget, &commit);
            // The input method must not commit the same text again later.
            if (focused)
                QGuiApplication::inputMethod()->reset();
        }
    }
    m_open = open;
    if (focused)
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

} // namespace notarium
