#pragma once

#include "core/document/Document.h"

#include <string>
#include <vector>

namespace notarium {

// What the window needs after restoring the saved tree state: the node to select and the node to
// scroll to the top of the tree pane. Either is null when its saved index no longer names a node
// (the tree has shrunk since); the window then keeps its current selection or scroll position.
struct TreeStateRestore {
    Node* selection = nullptr;
    Node* topVisible = nullptr;
};

// The commands that change the shape of the outline, and the view commands that expand and
// collapse it, as operations on the document. Every command acts on a given target node and says
// whether it acted; when it did not, nothing has changed and the window beeps. Commands that change
// the tree set the document's modified flag; the view commands (expand all, collapse all, collapse
// branch, restore tree state) only change expanded flags and leave the flag alone, as toggling a
// node in the tree pane does.
//
// The nodes' expanded flags are the tree pane's visibility: the window writes every expand and
// collapse of the view back into the document, and these commands write theirs through Document,
// so the view hears of them as observer events. Selection, scrolling, confirmation and the
// clipboard stay with the window; the return values tell it what to select.
//
// A read-only document refuses every command that would change the tree.
class TreeOperations {
public:
    explicit TreeOperations(Document& document);

    // Placement of new nodes. Each returns the new node, or null when it did not act.
    //
    // A new node directly after the target, at its level; null for a top-level target. The target
    // keeps its expanded state (its hidden descendants come out collapsed, as after any move). The
    // window may keep the tree pane's top visible node across the call; nothing here scrolls.
    Node* insertNodeAfter(Node* target, int kind, std::string title);
    // A new node as the target's last child.
    Node* addChildNode(Node* target, int kind, std::string title);
    // A new node at the end of the target's siblings; null for a top-level target. The target
    // stays where it is (see the .cpp for why).
    Node* appendSiblingNode(Node* target, int kind, std::string title);

    // The new-node commands. defaultTitles holds the titles for category, memo and result in this
    // order; a list that is too short gives an empty title.
    //
    // After the target, or as its last child when the target is a top-level node.
    Node* newCategory(Node* target, const std::vector<std::string>& defaultTitles);
    Node* newChildCategory(Node* target, const std::vector<std::string>& defaultTitles);
    Node* newMemo(Node* target, const std::vector<std::string>& defaultTitles);
    Node* newChildMemo(Node* target, const std::vector<std::string>& defaultTitles);
    // Always the last child of a user node; refused for a top-level target.
    Node* newResult(Node* target, const std::vector<std::string>& defaultTitles);

    // Category <-> memo, and memo <-> result. Any other kind is left as it is (not acted).
    bool exchangeCategoryMemo(Node* target);
    bool exchangeMemoResult(Node* target);

    // skipClosedTree: a collapsed subtree counts as one step.
    bool moveDown(Node* target, bool skipClosedTree);
    bool moveUp(Node* target, bool skipClosedTree);
    // The target goes directly after its parent, at the parent's level, with its own subtree.
    bool levelUp(Node* target);
    // The target becomes the last child of its previous sibling.
    bool levelDown(Node* target);
    // The target's children become its following siblings, in their order.
    bool levelUpChildren(Node* target);
    // The target's following siblings become its last children, in their order.
    bool levelDownSiblings(Node* target);

    // Deletes the target with its subtree (the window asks first and, with SaveData on, puts the
    // subtree on the clipboard before calling this). Returns the node to select afterwards: the
    // given selection when it lies outside the deleted subtree, else the target's next sibling, its
    // previous sibling or its parent. Null when refused (not a user node, or read only).
    Node* deleteSubtree(Node* target, Node* selected);

    // Expand every node. The tree state is captured first and the absolute indexes of the selected
    // and top visible nodes are saved for restoreTreeState; the window keeps topVisible at the top
    // and scrolls the selection into view. Refused when the document has no content.
    bool expandAll(Node* selected, Node* topVisible);
    // Collapse everything but the two top-level nodes, saving the tree state as expandAll does.
    // Returns the node to select: the selected node, or its ancestor at level 1 when it is deeper.
    // Null when the document has no content.
    Node* collapseAll(Node* selected, Node* topVisible);
    // Collapses the branch around the selection and returns the node to select: the selected node,
    // or its parent when the selected node is deeper than level 1 and shows no children. Null for a
    // top-level node and for a childless node at level 1.
    Node* collapseBranch(Node* selected);
    // Records the expanded state of every node and the selected and top visible nodes, for
    // restoreTreeState (the find window and the search-and-replace window do, when opened).
    void captureTreeState(Node* selected, Node* topVisible);
    // Brings back the expanded states captured by the last expandAll or collapseAll (or a
    // full-text search, which captures the same way).
    TreeStateRestore restoreTreeState();

    // Where a node dragged in the tree pane lands relative to the node it was dropped on.
    enum class DropPlace { FirstChild, LastChild, PreviousSibling };
    // Moves node with its subtree to place relative to target, as a drop in the tree pane does.
    // Refused (false, nothing changed) for a top-level or missing node, a read-only document, a
    // drop onto the node itself or into its own subtree, and a drop that would make a top-level
    // node. Sets the modified flag when the node moved.
    bool dropNode(Node* node, Node* target, DropPlace place);

    // Expands the node and every node below it (the memo wizard does this after creating a node
    // without selecting it).
    void expandSubtree(Node* node);
    // Expands every node of the document, without capturing the tree state (a file opened with
    // ExpandAll, the options' Apply with the box checked).
    void expandWholeDocument();

private:
    // The move primitive: the node keeps its subtree and data, comes out collapsed with every
    // descendant collapsed, its new parent is expanded, and an old parent left without children
    // is collapsed (it no longer has anything to show). Refused for moves that would put a user
    // node at the top level.
    bool moveTo(Node* node, Node* newParent, int row);
    bool moveBefore(Node* node, Node* destination);
    bool moveAsFirstChild(Node* node, Node* parent);
    bool moveAsLastChild(Node* node, Node* parent);

    bool canEdit(const Node* target) const;
    bool exchange(Node* target, int kindA, int kindB);
    void collapseSubtree(Node* node);
    void collapseIfChildless(Node* node);
    void saveViewIndexes(Node* selected, Node* topVisible);

    Document& m_document;
};

} // namespace notarium
