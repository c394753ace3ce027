#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/text/Cp932Codec.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium::cli {

namespace {

// Tabs and line breaks would break the columns of a line: each becomes one blank.
std::string column(std::string_view cp932Text)
{
    std::string text = cp932::toDisplayUtf8(cp932Text);
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace

// find FILE TEXT [--match-case] [--ignore-width] [--skip-breaks-and-spaces] [--whole-word] [--tree N]
int findCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    std::vector<std::string> positional;
    SearchOptions options;
    std::optional<long long> treeIndex;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--match-case") {
            options = options.with(SearchOption::MatchCase);
        } else if (arg == "--ignore-width") {
            options = options.with(SearchOption::IgnoreWidth);
        } else if (arg == "--skip-breaks-and-spaces") {
            options = options.with(SearchOption::SkipLineBreaks).with(SearchOption::SkipSpaces);
        } else if (arg == "--whole-word") {
            options = options.with(SearchOption::WholeWord);
        } else if (arg == "--tree") {
            if (i + 1 >= args.size())
                return ExitUsage;
            const std::string& value = args[++i];
            long long index = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (ec != std::errc() || end != value.data() + value.size() || index < 0)
                return ExitUsage;
            treeIndex = index;
        } else if (arg.starts_with("--")) {
            return ExitUsage;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2 || positional[1].empty())
        return ExitUsage;

    bool replaced = false;
    const std::string searchText = cp932::fromUtf8(positional[1], &replaced);
    if (replaced) {
        std::fprintf(err, "find: the search text holds a character that CP932 cannot hold\n");
        return ExitBadInput;
    }
    Document doc;
    ReadResult result;
    if (!loadDocument(positional[0], doc, result, err))
        return ExitBadInput;

    const SeekCollector collector(searchText, options);
    std::vector<SeekHit> hits;
    if (treeIndex) {
        const Node* top = doc.nodeAt(*treeIndex);
        if (top == nullptr) {
            std::fprintf(err, "find: no node at index %lld\n", *treeIndex);
            return ExitBadInput;
        }
        hits = collector.collectSubtree(doc, top);
    } else {
        hits = collector.collectDocument(doc);
    }
    const std::vector<Node*>& nodes = doc.nodesInOrder();
    std::string line;
    for (const SeekHit& hit : hits) {
        line = std::to_string(hit.nodeIndex) + '\t' + std::to_string(hit.offset) + '\t'
            + std::to_string(hit.length) + '\t'
            + column(nodes[static_cast<std::size_t>(hit.nodeIndex)]->title()) + '\t' + column(hit.excerpt)
            + '\n';
        std::fputs(line.c_str(), out);
    }
    std::fprintf(out, "%zu hits\n", hits.size());
    return ExitOk;
}

} // namespace notarium::cli
