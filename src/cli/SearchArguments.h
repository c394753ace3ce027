#pragma once

#include "cli/Commands.h"
#include "core/search/SearchOptions.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {
class Document;
struct SeekHit;
} // namespace notarium

namespace notarium::cli {

// The arguments find and replace share.
struct SearchArguments {
    // The files and texts, in the order given.
    std::vector<std::string> positional;
    SearchOptions options;
    // --tree N: the node of absolute index N and everything below it.
    std::optional<long long> treeIndex;
};

// Reads --match-case, --ignore-width, --skip-breaks-and-spaces, --whole-word and --tree N from
// anywhere among the other arguments; false for an unknown option or a tree index that is no
// number.
bool parseSearchArguments(const Arguments& args, SearchArguments& parsed);

// A text from the command line (UTF-8) in CP932. When it holds a character CP932 cannot hold,
// prints "command: the what holds a character that CP932 cannot hold" and gives nothing.
std::optional<std::string> cp932Argument(
    const std::string& utf8, std::string_view command, std::string_view what, std::FILE* err);

// Every hit of searchText, in the whole document or under --tree, as the search-and-replace list
// collects them. False, with a message, when --tree names no node.
bool collectHits(const Document& doc, const SearchArguments& parsed, std::string_view searchText,
    std::vector<SeekHit>& hits, std::string_view command, std::FILE* err);

} // namespace notarium::cli
