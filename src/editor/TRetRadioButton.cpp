#include "editor/TRetRadioButton.h"

#include "editor/ReturnNext.h"

namespace notarium {

TRetRadioButton::TRetRadioButton(QWidget* parent)
    : QRadioButton(parent)
{
}

TRetRadioButton::TRetRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent)
{
}

void TRetRadioButton::keyPressEvent(QKeyEvent* event)
{
    if (m_returnNext && isReturnNextKey(event)) {
        focusNextChild();
        event->accept();
        return;
    }
    QRadioButton::keyPressEvent(event);
}

} // namespace notarium
