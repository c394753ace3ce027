#pragma once

#include "core/settings/IniFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

inline constexpr std::string_view kTemplateStoreFileName = "Template.ini";
inline constexpr std::string_view kTemplateSection = "Templates";

// One registered template. Name and path are UTF-8, as the store file holds them.
struct TemplateEntry {
    std::string name;
    // 0: a text-only template; any other digit: a tree template.
    int includeTree = 0;
    std::string path;

    bool isTree() const { return includeTree != 0; }

    friend bool operator==(const TemplateEntry&, const TemplateEntry&) = default;
};

// The list of registered templates, kept in the [Templates] section of "Template.ini" as
// name=flag^path lines in list order. Where the file lives is the caller's choice. The rest of the
// file (other sections, comments) is kept as it was read, so a rewrite touches the list only.
class TemplateStore {
public:
    // A missing file gives an empty list and is no failure; a file that cannot be read gives an
    // empty list, false and the platform's error text.
    bool load(const std::string& path, std::string* error = nullptr);
    void parse(std::string_view bytes);

    // The entries in store order. Entries whose value has no flag digit are left out of the list
    // (see rejectedNames).
    const std::vector<TemplateEntry>& entries() const { return m_entries; }
    // Names of the keys that were read but could not be used as entries.
    const std::vector<std::string>& rejectedNames() const { return m_rejected; }

    // Replaces the list and rewrites the section in list order. Two entries of the same name end up
    // as one key at the place of the first, holding the value of the last (the file's keys are
    // unique). Returns the names the file cannot hold as a key (empty, with "=", a line break, or
    // starting with "[", ";" or "#"); those entries are not stored.
    std::vector<std::string> setEntries(std::vector<TemplateEntry> entries);

    // The file's bytes (UTF-8, LF line ends) and writing them through a temporary file.
    std::string serialize() const { return m_ini.serialize(); }
    bool save(const std::string& path, std::string* error = nullptr) const;

    // The value's first character is the flag; the second is skipped whatever it is; the path is
    // the rest. No value without a decimal digit first.
    static std::optional<TemplateEntry> parseEntry(std::string_view name, std::string_view value);
    // flag digit, "^", path. A flag outside 0-9 is written as 1: it still names a tree template,
    // and a second digit would become part of the path when read back.
    static std::string formatValue(const TemplateEntry& entry);

private:
    void readEntries();

    IniFile m_ini;
    std::vector<TemplateEntry> m_entries;
    std::vector<std::string> m_rejected;
};

} // namespace notarium
