#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "core/datafile/DataFile.h"
#include "core/document/CharacterCount.h"
#include "core/document/Document.h"

#include <optional>

namespace notarium::cli {

// count FILE [--node N]
int countCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    std::optional<std::string> path;
    long long index = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--node") {
            const std::optional<long long> value = i + 1 < args.size() ? parseIndex(args[++i]) : std::nullopt;
            if (!value)
                return ExitUsage;
            index = *value;
        } else if (args[i].starts_with("--") || path) {
            return ExitUsage;
        } else {
            path = args[i];
        }
    }
    if (!path)
        return ExitUsage;
    Document doc;
    ReadResult result;
    if (!loadDocument(*path, doc, result, err))
        return ExitBadInput;
    const Node* node = doc.nodeAt(index);
    if (node == nullptr) {
        std::fprintf(err, "count: no node at index %lld\n", index);
        return ExitBadInput;
    }
    const CharacterCounts counts = countCharacters(doc, node);
    std::fprintf(out, "node %lld\nbranch %lld\ntotal %lld\n", static_cast<long long>(counts.node),
        static_cast<long long>(counts.branch), static_cast<long long>(counts.total));
    return ExitOk;
}

} // namespace notarium::cli
