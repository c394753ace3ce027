#pragma once

#include "core/search/SearchOptions.h"
#include "core/text/ShiftJis.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

class SearchPattern;

// The one text search routine of the program, on CP932 bytes: a hit never begins on the second
// byte of a double-byte character, and a double-byte character never matches a pattern byte that
// equals one of its bytes. Nothing is kept between calls.

// A selection as byte offsets into a text. On entry the caller's current selection, on a hit the
// hit.
struct SelectionPair {
    std::int32_t start = 0;
    std::int32_t length = 0;

    friend bool operator==(const SelectionPair&, const SelectionPair&) = default;
};

// Searches text from the selection for searchText. False at once for an empty search text or an
// empty text. On a hit sets the pair to the hit (its length can differ from the search text's
// under IgnoreWidth, SkipLineBreaks and SkipSpaces) and returns true; on a miss the pair is not
// to be used.
bool FindInText(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options);

// The position of the hit, or none; on a hit also sets selection.length to the hit's length.
// Forward the scan begins just after the selection, backward at its start moved back by the
// pattern's length (so a hit may reach into the selection, never begin at or after its start).
std::optional<std::int32_t> SearchBuffer(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options);

// Width normal form: single bytes become their full-width forms; ｶﾞ, ﾊﾟ, ｳﾞ and the like become
// one voiced kana; double-byte characters stay as they are.
std::string ToFullWidth(std::string_view text);

// A hit of the forward scan.
struct TextHit {
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

// The first forward hit at or after from, for callers that search one text many times with one
// prepared pattern. from must be the start of a character; knownStart is any character start at
// or before from (0 always is), the nearer the cheaper. Results equal SearchBuffer's forward
// search on text.substr(from) when from follows a previous hit.
std::optional<TextHit> findForwardFrom(
    std::string_view text, const SearchPattern& pattern, std::int64_t from, std::int64_t knownStart = 0);

// SearchBuffer with a pattern prepared once, for callers that search many texts with one search
// text (the find through the whole document). The direction is the pattern's Forward option.
std::optional<TextHit> searchFrom(std::string_view text, const SelectionPair& selection, const SearchPattern& pattern);

} // namespace notarium
