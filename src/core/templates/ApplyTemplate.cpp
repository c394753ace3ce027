#include "core/templates/ApplyTemplate.h"

#include "core/document/Document.h"
#include "core/io/FileIo.h"

#include <vector>

namespace notarium {

TemplateReadResult applyTreeTemplate(std::string_view bytes, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot()) {
        TemplateReadResult result;
        result.status = TemplateReadStatus::NoBaseNode;
        return result;
    }
    // The pages are read into a document of their own first: a page that fails halfway through
    // the file must not leave the pages before it in the person's outline. The finished branches
    // then move over whole, one change of the outline per top page instead of one per page.
    Document trial;
    newTemplateDocument(trial);
    Node* root = trial.documentNode();
    TemplateReadResult result = parseTreeTemplate(bytes, trial, root);
    if (!result.ok() || root->childCount() == 0) {
        result.firstPage = nullptr;
        result.pagesAdded = 0;
        return result;
    }
    // The pages with children open in the outline, as the reader left them in the trial: the
    // flags are set again in doc, so that its views hear of them.
    std::vector<Node*> open;
    Document::forEachInSubtree(root, [&open](const Node* node, int depth) {
        if (depth > 0 && node->isExpanded())
            open.push_back(const_cast<Node*>(node));
    });
    for (Node* node : open)
        trial.setExpanded(node, false);
    result.firstPage = nullptr;
    while (root->hasChildren()) {
        Node* moved = doc.insertSubtree(base, base->childCount(), trial.takeSubtree(root->firstChild()));
        if (result.firstPage == nullptr)
            result.firstPage = moved;
    }
    for (Node* node : open)
        doc.setExpanded(node, true);
    // The new pages can be seen: base and its ancestors are open.
    for (Node* node = base; node != nullptr && !node->isRoot(); node = node->parent())
        doc.setExpanded(node, true);
    return result;
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
