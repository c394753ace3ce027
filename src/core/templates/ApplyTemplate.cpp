#include "core/templates/ApplyTemplate.h"

#include "core/document/Document.h"
#include "core/io/FileIo.h"

namespace notarium {

TemplateReadResult applyTreeTemplate(std::string_view bytes, Document& doc, Node* base)
{
    // A trial read into a document of its own: a page that fails halfway through the file must
    // not leave the pages before it in the person's outline.
    Document trial;
    newTemplateDocument(trial);
    TemplateReadResult checked = parseTreeTemplate(bytes, trial, trial.documentNode());
    if (!checked.ok()) {
        checked.firstPage = nullptr;
        checked.pagesAdded = 0;
        return checked;
    }
    return parseTreeTemplate(bytes, doc, base);
}

TemplateReadResult applyTreeTemplateFile(const std::string& path, Document& doc, Node* base)
{
    std::string bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error)) {
        TemplateReadResult result;
        result.status = TemplateReadStatus::CannotOpen;
        result.errorText = std::move(error);
        return result;
    }
    return applyTreeTemplate(bytes, doc, base);
}

} // namespace notarium
