#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace notarium {

class Settings;
struct PlatformDefaults;

// The main window's place on the screen, as the settings file keeps it ([Window] WinX, WinY, WinW,
// WinH, Maximized). The position is the window frame's top-left corner, the size that of the
// window's contents, so that writing and reading again puts the window where it was.
struct WindowPlacement {
    QRect geometry;
    bool maximized = false;

    bool operator==(const WindowPlacement&) const = default;
};

enum class WindowShowState { Normal, Maximized, Minimized };

// Fills the window defaults from the primary screen: a screen more than 600 pixels high keeps
// 80, 60, 800, 600; a smaller one gives its work area (available geometry), so the window fits.
void useScreenDefaults(PlatformDefaults& defaults, const QRect& screenGeometry, const QRect& workArea);

// The stored placement, each missing key taking its default. When work areas are given and the
// window's top edge would lie on none of them (a screen that has since been removed, a file from
// another machine), the window comes back at the default place, with the stored size where that
// still fits on the first (primary) work area: a window that cannot be reached cannot be moved back by the
// person.
WindowPlacement readWindowPlacement(const Settings& settings, const QList<QRect>& workAreas = {});

// At exit: a normal window writes Maximized=0 and its geometry; a maximized one only Maximized=1,
// so the last normal placement stays in the file for the next start; a minimized one writes
// nothing.
void writeWindowPlacement(Settings& settings, WindowShowState state, const QRect& normalGeometry);

WindowShowState showStateOf(Qt::WindowStates states);

// The widget side: apply before the window is first shown, read when it closes.
void applyWindowPlacement(QWidget& window, const WindowPlacement& placement);
WindowShowState windowShowState(const QWidget& window);
// Frame position and content size of the window in its normal state.
QRect normalPlacementGeometry(const QWidget& window);

} // namespace notarium
