#include "core/search/SearchPattern.h"

#include "core/search/HTSearch.h"
#include "core/search/SearchTables.h"
#include "core/text/ShiftJis.h"

namespace notarium {

namespace {

// Upper case as the platform conversion gives it for code page 932: a-z and ａ-ｚ; trail bytes are
// never touched, so a trail byte 0x61-0x7A stays what it is.
std::string foldToUpper(std::string_view text)
{
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (isLeadByte(byte) && i + 1 < folded.size()) {
            if (byte == 0x82)
                folded[i + 1] = static_cast<char>(WideCaseMap[static_cast<unsigned char>(folded[i + 1])]);
            ++i;
        } else {
            folded[i] = static_cast<char>(CaseMap[byte]);
        }
    }
    return folded;
}

} // namespace

SearchPattern::SearchPattern(std::string_view searchText, SearchOptions options)
    : m_options(options)
    , m_fold(!options.has(SearchOption::MatchCase))
    , m_ignoreWidth(options.has(SearchOption::IgnoreWidth))
    , m_wholeWord(options.has(SearchOption::WholeWord))
    , m_skipBreaks(options.has(SearchOption::SkipLineBreaks))
    , m_skipSpaces(options.has(SearchOption::SkipSpaces))
{
    m_bytes = m_fold ? foldToUpper(searchText) : std::string(searchText);
    if (m_ignoreWidth)
        m_bytes = ToFullWidth(m_bytes);
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(m_bytes[i])) && i + 1 < m_bytes.size())
            ++i;
        ++m_charCount;
    }
    if (m_bytes.empty())
        return;

    // Which first text bytes can begin a hit: a double-byte text character needs the pattern's
    // lead byte itself (folding changes trail bytes only); a single byte is tried alone and, for
    // the kana that join, with either voicing mark after it.
    const auto p0 = static_cast<unsigned char>(m_bytes[0]);
    const bool patternDouble = isLeadByte(p0) && m_bytes.size() > 1;
    const auto p1 = static_cast<unsigned char>(patternDouble ? m_bytes[1] : 0);
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (isLeadByte(byte)) {
            m_startBytes[b] = byte == p0;
            continue;
        }
        const unsigned char alone[1] = { byte };
        const unsigned char voiced[2] = { byte, kVoicedMark };
        const unsigned char semiVoiced[2] = { byte, kSemiVoicedMark };
        m_startBytes[b] = compareChar(alone, 1, p0, p1, patternDouble) > 0
            || compareChar(voiced, 2, p0, p1, patternDouble) > 0
            || compareChar(semiVoiced, 2, p0, p1, patternDouble) > 0;
    }
    for (unsigned b = 0; b < 256; ++b)
        if (m_startBytes[b])
            m_startByteList.push_back(static_cast<char>(b));
}

int SearchPattern::compareChar(const unsigned char* t, std::int64_t available, unsigned char p0,
    unsigned char p1, bool patternDouble) const
{
    const unsigned char b = t[0];
    // A lead byte that is the last byte of the text has no trail: it is a character of one byte.
    if (isLeadByte(b) && available >= 2) {
        if (!patternDouble || b != p0)
            return 0;
        const unsigned char trail = (m_fold && b == 0x82) ? WideCaseMap[t[1]] : t[1];
        return trail == p1 ? 2 : 0;
    }
    if (!m_ignoreWidth) {
        if (patternDouble)
            return 0;
        return (m_fold ? CaseMap[b] : b) == p0 ? 1 : 0;
    }
    FullWidthForm form;
    int used = 1;
    if (available >= 2 && joinsWithMark(b, t[1])) {
        form = joinedKanaForm(b, t[1]);
        used = 2;
    } else {
        form = FullWidthTable[b];
    }
    if (form.length == 2) {
        if (!patternDouble || form.bytes[0] != p0)
            return 0;
        const unsigned char trail
            = (m_fold && form.bytes[0] == 0x82) ? WideCaseMap[form.bytes[1]] : form.bytes[1];
        return trail == p1 ? used : 0;
    }
    return !patternDouble && form.bytes[0] == p0 ? used : 0;
}

std::int64_t SearchPattern::matchAt(std::string_view text, std::int64_t p) const
{
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto n = static_cast<std::int64_t>(text.size());
    const auto* pattern = reinterpret_cast<const unsigned char*>(m_bytes.data());
    const std::size_t patternLength = m_bytes.size();
    std::int64_t matched = 0;
    std::int64_t skipped = 0;
    std::size_t k = 0;
    while (k < patternLength) {
        const std::int64_t q = p + skipped + matched;
        if (q >= n)
            return -1;
        const unsigned char p0 = pattern[k];
        const bool patternDouble = isLeadByte(p0) && k + 1 < patternLength;
        const unsigned char p1 = patternDouble ? pattern[k + 1] : 0;
        const int used = compareChar(t + q, n - q, p0, p1, patternDouble);
        if (used > 0) {
            matched += used;
            k += patternDouble ? 2 : 1;
            continue;
        }
        // Nothing is skipped before the first matched byte, so a hit never begins with a blank.
        if (matched >= 1) {
            const unsigned char b = t[q];
            if (m_skipBreaks && (b == '\r' || b == '\n')) {
                ++skipped;
                continue;
            }
            if (m_skipSpaces && (b == ' ' || b == '\t')) {
                ++skipped;
                continue;
            }
            if (m_skipSpaces && b == 0x81 && q + 1 < n && t[q + 1] == 0x40) {
                skipped += 2;
                continue;
            }
        }
        return -1;
    }
    if (m_wholeWord && !isWordBreakAt(text, p + skipped + matched))
        return -1;
    return skipped + matched;
}

bool isWordBreakAt(std::string_view text, std::int64_t pos)
{
    if (pos >= static_cast<std::int64_t>(text.size()))
        return true;
    const auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(pos)]);
    return !isLeadByte(byte) && WordBreakChars[byte];
}

} // namespace notarium
