#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace notarium {

// A control's hint as "tool tip|status text"; without "|" both are the same text.
inline void setHint(QWidget* widget, const char* hint)
{
    const QString text = QString::fromUtf8(hint);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    widget->setToolTip(bar < 0 ? text : text.left(bar));
    widget->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
}

// A dialog's button with its object name, caption and hint. Enter presses only the default button,
// not whichever button has the focus.
inline QPushButton* dialogButton(const char* name, const char* caption, const char* hint)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    setHint(button, hint);
    button->setAutoDefault(false);
    return button;
}

// A dialog's label; its mnemonic focuses buddy.
inline QLabel* dialogLabel(const char* name, const char* caption, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace notarium
