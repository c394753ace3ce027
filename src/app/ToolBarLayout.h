#pragma once

#include "core/settings/Settings.h"

#include <QList>

class QMainWindow;
class QToolBar;

#include <string_view>

namespace notarium {

// Where Qt's own record of the tool bars' rows and places is kept, beside the sections.
inline constexpr std::string_view kToolBarStateSection = "Window";
inline constexpr std::string_view kToolBarStateKey = "ToolBars";

// The tool bars' places in the settings file, one section per tool bar: the edge it is docked to
// (DockedTo and LastDock hold Qt's tool bar area number: 1 left, 2 right, 4 top, 8 bottom), its
// row on that edge (DockRow, 0 nearest the window's edge), its offset along the row in pixels
// (DockPos), and for a floating bar its screen position (FloatLeft, FloatTop; DockedTo is then 0
// and LastDock the edge it came from).
ToolBarPosition describeToolBar(const QMainWindow& window, const QToolBar& bar);

// Puts the tool bars where their sections say, row by row; a bar without a section keeps its
// place. Used when the settings file has no saved window state to restore (an older file, or
// one edited by hand).
void placeToolBars(QMainWindow& window, const QList<QToolBar*>& bars, const Settings& settings);

} // namespace notarium
