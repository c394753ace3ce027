#include "core/textio/TextImport.h"

#include "core/io/FileSize.h"
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
std::size_t replacementsInCp932(std::string_view cp932)
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

// 〓 in the conversion of UTF-8 text. A raw byte (U+DC80-U+DCFF, three bytes from ED B2 80 to
// ED B3 BF) that is a lead byte takes the next character's first byte as its partner, which would
// hide a 〓 right after it from the count; the text after each raw byte is counted on its own, so
// every piece starts at a character.
std::size_t replacementsIn(std::string_view utf8)
{
    std::size_t count = 0;
    std::size_t start = 0;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
        if (byteAt(i) == 0xED && (byteAt(i + 1) == 0xB2 || byteAt(i + 1) == 0xB3) && byteAt(i + 2) >= 0x80
            && byteAt(i + 2) <= 0xBF) {
            count += replacementsInCp932(cp932::fromUtf8(utf8.substr(start, i + 3 - start)));
            start = i + 3;
            i += 2;
        }
    }
    return count + replacementsInCp932(cp932::fromUtf8(utf8.substr(start)));
}

bool hasNonAscii(std::string_view bytes)
{
    return std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

bool importTooLarge(std::uint64_t fileSize)
{
    return fileSize > static_cast<std::uint64_t>(kLargestReadableFile);
}

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
    bool replaced = false;
    result.cp932 = cp932::fromUtf8(bytes, &replaced);
    if (replaced) {
        // Every 〓 in the result is a replacement unless the file held 〓 itself.
        const std::size_t all = replacementsIn(bytes);
        const std::size_t own = occurrences(bytes, kUtf8Replacement);
        result.replaced = all > own ? all - own : 0;
    }
    return result;
}

} // namespace notarium
