#pragma once

#include <QString>
#include <Qt>
#include <functional>

class QWidget;

namespace notarium {

// Whether the input method is open on one widget. Closed, the widget answers Qt::ImEnabled with
// false, so the platform's input method leaves its keys alone; open, the widget answers as it
// always does. The widget's inputMethodQuery asks answersDisabled() first.
class InputMethodSwitch {
public:
    bool isOpen() const { return m_open; }
    bool answersDisabled(Qt::InputMethodQuery query) const { return !m_open && query == Qt::ImEnabled; }

    // Opens or closes the input method on widget. A composition in progress is committed before
    // closing, so that nothing typed is lost: the input method is asked to commit it, and when it
    // does not (none is running, or it cannot), the pre-edit text the widget shows is committed as
    // it stands. preeditText reports that text (empty when there is no composition). A focused
    // widget's input method is told that the answer to Qt::ImEnabled changed.
    void setOpen(QWidget& widget, bool open, const std::function<QString()>& preeditText);

private:
    bool m_open = true;
};

} // namespace notarium
