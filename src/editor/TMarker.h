#pragma once

#include <QColor>

namespace notarium {

// The caret marker or the word-wrap marker: plain fields read by the overlay painter.
class TMarker {
public:
    bool Enabled = false;
    QColor Color = QColor(0xC0, 0xC0, 0xC0); // clSilver

    void assign(const TMarker& other) { *this = other; }
};

} // namespace notarium
