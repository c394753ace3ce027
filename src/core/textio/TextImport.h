#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notarium {

// The rules for reading a text file into a memo. The file may come from this platform (UTF-8) or
// from Windows (Shift-JIS); the memo holds CP932 like every text of the document.

// A file larger than this is read only after the person agreed: a memo of that size makes the
// memo pane slow, and a file that large is more likely picked by mistake.
inline constexpr std::uint64_t kImportConfirmBytes = 16ull * 1024 * 1024;
bool importNeedsConfirmation(std::uint64_t fileSize);
// A file longer than the format's 32-bit positions can address (kLargestReadableFile) is refused
// before it is read, without asking: the memo could not be saved in the data file.
bool importTooLarge(std::uint64_t fileSize);

// A NUL byte never occurs in a text file of either encoding (a UTF-16 file is not read either).
bool looksBinary(std::string_view bytes);

enum class ImportEncoding { Cp932, Utf8 };

// UTF-8 when the file starts with the UTF-8 byte-order mark, or when it is valid UTF-8 and holds
// at least one byte outside ASCII; everything else is CP932 (a plain ASCII file reads the same
// either way).
ImportEncoding detectImportEncoding(std::string_view bytes);

struct ImportedText {
    std::string cp932; // the text for the memo
    ImportEncoding encoding = ImportEncoding::Cp932;
    // Characters of a UTF-8 file that CP932 cannot hold; each became 〓.
    std::size_t replaced = 0;
};

// The file's content as memo text: a single trailing 0x1A (the old end-of-file mark) is dropped,
// a UTF-8 file loses its byte-order mark and is converted, a CP932 file is taken byte for byte.
// Line ends are left as they are.
ImportedText importText(std::string_view bytes);

} // namespace notarium
