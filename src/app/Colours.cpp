#include "app/Colours.h"

namespace notarium {

namespace {

// The system colours' numbers and the palette roles that stand for them here.
QColor systemColour(int index, const QPalette& palette)
{
    switch (index) {
    case 5: // window
        return palette.color(QPalette::Base);
    case 8: // window text
    case 7: // menu text
    case 18: // button text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
    case 4: // menu
        return palette.color(QPalette::Button);
    case 17: // grey text
        return palette.color(QPalette::PlaceholderText);
    case 23: // info text
        return palette.color(QPalette::ToolTipText);
    case 24: // info background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor qColorFromColour(Colour colour, const QPalette& palette)
{
    if (colour & kSystemColourFlag)
        return systemColour(static_cast<int>(colour & 0xFF), palette);
    if (colour == kColourNone || colour == kColourDefault)
        return {};
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

Colour colourFromQColor(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8)
        | (static_cast<Colour>(colour.blue()) << 16);
}

} // namespace notarium
