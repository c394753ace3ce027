#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SearchArguments.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/text/Cp932Codec.h"

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
    SearchArguments parsed;
    if (!parseSearchArguments(args, parsed) || parsed.positional.size() != 2 || parsed.positional[1].empty())
        return ExitUsage;
    const std::optional<std::string> searchText = cp932Argument(parsed.positional[1], "find", "search text", err);
    if (!searchText)
        return ExitBadInput;
    Document doc;
    ReadResult result;
    if (!loadDocument(parsed.positional[0], doc, result, err))
        return ExitBadInput;
    std::vector<SeekHit> hits;
    if (!collectHits(doc, parsed, *searchText, hits, "find", err))
        return ExitBadInput;
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
