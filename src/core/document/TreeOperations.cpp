#include "core/document/TreeOperations.h"

#include <cstddef>

namespace notarium {

namespace {

enum DefaultTitleItem : std::size_t {
    CategoryTitle = 0,
    MemoTitle = 1,
    ResultTitle = 2,
};

// The list comes from the user's comma text, which may hold fewer than three items.
std::string defaultTitle(const std::vector<std::string>& titles, DefaultTitleItem item)
{
    return item < titles.size() ? titles[item] : std::string();
}

} // namespace

TreeOperations::TreeOperations(Document& document)
    : m_document(document)
{
}

bool TreeOperations::canEdit(const Node* target) const
{
    return target != nullptr && target->isUserNode() && !m_document.isReadOnly();
}

// ---- The move primitive ------------------------------------------------------------------------

bool TreeOperations::moveTo(Node* node, Node* newParent, int row)
{
    // The rest of the program relies on exactly two top-level nodes.
    if (node == nullptr || newParent == nullptr || newParent->isRoot() || !node->isUserNode())
        return false;
    Node* oldParent = node->parent();
    if (!m_document.moveNode(node, newParent, row))
        return false;
    collapseSubtree(node);
    m_document.setExpanded(newParent, true);
    if (oldParent != newParent)
        collapseIfChildless(oldParent);
    return true;
}

bool TreeOperations::moveBefore(Node* node, Node* destination)
{
    if (destination == nullptr || destination->isTopLevel())
        return false;
    int row = destination->row();
    // Document counts the row after the node has left its old place.
    if (node->parent() == destination->parent() && node->row() < row)
        --row;
    return moveTo(node, destination->parent(), row);
}

bool TreeOperations::moveAsFirstChild(Node* node, Node* parent)
{
    return moveTo(node, parent, 0);
}

bool TreeOperations::moveAsLastChild(Node* node, Node* parent)
{
    const int row = parent->childCount() - (node->parent() == parent ? 1 : 0);
    return moveTo(node, parent, row);
}

bool TreeOperations::dropNode(Node* node, Node* target, DropPlace place)
{
    if (!canEdit(node) || target == nullptr || target->isRoot())
        return false;
    if (node == target || node->isAncestorOf(target))
        return false;
    bool moved = false;
    switch (place) {
    case DropPlace::FirstChild:
        moved = moveAsFirstChild(node, target);
        break;
    case DropPlace::LastChild:
        moved = moveAsLastChild(node, target);
        break;
    case DropPlace::PreviousSibling:
        // moveBefore refuses a top-level target: the node would become a third top-level node.
        moved = moveBefore(node, target);
        break;
    }
    if (moved)
        m_document.setModified(true);
    return moved;
}

void TreeOperations::collapseSubtree(Node* node)
{
    const Node* last = node->lastDescendant();
    for (Node* n = node;; n = n->next()) {
        m_document.setExpanded(n, false);
        if (n == last)
            break;
    }
}

void TreeOperations::expandSubtree(Node* node)
{
    if (node == nullptr || node->isRoot())
        return;
    const Node* last = node->lastDescendant();
    for (Node* n = node;; n = n->next()) {
        if (n->hasChildren())
            m_document.setExpanded(n, true);
        if (n == last)
            break;
    }
}

void TreeOperations::expandWholeDocument()
{
    Node* root = m_document.root();
    for (int i = 0; i < root->childCount(); ++i)
        expandSubtree(root->child(i));
}

void TreeOperations::collapseIfChildless(Node* node)
{
    if (node != nullptr && !node->isRoot() && !node->hasChildren())
        m_document.setExpanded(node, false);
}

// ---- New nodes ---------------------------------------------------------------------------------

Node* TreeOperations::insertNodeAfter(Node* target, int kind, std::string title)
{
    if (!canEdit(target))
        return nullptr;
    const bool wasExpanded = target->isExpanded();
    // Created before the target, then the target is moved in front of it: the new node ends up
    // directly after the target, and the target goes through the same move as every tree command.
    Node* node = m_document.createUserNode(target->parent(), target->row(), kind, std::move(title));
    moveBefore(target, node);
    if (wasExpanded && target->hasChildren())
        m_document.setExpanded(target, true);
    return node;
}

Node* TreeOperations::addChildNode(Node* target, int kind, std::string title)
{
    if (target == nullptr || target->isRoot() || m_document.isReadOnly())
        return nullptr;
    return m_document.createUserNode(target, target->childCount(), kind, std::move(title));
}

// The target stays where it is. Appending the node and then moving the target in front of it
// would carry the target to the end of its siblings, reordering the outline behind the user's
// back, and each further call (the memo wizard creates node after node this way) would slip the
// target between the nodes just made.
Node* TreeOperations::appendSiblingNode(Node* target, int kind, std::string title)
{
    if (!canEdit(target))
        return nullptr;
    Node* parent = target->parent();
    return m_document.createUserNode(parent, parent->childCount(), kind, std::move(title));
}

Node* TreeOperations::newCategory(Node* target, const std::vector<std::string>& defaultTitles)
{
    if (target != nullptr && target->isTopLevel())
        return addChildNode(target, KindCategory, defaultTitle(defaultTitles, CategoryTitle));
    return insertNodeAfter(target, KindCategory, defaultTitle(defaultTitles, CategoryTitle));
}

Node* TreeOperations::newChildCategory(Node* target, const std::vector<std::string>& defaultTitles)
{
    return addChildNode(target, KindCategory, defaultTitle(defaultTitles, CategoryTitle));
}

Node* TreeOperations::newMemo(Node* target, const std::vector<std::string>& defaultTitles)
{
    if (target != nullptr && target->isTopLevel())
        return addChildNode(target, KindMemo, defaultTitle(defaultTitles, MemoTitle));
    return insertNodeAfter(target, KindMemo, defaultTitle(defaultTitles, MemoTitle));
}

Node* TreeOperations::newChildMemo(Node* target, const std::vector<std::string>& defaultTitles)
{
    return addChildNode(target, KindMemo, defaultTitle(defaultTitles, MemoTitle));
}

Node* TreeOperations::newResult(Node* target, const std::vector<std::string>& defaultTitles)
{
    if (!canEdit(target))
        return nullptr;
    return addChildNode(target, KindResult, defaultTitle(defaultTitles, ResultTitle));
}

// ---- Kinds -------------------------------------------------------------------------------------

bool TreeOperations::exchange(Node* target, int kindA, int kindB)
{
    if (!canEdit(target))
        return false;
    const int kind = target->imageIndex();
    const int newKind = kind == kindA ? kindB : (kind == kindB ? kindA : kind);
    if (newKind == kind && target->selectedIndex() == kind)
        return false;
    m_document.setKind(target, newKind);
    m_document.setModified(true);
    return true;
}

bool TreeOperations::exchangeCategoryMemo(Node* target)
{
    return exchange(target, KindCategory, KindMemo);
}

bool TreeOperations::exchangeMemoResult(Node* target)
{
    return exchange(target, KindMemo, KindResult);
}

// ---- Moves -------------------------------------------------------------------------------------

bool TreeOperations::moveDown(Node* target, bool skipClosedTree)
{
    if (!canEdit(target) || !Document::isVisible(target))
        return false;
    // The node the pane shows after the target once the target is collapsed.
    Node* next = nullptr;
    for (const Node* n = target; next == nullptr && n != nullptr && !n->isRoot(); n = n->parent())
        next = n->nextSibling();
    if (next == nullptr)
        return false;

    const bool stepOver = next->hasChildren() && !next->isExpanded() && skipClosedTree;
    // Stepping over a collapsed top-level node (the paper folder) would leave the target at the top
    // level: nothing to do there.
    if (stepOver && next->isTopLevel())
        return false;

    m_document.setExpanded(target, false);
    if (next == target->nextSibling() && !next->hasChildren()) {
        moveBefore(next, target);
    } else if (!stepOver) {
        moveAsFirstChild(target, next);
    } else {
        moveBefore(target, next);
        moveBefore(next, target);
    }
    m_document.setModified(true);
    return true;
}

bool TreeOperations::moveUp(Node* target, bool skipClosedTree)
{
    if (!canEdit(target))
        return false;
    const auto before
        = [skipClosedTree](const Node* n) { return skipClosedTree ? Document::prevVisible(n) : n->prev(); };
    Node* previous = before(target);
    if (previous == nullptr || previous == m_document.documentNode())
        return false;

    if (!previous->isTopLevel()) {
        moveBefore(target, previous);
    } else {
        // The target is the first node under the paper folder: it goes after the node shown
        // before the paper folder, at that node's level. When that is the document node itself
        // the target would land between the two top-level nodes, so nothing is done.
        Node* above = before(previous);
        if (above == nullptr || above->isTopLevel())
            return false;
        moveBefore(target, above);
        moveBefore(above, target);
    }
    m_document.setModified(true);
    return true;
}

bool TreeOperations::levelUp(Node* target)
{
    if (!canEdit(target) || target->parent()->isTopLevel())
        return false;
    Node* parent = target->parent();
    const bool targetExpanded = target->isExpanded();
    const bool parentExpanded = parent->isExpanded();
    moveBefore(target, parent);
    moveBefore(parent, target);
    m_document.setExpanded(target, targetExpanded && target->hasChildren());
    m_document.setExpanded(parent, parentExpanded && parent->hasChildren());
    m_document.setModified(true);
    return true;
}

bool TreeOperations::levelDown(Node* target)
{
    if (!canEdit(target))
        return false;
    Node* sibling = target->prevSibling();
    if (sibling == nullptr)
        return false;
    const bool wasExpanded = target->isExpanded();
    moveAsLastChild(target, sibling);
    if (wasExpanded && target->hasChildren())
        m_document.setExpanded(target, true);
    m_document.setModified(true);
    return true;
}

bool TreeOperations::levelUpChildren(Node* target)
{
    if (!canEdit(target) || !target->hasChildren())
        return false;
    // Last child first, each straight after the target, so they keep their order. One move per
    // child: moving the target as well would walk its remaining subtree again on every step.
    Node* parent = target->parent();
    while (Node* child = target->lastChild())
        moveTo(child, parent, target->row() + 1);
    m_document.setModified(true);
    return true;
}

bool TreeOperations::levelDownSiblings(Node* target)
{
    if (!canEdit(target) || target->nextSibling() == nullptr)
        return false;
    while (Node* sibling = target->nextSibling())
        moveAsLastChild(sibling, target);
    m_document.setModified(true);
    return true;
}

// ---- Delete ------------------------------------------------------------------------------------

Node* TreeOperations::deleteSubtree(Node* target, Node* selected)
{
    if (!canEdit(target))
        return nullptr;
    Node* nextSelection = selected;
    if (selected == nullptr || selected == target || target->isAncestorOf(selected)) {
        nextSelection = target->nextSibling();
        if (nextSelection == nullptr)
            nextSelection = target->prevSibling();
        if (nextSelection == nullptr)
            nextSelection = target->parent();
    }
    Node* parent = target->parent();
    m_document.removeNode(target);
    collapseIfChildless(parent);
    m_document.setModified(true);
    return nextSelection;
}

// ---- View commands -----------------------------------------------------------------------------

void TreeOperations::saveViewIndexes(Node* selected, Node* topVisible)
{
    const int current = m_document.absoluteIndex(selected);
    const int top = m_document.absoluteIndex(topVisible);
    m_document.setSavedCurrentIndex(current < 0 ? 0 : current);
    m_document.setSavedTopIndex(top < 0 ? 0 : top);
}

void TreeOperations::captureTreeState(Node* selected, Node* topVisible)
{
    m_document.captureTreeState();
    saveViewIndexes(selected, topVisible);
}

bool TreeOperations::expandAll(Node* selected, Node* topVisible)
{
    if (!m_document.hasContent())
        return false;
    captureTreeState(selected, topVisible);
    m_document.setAllExpanded(true);
    return true;
}

Node* TreeOperations::collapseAll(Node* selected, Node* topVisible)
{
    if (!m_document.hasContent())
        return nullptr;
    Node* keep = selected != nullptr && !selected->isRoot() ? selected : m_document.documentNode();
    while (keep->isUserNode() && !keep->parent()->isTopLevel())
        keep = keep->parent();
    captureTreeState(selected, topVisible);
    m_document.setAllExpanded(false);
    for (Node* top : { m_document.documentNode(), m_document.paperFolderNode() })
        if (top != nullptr && top->hasChildren())
            m_document.setExpanded(top, true);
    return keep;
}

Node* TreeOperations::collapseBranch(Node* selected)
{
    if (selected == nullptr || !selected->isUserNode())
        return nullptr;
    Node* branch = selected;
    if (!branch->parent()->isTopLevel()) {
        if (!branch->hasChildren() || !branch->isExpanded())
            branch = branch->parent();
    } else if (!branch->hasChildren()) {
        return nullptr;
    }
    collapseSubtree(branch);
    return branch;
}

TreeStateRestore TreeOperations::restoreTreeState()
{
    TreeStateRestore restore;
    restore.selection = m_document.nodeAt(m_document.savedCurrentIndex());
    m_document.applyTreeState();
    restore.topVisible = m_document.nodeAt(m_document.savedTopIndex());
    return restore;
}

} // namespace notarium
