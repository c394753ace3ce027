#pragma once

#include <string>

namespace notarium {

// The longest file the program reads: the format's positions are signed 32-bit numbers, so a data
// file, a template or a memo longer than this could not be written back. The data file's
// kLargestDataFile is this number.
inline constexpr long long kLargestReadableFile = 0x7FFFFFFFLL;

// True when path names a file longer than kLargestReadableFile. Only the size is looked at, no
// byte is read; a file that cannot be examined is left for the read to report.
bool isTooLargeToRead(const std::string& path);

} // namespace notarium
