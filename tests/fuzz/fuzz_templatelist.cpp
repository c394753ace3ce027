// The template list ("Template.ini") on any bytes: the entries it reads, stored again and read
// back, are the same entries in the same order, the rest of the file is kept, and the list editor
// accepts every entry that came from the file as it stands.
#include "core/settings/IniFile.h"
#include "core/settings/SettingValues.h"
#include "core/templates/TemplateList.h"
#include "core/templates/TemplateStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TemplateStore store;
    store.parse(bytes);
    const std::vector<TemplateEntry> entries = store.entries();

    IniFile plain;
    plain.parse(bytes);
    const IniFile::KeyValues values = plain.values(kTemplateSection);
    if (entries.size() + store.rejectedNames().size() != values.size())
        std::abort();
    for (const TemplateEntry& entry : entries)
        if (entry.includeTree < 0 || entry.includeTree > 9)
            std::abort();

    // Rewriting the list as read changes nothing a later read sees, except the names the file
    // cannot hold as keys, which the store reports.
    TemplateStore rewritten;
    rewritten.parse(bytes);
    const std::vector<std::string> refused = rewritten.setEntries(entries);
    std::vector<TemplateEntry> kept;
    for (const TemplateEntry& entry : entries)
        if (std::find(refused.begin(), refused.end(), entry.name) == refused.end())
            kept.push_back(entry);
    if (rewritten.entries() != kept)
        std::abort();
    const std::string written = rewritten.serialize();
    TemplateStore again;
    again.parse(written);
    if (again.entries() != kept || !again.rejectedNames().empty())
        std::abort();
    if (again.serialize() != written)
        std::abort();

    // The other sections are as they were.
    IniFile before;
    before.parse(bytes);
    IniFile after;
    after.parse(written);
    if (before.values("") != after.values(""))
        std::abort();
    for (const std::string& section : before.sections())
        if (!setting_values::equalsIgnoringAsciiCase(section, kTemplateSection)
            && before.values(section) != after.values(section))
            std::abort();

    // The list editor refuses nothing that came from the file.
    const TemplateList list(kept);
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (list.check(kept[i], i) != TemplateEntryProblem::None)
            std::abort();
    return 0;
}
