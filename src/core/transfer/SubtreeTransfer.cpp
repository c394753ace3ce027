#include "core/transfer/SubtreeTransfer.h"

#include "core/document/Document.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace notarium {

void CollectSubtree(const Node* node, TCollectionContainer& container)
{
    if (node == nullptr || node->isRoot())
        return;
    // Asking each node for its level would climb to the root every time, which a deep subtree
    // makes quadratic: the walk counts the depth instead.
    const int top = node->level();
    Document::forEachInSubtree(node, [&](const Node* n, int depth) {
        TNodeDataItem& item = container.add();
        if (const TNodeData* own = n->data())
            item.NodeData.Assign(*own);
        item.Caption = n->title();
        item.Level = top + depth;
        item.iIndex = n->imageIndex();
        item.sIndex = n->selectedIndex();
    });
}

std::string OutlineTitles(const Node* node)
{
    std::string text;
    if (node == nullptr || node->isRoot())
        return text;
    Document::forEachInSubtree(node, [&text](const Node* n, int depth) {
        text.append(static_cast<std::size_t>(depth), '\t');
        text += n->title();
        text += '\n';
    });
    return text;
}

Node* InsertSubtree(const TCollectionContainer& container, Node* target, Document& doc)
{
    if (container.isEmpty() || target == nullptr || target->isRoot())
        return nullptr;

    // The chain from the first new node down to the last one placed, with the level each item
    // carried. A new item goes under the deepest entry whose level is below its own; target sits
    // under the chain as its floor. For levels that step down by at most one, as every collected
    // subtree has, this is climbing (previous level - level + 1) parents from the previous node.
    struct Open {
        std::int32_t level;
        Node* node;
    };
    std::vector<Open> chain;
    Node* first = nullptr;
    for (const TNodeDataItem& item : container.collection()) {
        if (first != nullptr) {
            while (!chain.empty() && chain.back().level >= item.Level)
                chain.pop_back();
        }
        Node* parent = chain.empty() ? target : chain.back().node;

        auto fresh = std::make_unique<Node>(item.Caption, item.iIndex, true);
        fresh->data()->Assign(item.NodeData);
        Node* node = doc.insertSubtree(parent, parent->childCount(), std::move(fresh));
        doc.setImageIndexes(node, item.iIndex, item.sIndex);

        if (first == nullptr)
            first = node;
        chain.push_back({ item.Level, node });
    }
    if (!target->isExpanded())
        doc.setExpanded(target, true);
    return first;
}

} // namespace notarium
