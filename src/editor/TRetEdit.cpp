#include "editor/TRetEdit.h"

#include "editor/ReturnNext.h"

namespace notarium {

TRetEdit::TRetEdit(QWidget* parent)
    : ImeLineEdit(parent)
{
}

void TRetEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_returnNext && !isComposing() && isReturnNextKey(event)) {
        focusNextChild();
        event->accept();
        return;
    }
    ImeLineEdit::keyPressEvent(event);
}

} // namespace notarium
