#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SearchArguments.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/search/SeekReplace.h"

#include <optional>
#include <string>
#include <vector>

namespace notarium::cli {

// replace FILE OUT TEXT REPLACEMENT [the options of find]
int replaceCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    SearchArguments parsed;
    if (!parseSearchArguments(args, parsed) || parsed.positional.size() != 4 || parsed.positional[2].empty())
        return ExitUsage;
    const std::string& in = parsed.positional[0];
    const std::string& outPath = parsed.positional[1];
    // Both texts are checked before anything is read or written.
    const std::optional<std::string> searchText = cp932Argument(parsed.positional[2], "replace", "search text", err);
    if (!searchText)
        return ExitBadInput;
    const std::optional<std::string> replacement
        = cp932Argument(parsed.positional[3], "replace", "replacement", err);
    if (!replacement)
        return ExitBadInput;
    Document doc;
    ReadResult result;
    if (!loadDocument(in, doc, result, err))
        return ExitBadInput;
    std::vector<SeekHit> hits;
    if (!collectHits(doc, parsed, *searchText, hits, "replace", err))
        return ExitBadInput;
    const ReplaceAllResult replaced = replaceAllHits(doc, hits, *replacement);
    if (!writeDocument(outPath, doc, result, err))
        return ExitBadInput;
    std::fprintf(out, "%zu replaced\n", replaced.replaced);
    return ExitOk;
}

} // namespace notarium::cli
