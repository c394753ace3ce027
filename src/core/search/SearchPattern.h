#pragma once

#include "core/search/SearchOptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace notarium {

// A search text prepared for comparing: folded to upper case unless MatchCase, put into width
// normal form under IgnoreWidth. It compares itself with a text at one position; where the scan
// goes is the business of the callers (the scan of FindInText and its reference definition).
class SearchPattern {
public:
    SearchPattern(std::string_view searchText, SearchOptions options);

    SearchOptions options() const { return m_options; }
    bool empty() const { return m_bytes.empty(); }
    // The prepared pattern bytes.
    const std::string& bytes() const { return m_bytes; }
    // Characters of the prepared pattern (a double-byte character counts once).
    std::int64_t charCount() const { return m_charCount; }
    // The fewest text bytes a hit can take: every pattern character takes at least one text byte
    // under IgnoreWidth, every pattern byte one text byte otherwise.
    std::int64_t minHitBytes() const
    {
        return m_options.has(SearchOption::IgnoreWidth) ? m_charCount
                                                        : static_cast<std::int64_t>(m_bytes.size());
    }

    // The length in bytes of the hit that begins at p, or -1. p must be the start of a character
    // of text. Under WholeWord the hit must also be followed by a word break; whether p is a word
    // start is left to the caller, which knows the byte classes.
    std::int64_t matchAt(std::string_view text, std::int64_t p) const;

    // True when a text character beginning with this byte can equal the first pattern character.
    bool canStartWith(unsigned char byte) const { return m_startBytes[byte]; }
    const std::array<bool, 256>& startBytes() const { return m_startBytes; }
    // The same bytes as a list, in increasing order.
    const std::string& startByteList() const { return m_startByteList; }

private:
    // Bytes of text consumed when the character at t equals the pattern character (p0, p1), else
    // 0; available is the number of text bytes from t on (at least 1).
    int compareChar(const unsigned char* t, std::int64_t available, unsigned char p0, unsigned char p1,
        bool patternDouble) const;

    SearchOptions m_options;
    bool m_fold = true;
    bool m_ignoreWidth = false;
    bool m_wholeWord = false;
    bool m_skipBreaks = false;
    bool m_skipSpaces = false;
    std::string m_bytes;
    std::int64_t m_charCount = 0;
    std::array<bool, 256> m_startBytes {};
    std::string m_startByteList;
};

// True when the character at pos (a character start; pos >= size means the end) ends a word:
// the end of the text or a single-byte word-break character. Double-byte characters are word
// characters, as their lead bytes are.
bool isWordBreakAt(std::string_view text, std::int64_t pos);

} // namespace notarium
