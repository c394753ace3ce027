// notarium-loader: keeps Notarium's tray icon and its global menu key while no window is open.
#include "app/QtFileDialogService.h"
#include "app/QtProcessLauncher.h"
#include "app/QtPromptService.h"
#include "app/Translations.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "loader/CloseServer.h"
#include "loader/GlobalHotKey.h"
#include "loader/LoaderTray.h"
#include "loader/QuitSignals.h"
#include "loader/ResidentRecord.h"
#include "platform/AppPaths.h"
#include "platform/LoaderControl.h"
#include "platform/LocalPath.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSessionManager>

#include <cstdio>
#include <cstdlib>

using namespace notarium;

namespace {

// For an ending that bypasses the event loop: the X connection breaking makes Qt call exit().
ResidentRecord* g_record = nullptr;

void releaseAtExit()
{
    if (g_record != nullptr)
        g_record->release();
}

void warn(const QString& text)
{
    std::fprintf(stderr, "notarium-loader: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Notarium"));
    QApplication::setApplicationVersion(QStringLiteral(NOTARIUM_VERSION));
    // Menus and dialogs come and go; the loader ends only when asked to.
    QApplication::setQuitOnLastWindowClosed(false);
    installQtTranslations(app);

    const AppPaths paths = AppPaths::fromEnvironment(QCoreApplication::applicationDirPath());
    // Whoever started it, the loader works from the program's folder.
    QDir::setCurrent(paths.executableFolder());
    const LoaderControl control(paths);

    ResidentRecord record(paths.settingsFile(), LoaderControl::lockPath(paths.settingsFile()));
    QString error;
    switch (record.claim(&error)) {
    case ResidentRecord::Claim::OtherRuns:
        return 0;
    case ResidentRecord::Claim::Failed:
        warn(QStringLiteral("cannot lock %1: %2").arg(LoaderControl::lockPath(paths.settingsFile()), error));
        return 1;
    case ResidentRecord::Claim::Claimed:
        break;
    }
    g_record = &record;
    std::atexit(releaseAtExit);

    // Every way of ending runs through quit() and aboutToQuit. All of them are ready before the
    // record is published, as the program may ask the loader to end as soon as it sees it.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, &QCoreApplication::quit);
    CloseServer server(control.serverPath(), [&record] { record.release(); });
    QObject::connect(&server, &CloseServer::closeRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (!server.listen(&error))
        warn(QStringLiteral("cannot listen on %1: %2").arg(control.serverPath(), error));
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&] {
        server.close();
        record.release();
    });
#ifndef QT_NO_SESSIONMANAGER
    // The autostart entry starts the loader at the next login; the session must not start a second.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
        [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
#endif
    if (!record.publish(&error))
        warn(QStringLiteral("cannot write %1: %2").arg(paths.settingsFile(), error));

    IniFile ini;
    ini.load(localPath(paths.settingsFile()));
    const int shortcut = Settings(ini, PlatformDefaults {}).get(key::HotKey);

    QtProcessLauncher launcher;
    QtFileDialogService dialogs;
    QtPromptService prompts;
    LoaderTray tray(paths.executableFolder(), paths.settingsFile(), { &launcher, &dialogs, &prompts });
    QObject::connect(&tray, &LoaderTray::quitRequested, &app, &QCoreApplication::quit);
    GlobalHotKey hotKey(shortcut);
    tray.setHotKey(hotKey.state(), shortcut);
    QObject::connect(&hotKey, &GlobalHotKey::pressed, &tray, &LoaderTray::popUpMenu);
    tray.show();

    const int status = QApplication::exec();
    record.release();
    g_record = nullptr;
    return status;
}
