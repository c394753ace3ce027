#include "core/text/HelperListFile.h"

#include "core/io/FileIo.h"
#include "core/io/FileSize.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>

namespace notarium {

namespace {


unsigned char folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

} // namespace

std::vector<std::string> readHelperList(std::string_view bytes)
{
    // Every leading mark goes: a first phrase starting with one would lose it to the mark rule
    // when the list is written and read again.
    while (bytes.starts_with(cp932::kUtf8Bom))
        bytes.remove_prefix(cp932::kUtf8Bom.size());
    std::string converted;
    if (!cp932::isValidUtf8(bytes)) {
        // CR and LF are never the second byte of a CP932 character, so the lines split the same
        // way after the conversion.
        converted = cp932::toDisplayUtf8(bytes);
        bytes = converted;
    }

    std::vector<std::string> phrases;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            phrases.emplace_back(bytes.substr(start));
            break;
        }
        phrases.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return phrases;
}

HelperListLoad loadHelperList(const std::string& path, std::vector<std::string>& phrases)
{
    phrases.clear();
    if (isTooLargeToRead(path))
        return HelperListLoad::TooLarge;
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return HelperListLoad::CannotRead;
    phrases = readHelperList(bytes);
    return HelperListLoad::Read;
}

std::string writeHelperList(const std::vector<std::string>& phrases)
{
    std::string bytes;
    for (const std::string& phrase : phrases) {
        bytes += phrase;
        bytes += '\n';
    }
    return bytes;
}

void sortHelperList(std::vector<std::string>& phrases)
{
    // UTF-8 bytes compare in the order of their characters.
    std::stable_sort(phrases.begin(), phrases.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return folded(x) < folded(y); });
    });
}

} // namespace notarium
