#include "app/Application.h"

#include "app/HelpWindowService.h"
#include "app/MainWindow.h"
#include "app/QtFileDialogService.h"
#include "app/QtProcessLauncher.h"
#include "app/QtPromptService.h"
#include "app/Translations.h"
#include "app/WindowPlacement.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "editor/TExtMemo.h"
#include "platform/AppPaths.h"
#include "platform/LoaderControl.h"
#include "platform/LocalPath.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QScreen>
#include <QWindow>

namespace notarium {

namespace {

// The fonts the settings name come from Windows; these stand in for them here.
void substituteWindowsFonts()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
        { QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP") });
    QFont::insertSubstitutions(
        QStringLiteral("Terminal"), { QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP") });
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
        { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ 明朝"), { QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP") });
}

// Lets the event loop run until the window server has shown the window and it has painted, for
// at most a second (a window server that never reports it must not hold the program up).
void waitUntilPainted(QWidget& window)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1000) {
        const QWindow* handle = window.windowHandle();
        if (handle != nullptr && handle->isExposed())
            break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Notarium"));
    QApplication::setApplicationVersion(QStringLiteral(NOTARIUM_VERSION));
    substituteWindowsFonts();
    installQtTranslations(app);

    const AppPaths paths = AppPaths::fromEnvironment(QCoreApplication::applicationDirPath());
    PlatformDefaults platform = AppPaths::platformDefaults();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        useScreenDefaults(platform, screen->geometry(), screen->availableGeometry());
    // A settings file that cannot be read gives the defaults; it is never written over.
    SettingsStore store(localPath(paths.settingsFile()), platform);
    store.load();
    // A failure to write the start-up keys shows at the first real save of the settings.
    store.update([](Settings& settings) { settings.writeMissingStartupKeys(); });
    const Settings& settings = store.settings();

    QtPromptService prompts;
    QtFileDialogService dialogs;
    QtProcessLauncher launcher;
    HelpWindowService help;
    MainWindowContext context;
    context.settings = &store;
    context.services = Services { &prompts, &dialogs, &launcher, &help };
    context.configFolder = paths.configFolder();
    context.tempFolder = paths.tempFolder();
    context.recoveryFolder = paths.recoveryFolder();

    TMainForm1 window(context);
    QList<QRect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens())
        workAreas << screen->availableGeometry();
    applyWindowPlacement(window, readWindowPlacement(settings, workAreas));
    window.show();
    // The window is on the screen, painted, before a document is read into it: a large file then
    // shows its progress in the status bar instead of a window that has not appeared yet.
    waitUntilPainted(window);
    window.startWith(QCoreApplication::arguments().mid(1));
    LoaderControl(paths).startForResidentMode(settings, launcher);
    window.memoPane()->setFocus();
    return QApplication::exec();
}

} // namespace notarium
