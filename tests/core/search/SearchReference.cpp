#include "SearchReference.h"

#include "core/search/SearchPattern.h"
#include "core/search/SearchTables.h"
#include "core/text/ShiftJis.h"

#include <limits>
#include <vector>

// The reference states every rule of the scan itself, where the word starts are and where a
// backward scan begins included, so that a fault in the fast scan's own helpers shows as a
// difference instead of being shared by both.
namespace notarium {

namespace {

// One class per byte of a text: single-byte character, lead byte or trail byte.
using ByteClassMap = std::vector<ByteClass>;

const unsigned char* bytesOf(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// A word start is a word character (not a single-byte word break) whose preceding character is a
// single-byte word break, or the first byte of the text; a double-byte character counts as a word
// character whatever its trail byte is.
bool isWordStartIn(std::string_view text, const ByteClassMap& classes, std::int64_t p)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (p < 0 || p >= n || classes[static_cast<std::size_t>(p)] == ByteClass::Trail || isWordBreakAt(text, p))
        return false;
    if (p == 0)
        return true;
    if (classes[static_cast<std::size_t>(p - 1)] == ByteClass::Trail)
        return false;
    return WordBreakChars[bytesOf(text)[p - 1]];
}

void stepForward(const ByteClassMap& classes, std::int64_t& p, std::int64_t& r)
{
    ++p;
    --r;
    if (p < static_cast<std::int64_t>(classes.size())
        && classes[static_cast<std::size_t>(p)] == ByteClass::Trail) {
        ++p;
        --r;
    }
}

void stepBackward(const ByteClassMap& classes, std::int64_t& p, std::int64_t& r)
{
    --p;
    --r;
    if (p >= 0 && classes[static_cast<std::size_t>(p)] == ByteClass::Trail) {
        --p;
        --r;
    }
}

// Moves p to the nearest word start in the search direction (forward: at or after p, backward: at
// or before p), counting every byte moved in r (r is the number of positions the scan may still
// try). False when no word start is within reach; p and r are then not to be used.
bool SkipToWordStart(
    std::string_view text, const ByteClassMap& classes, std::int64_t& p, std::int64_t& r, bool forward)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (forward) {
        if (isWordStartIn(text, classes, p))
            return true;
        // Past the rest of this word, then past the breaks that follow it.
        while (r > 0 && p < n && !isWordBreakAt(text, p))
            stepForward(classes, p, r);
        while (r > 0 && p < n && isWordBreakAt(text, p))
            stepForward(classes, p, r);
        // Running out of positions inside a word is no word start: a hit there would begin
        // mid-word.
        return r >= 0 && isWordStartIn(text, classes, p);
    }
    const std::int64_t from = p;
    // Back over breaks, then over the word before them; the word starts one character after the
    // break that ends that walk (breaks are single bytes).
    while (r > 0 && isWordBreakAt(text, p))
        stepBackward(classes, p, r);
    while (r > 0 && !isWordBreakAt(text, p))
        stepBackward(classes, p, r);
    if (p >= 0 && isWordBreakAt(text, p)) {
        ++p;
        ++r;
    }
    return p >= 0 && p <= from && isWordStartIn(text, classes, p);
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

} // namespace

std::optional<std::int32_t> SearchBufferReference(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options)
{
    const bool selectionUsable
        = text.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
        && selection.start >= 0 && selection.start <= static_cast<std::int64_t>(text.size())
        && selection.length >= 0;
    if (!selectionUsable)
        return std::nullopt;
    const SearchPattern pattern(searchText, options);
    if (pattern.empty())
        return std::nullopt;
    const auto n = static_cast<std::int64_t>(text.size());
    const ByteClassMap classes = byteClasses(text);
    const bool forward = options.has(SearchOption::Forward);

    std::int64_t p = 0;
    std::int64_t r = 0;
    if (forward) {
        p = static_cast<std::int64_t>(selection.start) + selection.length;
        if (p < n && classes[static_cast<std::size_t>(p)] == ByteClass::Trail)
            ++p;
        r = n - p - pattern.minHitBytes();
    } else {
        p = backwardBegin(text, classes, selection.start, pattern);
        r = p;
    }
    if (p < 0 || p > n || r < 0)
        return std::nullopt;

    while (r >= 0) {
        if (options.has(SearchOption::WholeWord) && !SkipToWordStart(text, classes, p, r, forward))
            return std::nullopt;
        const std::int64_t length = pattern.matchAt(text, p);
        if (length >= 0) {
            selection.length = static_cast<std::int32_t>(length);
            return static_cast<std::int32_t>(p);
        }
        if (forward)
            stepForward(classes, p, r);
        else
            stepBackward(classes, p, r);
    }
    return std::nullopt;
}

} // namespace notarium
