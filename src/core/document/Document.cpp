#include "core/document/Document.h"

#include <algorithm>
#include <cassert>

namespace notarium {

Document::Document()
    : m_root(std::make_unique<Node>(std::string(), 0, false))
{
    m_root->m_expanded = true;
    m_indexValid = true;
}

Document::~Document() = default;

template <typename F> void Document::notify(F&& call)
{
    if (m_resetDepth > 0)
        return;
    for (DocumentObserver* observer : m_observers)
        call(*observer);
}

void Document::addObserver(DocumentObserver* observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void Document::removeObserver(DocumentObserver* observer)
{
    std::erase(m_observers, observer);
}

Document::ResetScope::ResetScope(Document& document)
    : m_document(document)
{
    if (m_document.m_resetDepth++ == 0)
        for (DocumentObserver* observer : m_document.m_observers)
            observer->documentAboutToBeReset();
}

Document::ResetScope::~ResetScope()
{
    if (--m_document.m_resetDepth == 0)
        for (DocumentObserver* observer : m_document.m_observers)
            observer->documentReset();
}

void Document::newDocument()
{
    ResetScope reset(*this);
    if (m_root->hasChildren())
        clearDocument();
    addTopLevelNode(std::string(kUntitledTitle), KindDocument);
    addTopLevelNode(std::string(kPaperFolderTitle), KindPaperFolder);
    m_readOnly = false;
    setModified(false);
}

void Document::clearDocument()
{
    ResetScope reset(*this);
    m_bookmarks.reset();
    // The destructor of each top-level node releases its subtree without recursion.
    m_root->m_children.clear();
    m_order.clear();
    m_indexValid = true;
}

void Document::takeContentOf(Document& other)
{
    ResetScope reset(*this);
    clearDocument();
    std::swap(m_root, other.m_root);
    m_bookmarks = std::move(other.m_bookmarks);
    other.m_bookmarks.reset();
    m_oldFormat = other.m_oldFormat;
    m_savedCurrentIndex = other.m_savedCurrentIndex;
    m_savedTopIndex = other.m_savedTopIndex;
    m_order.swap(other.m_order);
    m_indexValid = other.m_indexValid;
    other.m_order.clear();
    other.m_indexValid = true;
    setModified(other.m_modified);
}

// Building a document in pre-order (reading a file, say) keeps the index up to date as it goes
// instead of walking the whole tree again afterwards. A childless node appended as the last
// child of the last node in pre-order or of one of its ancestors is the new last node in
// pre-order. The walk up only passes nodes that then leave the rightmost path of the tree, so it
// costs nothing over a whole build.
bool Document::appendToIndex(Node* node)
{
    if (!m_indexValid || node->hasChildren() || node->nextSibling() != nullptr)
        return false;
    const Node* parent = node->parent();
    if (!m_order.empty()) {
        const Node* n = m_order.back();
        while (n != nullptr && n != parent)
            n = n->parent();
        if (n == nullptr)
            return false;
    } else if (!parent->isRoot()) {
        return false;
    }
    node->m_absoluteIndex = static_cast<int>(m_order.size());
    m_order.push_back(node);
    return true;
}

std::size_t Document::nodeCount() const
{
    rebuildIndex();
    return m_order.size();
}

void Document::rebuildIndex() const
{
    if (m_indexValid)
        return;
    m_order.clear();
    for (Node* n = m_root->firstChild(); n != nullptr; n = n->next()) {
        n->m_absoluteIndex = static_cast<int>(m_order.size());
        m_order.push_back(n);
    }
    m_indexValid = true;
}

const std::vector<Node*>& Document::nodesInOrder() const
{
    rebuildIndex();
    return m_order;
}

int Document::absoluteIndex(const Node* node) const
{
    if (node == nullptr || node->isRoot())
        return -1;
    rebuildIndex();
    return node->m_absoluteIndex;
}

Node* Document::nodeAt(long long index) const
{
    rebuildIndex();
    if (index < 0 || index >= static_cast<long long>(m_order.size()))
        return nullptr;
    return m_order[static_cast<std::size_t>(index)];
}

bool Document::isVisible(const Node* node)
{
    if (node == nullptr || node->isRoot())
        return false;
    for (const Node* p = node->parent(); p != nullptr && !p->isRoot(); p = p->parent())
        if (!p->isExpanded())
            return false;
    return true;
}

Node* Document::nextVisible(const Node* node)
{
    if (node == nullptr || node->isRoot())
        return nullptr;
    if (node->isExpanded() && node->hasChildren())
        return node->firstChild();
    for (const Node* n = node; n != nullptr && !n->isRoot(); n = n->parent())
        if (Node* sibling = n->nextSibling())
            return sibling;
    return nullptr;
}

Node* Document::prevVisible(const Node* node)
{
    if (node == nullptr || node->isRoot())
        return nullptr;
    Node* sibling = node->prevSibling();
    if (sibling == nullptr)
        return node->parent()->isRoot() ? nullptr : node->parent();
    while (sibling->isExpanded() && sibling->hasChildren())
        sibling = sibling->lastChild();
    return sibling;
}

Node* Document::addTopLevelNode(std::string title, int imageIndex)
{
    return insertNode(m_root.get(), m_root->childCount(), std::move(title), imageIndex);
}

Node* Document::insertNode(Node* parent, int row, std::string title, int imageIndex)
{
    return insertSubtree(
        parent, row, std::make_unique<Node>(std::move(title), imageIndex, !parent->isRoot()));
}

Node* Document::appendNode(Node* parent, std::string title, int imageIndex)
{
    return insertNode(parent, parent->childCount(), std::move(title), imageIndex);
}

Node* Document::insertSubtree(Node* parent, int row, std::unique_ptr<Node> node)
{
    assert(parent != nullptr && node != nullptr);
    row = std::clamp(row, 0, parent->childCount());
    notify([&](DocumentObserver& o) { o.nodesAboutToBeInserted(parent, row, row); });
    Node* raw = node.get();
    raw->m_parent = parent;
    auto& children = parent->m_children;
    children.insert(children.begin() + row, std::move(node));
    for (int i = row; i < parent->childCount(); ++i)
        children[static_cast<std::size_t>(i)]->m_row = i;
    if (!appendToIndex(raw))
        invalidateIndex();
    notify([&](DocumentObserver& o) { o.nodesInserted(parent, row, row); });
    return raw;
}

Node* Document::createUserNode(Node* parent, int row, int kind, std::string title)
{
    Node* node = insertNode(parent, row, std::move(title), kind);
    setModified(true);
    return node;
}

void Document::forgetBookmarksIn(const Node* node)
{
    if (!m_bookmarks)
        return;
    for (Node*& slot : *m_bookmarks)
        if (slot != nullptr && (slot == node || node->isAncestorOf(slot)))
            slot = nullptr;
}

void Document::removeNode(Node* node)
{
    takeSubtree(node).reset();
}

std::unique_ptr<Node> Document::takeSubtree(Node* node)
{
    if (node == nullptr || node->isRoot())
        return nullptr;
    Node* parent = node->parent();
    const int row = node->row();
    forgetBookmarksIn(node);
    notify([&](DocumentObserver& o) { o.nodesAboutToBeRemoved(parent, row, row); });
    auto& children = parent->m_children;
    std::unique_ptr<Node> taken = std::move(children[static_cast<std::size_t>(row)]);
    children.erase(children.begin() + row);
    for (int i = row; i < parent->childCount(); ++i)
        children[static_cast<std::size_t>(i)]->m_row = i;
    invalidateIndex();
    taken->m_parent = nullptr;
    notify([&](DocumentObserver& o) { o.nodesRemoved(parent, row, row); });
    return taken;
}

bool Document::moveNode(Node* node, Node* newParent, int row)
{
    if (node == nullptr || newParent == nullptr || !node->isUserNode() || newParent->isRoot())
        return false;
    if (node == newParent || node->isAncestorOf(newParent))
        return false;
    Node* oldParent = node->parent();
    const int oldRow = node->row();
    const int maxRow = newParent->childCount() - (oldParent == newParent ? 1 : 0);
    row = std::clamp(row, 0, maxRow);
    if (oldParent == newParent && oldRow == row)
        return true;
    notify([&](DocumentObserver& o) { o.nodeAboutToBeMoved(node, newParent, row); });
    auto& from = oldParent->m_children;
    std::unique_ptr<Node> owned = std::move(from[static_cast<std::size_t>(oldRow)]);
    from.erase(from.begin() + oldRow);
    for (int i = oldRow; i < oldParent->childCount(); ++i)
        from[static_cast<std::size_t>(i)]->m_row = i;
    auto& to = newParent->m_children;
    owned->m_parent = newParent;
    to.insert(to.begin() + row, std::move(owned));
    for (int i = (oldParent == newParent ? std::min(row, oldRow) : row); i < newParent->childCount(); ++i)
        to[static_cast<std::size_t>(i)]->m_row = i;
    invalidateIndex();
    notify([&](DocumentObserver& o) { o.nodeMoved(node, oldParent, oldRow); });
    return true;
}

void Document::setTitle(Node* node, std::string title)
{
    if (node->m_title == title)
        return;
    node->m_title = std::move(title);
    notify([&](DocumentObserver& o) { o.nodeChanged(node, NodeChange::Title); });
}

void Document::setKind(Node* node, int kind)
{
    setImageIndexes(node, kind, kind);
}

void Document::setImageIndexes(Node* node, int imageIndex, int selectedIndex)
{
    if (node->m_imageIndex == imageIndex && node->m_selectedIndex == selectedIndex)
        return;
    node->m_imageIndex = imageIndex;
    node->m_selectedIndex = selectedIndex;
    notify([&](DocumentObserver& o) { o.nodeChanged(node, NodeChange::Kind); });
}

void Document::setExpanded(Node* node, bool expanded)
{
    if (node->m_expanded == expanded || node->isRoot())
        return;
    node->m_expanded = expanded;
    notify([&](DocumentObserver& o) { o.nodeChanged(node, NodeChange::Expanded); });
}

void Document::notifyDataChanged(Node* node)
{
    notify([&](DocumentObserver& o) { o.nodeChanged(node, NodeChange::Data); });
}

void Document::captureTreeState()
{
    for (Node* n = m_root->firstChild(); n != nullptr; n = n->next())
        if (TNodeData* data = n->data())
            data->TrOpen = n->m_expanded;
}

void Document::applyTreeState()
{
    for (Node* n = m_root->firstChild(); n != nullptr; n = n->next())
        if (const TNodeData* data = n->data())
            n->m_expanded = data->TrOpen;
    notify([](DocumentObserver& o) { o.expansionReset(); });
}

void Document::setAllExpanded(bool expanded)
{
    for (Node* n = m_root->firstChild(); n != nullptr; n = n->next())
        n->m_expanded = expanded && n->hasChildren();
    notify([](DocumentObserver& o) { o.expansionReset(); });
}

void Document::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    // Not held back during a reset: the flag is no part of the tree that observers re-read.
    for (DocumentObserver* observer : m_observers)
        observer->modifiedChanged(modified);
}

BookmarkSlots& Document::ensureBookmarkTable()
{
    if (!m_bookmarks)
        m_bookmarks.emplace(BookmarkSlots {});
    return *m_bookmarks;
}

void Document::clearBookmarkTable()
{
    if (!m_bookmarks)
        return;
    const BookmarkSlots slots = *m_bookmarks;
    m_bookmarks.reset();
    for (Node* node : slots)
        if (node != nullptr)
            notify([&](DocumentObserver& o) { o.nodeChanged(node, NodeChange::Bookmark); });
}

void Document::setBookmark(int slot, Node* node)
{
    assert(slot >= 0 && slot < kBookmarkSlotCount);
    Node*& entry = ensureBookmarkTable()[static_cast<std::size_t>(slot)];
    Node* old = entry;
    if (old == node)
        return;
    entry = node;
    for (Node* changed : { old, node })
        if (changed != nullptr)
            notify([&](DocumentObserver& o) { o.nodeChanged(changed, NodeChange::Bookmark); });
}

Node* Document::bookmark(int slot) const
{
    if (!m_bookmarks || slot < 0 || slot >= kBookmarkSlotCount)
        return nullptr;
    return (*m_bookmarks)[static_cast<std::size_t>(slot)];
}

int Document::bookmarkSlotOf(const Node* node) const
{
    if (!m_bookmarks || node == nullptr)
        return -1;
    const auto found = std::find(m_bookmarks->begin(), m_bookmarks->end(), node);
    return found == m_bookmarks->end() ? -1 : static_cast<int>(found - m_bookmarks->begin());
}

} // namespace notarium
