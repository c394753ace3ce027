#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"

#include <string_view>

namespace notarium::cli {

namespace {

int check(const std::string& path, std::FILE* out, std::FILE* err)
{
    Document doc;
    ReadResult result;
    if (!loadDocument(path, doc, result, err))
        return ExitBadInput;
    std::fprintf(out, "ok %zu\n", doc.nodeCount());
    return ExitOk;
}

int tree(const std::string& path, std::FILE* out, std::FILE* err)
{
    Document doc;
    ReadResult result;
    if (!loadDocument(path, doc, result, err))
        return ExitBadInput;
    // Show the tree as opening it in the window would, with the default settings.
    Node* current = applyOpenRules(doc, result, true, true);
    std::string line;
    int index = 0;
    doc.forEachInOrder([&](const Node* node, int level) {
        line.clear();
        line += std::to_string(index++) + '\t' + std::to_string(level) + '\t'
            + std::to_string(node->imageIndex()) + '\t' + std::to_string(node->selectedIndex()) + '\t'
            + (node->isExpanded() ? "1" : "0") + '\t' + cp932::toDisplayUtf8(node->title()) + '\n';
        std::fputs(line.c_str(), out);
    });
    std::fprintf(out, "current\t%d\n", doc.absoluteIndex(current));
    if (const auto& table = doc.bookmarkTable()) {
        std::string slots;
        for (const Node* node : *table) {
            if (!slots.empty())
                slots += ',';
            slots += node ? std::to_string(doc.absoluteIndex(node)) : std::string("None");
        }
        std::fprintf(out, "bookmarks\t%s\n", slots.c_str());
    } else {
        std::fputs("bookmarks\tnil\n", out);
    }
    return ExitOk;
}

int copy(const std::string& in, const std::string& outPath, std::FILE* err)
{
    Document doc;
    ReadResult result;
    if (!loadDocument(in, doc, result, err))
        return ExitBadInput;
    return writeDocument(outPath, doc, result, err) ? ExitOk : ExitBadInput;
}

} // namespace

int checkCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    return args.size() == 1 ? check(args[0], out, err) : ExitUsage;
}

int treeCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    return args.size() == 1 ? tree(args[0], out, err) : ExitUsage;
}

int copyCommand(const Arguments& args, std::FILE*, std::FILE* err)
{
    return args.size() == 2 ? copy(args[0], args[1], err) : ExitUsage;
}

} // namespace notarium::cli
