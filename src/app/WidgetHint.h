#pragma once

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

} // namespace notarium
