#include "core/textio/TextImport.h"

#include "core/text/Cp932Codec.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <cstring>

namespace notarium {

namespace {

constexpr std::string_view kUtf8Replacement = "\xE3\x80\x93"; // 〓
constexpr char kEndOfFileMark = '\x1A';

std::size_t occurrences(std::string_view text, std::string_view piece)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

// 〓 in CP932 text, counted by characters (its bytes 0x81 0xAC also occur across two characters).
std::size_t replacementsIn(std::string_view cp932)
{
    std::size_t count = 0;
    const std::size_t size = cp932.size();
    for (std::size_t i = 0; i < size; ++i) {
        if (!isLeadByte(static_cast<unsigned char>(cp932[i])))
            continue;
        if (i + 1 < size && cp932.compare(i, 2, cp932::kReplacementBytes) == 0)
            ++count;
        ++i;
    }
    return count;
}

bool hasNonAscii(std::string_view bytes)
{
    return std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

bool importNeedsConfirmation(std::uint64_t fileSize)
{
    return fileSize > kImportConfirmBytes;
}

bool looksBinary(std::string_view bytes)
{
    return std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
}

ImportEncoding detectImportEncoding(std::string_view bytes)
{
    if (bytes.starts_with(cp932::kUtf8Bom))
        return ImportEncoding::Utf8;
    return hasNonAscii(bytes) && cp932::isValidUtf8(bytes) ? ImportEncoding::Utf8 : ImportEncoding::Cp932;
}

ImportedText importText(std::string_view bytes)
{
    if (bytes.ends_with(kEndOfFileMark))
        bytes.remove_suffix(1);
    ImportedText result;
    result.encoding = detectImportEncoding(bytes);
    if (result.encoding == ImportEncoding::Cp932) {
        result.cp932.assign(bytes);
        return result;
    }
    if (bytes.starts_with(cp932::kUtf8Bom))
        bytes.remove_prefix(cp932::kUtf8Bom.size());
    result.cp932 = cp932::fromUtf8(bytes);
    // Every 〓 in the result is a replacement unless the file held 〓 itself.
    const std::size_t all = replacementsIn(result.cp932);
    const std::size_t own = occurrences(bytes, kUtf8Replacement);
    result.replaced = all > own ? all - own : 0;
    return result;
}

} // namespace notarium
