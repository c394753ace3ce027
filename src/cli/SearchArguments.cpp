#include "cli/SearchArguments.h"

#include "cli/CliSupport.h"

#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/text/Cp932Codec.h"

namespace notarium::cli {

bool parseSearchArguments(const Arguments& args, SearchArguments& parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--match-case") {
            parsed.options = parsed.options.with(SearchOption::MatchCase);
        } else if (arg == "--ignore-width") {
            parsed.options = parsed.options.with(SearchOption::IgnoreWidth);
        } else if (arg == "--skip-breaks-and-spaces") {
            parsed.options = parsed.options.with(SearchOption::SkipLineBreaks).with(SearchOption::SkipSpaces);
        } else if (arg == "--whole-word") {
            parsed.options = parsed.options.with(SearchOption::WholeWord);
        } else if (arg == "--tree") {
            if (i + 1 >= args.size())
                return false;
            parsed.treeIndex = parseIndex(args[++i]);
            if (!parsed.treeIndex)
                return false;
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return true;
}

std::optional<std::string> cp932Argument(
    const std::string& utf8, std::string_view command, std::string_view what, std::FILE* err)
{
    bool replaced = false;
    std::string text = cp932::fromUtf8(utf8, &replaced);
    if (replaced) {
        std::fprintf(err, "%.*s: the %.*s holds a character that CP932 cannot hold\n",
            static_cast<int>(command.size()), command.data(), static_cast<int>(what.size()), what.data());
        return std::nullopt;
    }
    return text;
}

bool collectHits(const Document& doc, const SearchArguments& parsed, std::string_view searchText,
    std::vector<SeekHit>& hits, std::string_view command, std::FILE* err)
{
    const SeekCollector collector(searchText, parsed.options);
    if (!parsed.treeIndex) {
        hits = collector.collectDocument(doc);
        return true;
    }
    const Node* top = doc.nodeAt(*parsed.treeIndex);
    if (top == nullptr) {
        std::fprintf(err, "%.*s: no node at index %lld\n", static_cast<int>(command.size()), command.data(),
            *parsed.treeIndex);
        return false;
    }
    hits = collector.collectSubtree(doc, top);
    return true;
}

} // namespace notarium::cli
