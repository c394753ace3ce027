#include "platform/LoaderControl.h"

#include "app/Services.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "platform/AppPaths.h"
#include "platform/LocalPath.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace notarium {

namespace {

// A socket address holds at most 107 bytes; a runtime folder that leaves less room than this is
// not used.
constexpr qsizetype kMaxSocketPath = 100;

QString runtimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime);
    return {};
}

// The path shared by the socket and the lock, without an ending.
QString basePath(const QString& settingsFile)
{
    const QByteArray key = QFile::encodeName(QDir::cleanPath(QFileInfo(settingsFile).absoluteFilePath()));
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    const QString runtime = runtimeFolder();
    const QString name = QStringLiteral("/notarium-loader-") + hash;
    if (!runtime.isEmpty() && QFile::encodeName(runtime + name).size() + 6 <= kMaxSocketPath)
        return runtime + name;
    // The temporary folder is shared by every user: the user's id keeps two users apart.
    return QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/notarium-loader-%1-").arg(::getuid()) + hash;
}

// The state letter of /proc/<pid>/stat; 0 when there is no such process.
char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // "pid (name) state ...": the name may hold blanks and parentheses; the state follows the last ')'.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return 0;
    return line.at(close + 2);
}

} // namespace

bool loaderRecordIsLive(bool loaded, qint64 handle, const std::function<bool(qint64)>& isLoader, qint64 self)
{
    if (!loaded || handle <= 0 || handle == self)
        return false;
    return isLoader(handle);
}

bool isLoaderExecutablePath(const QString& path)
{
    QString file = path;
    const QString deleted = QStringLiteral(" (deleted)");
    if (file.endsWith(deleted))
        file.chop(deleted.size());
    return QFileInfo(file).fileName() == QLatin1String(LoaderControl::kProgramName);
}

LoaderControl::LoaderControl(QString executableFolder, QString settingsFile)
    : m_executableFolder(std::move(executableFolder))
    , m_settingsFile(std::move(settingsFile))
{
}

LoaderControl::LoaderControl(const AppPaths& paths)
    : LoaderControl(paths.executableFolder(), paths.settingsFile())
{
}

QString LoaderControl::programPath() const
{
    return QDir(m_executableFolder).filePath(QLatin1String(kProgramName));
}

bool LoaderControl::isInstalled(const QString& executableFolder)
{
    const QFileInfo loader(QDir(executableFolder).filePath(QLatin1String(kProgramName)));
    return loader.isFile() && loader.isExecutable();
}

bool LoaderControl::isRunning(const Settings& settings)
{
    return loaderRecordIsLive(settings.get(key::Loaded), settings.get(key::Handle), &isLoaderProcess);
}

bool LoaderControl::isRunning() const
{
    IniFile ini;
    if (!ini.load(localPath(m_settingsFile)))
        return false;
    return isRunning(Settings(ini, PlatformDefaults {}));
}

bool LoaderControl::start(ProcessLauncher& launcher) const
{
    return launcher.startDetached(programPath(), {});
}

bool LoaderControl::startForResidentMode(const Settings& settings, ProcessLauncher& launcher) const
{
    if (!settings.get(key::InTaskTray) || !isInstalled() || isRunning(settings))
        return false;
    return start(launcher);
}

bool LoaderControl::requestClose(int timeoutMs) const
{
    // A plain stream socket rather than Qt's local socket, so that the program does not load the
    // network library and its dependencies at every start for this one exchange.
    const QDeadlineTimer deadline(timeoutMs);
    const QByteArray path = QFile::encodeName(serverPath());
    sockaddr_un address {};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    // Each blocking step may take what is left of the time, and no more.
    const auto limitTo = [fd](const QDeadlineTimer& until) {
        timeval time {}; // zero: no limit
        if (!until.isForever()) {
            const qint64 left = until.remainingTime();
            if (left <= 0)
                return false;
            time.tv_sec = static_cast<time_t>(left / 1000);
            time.tv_usec = static_cast<suseconds_t>((left % 1000) * 1000);
        }
        return ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &time, sizeof time) == 0
            && ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &time, sizeof time) == 0;
    };

    if (!limitTo(deadline) || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    const std::string_view request(kCloseRequest);
    std::size_t sent = 0;
    while (sent < request.size()) {
        if (!limitTo(deadline))
            return false;
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    // The answer is one line; the loader closes the connection after it.
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!limitTo(deadline))
            return false;
        char buffer[64];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        answer.append(buffer, n);
    }
    return answer == kCloseAnswer;
}

bool LoaderControl::isLoaderProcess(qint64 pid)
{
    if (pid <= 0)
        return false;
    const char state = processState(pid);
    if (state == 0 || state == 'Z' || state == 'X')
        return false;
    const QByteArray exe = "/proc/" + QByteArray::number(pid) + "/exe";
    char target[PATH_MAX];
    const ssize_t length = ::readlink(exe.constData(), target, sizeof target);
    if (length > 0)
        return isLoaderExecutablePath(QFile::decodeName(QByteArray(target, length)));
    // Where the executable cannot be looked at, only a process of this user with the loader's
    // name counts (the name is the executable's, cut to 15 bytes, which the loader's fits).
    struct stat info {};
    const QByteArray folder = "/proc/" + QByteArray::number(pid);
    if (::stat(folder.constData(), &info) != 0 || info.st_uid != ::getuid())
        return false;
    QFile comm(QString::fromLatin1(folder) + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return false;
    return comm.readAll().trimmed() == kProgramName;
}

QString LoaderControl::serverPath(const QString& settingsFile)
{
    return basePath(settingsFile) + QStringLiteral(".sock");
}

QString LoaderControl::lockPath(const QString& settingsFile)
{
    return basePath(settingsFile) + QStringLiteral(".lock");
}

} // namespace notarium
