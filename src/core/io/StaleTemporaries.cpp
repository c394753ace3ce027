#include "core/io/StaleTemporaries.h"

#include <dirent.h>
#include <sys/stat.h>

namespace notarium {

bool isTemporaryNameOf(std::string_view candidate, std::string_view target)
{
    if (target.empty() || candidate.size() != target.size() + 7 || candidate.substr(0, target.size()) != target
        || candidate[target.size()] != '.')
        return false;
    for (const char c : candidate.substr(target.size() + 1)) {
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit)
            return false;
    }
    return true;
}

std::vector<std::string> leftoverTemporaries(const std::string& target, std::time_t notOlderThan)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryNameOf(entry->d_name, name))
            continue;
        const std::string path = (folder == "/" ? folder : folder + '/') + entry->d_name;
        struct stat st { };
        // Only plain files: a folder or link of that name is none of the writer's.
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < notOlderThan)
            found.push_back(path);
    }
    ::closedir(dir);
    return found;
}

} // namespace notarium
