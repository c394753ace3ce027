// Reads the bytes as a settings file, writes the image out and reads that again: both reads must
// see the same sections, keys and values, and writing the second image must give the same bytes,
// so that the program rewriting its settings file never changes what it means.
#include "core/settings/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Model = std::vector<std::pair<std::string, notarium::IniFile::KeyValues>>;

Model modelOf(const notarium::IniFile& ini)
{
    Model model;
    model.emplace_back(std::string(), ini.values(""));
    for (const auto& section : ini.sections())
        model.emplace_back(section, ini.values(section));
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    notarium::IniFile first;
    first.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = first.serialize();

    notarium::IniFile second;
    second.parse(written);
    if (modelOf(first) != modelOf(second))
        std::abort();
    if (second.serialize() != written)
        std::abort();
    for (const auto& [section, values] : modelOf(first))
        for (const auto& [key, value] : values)
            if (first.readString(section, key, "\x01missing") != value)
                std::abort();
    return 0;
}
