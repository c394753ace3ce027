// The default key set ("Default.key") on any bytes, as restoring the default keys uses it: its
// [ShortCutKeys] values replace the settings file's section, and after the settings file is
// written and read again every restored command has the key number its value gives, the settings'
// other sections are untouched, and a set without keys leaves the built-in keys in force.
#include "core/settings/IniFile.h"
#include "core/settings/PlatformDefaults.h"
#include "core/settings/SettingValues.h"
#include "core/settings/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kShortcutSection = "ShortCutKeys";
// A settings file with keys of its own, which the default set replaces.
constexpr std::string_view kSettingsFile = "[Option]\n"
                                           "TabSize=4\n"
                                           "[ShortCutKeys]\n"
                                           "New1=16462\n"
                                           "Mine=123\n"
                                           "[History]\n"
                                           "0=/tmp/a.nmd\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    IniFile defaults;
    defaults.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const IniFile::KeyValues keys = defaults.values(kShortcutSection);

    IniFile ini;
    ini.parse(kSettingsFile);
    std::vector<std::pair<std::string, std::string>> restored;
    ini.eraseSection(kShortcutSection);
    for (const auto& [name, value] : keys)
        if (ini.writeString(kShortcutSection, name, value))
            restored.emplace_back(name, value);

    IniFile reread;
    reread.parse(ini.serialize());
    const Settings settings(reread, PlatformDefaults());
    if (settings.hasShortcuts() != !restored.empty())
        std::abort();
    if (restored.empty() && reread.sectionExists(kShortcutSection))
        std::abort();
    for (const auto& [name, value] : restored) {
        const int number = setting_values::readInteger(value, 0);
        if (settings.shortcut(name) != number)
            std::abort();
        // The dialog writes the number back in its own form; that reads as the same number.
        IniFile saved;
        Settings writer(saved, PlatformDefaults());
        writer.setShortcut(name, number);
        IniFile savedAgain;
        savedAgain.parse(saved.serialize());
        if (Settings(savedAgain, PlatformDefaults()).shortcut(name) != number)
            std::abort();
    }
    // The keys the settings file had and the default set lacks are gone.
    bool mineRestored = false;
    for (const auto& [name, value] : restored)
        mineRestored = mineRestored || setting_values::equalsIgnoringAsciiCase(name, "Mine");
    if (!mineRestored && reread.valueExists(kShortcutSection, "Mine"))
        std::abort();
    if (reread.readString("Option", "TabSize") != "4" || reread.readString("History", "0") != "/tmp/a.nmd")
        std::abort();
    return 0;
}
