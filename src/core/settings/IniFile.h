#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notarium {

// An INI file held in memory: "[Section]" lines and "Key=Value" lines. Sections and keys keep the
// order of the file and the spelling they were first written with, and are found without regard to
// ASCII case, as on Windows. Everything else in the file (comments, blank lines, lines of no known
// form, keys before the first section) stays where it was when the image is written back, so a
// user's hand edits survive the program rewriting its settings.
//
// The keys before the first section belong to the section with the empty name "".
class IniFile {
public:
    using KeyValues = std::vector<std::pair<std::string, std::string>>;

    IniFile();

    void clear();
    // Replaces the image with the file's bytes: UTF-8 (a BOM is skipped), or, when the bytes are not
    // valid UTF-8, CP932 converted to UTF-8, so settings files brought over from Windows load. CR LF,
    // LF and CR all end a line.
    void parse(std::string_view bytes);
    // A missing file gives an empty image and is no failure; a file that exists but cannot be read
    // gives an empty image, false and the error text.
    bool load(const std::string& path, std::string* error = nullptr);
    // UTF-8 without a BOM, every line ended by LF.
    std::string serialize() const;
    // Writes through a temporary file and a rename, so the old file survives any failure.
    bool save(const std::string& path, std::string* error = nullptr) const;

    bool sectionExists(std::string_view section) const;
    bool valueExists(std::string_view section, std::string_view key) const;
    // A key that exists with an empty value reads as empty, not as the default.
    std::string readString(
        std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    // Adds the section (at the end of the file) and the key (after the section's last key) when
    // they are missing. Blanks around the key and the value are dropped, and line breaks in the value
    // become spaces, because the file could not hold them. A name the file cannot hold (an empty key,
    // a key with "=" or a line break or starting with "[", ";" or "#", a section name with a line
    // break) is refused with false.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of the key, so a repeated key does not come back.
    void deleteKey(std::string_view section, std::string_view key);
    // Removes the header and every line below it, comments included.
    void eraseSection(std::string_view section);

    // Section names in file order; the unnamed part before the first section is not listed.
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;
    // Each key once, with the value a read gives, in file order.
    KeyValues values(std::string_view section) const;

private:
    struct Line {
        bool isEntry = false;
        std::string key; // entries only
        std::string text; // the value of an entry, the whole text of any other line
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    static const Line* findEntry(const Section& section, std::string_view key);
    static Line* findEntry(Section& section, std::string_view key);
    Section& addSection(std::string_view name);
    void parseLine(std::string_view line, Section*& current);

    // m_sections[0] is the part before the first header; it has no header line of its own.
    std::vector<Section> m_sections;
};

} // namespace notarium
