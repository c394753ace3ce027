#pragma once

#include "core/settings/SettingValues.h"

#include <QColor>
#include <QPalette>

namespace notarium {

// Colours as the settings file keeps them ($00BBGGRR, or $800000nn for a system colour) and as
// Qt paints them. System colours follow the palette, so the program fits the desktop's theme.
QColor qColorFromColour(Colour colour, const QPalette& palette);
Colour colourFromQColor(const QColor& colour);

} // namespace notarium
