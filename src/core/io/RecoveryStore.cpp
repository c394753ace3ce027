#include "core/io/RecoveryStore.h"

#include "core/io/FileErrors.h"
#include "core/io/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace notarium {

namespace {

constexpr std::string_view kRecordMagic = "Notarium Recovery 1\n";
constexpr std::string_view kRecordSuffix = ".info";

bool exists(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0;
}

// Creates folder and its missing parents; the ones made here are private to the user.
bool makeFolder(const std::string& folder, std::string* error)
{
    if (folder.empty()) {
        if (error)
            *error = fileErrorText(ENOENT);
        return false;
    }
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = fileErrorText(errno);
            return false;
        }
        if (slash == std::string::npos)
            break;
    }
    struct stat st { };
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        if (error)
            *error = fileErrorText(ENOTDIR);
        return false;
    }
    return true;
}

// Opens the record at path and takes its lock without waiting. -1 when another process holds it,
// or when the record went away meanwhile (its owner discarded it after our open).
int lockRecord(const std::string& path, bool create)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0600);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        struct stat held { };
        struct stat named { };
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino
            && held.st_dev == named.st_dev && S_ISREG(held.st_mode))
            return fd;
        ::close(fd);
        if (!create)
            return -1;
    }
    return -1;
}

bool readAll(int fd, std::string& bytes)
{
    bytes.clear();
    char buffer[4096];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        offset += got;
        // A record names one path; anything longer is not a record.
        if (bytes.size() > 65536)
            return false;
    }
}

bool writeAll(int fd, std::string_view bytes)
{
    if (::ftruncate(fd, 0) != 0)
        return false;
    off_t offset = 0;
    while (!bytes.empty()) {
        const ssize_t put = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
        offset += put;
    }
    return ::fsync(fd) == 0;
}

} // namespace

std::string recoveryRecordText(std::string_view documentPath)
{
    std::string text(kRecordMagic);
    text += documentPath;
    return text;
}

bool parseRecoveryRecord(std::string_view bytes, std::string& documentPath)
{
    if (bytes.substr(0, kRecordMagic.size()) != kRecordMagic)
        return false;
    const std::string_view path = bytes.substr(kRecordMagic.size());
    // A path is absolute and names a file; a record is never anything else.
    if (!path.empty() && (path.front() != '/' || path.find('\0') != std::string_view::npos))
        return false;
    documentPath.assign(path);
    return true;
}

std::string recoveryName(const std::string& documentPath, int processId)
{
    if (documentPath.empty())
        return "untitled-" + std::to_string(processId);
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : documentPath) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return name;
}

RecoveryCopy::~RecoveryCopy()
{
    release();
}

RecoveryCopy::RecoveryCopy(RecoveryCopy&& other) noexcept
    : m_record(std::exchange(other.m_record, -1))
    , m_folder(std::move(other.m_folder))
    , m_name(std::move(other.m_name))
    , m_documentPath(std::move(other.m_documentPath))
{
}

RecoveryCopy& RecoveryCopy::operator=(RecoveryCopy&& other) noexcept
{
    if (this != &other) {
        release();
        m_record = std::exchange(other.m_record, -1);
        m_folder = std::move(other.m_folder);
        m_name = std::move(other.m_name);
        m_documentPath = std::move(other.m_documentPath);
    }
    return *this;
}

RecoveryCopy RecoveryCopy::claim(
    const std::string& folder, const std::string& documentPath, int processId, std::string* error)
{
    RecoveryCopy copy;
    if (!makeFolder(folder, error))
        return copy;
    const std::string base = recoveryName(documentPath, processId);
    const std::string own = base + '-' + std::to_string(processId);
    for (int number = 0; number < 100; ++number) {
        // The document's own name first; then names of this process, which no other live process
        // uses.
        const std::string name = number == 0 ? base : number == 1 ? own : own + '-' + std::to_string(number);
        const std::string record = folder + '/' + name + std::string(kRecordSuffix);
        const int fd = lockRecord(record, true);
        if (fd < 0) {
            if (!exists(record)) {
                // The folder refuses new files: every other name fails the same way.
                if (error)
                    *error = fileErrorText(errno != 0 ? errno : EACCES);
                return copy;
            }
            continue;
        }
        // A copy kept from an earlier session waits to be offered: it is never written over.
        if (exists(folder + '/' + name + ".nmd")) {
            ::close(fd);
            continue;
        }
        if (!writeAll(fd, recoveryRecordText(documentPath))) {
            const int saved = errno;
            ::unlink(record.c_str());
            ::close(fd);
            if (error)
                *error = fileErrorText(saved != 0 ? saved : EIO);
            return copy;
        }
        copy.m_record = fd;
        copy.m_folder = folder;
        copy.m_name = name;
        copy.m_documentPath = documentPath;
        return copy;
    }
    if (error)
        *error = fileErrorText(EEXIST);
    return copy;
}

std::time_t RecoveryCopy::writtenAt() const
{
    struct stat st { };
    if (!isClaimed() || ::stat(copyPath().c_str(), &st) != 0)
        return 0;
    return st.st_mtime;
}

bool RecoveryCopy::write(std::string_view bytes, std::string* error) const
{
    if (!isClaimed()) {
        if (error)
            *error = fileErrorText(EBADF);
        return false;
    }
    return writeFileAtomically(copyPath(), bytes, error);
}

bool RecoveryCopy::write(const std::vector<std::string>& pieces, std::string* error) const
{
    if (!isClaimed()) {
        if (error)
            *error = fileErrorText(EBADF);
        return false;
    }
    AtomicFileWriter file(copyPath());
    for (const std::string& piece : pieces)
        if (!file.write(piece))
            break;
    if (file.commit())
        return true;
    if (error)
        *error = file.error();
    return false;
}

void RecoveryCopy::discard()
{
    if (!isClaimed())
        return;
    // The copy goes first: a record without a copy is only a leftover, a copy without a record
    // would be offered under no name.
    ::unlink(copyPath().c_str());
    ::unlink(recordPath().c_str());
    release();
}

void RecoveryCopy::release()
{
    if (m_record >= 0)
        ::close(m_record);
    m_record = -1;
}

std::vector<RecoveryCopy> abandonedRecoveryCopies(const std::string& folder)
{
    std::vector<std::pair<std::time_t, RecoveryCopy>> found;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return {};
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view file = entry->d_name;
        if (file.size() > kRecordSuffix.size() && file.ends_with(kRecordSuffix))
            names.emplace_back(file.substr(0, file.size() - kRecordSuffix.size()));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string record = folder + '/' + name + std::string(kRecordSuffix);
        const int fd = lockRecord(record, false);
        if (fd < 0)
            continue; // a live window's copy
        std::string bytes;
        std::string documentPath;
        if (!readAll(fd, bytes) || !parseRecoveryRecord(bytes, documentPath)) {
            ::close(fd);
            continue; // not ours to judge: left alone
        }
        RecoveryCopy copy;
        copy.m_record = fd;
        copy.m_folder = folder;
        copy.m_name = name;
        copy.m_documentPath = documentPath;
        struct stat st { };
        if (::stat(copy.copyPath().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            // Its writer went before the first copy was whole.
            if (!exists(copy.copyPath()))
                copy.discard();
            continue;
        }
        found.emplace_back(st.st_mtime, std::move(copy));
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<RecoveryCopy> copies;
    copies.reserve(found.size());
    for (auto& [written, copy] : found)
        copies.push_back(std::move(copy));
    return copies;
}

} // namespace notarium
