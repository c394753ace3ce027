#include "core/settings/SettingsStore.h"

#include <filesystem>
#include <system_error>

namespace notarium {

namespace {

// The folder the file goes into, created with its parents when missing.
bool ensureFolderOf(const std::string& path, std::string* error)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        return true;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return true;
    std::filesystem::create_directories(folder, ec);
    if (!ec)
        return true;
    if (error)
        *error = ec.message();
    return false;
}

} // namespace

SettingsStore::SettingsStore(std::string path, PlatformDefaults platform)
    : m_path(std::move(path))
    , m_settings(m_ini, std::move(platform))
{
}

bool SettingsStore::load(std::string* error)
{
    if (m_path.empty()) {
        m_ini.clear();
        return true;
    }
    return m_ini.load(m_path, error);
}

SettingsStore::UpdateResult SettingsStore::update(const Change& change)
{
    UpdateResult result;
    if (!m_path.empty()) {
        IniFile onDisk;
        if (!onDisk.load(m_path, &result.error)) {
            result.ok = false;
        } else {
            const std::string before = onDisk.serialize();
            Settings fresh(onDisk, m_settings.platformDefaults());
            change(fresh);
            if (onDisk.serialize() != before)
                result.ok = ensureFolderOf(m_path, &result.error) && onDisk.save(m_path, &result.error);
        }
    }
    change(m_settings);
    return result;
}

} // namespace notarium
