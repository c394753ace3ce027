#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace notarium {

class AppPaths;
class ProcessLauncher;
class Settings;

// Whether a record of [Notarium] Loaded and Handle names a loader that runs now: Loaded is on and
// Handle is the id of a live process that isLoader says is a loader. An id of 0 or less, or the id
// self (a loader looking at a record left behind by a crashed one whose id it now has), never
// counts. A process id is reused by the system once its process has ended, so the id alone proves
// nothing: isLoader must look at the process itself.
bool loaderRecordIsLive(bool loaded, qint64 handle, const std::function<bool(qint64)>& isLoader, qint64 self = 0);

// Whether the path a process runs (the target of /proc/<pid>/exe) is a loader's executable. A
// loader whose file was replaced by an update still runs the old one, shown as "<path> (deleted)".
bool isLoaderExecutablePath(const QString& path);

// The program's side of the companion loader, notarium-loader: the small program beside this one
// that keeps the tray icon and the global menu key while no window is open (resident mode).
//
// The loader keeps [Notarium] Loaded (on while it runs) and Handle (its process id) in the
// program's settings file; the program only reads them. It ends when it is sent a close request
// over a local socket whose name is derived from the settings file's path, so loaders of two
// configurations (portable and installed, two XDG_CONFIG_HOMEs) never take each other's requests.
class LoaderControl {
public:
    static constexpr const char* kProgramName = "notarium-loader";
    // The close request and the loader's answer once it has let go of Loaded and Handle.
    static constexpr const char* kCloseRequest = "close\n";
    static constexpr const char* kCloseAnswer = "ok\n";

    // The loader beside the program in executableFolder, serving the settings file settingsFile.
    LoaderControl(QString executableFolder, QString settingsFile);
    explicit LoaderControl(const AppPaths& paths);

    QString executableFolder() const { return m_executableFolder; }
    QString settingsFile() const { return m_settingsFile; }
    QString programPath() const;

    // The file notarium-loader stands beside the program and may be run.
    static bool isInstalled(const QString& executableFolder);
    bool isInstalled() const { return isInstalled(m_executableFolder); }

    // Loaded and Handle of settings name a loader that runs now (loaderRecordIsLive with the
    // process table). A Handle left by a loader that was killed, or whose id now belongs to another
    // program, is not running.
    static bool isRunning(const Settings& settings);
    // The same, read afresh from the settings file: the loader writes the file after the program
    // has read its own image.
    bool isRunning() const;

    // Starts the loader detached, without arguments. The loader makes the program's folder its
    // working folder itself, as the launcher has no say in that.
    bool start(ProcessLauncher& launcher) const;
    // The program's start-up: with resident mode on (InTaskTray) and the loader installed but not
    // running, starts it. True when it was started.
    bool startForResidentMode(const Settings& settings, ProcessLauncher& launcher) const;

    // Sends the close request and waits up to timeoutMs for the answer, which the loader gives
    // after it has cleared Loaded and Handle. False when no loader listens or none answered.
    bool requestClose(int timeoutMs = 3000) const;

    // Whether process pid is a live (not zombie) loader.
    static bool isLoaderProcess(qint64 pid);

    // The local socket's full path and the single-instance lock file beside it, both in
    // $XDG_RUNTIME_DIR (else the temporary folder, with the user's id in the name), named
    // "notarium-loader-" plus a hash of the settings file's path, short enough for a socket address.
    static QString serverPath(const QString& settingsFile);
    static QString lockPath(const QString& settingsFile);
    QString serverPath() const { return serverPath(m_settingsFile); }

private:
    QString m_executableFolder;
    QString m_settingsFile;
};

} // namespace notarium
