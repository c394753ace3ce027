#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "core/document/Document.h"
#include "core/templates/TreeTemplate.h"
#include "core/text/Cp932Codec.h"

#include <string>

namespace notarium::cli {

namespace {

// Reads the tree template as the template editor does (under its root) and lists the pages:
// position in the editor's tree (the root is 0), level, image index, selected index, title.
// The pages of a corrupt file that were read before the fault are listed too, as the editor would
// show them.
int listTemplate(const std::string& path, std::FILE* out, std::FILE* err)
{
    Document doc;
    newTemplateDocument(doc);
    const TemplateReadResult result
        = loadTemplateTree(path, doc, templateBaseNode(doc, TemplateTarget::TemplateEditor, nullptr));
    if (result.status == TemplateReadStatus::CannotOpen) {
        printMessage(err, path, result.errorText);
        return ExitBadInput;
    }
    std::string line;
    int index = 0;
    doc.forEachInOrder([&](const Node* node, int level) {
        if (index++ == 0)
            return;
        line = std::to_string(index - 1) + '\t' + std::to_string(level) + '\t'
            + std::to_string(node->imageIndex()) + '\t' + std::to_string(node->selectedIndex()) + '\t'
            + cp932::toDisplayUtf8(node->title()) + '\n';
        std::fputs(line.c_str(), out);
    });
    if (!result.ok()) {
        printMessage(err, path, result.message.text);
        return ExitBadInput;
    }
    return ExitOk;
}

} // namespace

int templateCommand(const Arguments& args, std::FILE* out, std::FILE* err)
{
    return args.size() == 1 ? listTemplate(args[0], out, err) : ExitUsage;
}

} // namespace notarium::cli
