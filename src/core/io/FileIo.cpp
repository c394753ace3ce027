#include "core/io/FileIo.h"

#include "core/io/FileErrors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace notarium {

namespace {

// The program's words for the failures a person meets; none for the others.
const char* reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
        return "ディスクの空き領域が足りません。";
    case EDQUOT:
        return "ディスクの使用量の上限 (クォータ) を超えました。";
    case EFBIG:
        return "ファイルが大きすぎて書き込めません。";
    case EROFS:
        return "読み取り専用のディスクには書き込めません。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。ファイルまたはフォルダーへのアクセス権がありません。";
    case EIO:
        return "ディスクの読み書き中にエラーが発生しました。";
    case ENOENT:
        return "ファイルまたはフォルダーが見つかりません。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case EISDIR:
        return "ファイルではなくフォルダーです。";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます。";
    default:
        return nullptr;
    }
}

std::string errorText(int error)
{
    return fileErrorText(error);
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Reads up to size bytes, retrying after signals; -1 with errno set on failure.
ssize_t readSome(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

std::string fileErrorText(int error)
{
    std::string text;
    if (const char* reason = reasonFor(error)) {
        text = reason;
        text += " (";
        text += std::strerror(error);
        text += ')';
    } else {
        text = std::strerror(error);
    }
    return text;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string* error)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = errorText(errno);
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = errorText(EISDIR);
        return false;
    }
    std::size_t used = 0;
    bytes.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 65536);
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = readSome(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            bytes.clear();
            if (error)
                *error = errorText(saved);
            return false;
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(used);
    return true;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : m_path(path)
{
    struct stat linkStat { };
    if (::lstat(path.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            m_path = resolved;
            std::free(resolved);
        }
    }
    // An unnamed file first: a save killed before it is linked leaves nothing in the folder.
    m_fd = ::open(folderOf(m_path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (m_fd >= 0)
        return;
    // File systems without unnamed files get a named one, removed again on any failure.
    m_temp = m_path + ".XXXXXX";
    m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_temp.clear();
        fail(errno);
    }
}

bool AtomicFileWriter::linkUnnamedFile()
{
    // The unnamed file gets a name of the same pattern as a named temporary file, then takes
    // the target's place by rename: link cannot replace a file.
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = m_path + ".";
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof(kLetters) - 1)];
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = name;
            return true;
        }
        if (errno != EEXIST) {
            fail(errno);
            return false;
        }
    }
    fail(EEXIST);
    return false;
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temp.empty())
        ::unlink(m_temp.c_str());
}

void AtomicFileWriter::fail(int error)
{
    if (m_failure == 0)
        m_failure = error != 0 ? error : EIO;
}

std::string AtomicFileWriter::error() const
{
    return m_failure == 0 ? std::string() : errorText(m_failure);
}

bool AtomicFileWriter::write(std::string_view bytes)
{
    if (!ok())
        return false;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::commit()
{
    if (!ok() || m_committed)
        return ok();
    // The new file keeps the old one's permissions; a new file gets the usual 0666 & ~umask.
    struct stat st { };
    mode_t mode;
    if (::stat(m_path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0)
        fail(errno);
    if (ok() && ::fsync(m_fd) != 0)
        fail(errno);
    if (ok() && m_temp.empty())
        linkUnnamedFile();
    if (::close(m_fd) != 0)
        fail(errno);
    m_fd = -1;
    if (ok() && ::rename(m_temp.c_str(), m_path.c_str()) != 0)
        fail(errno);
    if (!ok())
        return false;
    m_committed = true;
    const int dir = ::open(folderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error)
{
    AtomicFileWriter writer(path);
    writer.write(bytes);
    if (writer.commit())
        return true;
    if (error)
        *error = writer.error();
    return false;
}

bool copyFileAtomically(const std::string& from, const std::string& to, std::string* error)
{
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = errorText(errno);
        return false;
    }
    AtomicFileWriter writer(to);
    std::string buffer(1 << 20, '\0');
    for (;;) {
        const ssize_t n = readSome(fd, buffer.data(), buffer.size());
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            if (error)
                *error = errorText(saved);
            return false;
        }
        if (n == 0 || !writer.write(std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            break;
    }
    ::close(fd);
    if (writer.commit())
        return true;
    if (error)
        *error = writer.error();
    return false;
}

} // namespace notarium
