#include "editor/ImeLineEdit.h"

#include <QInputMethodEvent>

namespace notarium {

ImeLineEdit::ImeLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // Text set by the program ends a composition: the line edit resets the input method.
    connect(this, &QLineEdit::textChanged, this, [this] { m_preedit.clear(); });
}

void ImeLineEdit::setInputMethodOpen(bool open)
{
    m_ime.setOpen(*this, open, [this] { return m_preedit; });
}

QVariant ImeLineEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (m_ime.answersDisabled(query))
        return false;
    return QLineEdit::inputMethodQuery(query);
}

QVariant ImeLineEdit::inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const
{
    if (m_ime.answersDisabled(query))
        return false;
    return QLineEdit::inputMethodQuery(query, std::move(argument));
}

void ImeLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    QLineEdit::inputMethodEvent(event);
    // A read-only edit refuses the event and shows nothing.
    if (event->isAccepted())
        m_preedit = event->preeditString();
}

} // namespace notarium
