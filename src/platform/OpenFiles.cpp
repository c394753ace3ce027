#include "platform/OpenFiles.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace notarium {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool isNumber(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name)
        if (*name < '0' || *name > '9')
            return false;
    return true;
}

// Whether a descriptor folder (/proc/<pid>/fd) has an entry linking to target.
bool holds(const std::string& folder, const std::string& target)
{
    const DirHandle dir(::opendir(folder.c_str()));
    if (!dir)
        return false;
    char link[PATH_MAX];
    std::string entryPath;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isNumber(entry->d_name))
            continue;
        entryPath.assign(folder).append("/").append(entry->d_name);
        const ssize_t length = ::readlink(entryPath.c_str(), link, sizeof link);
        if (length > 0 && static_cast<std::size_t>(length) == target.size()
            && std::memcmp(link, target.data(), target.size()) == 0)
            return true;
    }
    return false;
}

} // namespace

QList<qint64> processesHoldingOpen(const QString& path)
{
    QList<qint64> holders;
    // The links name the file by its real path.
    char real[PATH_MAX];
    if (::realpath(QFile::encodeName(path).constData(), real) == nullptr)
        return holders;
    const std::string target(real);
    const DirHandle proc(::opendir("/proc"));
    if (!proc)
        return holders;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!isNumber(entry->d_name))
            continue;
        if (holds(std::string("/proc/") + entry->d_name + "/fd", target))
            holders.append(std::strtoll(entry->d_name, nullptr, 10));
    }
    return holders;
}

} // namespace notarium
