#pragma once

#include "core/settings/DefaultTitles.h"
#include "core/settings/PlatformDefaults.h"
#include "core/settings/SettingValues.h"
#include "core/settings/SettingsTable.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

class IniFile;

template <SettingType Type> struct SettingValueOf;
template <> struct SettingValueOf<SettingType::Bool> {
    using Type = bool;
};
template <> struct SettingValueOf<SettingType::Integer> {
    using Type = int;
};
template <> struct SettingValueOf<SettingType::String> {
    using Type = std::string;
};
template <> struct SettingValueOf<SettingType::Colour> {
    using Type = Colour;
};
template <> struct SettingValueOf<SettingType::ColourName> {
    using Type = Colour;
};
template <> struct SettingValueOf<SettingType::FontStyle> {
    using Type = int;
};
template <SettingType Type> using SettingValue = typename SettingValueOf<Type>::Type;

namespace setting_values {

// The text of a value of the given type; a text of the wrong form gives fallback (a string never does).
template <SettingType Type>
SettingValue<Type> decode(std::string_view text, const SettingValue<Type>& fallback)
{
    if constexpr (Type == SettingType::Bool)
        return readBool(text, fallback);
    else if constexpr (Type == SettingType::Integer)
        return readInteger(text, fallback);
    else if constexpr (Type == SettingType::String)
        return std::string(text);
    else if constexpr (Type == SettingType::Colour || Type == SettingType::ColourName)
        return readColour(text, fallback);
    else
        return readFontStyle(text, fallback);
}

template <SettingType Type> std::string encode(const SettingValue<Type>& value)
{
    if constexpr (Type == SettingType::Bool)
        return writeBool(value);
    else if constexpr (Type == SettingType::Integer)
        return writeInteger(value);
    else if constexpr (Type == SettingType::String)
        return value;
    else if constexpr (Type == SettingType::Colour)
        return writeColour(value);
    else if constexpr (Type == SettingType::ColourName)
        return writeColourName(value);
    else
        return writeFontStyle(value);
}

} // namespace setting_values

// The text editor ([Notarium] TextEditor). An empty or missing key means: look for an installed
// editor each time one is needed, so the choice follows what is installed now. Earlier versions
// wrote "xdg-open" into every settings file as the default; that value means the same.
inline constexpr std::string_view kFormerTextEditorDefault = "xdg-open";
bool textEditorNeedsProbe(std::string_view stored);
// The stored command, or what probe finds when the stored value asks for it; probe is called
// only then (without one, the answer is xdg-open, which hands the file to the desktop).
std::string resolveTextEditor(std::string_view stored, const std::function<std::string()>& probe);

// Placement of one tool bar, kept in a section named like the tool bar.
struct ToolBarPosition {
    int rev = 0;
    int visible = 1;
    int dockedTo = 0;
    int lastDock = 0;
    int dockRow = 0;
    int dockPos = 0;
    int floatLeft = 0;
    int floatTop = 0;

    bool operator==(const ToolBarPosition&) const = default;
};

// The stored default title sets: comma texts "category,memo,result" and the index of the one in use.
struct DefaultTitleSets {
    std::vector<std::string> sets;
    int checkIndex = 0;
};

// Typed access to the settings file. Every key with a fixed name is read through the one table of
// SettingsTable.h, so its default lives in one place; the keys whose names vary (recent files,
// shortcut keys, custom colours, tool bars, default title sets) have their own helpers below.
// Settings does not own the image: the caller loads and saves the IniFile.
class Settings {
public:
    Settings(IniFile& ini, PlatformDefaults platform);

    IniFile& ini() { return m_ini; }
    const IniFile& ini() const { return m_ini; }
    // The memo pane's tab width and the screen change while the program runs; keep these current.
    PlatformDefaults& platformDefaults() { return m_platform; }
    const PlatformDefaults& platformDefaults() const { return m_platform; }

    // The stored value, or the reading default when the key is missing or not of the key's form.
    template <SettingType Type> SettingValue<Type> get(SettingKey<Type> key) const
    {
        return read<Type>(key.id, defaultText(key.id));
    }
    template <SettingType Type> void set(SettingKey<Type> key, const SettingValue<Type>& value)
    {
        writeText(key.id, setting_values::encode<Type>(value));
    }
    template <SettingType Type> SettingValue<Type> defaultValue(SettingKey<Type> key) const
    {
        return setting_values::decode<Type>(defaultText(key.id), {});
    }
    template <SettingType Type> SettingValue<Type> dialogDefault(SettingKey<Type> key) const
    {
        return setting_values::decode<Type>(dialogDefaultText(key.id), {});
    }
    // What the options dialog shows: the stored value, or the dialog's default.
    template <SettingType Type> SettingValue<Type> getForDialog(SettingKey<Type> key) const
    {
        return read<Type>(key.id, dialogDefaultText(key.id));
    }

    bool contains(SettingId id) const;
    void remove(SettingId id);
    template <SettingType Type> bool contains(SettingKey<Type> key) const { return contains(key.id); }
    template <SettingType Type> void remove(SettingKey<Type> key) { remove(key.id); }

    // Defaults in the file's own text form (a bool as "1", a colour as "clWindow").
    std::string defaultText(SettingId id) const;
    std::string dialogDefaultText(SettingId id) const;

    // Writes the keys that must be in the file once the program has started (the print tool and
    // its options), where they are missing; present keys, even empty ones, are left alone. The
    // text editor is not among them: it is looked for when needed (textEditor()). Run it through
    // SettingsStore::update(), so that only these keys are written.
    void writeMissingStartupKeys();

    // The text editor command: TextEditor, or probe's answer when it is empty or the former default.
    std::string textEditor(const std::function<std::string()>& probe) const;

    // Recent files ([FileMRU], keys "0", "1", …): every key that is a number, in the order of the
    // numbers, so a gap left by a hand edit loses nothing. Other keys and empty values are
    // skipped; of two keys with the same number ("1", "01") the first in the file counts.
    static constexpr std::size_t kMaxRecentFiles = 9;
    std::vector<std::string> recentFiles() const;
    // Keeps the first nine, erases the section and writes it again from "0".
    void setRecentFiles(const std::vector<std::string>& files);

    // The search texts and replacement texts the find and replace boxes offer, most recent first
    // ([FindHistory] and [ReplHistory], keys Text0 … TextF). Empty values are skipped.
    enum class History { Find, Replace };
    std::vector<std::string> history(History which) const;
    // Erases the section and writes the first sixteen entries from Text0.
    void setHistory(History which, const std::vector<std::string>& entries);

    // Shortcut keys ([ShortCutKeys], one key per menu item name; 0 = no shortcut).
    bool hasShortcuts() const;
    int shortcut(std::string_view menuItem) const;
    void setShortcut(std::string_view menuItem, int shortcut);

    // The colour dialog's 16 custom colours ([CustomColors] ColorA … ColorP, 8 hexadecimal digits).
    static constexpr std::size_t kCustomColourCount = 16;
    static constexpr Colour kCustomColourDefault = 0x00FFFFFF;
    using CustomColours = std::array<Colour, kCustomColourCount>;
    CustomColours customColours() const;
    void setCustomColours(const CustomColours& colours);

    // Nothing when the tool bar has no section yet (it keeps its built-in place).
    std::optional<ToolBarPosition> toolBarPosition(std::string_view toolBar) const;
    void setToolBarPosition(std::string_view toolBar, const ToolBarPosition& position);

    // The set the new-node commands use: "CheckIndex", then the key named by its number.
    DefaultTitles currentDefaultTitles() const;
    // Every stored set for the options dialog; without the section, the built-in set, checked.
    DefaultTitleSets defaultTitleSets() const;
    // Erases the section and writes TitleCount, one key per set and CheckIndex.
    void setDefaultTitleSets(const DefaultTitleSets& titles);

private:
    template <SettingType Type> SettingValue<Type> read(SettingId id, const std::string& fallbackText) const
    {
        const auto fallback = setting_values::decode<Type>(fallbackText, {});
        if (const auto stored = storedText(id))
            return setting_values::decode<Type>(*stored, fallback);
        return fallback;
    }
    std::optional<std::string> storedText(SettingId id) const;
    void writeText(SettingId id, std::string_view text);
    std::string resolve(const SettingRow& row, SettingDefault value) const;

    IniFile& m_ini;
    PlatformDefaults m_platform;
};

} // namespace notarium
