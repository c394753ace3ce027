#pragma once

#include <QWidget>

namespace notarium {

// A widget's painting stays off for the life of the guard, and comes back on however the command
// that changes it ends.
class PaintingSuspended {
public:
    explicit PaintingSuspended(QWidget* widget)
        : m_widget(widget)
        , m_wasEnabled(widget->updatesEnabled())
    {
        m_widget->setUpdatesEnabled(false);
    }
    ~PaintingSuspended() { m_widget->setUpdatesEnabled(m_wasEnabled); }
    PaintingSuspended(const PaintingSuspended&) = delete;
    PaintingSuspended& operator=(const PaintingSuspended&) = delete;

private:
    QWidget* m_widget;
    bool m_wasEnabled;
};

} // namespace notarium
