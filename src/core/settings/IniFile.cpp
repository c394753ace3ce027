#include "core/settings/IniFile.h"

#include "core/io/FileIo.h"
#include "core/settings/SettingValues.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unordered_set>

namespace notarium {

using setting_values::equalsIgnoringAsciiCase;
using setting_values::trimBlanks;

namespace {


// A key name without the blanks around it and without byte-order marks before it: a key that
// began with one would, written first in the file, lose it to the BOM rule when read again.
std::string_view trimKey(std::string_view key)
{
    key = trimBlanks(key);
    while (key.starts_with(cp932::kUtf8Bom))
        key = trimBlanks(key.substr(cp932::kUtf8Bom.size()));
    return key;
}

bool isBlankLine(std::string_view text)
{
    return trimBlanks(text).empty();
}

bool isCommentLine(std::string_view trimmed)
{
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

bool hasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool isWritableKey(std::string_view key)
{
    if (key.empty() || hasLineBreak(key) || key.find('=') != std::string_view::npos)
        return false;
    return key.front() != '[' && key.front() != ';' && key.front() != '#';
}

std::string foldedKey(std::string_view key)
{
    std::string folded(key);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

} // namespace

IniFile::IniFile()
{
    clear();
}

void IniFile::clear()
{
    m_sections.clear();
    m_sections.emplace_back();
}

void IniFile::parse(std::string_view bytes)
{
    clear();
    // Every leading BOM goes, so that a text starting with one can never be written back as one.
    while (bytes.starts_with(cp932::kUtf8Bom))
        bytes.remove_prefix(cp932::kUtf8Bom.size());
    std::string converted;
    if (!cp932::isValidUtf8(bytes)) {
        // Bytes that CP932 does not define become U+FFFD, not the codec's lone surrogates: those
        // would make the rewritten file invalid UTF-8 and so have it read as CP932 again next time,
        // garbling every other non-ASCII value in it.
        converted = cp932::toDisplayUtf8(bytes);
        bytes = converted;
    }

    Section* current = &m_sections.front();
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            parseLine(bytes.substr(start), current);
            break;
        }
        parseLine(bytes.substr(start, end - start), current);
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
}

void IniFile::parseLine(std::string_view rawLine, Section*& current)
{
    // Byte-order marks at the start of a line (an editor's leftovers from joined files) mean
    // nothing there and would hide what the line is; the blanks before them are kept.
    std::string withoutMarks;
    std::string_view line = rawLine;
    if (const auto start = rawLine.find_first_not_of(" \t");
        start != std::string_view::npos && rawLine.substr(start).starts_with(cp932::kUtf8Bom)) {
        std::size_t i = 0;
        while (i < rawLine.size()) {
            if (rawLine[i] == ' ' || rawLine[i] == '\t')
                withoutMarks.push_back(rawLine[i++]);
            else if (rawLine.substr(i).starts_with(cp932::kUtf8Bom))
                i += cp932::kUtf8Bom.size();
            else
                break;
        }
        withoutMarks.append(rawLine.substr(i));
        line = withoutMarks;
    }
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.size() > 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        const std::string_view name = trimBlanks(trimmed.substr(1, trimmed.size() - 2));
        if (!name.empty()) {
            // A repeated header continues the earlier section, so each name has one place in the
            // image and a rewrite cannot make a hidden second copy visible.
            current = findSection(name);
            if (current == nullptr) {
                m_sections.push_back({ std::string(name), {} });
                current = &m_sections.back();
            }
            return;
        }
    }
    if (!isCommentLine(trimmed)) {
        const auto equals = line.find('=');
        if (equals != std::string_view::npos) {
            const std::string_view key = trimKey(line.substr(0, equals));
            if (!key.empty()) {
                current->lines.push_back(
                    { true, std::string(key), std::string(trimBlanks(line.substr(equals + 1))) });
                return;
            }
        }
    }
    current->lines.push_back({ false, {}, std::string(line) });
}

bool IniFile::load(const std::string& path, std::string* error)
{
    clear();
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return true;
    std::string bytes;
    if (!readWholeFile(path, bytes, error))
        return false;
    parse(bytes);
    return true;
}

std::string IniFile::serialize() const
{
    std::string out;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const Section& section = m_sections[i];
        if (i > 0)
            out += '[' + section.name + "]\n";
        for (const Line& line : section.lines) {
            if (line.isEntry)
                out += line.key + '=' + line.text + '\n';
            else
                out += line.text + '\n';
        }
    }
    return out;
}

bool IniFile::save(const std::string& path, std::string* error) const
{
    return writeFileAtomically(path, serialize(), error);
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    name = trimBlanks(name);
    if (name.empty())
        return &m_sections.front();
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        if (equalsIgnoringAsciiCase(m_sections[i].name, name))
            return &m_sections[i];
    return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Line* IniFile::findEntry(const Section& section, std::string_view key)
{
    key = trimKey(key);
    for (const Line& line : section.lines)
        if (line.isEntry && equalsIgnoringAsciiCase(line.key, key))
            return &line;
    return nullptr;
}

IniFile::Line* IniFile::findEntry(Section& section, std::string_view key)
{
    return const_cast<Line*>(findEntry(std::as_const(section), key));
}

IniFile::Section& IniFile::addSection(std::string_view name)
{
    // One blank line before a new section keeps the file readable; it is not added twice, so
    // erasing and re-adding a section at every exit does not pile up blank lines.
    Section& last = m_sections.back();
    const bool fileIsEmpty = m_sections.size() == 1 && last.lines.empty();
    if (!fileIsEmpty
        && (last.lines.empty() || last.lines.back().isEntry || !isBlankLine(last.lines.back().text)))
        last.lines.push_back({ false, {}, {} });
    m_sections.push_back({ std::string(name), {} });
    return m_sections.back();
}

bool IniFile::sectionExists(std::string_view section) const
{
    const Section* found = findSection(section);
    if (found == &m_sections.front())
        return std::any_of(found->lines.begin(), found->lines.end(), [](const Line& l) { return l.isEntry; });
    return found != nullptr;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    return found != nullptr && findEntry(*found, key) != nullptr;
}

std::string IniFile::readString(
    std::string_view section, std::string_view key, std::string_view fallback) const
{
    const Section* found = findSection(section);
    const Line* entry = found ? findEntry(*found, key) : nullptr;
    return entry ? entry->text : std::string(fallback);
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    section = trimBlanks(section);
    key = trimKey(key);
    if (hasLineBreak(section) || !isWritableKey(key))
        return false;
    std::string cleanValue(value);
    std::replace_if(
        cleanValue.begin(), cleanValue.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    cleanValue = std::string(trimBlanks(cleanValue));

    Section* target = findSection(section);
    if (target == nullptr)
        target = &addSection(section);
    if (Line* entry = findEntry(*target, key)) {
        entry->text = std::move(cleanValue);
        return true;
    }
    // After the section's last key, so that blank lines and comments that lead to the next section
    // stay in front of it; a section without keys takes the key after its last non-blank line.
    auto& lines = target->lines;
    auto position = std::find_if(lines.rbegin(), lines.rend(), [](const Line& l) { return l.isEntry; });
    if (position == lines.rend())
        position
            = std::find_if(lines.rbegin(), lines.rend(), [](const Line& l) { return !isBlankLine(l.text); });
    lines.insert(position.base(), { true, std::string(key), std::move(cleanValue) });
    return true;
}

void IniFile::deleteKey(std::string_view section, std::string_view key)
{
    Section* found = findSection(section);
    if (found == nullptr)
        return;
    key = trimKey(key);
    std::erase_if(
        found->lines, [key](const Line& l) { return l.isEntry && equalsIgnoringAsciiCase(l.key, key); });
}

void IniFile::eraseSection(std::string_view section)
{
    Section* found = findSection(section);
    if (found == nullptr)
        return;
    if (found == &m_sections.front()) {
        std::erase_if(found->lines, [](const Line& l) { return l.isEntry; });
        return;
    }
    m_sections.erase(m_sections.begin() + (found - m_sections.data()));
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> names;
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        names.push_back(m_sections[i].name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> names;
    for (auto& [key, value] : values(section))
        names.push_back(key);
    return names;
}

IniFile::KeyValues IniFile::values(std::string_view section) const
{
    KeyValues result;
    const Section* found = findSection(section);
    if (found == nullptr)
        return result;
    std::unordered_set<std::string> seen;
    for (const Line& line : found->lines) {
        if (line.isEntry && seen.insert(foldedKey(line.key)).second)
            result.emplace_back(line.key, line.text);
    }
    return result;
}

} // namespace notarium
