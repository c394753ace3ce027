#include "core/settings/Settings.h"

#include "core/settings/IniFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace notarium {

using namespace setting_values;

namespace {

constexpr std::string_view kRecentFilesSection = "FileMRU";
constexpr std::size_t kHistoryKeys = 16;

std::string_view historySection(Settings::History which)
{
    return which == Settings::History::Find ? "FindHistory" : "ReplHistory";
}

std::string historyKey(std::size_t index)
{
    return std::string("Text") + "0123456789ABCDEF"[index];
}
constexpr std::string_view kShortcutSection = "ShortCutKeys";
constexpr std::string_view kCustomColourSection = "CustomColors";
constexpr std::string_view kDefaultTitlesSection = "DefaultTitles";

std::string customColourKey(std::size_t index)
{
    return std::string("Color") + static_cast<char>('A' + index);
}

// Custom colours are bare hexadecimal ("00FFFFFF"), unlike every other colour in the file.
std::optional<Colour> parseBareHex(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    Colour value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<Colour>(digit);
    }
    return value;
}

} // namespace

Settings::Settings(IniFile& ini, PlatformDefaults platform)
    : m_ini(ini)
    , m_platform(std::move(platform))
{
}

std::optional<std::string> Settings::storedText(SettingId id) const
{
    const SettingRow& row = settingRow(id);
    if (!m_ini.valueExists(row.section, row.key))
        return std::nullopt;
    return m_ini.readString(row.section, row.key);
}

void Settings::writeText(SettingId id, std::string_view text)
{
    const SettingRow& row = settingRow(id);
    m_ini.writeString(row.section, row.key, text);
}

bool Settings::contains(SettingId id) const
{
    const SettingRow& row = settingRow(id);
    return m_ini.valueExists(row.section, row.key);
}

void Settings::remove(SettingId id)
{
    const SettingRow& row = settingRow(id);
    m_ini.deleteKey(row.section, row.key);
}

std::string Settings::resolve(const SettingRow& row, SettingDefault value) const
{
    switch (value.source) {
    case DefaultSource::None:
        return {};
    case DefaultSource::Text:
        return std::string(value.text);
    case DefaultSource::SameAsRead:
        return resolve(row, row.readDefault);
    case DefaultSource::WindowX:
        return writeInteger(m_platform.windowX);
    case DefaultSource::WindowY:
        return writeInteger(m_platform.windowY);
    case DefaultSource::WindowWidth:
        return writeInteger(m_platform.windowWidth);
    case DefaultSource::WindowHeight:
        return writeInteger(m_platform.windowHeight);
    case DefaultSource::DocumentsFolder:
        return m_platform.documentsFolder;
    case DefaultSource::DefaultFolderValue:
        return get(key::DefaultFolder);
    case DefaultSource::PrintTool:
        return m_platform.printTool;
    case DefaultSource::PrintOption:
        return m_platform.printOption;
    case DefaultSource::TabSize:
        return writeInteger(m_platform.tabSize);
    }
    return {};
}

std::string Settings::defaultText(SettingId id) const
{
    const SettingRow& row = settingRow(id);
    return resolve(row, row.readDefault);
}

std::string Settings::dialogDefaultText(SettingId id) const
{
    const SettingRow& row = settingRow(id);
    return resolve(row, row.dialogDefault);
}

void Settings::writeMissingStartupKeys()
{
    for (const SettingRow& row : settingRows()) {
        if (row.startupFill.source == DefaultSource::None || contains(row.id))
            continue;
        writeText(row.id, resolve(row, row.startupFill));
    }
}

std::string Settings::textEditor(const std::function<std::string()>& probe) const
{
    return resolveTextEditor(get(key::TextEditor), probe);
}

bool textEditorNeedsProbe(std::string_view stored)
{
    stored = trimBlanks(stored);
    return stored.empty() || stored == kFormerTextEditorDefault;
}

std::string resolveTextEditor(std::string_view stored, const std::function<std::string()>& probe)
{
    if (textEditorNeedsProbe(stored))
        return probe ? probe() : std::string(kFormerTextEditorDefault);
    return std::string(trimBlanks(stored));
}

namespace {

// The position a [FileMRU] key names: decimal digits only.
std::optional<std::uint64_t> recentFilePosition(std::string_view key)
{
    if (key.empty() || !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t position = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), position);
    if (error != std::errc() || end != key.data() + key.size())
        return std::nullopt;
    return position;
}

} // namespace

std::vector<std::string> Settings::recentFiles() const
{
    std::vector<std::pair<std::uint64_t, std::string>> numbered;
    for (auto& [key, path] : m_ini.values(kRecentFilesSection)) {
        const auto position = recentFilePosition(key);
        if (position && !path.empty())
            numbered.emplace_back(*position, std::move(path));
    }
    std::stable_sort(
        numbered.begin(), numbered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> files;
    for (std::size_t i = 0; i < numbered.size(); ++i)
        if (i == 0 || numbered[i].first != numbered[i - 1].first)
            files.push_back(std::move(numbered[i].second));
    return files;
}

void Settings::setRecentFiles(const std::vector<std::string>& files)
{
    m_ini.eraseSection(kRecentFilesSection);
    for (std::size_t i = 0; i < files.size() && i < kMaxRecentFiles; ++i)
        m_ini.writeString(kRecentFilesSection, std::to_string(i), files[i]);
}

std::vector<std::string> Settings::history(History which) const
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < kHistoryKeys; ++i)
        if (std::string entry = m_ini.readString(historySection(which), historyKey(i)); !entry.empty())
            entries.push_back(std::move(entry));
    return entries;
}

void Settings::setHistory(History which, const std::vector<std::string>& entries)
{
    m_ini.eraseSection(historySection(which));
    for (std::size_t i = 0; i < entries.size() && i < kHistoryKeys; ++i)
        m_ini.writeString(historySection(which), historyKey(i), entries[i]);
}

bool Settings::hasShortcuts() const
{
    return m_ini.sectionExists(kShortcutSection);
}

int Settings::shortcut(std::string_view menuItem) const
{
    return readInteger(m_ini.readString(kShortcutSection, menuItem), 0);
}

void Settings::setShortcut(std::string_view menuItem, int shortcut)
{
    m_ini.writeString(kShortcutSection, menuItem, writeInteger(shortcut));
}

Settings::CustomColours Settings::customColours() const
{
    CustomColours colours;
    for (std::size_t i = 0; i < kCustomColourCount; ++i)
        colours[i] = parseBareHex(m_ini.readString(kCustomColourSection, customColourKey(i)))
                         .value_or(kCustomColourDefault);
    return colours;
}

void Settings::setCustomColours(const CustomColours& colours)
{
    m_ini.eraseSection(kCustomColourSection);
    for (std::size_t i = 0; i < kCustomColourCount; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(colours[i]));
        m_ini.writeString(kCustomColourSection, customColourKey(i), text);
    }
}

namespace {

// The keys of a tool bar's section, in the order they are written.
constexpr std::pair<const char*, int ToolBarPosition::*> kToolBarFields[] = {
    { "Rev", &ToolBarPosition::rev },
    { "Visible", &ToolBarPosition::visible },
    { "DockedTo", &ToolBarPosition::dockedTo },
    { "LastDock", &ToolBarPosition::lastDock },
    { "DockRow", &ToolBarPosition::dockRow },
    { "DockPos", &ToolBarPosition::dockPos },
    { "FloatLeft", &ToolBarPosition::floatLeft },
    { "FloatTop", &ToolBarPosition::floatTop },
};

} // namespace

std::optional<ToolBarPosition> Settings::toolBarPosition(std::string_view toolBar) const
{
    if (!m_ini.sectionExists(toolBar))
        return std::nullopt;
    ToolBarPosition position;
    for (const auto& [name, field] : kToolBarFields)
        position.*field = readInteger(m_ini.readString(toolBar, name), position.*field);
    return position;
}

void Settings::setToolBarPosition(std::string_view toolBar, const ToolBarPosition& position)
{
    for (const auto& [name, field] : kToolBarFields)
        m_ini.writeString(toolBar, name, writeInteger(position.*field));
}

DefaultTitles Settings::currentDefaultTitles() const
{
    return DefaultTitles(
        m_ini.readString(kDefaultTitlesSection, writeInteger(get(key::CheckIndex)), DefaultTitles::kBuiltIn));
}

DefaultTitleSets Settings::defaultTitleSets() const
{
    DefaultTitleSets titles;
    if (!m_ini.sectionExists(kDefaultTitlesSection)) {
        titles.sets.emplace_back(DefaultTitles::kBuiltIn);
        return titles;
    }
    // A hand-edited count cannot make more sets than the section has keys.
    const auto keyCount = static_cast<long long>(m_ini.keys(kDefaultTitlesSection).size());
    const long long count = std::min<long long>(get(key::TitleCount), keyCount);
    for (long long i = 0; i < count; ++i)
        titles.sets.push_back(m_ini.readString(kDefaultTitlesSection, writeInteger(i)));
    titles.checkIndex = get(key::CheckIndex);
    return titles;
}

void Settings::setDefaultTitleSets(const DefaultTitleSets& titles)
{
    m_ini.eraseSection(kDefaultTitlesSection);
    set(key::TitleCount, static_cast<int>(titles.sets.size()));
    for (std::size_t i = 0; i < titles.sets.size(); ++i)
        m_ini.writeString(kDefaultTitlesSection, writeInteger(static_cast<long long>(i)), titles.sets[i]);
    set(key::CheckIndex, titles.checkIndex);
}

} // namespace notarium
