#include "app/WindowPlacement.h"

#include "core/settings/Settings.h"

#include <QWidget>

namespace notarium {

namespace {

// The part of the window a person grabs to move it: its top strip.
QRect grabStrip(const QRect& geometry)
{
    return QRect(geometry.left(), geometry.top(), geometry.width(), 24);
}

bool reachable(const QRect& geometry, const QList<QRect>& workAreas)
{
    const QRect strip = grabStrip(geometry);
    for (const QRect& area : workAreas) {
        if (area.intersects(strip))
            return true;
    }
    return false;
}

} // namespace

void useScreenDefaults(PlatformDefaults& defaults, const QRect& screenGeometry, const QRect& workArea)
{
    defaults.useScreen(
        screenGeometry.height(), workArea.left(), workArea.top(), workArea.width(), workArea.height());
}

WindowPlacement readWindowPlacement(const Settings& settings, const QList<QRect>& workAreas)
{
    WindowPlacement placement;
    placement.geometry = QRect(
        settings.get(key::WinX), settings.get(key::WinY), settings.get(key::WinW), settings.get(key::WinH));
    placement.maximized = settings.get(key::Maximized);

    // A hand-edited or damaged file can hold sizes no window can have.
    const PlatformDefaults& defaults = settings.platformDefaults();
    if (placement.geometry.width() <= 0)
        placement.geometry.setWidth(defaults.windowWidth);
    if (placement.geometry.height() <= 0)
        placement.geometry.setHeight(defaults.windowHeight);

    if (!workAreas.isEmpty() && !reachable(placement.geometry, workAreas)) {
        const QRect fallback(defaults.windowX, defaults.windowY, defaults.windowWidth, defaults.windowHeight);
        const QRect moved(fallback.topLeft(), placement.geometry.size());
        placement.geometry = workAreas.constFirst().contains(moved) ? moved : fallback;
    }
    return placement;
}

void writeWindowPlacement(Settings& settings, WindowShowState state, const QRect& normalGeometry)
{
    switch (state) {
    case WindowShowState::Normal:
        settings.set(key::Maximized, false);
        settings.set(key::WinX, normalGeometry.x());
        settings.set(key::WinY, normalGeometry.y());
        settings.set(key::WinW, normalGeometry.width());
        settings.set(key::WinH, normalGeometry.height());
        break;
    case WindowShowState::Maximized:
        settings.set(key::Maximized, true);
        break;
    case WindowShowState::Minimized:
        break;
    }
}

WindowShowState showStateOf(Qt::WindowStates states)
{
    // A minimized window that was maximized before still counts as minimized: nothing is written.
    if (states.testFlag(Qt::WindowMinimized))
        return WindowShowState::Minimized;
    // Full screen is a kind of maximized for this purpose: its geometry is not a placement to keep.
    if (states.testFlag(Qt::WindowMaximized) || states.testFlag(Qt::WindowFullScreen))
        return WindowShowState::Maximized;
    return WindowShowState::Normal;
}

void applyWindowPlacement(QWidget& window, const WindowPlacement& placement)
{
    window.move(placement.geometry.topLeft());
    window.resize(placement.geometry.size());
    if (placement.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

WindowShowState windowShowState(const QWidget& window)
{
    return showStateOf(window.windowState());
}

QRect normalPlacementGeometry(const QWidget& window)
{
    return QRect(window.pos(), window.size());
}

} // namespace notarium
