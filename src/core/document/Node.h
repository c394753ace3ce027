#pragma once

#include "core/document/NodeData.h"

#include <memory>
#include <string>
#include <vector>

namespace notarium {

// Node kinds are the tree image indexes; the data file, the clipboard stream and the text export
// store these numbers.
enum NodeKind : int {
    KindPaperFolder = 0,
    KindCategory = 1,
    KindMemo = 2,
    KindResult = 3,
    KindDocument = 4,
};

class Document;

// One node of the outline. Nodes are owned by their parent (the top-level nodes by the document's
// hidden root); every change of structure goes through Document so that observers hear of it.
class Node {
public:
    // hasData: a user node; the two top-level nodes carry no TNodeData.
    Node(std::string title, int imageIndex, bool hasData);
    // Releases the subtree without recursion, so that any depth of nesting is safe.
    ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const std::string& title() const { return m_title; }
    int imageIndex() const { return m_imageIndex; }
    int selectedIndex() const { return m_selectedIndex; }
    bool isExpanded() const { return m_expanded; }

    // Null for the two top-level nodes, never null for a user node.
    TNodeData* data() { return m_hasData ? &m_data : nullptr; }
    const TNodeData* data() const { return m_hasData ? &m_data : nullptr; }

    // The hidden root has no parent; top-level nodes have the hidden root as parent.
    Node* parent() const { return m_parent; }
    bool isRoot() const { return m_parent == nullptr; }
    bool isTopLevel() const { return m_parent != nullptr && m_parent->m_parent == nullptr; }
    bool isUserNode() const { return m_parent != nullptr && m_parent->m_parent != nullptr; }
    // 0 for the top-level nodes; the hidden root is -1.
    int level() const;

    int childCount() const { return static_cast<int>(m_children.size()); }
    bool hasChildren() const { return !m_children.empty(); }
    Node* child(int row) const { return m_children[static_cast<std::size_t>(row)].get(); }
    Node* firstChild() const { return m_children.empty() ? nullptr : m_children.front().get(); }
    Node* lastChild() const { return m_children.empty() ? nullptr : m_children.back().get(); }
    // Position among the parent's children.
    int row() const { return m_row; }
    Node* nextSibling() const;
    Node* prevSibling() const;
    bool isAncestorOf(const Node* other) const;

    // Pre-order stepping over the whole tree (the hidden root excluded).
    Node* next() const;
    Node* prev() const;
    // The last node of this node's subtree in pre-order (the node itself when it has no children).
    const Node* lastDescendant() const;
    Node* lastDescendant();
    // Number of nodes in the subtree, the node included.
    std::size_t subtreeSize() const;

private:
    friend class Document;

    // A document holds a node for every page of its file, so a node is kept small: one block of the
    // allocator with everything in it, the fields ordered so that padding is left only inside
    // TNodeData, and the flags packed beside the row.
    std::string m_title;
    std::vector<std::unique_ptr<Node>> m_children;
    Node* m_parent = nullptr;
    // Held in the node itself: one allocation per node instead of two. The two top-level nodes
    // leave it unused.
    TNodeData m_data;
    int m_imageIndex = 0;
    int m_selectedIndex = 0;
    // Pre-order position, valid while the document's index cache is.
    mutable int m_absoluteIndex = -1;
    // Position among the parent's children. Thirty bits leave room for far more children than a
    // data file (2 GiB at most, some 30 bytes a page) or the memory of a desktop could hold.
    int m_row : 30 = 0;
    bool m_expanded : 1 = false;
    bool m_hasData : 1 = false;
};

} // namespace notarium
