#include "app/WindowPlacement.h"

#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"

#include <QTest>
#include <QWidget>

using namespace notarium;

namespace {

PlatformDefaults defaultsFor(const QRect& screen, const QRect& workArea)
{
    PlatformDefaults defaults;
    useScreenDefaults(defaults, screen, workArea);
    return defaults;
}

QString stored(const IniFile& ini, const char* key)
{
    if (!ini.valueExists("Window", key))
        return QStringLiteral("<missing>");
    return QString::fromStdString(ini.readString("Window", key));
}

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void screenDefaults_data();
    void screenDefaults();
    void readsDefaultsWithoutFile();
    void readsStoredPlacement();
    void rejectsImpossibleSizes();
    void bringsBackUnreachableWindow_data();
    void bringsBackUnreachableWindow();
    void writesNormalWindow();
    void maximizedKeepsLastNormalPlacement();
    void minimizedWritesNothing();
    void showState_data();
    void showState();
    void appliesToWidget();
};

void WindowPlacementTest::screenDefaults_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("full HD") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1040) << QRect(80, 60, 800, 600);
    QTest::newRow("601 high") << QRect(0, 0, 1024, 601) << QRect(0, 0, 1024, 570) << QRect(80, 60, 800, 600);
    QTest::newRow("600 high: work area")
        << QRect(0, 0, 800, 600) << QRect(0, 28, 800, 572) << QRect(0, 28, 800, 572);
    QTest::newRow("small, panel on the left")
        << QRect(0, 0, 640, 480) << QRect(48, 0, 592, 480) << QRect(48, 0, 592, 480);
}

void WindowPlacementTest::screenDefaults()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, workArea);
    QFETCH(QRect, expected);

    const PlatformDefaults defaults = defaultsFor(screen, workArea);
    QCOMPARE(
        QRect(defaults.windowX, defaults.windowY, defaults.windowWidth, defaults.windowHeight), expected);
}

void WindowPlacementTest::readsDefaultsWithoutFile()
{
    IniFile ini;
    const Settings large(ini, defaultsFor(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)));
    QCOMPARE(readWindowPlacement(large), (WindowPlacement { QRect(80, 60, 800, 600), false }));

    // A screen 600 pixels high or less: the window covers the work area.
    const Settings small(ini, defaultsFor(QRect(0, 0, 800, 600), QRect(0, 30, 800, 570)));
    QCOMPARE(readWindowPlacement(small), (WindowPlacement { QRect(0, 30, 800, 570), false }));
}

void WindowPlacementTest::readsStoredPlacement()
{
    IniFile ini;
    ini.parse("[Window]\nWinX=120\nWinY=-4\nWinW=1000\nWinH=700\nMaximized=1\n");
    const Settings settings(ini, defaultsFor(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)));
    QCOMPARE(readWindowPlacement(settings), (WindowPlacement { QRect(120, -4, 1000, 700), true }));
    // Reachable where the work areas are known, so it stays where it was.
    QCOMPARE(readWindowPlacement(settings, { QRect(0, 0, 1920, 1040) }),
        (WindowPlacement { QRect(120, -4, 1000, 700), true }));
}

void WindowPlacementTest::rejectsImpossibleSizes()
{
    IniFile ini;
    ini.parse("[Window]\nWinX=10\nWinY=20\nWinW=0\nWinH=-300\n");
    const Settings settings(ini, defaultsFor(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)));
    QCOMPARE(readWindowPlacement(settings).geometry, QRect(10, 20, 800, 600));
}

void WindowPlacementTest::bringsBackUnreachableWindow_data()
{
    QTest::addColumn<QRect>("storedGeometry");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("on a removed right screen") << QRect(2500, 100, 900, 700) << QRect(80, 60, 900, 700);
    QTest::newRow("above the screen") << QRect(100, -800, 900, 700) << QRect(80, 60, 900, 700);
    QTest::newRow("too large to move") << QRect(5000, 5000, 1900, 1000) << QRect(80, 60, 800, 600);
    QTest::newRow("left half off screen stays") << QRect(-400, 100, 900, 700) << QRect(-400, 100, 900, 700);
    QTest::newRow("on the second screen stays") << QRect(2000, 200, 900, 700) << QRect(2000, 200, 900, 700);
}

void WindowPlacementTest::bringsBackUnreachableWindow()
{
    QFETCH(QRect, storedGeometry);
    QFETCH(QRect, expected);

    IniFile ini;
    Settings settings(ini, defaultsFor(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)));
    writeWindowPlacement(settings, WindowShowState::Normal, storedGeometry);
    const QList<QRect> workAreas = QTest::currentDataTag() == QByteArray("on the second screen stays")
        ? QList<QRect> { QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024) }
        : QList<QRect> { QRect(0, 0, 1920, 1040) };
    QCOMPARE(readWindowPlacement(settings, workAreas).geometry, expected);
}

void WindowPlacementTest::writesNormalWindow()
{
    IniFile ini;
    ini.parse("[Window]\nMaximized=1\nTree=200\n");
    Settings settings(ini, PlatformDefaults {});
    writeWindowPlacement(settings, WindowShowState::Normal, QRect(33, 44, 640, 480));
    QCOMPARE(stored(ini, "Maximized"), QStringLiteral("0"));
    QCOMPARE(stored(ini, "WinX"), QStringLiteral("33"));
    QCOMPARE(stored(ini, "WinY"), QStringLiteral("44"));
    QCOMPARE(stored(ini, "WinW"), QStringLiteral("640"));
    QCOMPARE(stored(ini, "WinH"), QStringLiteral("480"));
    QCOMPARE(stored(ini, "Tree"), QStringLiteral("200"));
    QCOMPARE(readWindowPlacement(settings), (WindowPlacement { QRect(33, 44, 640, 480), false }));
}

void WindowPlacementTest::maximizedKeepsLastNormalPlacement()
{
    IniFile ini;
    Settings settings(ini, PlatformDefaults {});
    writeWindowPlacement(settings, WindowShowState::Normal, QRect(200, 150, 700, 500));
    // The geometry of a maximized window is the whole screen; it must not replace the normal one.
    writeWindowPlacement(settings, WindowShowState::Maximized, QRect(0, 0, 1920, 1040));
    QCOMPARE(stored(ini, "Maximized"), QStringLiteral("1"));
    QCOMPARE(readWindowPlacement(settings), (WindowPlacement { QRect(200, 150, 700, 500), true }));

    // Without an earlier normal placement only Maximized is written.
    IniFile fresh;
    Settings freshSettings(fresh, PlatformDefaults {});
    writeWindowPlacement(freshSettings, WindowShowState::Maximized, QRect(0, 0, 1920, 1040));
    QCOMPARE(QString::fromStdString(fresh.serialize()), QStringLiteral("[Window]\nMaximized=1\n"));
}

void WindowPlacementTest::minimizedWritesNothing()
{
    IniFile ini;
    ini.parse("[Window]\nWinX=1\nWinY=2\nWinW=300\nWinH=400\nMaximized=1\n");
    const std::string before = ini.serialize();
    Settings settings(ini, PlatformDefaults {});
    writeWindowPlacement(settings, WindowShowState::Minimized, QRect(-32000, -32000, 160, 28));
    QCOMPARE(ini.serialize(), before);
}

void WindowPlacementTest::showState_data()
{
    QTest::addColumn<Qt::WindowStates>("states");
    QTest::addColumn<WindowShowState>("expected");

    QTest::newRow("normal") << Qt::WindowStates(Qt::WindowNoState) << WindowShowState::Normal;
    QTest::newRow("active only") << Qt::WindowStates(Qt::WindowActive) << WindowShowState::Normal;
    QTest::newRow("maximized") << Qt::WindowStates(Qt::WindowMaximized | Qt::WindowActive)
                               << WindowShowState::Maximized;
    QTest::newRow("full screen") << Qt::WindowStates(Qt::WindowFullScreen) << WindowShowState::Maximized;
    QTest::newRow("minimized") << Qt::WindowStates(Qt::WindowMinimized) << WindowShowState::Minimized;
    QTest::newRow("minimized from maximized")
        << (Qt::WindowMinimized | Qt::WindowMaximized) << WindowShowState::Minimized;
}

void WindowPlacementTest::showState()
{
    QFETCH(Qt::WindowStates, states);
    QFETCH(WindowShowState, expected);
    QCOMPARE(showStateOf(states), expected);
}

void WindowPlacementTest::appliesToWidget()
{
    QWidget window;
    applyWindowPlacement(window, { QRect(150, 120, 640, 480), false });
    QCOMPARE(normalPlacementGeometry(window), QRect(150, 120, 640, 480));
    QCOMPARE(windowShowState(window), WindowShowState::Normal);

    QWidget maximized;
    applyWindowPlacement(maximized, { QRect(150, 120, 640, 480), true });
    QCOMPARE(windowShowState(maximized), WindowShowState::Maximized);
    QVERIFY(maximized.windowState().testFlag(Qt::WindowMaximized));
}

QTEST_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
