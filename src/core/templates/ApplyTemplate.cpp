#include "core/templates/ApplyTemplate.h"

#include "core/document/Document.h"

#include <vector>

namespace notarium {

namespace {

TemplateReadResult noBaseNode()
{
    TemplateReadResult result;
    result.status = TemplateReadStatus::NoBaseNode;
    return result;
}

// The pages are read into a document of their own first (trial, which read gave): a page that
// fails halfway through the file must not leave the pages before it in the person's outline. The
// finished branches then move over whole, one change of the outline per top page instead of one
// per page.
TemplateReadResult movePages(Document& trial, TemplateReadResult result, Document& doc, Node* base)
{
    Node* root = trial.documentNode();
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

} // namespace

TemplateReadResult applyTreeTemplate(std::string_view bytes, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return noBaseNode();
    Document trial;
    newTemplateDocument(trial);
    TemplateReadResult result = parseTreeTemplate(bytes, trial, trial.documentNode());
    return movePages(trial, std::move(result), doc, base);
}

TemplateReadResult applyTreeTemplateFile(const std::string& path, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return noBaseNode();
    // Streamed into the trial document: the file's bytes are never held beside its pages.
    Document trial;
    newTemplateDocument(trial);
    TemplateReadResult result = loadTemplateTree(path, trial, trial.documentNode());
    return movePages(trial, std::move(result), doc, base);
}

} // namespace notarium
