#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>

namespace notarium::test {

// A fresh folder under the system's temporary folder, removed with everything in it (even what
// a test made unreadable). Open to everyone when asked, so that a child running as another user
// can reach the files inside.
class TempFolder {
public:
    explicit TempFolder(const char* prefix = "notarium-test", bool openToEveryone = false)
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        m_path = ::mkdtemp(pattern.data());
        if (openToEveryone)
            fs::permissions(m_path, fs::perms::all);
    }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace notarium::test
