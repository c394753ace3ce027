#include "platform/FileLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace notarium {

namespace {

// Non-blocking, so that a name that turns out to be a pipe cannot hang the window.
int openFile(const QByteArray& name, int mode)
{
    int fd;
    do
        fd = ::open(name.constData(), mode | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// flock on an exclusive, non-blocking request; EINTR cannot happen with LOCK_NB but costs nothing.
int tryLock(int fd)
{
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result < 0 && errno == EINTR);
    return result;
}

bool isInUseError(int error)
{
    return error == EWOULDBLOCK || error == EAGAIN;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool sameFile(int fd, const QByteArray& name)
{
    struct stat opened { };
    struct stat named { };
    return ::fstat(fd, &opened) == 0 && ::stat(name.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

struct Attempt {
    int fd = -1;
    FileLock::Result result = FileLock::Result::CannotOpen;
    QString error;
};

Attempt failed(FileLock::Result result, int error)
{
    return { -1, result, systemError(error) };
}

// Opens the file for reading and takes the lock. On NFS, flock is carried out as a POSIX lock,
// which needs a descriptor open for writing to be exclusive (EBADF otherwise); only then is the
// file opened for writing.
Attempt openLocked(const QByteArray& name)
{
    int fd = openFile(name, O_RDONLY);
    if (fd < 0)
        return failed(FileLock::Result::CannotOpen, errno);
    if (tryLock(fd) == 0)
        return { fd, FileLock::Result::Locked, {} };
    int error = errno;
    if (error == EBADF) {
        ::close(fd);
        fd = openFile(name, O_RDWR);
        if (fd < 0)
            return failed(FileLock::Result::CannotOpen, errno);
        if (tryLock(fd) == 0)
            return { fd, FileLock::Result::Locked, {} };
        error = errno;
    }
    ::close(fd);
    return failed(isInUseError(error) ? FileLock::Result::InUse : FileLock::Result::CannotOpen, error);
}

} // namespace

FileLock::~FileLock()
{
    closeDescriptor();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path))
    , m_error(std::move(other.m_error))
{
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        closeDescriptor();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_error = std::move(other.m_error);
    }
    return *this;
}

FileLock::Result FileLock::lock(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (m_fd >= 0 && sameFile(m_fd, name)) {
        m_path = path;
        m_error.clear();
        return Result::Locked;
    }
    // Another document: its hold goes first, so a second name of the same file (a link) does not
    // collide with our own old hold. The same name on a replaced file keeps the old hold until the
    // new one is taken.
    if (path != m_path)
        closeDescriptor();
    Attempt attempt = openLocked(name);
    closeDescriptor();
    m_path = path;
    m_fd = attempt.fd;
    m_error = attempt.error;
    return attempt.result;
}

void FileLock::unlock()
{
    closeDescriptor();
}

FileLock::Result FileLock::relock()
{
    if (m_path.isEmpty()) {
        m_error = systemError(ENOENT);
        return Result::CannotOpen;
    }
    return lock(m_path);
}

bool FileLock::canOpenForWriting(const QString& path)
{
    const int fd = openFile(QFile::encodeName(path), O_RDWR);
    if (fd < 0)
        return false;
    const bool free = tryLock(fd) == 0;
    ::close(fd); // also lets go of the lock just taken
    return free;
}

void FileLock::closeDescriptor()
{
    if (m_fd < 0)
        return;
    // Unlock explicitly: a child forked by QProcess shares the open file description until it
    // calls exec, and closing our descriptor alone would leave the lock to it meanwhile.
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace notarium
