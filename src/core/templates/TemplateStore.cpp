#include "core/templates/TemplateStore.h"

namespace notarium {

bool TemplateStore::load(const std::string& path, std::string* error)
{
    const bool ok = m_ini.load(path, error);
    readEntries();
    return ok;
}

void TemplateStore::parse(std::string_view bytes)
{
    m_ini.parse(bytes);
    readEntries();
}

void TemplateStore::readEntries()
{
    m_entries.clear();
    m_rejected.clear();
    for (const auto& [name, value] : m_ini.values(kTemplateSection)) {
        if (auto entry = parseEntry(name, value))
            m_entries.push_back(std::move(*entry));
        else
            m_rejected.push_back(name);
    }
}

std::vector<std::string> TemplateStore::setEntries(std::vector<TemplateEntry> entries)
{
    std::vector<std::string> refused;
    m_ini.eraseSection(kTemplateSection);
    for (const TemplateEntry& entry : entries)
        if (!m_ini.writeString(kTemplateSection, entry.name, formatValue(entry)))
            refused.push_back(entry.name);
    // The list now is what a fresh read of the file would give.
    readEntries();
    return refused;
}

bool TemplateStore::save(const std::string& path, std::string* error) const
{
    return m_ini.save(path, error);
}

std::optional<TemplateEntry> TemplateStore::parseEntry(std::string_view name, std::string_view value)
{
    if (value.empty() || value[0] < '0' || value[0] > '9')
        return std::nullopt;
    TemplateEntry entry;
    entry.name = std::string(name);
    entry.includeTree = value[0] - '0';
    // The skipped character may take more than one byte (the image is UTF-8): cutting into it would
    // leave the path starting with the rest of its bytes, which no longer make UTF-8.
    std::size_t skipped = 1;
    if (value.size() > 1) {
        const auto lead = static_cast<unsigned char>(value[1]);
        skipped = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }
    if (value.size() > 1 + skipped)
        entry.path = std::string(value.substr(1 + skipped));
    return entry;
}

std::string TemplateStore::formatValue(const TemplateEntry& entry)
{
    const int flag = entry.includeTree >= 0 && entry.includeTree <= 9 ? entry.includeTree : 1;
    std::string value(1, static_cast<char>('0' + flag));
    value += '^';
    value += entry.path;
    return value;
}

} // namespace notarium
