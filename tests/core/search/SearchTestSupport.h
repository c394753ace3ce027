#pragma once

#include "core/search/HTSearch.h"
#include "core/text/Cp932Codec.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace notarium {

// CP932 bytes of a UTF-8 literal, so tests read as the text they search.
inline std::string sj(std::string_view utf8)
{
    return cp932::fromUtf8(utf8);
}

inline std::ostream& operator<<(std::ostream& out, const SelectionPair& pair)
{
    return out << '(' << pair.start << ", " << pair.length << ')';
}

// The hit of FindInText from the given selection, or none.
inline std::optional<SelectionPair> findHit(
    std::string_view text, std::string_view searchText, SearchOptions options, SelectionPair from = {})
{
    SelectionPair pair = from;
    if (!FindInText(text, pair, searchText, options))
        return std::nullopt;
    return pair;
}

inline std::string optionNames(SearchOptions options)
{
    std::string names;
    const auto add = [&](SearchOption option, const char* name) {
        if (options.has(option))
            names += names.empty() ? name : std::string("|") + name;
    };
    add(SearchOption::Forward, "Forward");
    add(SearchOption::MatchCase, "MatchCase");
    add(SearchOption::WholeWord, "WholeWord");
    add(SearchOption::IgnoreWidth, "IgnoreWidth");
    add(SearchOption::SkipLineBreaks, "SkipLineBreaks");
    add(SearchOption::SkipSpaces, "SkipSpaces");
    return names.empty() ? "none" : names;
}

} // namespace notarium
