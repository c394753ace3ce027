#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace notarium {

// HelpList.dat, the stock phrases of the input helper list: one phrase per line, empty lines
// included. The file is UTF-8 on this platform; a file that is not valid UTF-8 (one brought over
// from Windows) is read as CP932.

// The phrases of the file, as UTF-8. CR LF, a lone CR and a lone LF each end a line; a line break
// after the last line adds no phrase; the UTF-8 byte-order marks at the start are dropped. Bytes
// that CP932 does not define become U+FFFD.
std::vector<std::string> readHelperList(std::string_view bytes);

enum class HelperListLoad {
    Read,
    CannotRead, // a missing or unreadable file: no phrases
    TooLarge, // longer than kLargestReadableFile: refused before a byte is read, no phrases
};
// Reads the file at path into phrases (see readHelperList); phrases is emptied on any failure.
HelperListLoad loadHelperList(const std::string& path, std::vector<std::string>& phrases);

// The file for these phrases (UTF-8), each line ended by LF, so that reading it gives them back.
// A phrase must not hold a line break: it would come back as two.
std::string writeHelperList(const std::vector<std::string>& phrases);

// The order of a sorted list: by character, ASCII letters without regard to case; phrases that
// compare equal keep their order.
void sortHelperList(std::vector<std::string>& phrases);

} // namespace notarium
