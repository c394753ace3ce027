#include "core/search/HTSearch.h"

#include "core/io/ByteScan.h"
#include "core/search/SearchPattern.h"
#include "core/search/SearchTables.h"

#include <cstring>
#include <limits>
#include <vector>

namespace notarium {

namespace {

// One class per byte of a text: single-byte character, lead byte or trail byte.
using ByteClassMap = std::vector<ByteClass>;

const unsigned char* bytesOf(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// A word start is a word character (not a single-byte word break) whose preceding character is a
// single-byte word break, or the first byte of the text.
bool isWordStartIn(std::string_view text, const ByteClassMap& classes, std::int64_t p)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (p < 0 || p >= n || classes[static_cast<std::size_t>(p)] == ByteClass::Trail || isWordBreakAt(text, p))
        return false;
    if (p == 0)
        return true;
    // A double-byte character before p is a word character, whatever value its trail byte has.
    if (classes[static_cast<std::size_t>(p - 1)] == ByteClass::Trail)
        return false;
    return WordBreakChars[bytesOf(text)[p - 1]];
}

bool selectionUsable(std::string_view text, const SelectionPair& selection)
{
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
        && selection.start >= 0 && selection.start <= static_cast<std::int64_t>(text.size())
        && selection.length >= 0;
}

// Where a backward scan begins, or -1 for no hit: the selection start moved back by the
// pattern's length, under IgnoreWidth by its character count, passing whole characters and joined
// kana pairs.
std::int64_t backwardBegin(
    std::string_view text, const ByteClassMap& classes, std::int64_t start, const SearchPattern& pattern)
{
    const auto* t = bytesOf(text);
    const auto n = static_cast<std::int64_t>(text.size());
    std::int64_t begin = start;
    if (!pattern.options().has(SearchOption::IgnoreWidth)) {
        begin = start - static_cast<std::int64_t>(pattern.bytes().size());
    } else {
        for (std::int64_t i = 0; i < pattern.charCount() && begin >= 0; ++i) {
            --begin;
            if (begin <= 0)
                continue;
            const auto at = static_cast<std::size_t>(begin);
            const bool insidePair = classes[at] == ByteClass::Single && classes[at - 1] == ByteClass::Single
                && joinsWithMark(t[at - 1], t[at]);
            if (classes[at] == ByteClass::Trail || insidePair)
                --begin;
        }
    }
    if (begin >= 0 && begin < n && classes[static_cast<std::size_t>(begin)] == ByteClass::Trail)
        --begin;
    return begin;
}

// The first position in [p, end) whose byte can begin a hit, or end.
std::int64_t nextCandidate(
    const unsigned char* t, std::int64_t p, std::int64_t end, const SearchPattern& pattern)
{
    const std::string& list = pattern.startByteList();
    const char* from = reinterpret_cast<const char*>(t) + p;
    const char* to = reinterpret_cast<const char*>(t) + end;
    const char* found = to;
    switch (list.size()) {
    case 0:
        return end;
    case 1:
        if (const void* hit = std::memchr(from, list[0], static_cast<std::size_t>(to - from)))
            found = static_cast<const char*>(hit);
        break;
    case 2:
        found = findFirstOf(from, to, list[0], list[1], list[1]);
        break;
    case 3:
        found = findFirstOf(from, to, list[0], list[1], list[2]);
        break;
    default: {
        const auto& table = pattern.startBytes();
        while (from < to && !table[static_cast<unsigned char>(*from)])
            ++from;
        found = from;
        break;
    }
    }
    return found - reinterpret_cast<const char*>(t);
}

std::optional<TextHit> findBackward(std::string_view text, std::int64_t start, const SearchPattern& pattern)
{
    const ByteClassMap classes = byteClasses(text);
    const auto* t = bytesOf(text);
    const auto n = static_cast<std::int64_t>(text.size());
    const bool wholeWord = pattern.options().has(SearchOption::WholeWord);
    std::int64_t begin = backwardBegin(text, classes, start, pattern);
    if (begin >= n)
        begin = n - 1; // no hit can begin at the very end
    for (std::int64_t p = begin; p >= 0; --p) {
        if (classes[static_cast<std::size_t>(p)] == ByteClass::Trail || !pattern.canStartWith(t[p]))
            continue;
        if (wholeWord && !isWordStartIn(text, classes, p))
            continue;
        const std::int64_t length = pattern.matchAt(text, p);
        if (length >= 0)
            return TextHit { p, length };
    }
    return std::nullopt;
}

} // namespace

std::string ToFullWidth(std::string_view text)
{
    const auto* t = bytesOf(text);
    const std::size_t n = text.size();
    std::string out;
    out.reserve(n * 2);
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = t[i];
        if (isLeadByte(b) && i + 1 < n) {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        FullWidthForm form;
        if (i + 1 < n && joinsWithMark(b, t[i + 1])) {
            form = joinedKanaForm(b, t[i + 1]);
            i += 2;
        } else {
            form = FullWidthTable[b];
            ++i;
        }
        out.append(reinterpret_cast<const char*>(form.bytes), form.length);
    }
    return out;
}

std::optional<TextHit> findForwardFrom(
    std::string_view text, const SearchPattern& pattern, std::int64_t from, std::int64_t knownStart)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (pattern.empty() || from < 0 || from > n)
        return std::nullopt;
    const std::int64_t last = n - pattern.minHitBytes(); // the last position with room for a hit
    if (from > last)
        return std::nullopt;
    const auto* t = bytesOf(text);
    const bool wholeWord = pattern.options().has(SearchOption::WholeWord);

    // Character starts are found on demand instead of classifying every byte: before a run of
    // lead-range bytes a character ends (the byte there is a single byte or a trail), and the run
    // pairs up from that point; known is a character start at or before every position asked
    // about, so no look-back passes it and the whole scan stays linear.
    std::int64_t known = knownStart < 0 || knownStart > from ? 0 : knownStart;
    const auto isStart = [&](std::int64_t x) {
        std::int64_t runStart = x;
        while (runStart > known && isLeadByte(t[runStart - 1]))
            --runStart;
        return ((x - runStart) & 1) == 0;
    };
    // Whether the character ending just before known is double-byte; found at need only, since
    // it takes a look back past known.
    std::optional<bool> knownAfterDouble;

    std::int64_t p = from;
    while (p <= last) {
        const std::int64_t c = nextCandidate(t, p, last + 1, pattern);
        if (c > last)
            break;
        if (!isStart(c)) {
            known = c + 1;
            knownAfterDouble = true;
            p = c + 1;
            continue;
        }
        if (wholeWord) {
            bool afterDouble = false;
            if (c == known) {
                if (!knownAfterDouble)
                    knownAfterDouble = known > 0
                        && charStart(text, static_cast<std::size_t>(known - 1))
                            != static_cast<std::size_t>(known - 1);
                afterDouble = *knownAfterDouble;
            } else {
                afterDouble = !isStart(c - 1);
            }
            known = c;
            knownAfterDouble = afterDouble;
            const bool wordStart
                = !isWordBreakAt(text, c) && (c == 0 || (!afterDouble && WordBreakChars[t[c - 1]]));
            if (!wordStart) {
                p = c + 1;
                continue;
            }
        } else {
            known = c;
            knownAfterDouble.reset();
        }
        const std::int64_t length = pattern.matchAt(text, c);
        if (length >= 0)
            return TextHit { c, length };
        p = c + 1;
    }
    return std::nullopt;
}

std::optional<TextHit> searchFrom(std::string_view text, const SelectionPair& selection, const SearchPattern& pattern)
{
    if (!selectionUsable(text, selection) || pattern.empty())
        return std::nullopt;
    if (pattern.options().has(SearchOption::Forward)) {
        std::int64_t begin = static_cast<std::int64_t>(selection.start) + selection.length;
        if (begin > static_cast<std::int64_t>(text.size()))
            return std::nullopt;
        begin = static_cast<std::int64_t>(charStart(text, static_cast<std::size_t>(begin)));
        if (begin < selection.start + static_cast<std::int64_t>(selection.length))
            begin += 2; // the selection ended inside a character: begin after that character
        return findForwardFrom(text, pattern, begin, begin);
    }
    return findBackward(text, selection.start, pattern);
}

std::optional<std::int32_t> SearchBuffer(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options)
{
    if (!selectionUsable(text, selection))
        return std::nullopt;
    const std::optional<TextHit> hit = searchFrom(text, selection, SearchPattern(searchText, options));
    if (!hit)
        return std::nullopt;
    selection.length = static_cast<std::int32_t>(hit->length);
    return static_cast<std::int32_t>(hit->offset);
}

bool FindInText(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options)
{
    if (searchText.empty() || text.empty())
        return false;
    const std::optional<std::int32_t> position = SearchBuffer(text, selection, searchText, options);
    if (!position)
        return false;
    selection.start = *position;
    return true;
}

} // namespace notarium
