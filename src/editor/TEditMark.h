#pragma once

#include <QColor>

namespace notarium {

// One edit mark (line end, control character, spaces, tab, end of text): plain fields that the
// overlay painter reads; changing them does not repaint by itself.
class TEditMark {
public:
    bool Enabled = false;
    QColor Color = QColor(0xC0, 0xC0, 0xC0); // clSilver
    bool Reversed = false;

    void assign(const TEditMark& other) { *this = other; }
};

} // namespace notarium
