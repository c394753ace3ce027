#pragma once

#include "core/document/DocumentObserver.h"
#include "core/document/Node.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

inline constexpr std::string_view kUntitledTitle = "Untitled";
inline constexpr std::string_view kPaperFolderTitle = "Paper Folder";
inline constexpr int kBookmarkSlotCount = 10;

using BookmarkSlots = std::array<Node*, kBookmarkSlotCount>;

// One outline document: the tree with its two top-level nodes (the document node and the paper
// folder node) and the per-document state that is not a window widget. The document is the only
// owner of nodes; views follow it through DocumentObserver.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Adds the document node "Untitled" and the paper folder node to an empty document and clears
    // the modified and read-only flags.
    void newDocument();
    // Deletes every node (with its data) and the bookmark table.
    void clearDocument();
    // Takes over the tree of other, a document read apart from this one (on another thread, say),
    // with its bookmark table, old-format flag and saved positions; other is left empty. This
    // document's old tree is deleted and its read-only flag kept. Observers hear of it as a reset.
    void takeContentOf(Document& other);

    // The hidden root whose children are the top-level nodes.
    Node* root() const { return m_root.get(); }
    Node* documentNode() const { return m_root->firstChild(); }
    Node* paperFolderNode() const { return m_root->childCount() > 1 ? m_root->child(1) : nullptr; }
    // Every node but the hidden root.
    std::size_t nodeCount() const;
    // A document has content when it holds more than its two top-level nodes.
    // Looks at three nodes at most: after a change of the tree's shape the enabling pass asks this
    // at once, and counting every node would rebuild the whole index for it.
    bool hasContent() const
    {
        std::size_t seen = 0;
        for (const Node* node = m_root->firstChild(); node != nullptr && seen <= 2; node = node->next())
            ++seen;
        return seen > 2;
    }

    // Absolute index: 0-based pre-order position in the whole tree; -1 for null or the root.
    int absoluteIndex(const Node* node) const;
    // Null when the index is outside the tree.
    Node* nodeAt(long long index) const;
    // Nodes in pre-order (index i holds the node of absolute index i).
    const std::vector<Node*>& nodesInOrder() const;

    // Calls visit(node, level) for every node in pre-order; levels are tracked on the way, so a
    // deep tree costs no more than a flat one.
    template <typename Visit> void forEachInOrder(Visit&& visit) const
    {
        int level = 0;
        for (const Node* node = m_root->firstChild(); node != nullptr; node = nextInOrder(node, level))
            visit(node, level);
    }
    // The node after node in pre-order (null after the last one); level, node's level on entry,
    // becomes the next node's.
    static const Node* nextInOrder(const Node* node, int& level)
    {
        if (node->hasChildren()) {
            ++level;
            return node->firstChild();
        }
        while (node != nullptr && node->nextSibling() == nullptr) {
            node = node->parent();
            --level;
            if (node != nullptr && node->isRoot())
                return nullptr;
        }
        return node != nullptr ? node->nextSibling() : nullptr;
    }

    // Calls visit(node, depth) for top and every node below it in pre-order, depth counted from
    // top (0). Like forEachInOrder it keeps the depth on the way, so a deep branch costs no more
    // than a flat one.
    template <typename Visit> static void forEachInSubtree(const Node* top, Visit&& visit)
    {
        int depth = 0;
        const Node* node = top;
        while (node != nullptr) {
            visit(node, depth);
            if (node->hasChildren()) {
                node = node->firstChild();
                ++depth;
                continue;
            }
            while (node != top && node->nextSibling() == nullptr) {
                node = node->parent();
                --depth;
            }
            node = node == top ? nullptr : node->nextSibling();
        }
    }

    // A node is visible when every ancestor is expanded.
    static bool isVisible(const Node* node);
    // Stepping in the order the tree pane shows the nodes.
    static Node* nextVisible(const Node* node);
    static Node* prevVisible(const Node* node);

    // Structure. The low-level operations below neither set the modified flag nor check the
    // outline rules; commands do both.
    Node* addTopLevelNode(std::string title, int imageIndex);
    // Inserts a node under parent at row (clamped to the child count); user nodes get a fresh
    // TNodeData.
    Node* insertNode(Node* parent, int row, std::string title, int imageIndex);
    Node* appendNode(Node* parent, std::string title, int imageIndex);
    // Takes an already built node with its subtree.
    Node* insertSubtree(Node* parent, int row, std::unique_ptr<Node> node);
    // Creates a user node of the given kind with a fresh TNodeData and sets the modified flag.
    Node* createUserNode(Node* parent, int row, int kind, std::string title);
    // Deletes the node with its subtree, releases their data and empties any bookmark slot that
    // pointed into the subtree.
    void removeNode(Node* node);
    // Takes node with its subtree out of the tree and hands it to the caller (to insert it into
    // another document); its bookmarks are forgotten as for removeNode.
    std::unique_ptr<Node> takeSubtree(Node* node);
    // Moves node (with its subtree) to row of newParent, row counted after the node has left its
    // old place. Refused (false) for the root, a top-level node, a target inside the node's own
    // subtree and a target that would make the node top-level.
    bool moveNode(Node* node, Node* newParent, int row);

    void setTitle(Node* node, std::string title);
    // Sets the image index and the selected index together.
    void setKind(Node* node, int kind);
    void setImageIndexes(Node* node, int imageIndex, int selectedIndex);
    void setExpanded(Node* node, bool expanded);
    // Call after changing a node's TNodeData in place.
    void notifyDataChanged(Node* node);

    // For every user node: TrOpen := expanded state.
    void captureTreeState();
    // For every user node: expanded state := TrOpen.
    void applyTreeState();
    // Every node with children expanded, or every node collapsed.
    void setAllExpanded(bool expanded);

    // Document state.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isOldFormat() const { return m_oldFormat; }
    void setOldFormat(bool oldFormat) { m_oldFormat = oldFormat; }
    int savedCurrentIndex() const { return m_savedCurrentIndex; }
    void setSavedCurrentIndex(int index) { m_savedCurrentIndex = index; }
    int savedTopIndex() const { return m_savedTopIndex; }
    void setSavedTopIndex(int index) { m_savedTopIndex = index; }

    // Bookmark slots: either no table at all ("nil" in the file) or a table of ten slots, each
    // empty (null) or naming a node. The rules of the bookmark commands are BookmarkOperations'.
    bool hasBookmarkTable() const { return m_bookmarks.has_value(); }
    const std::optional<BookmarkSlots>& bookmarkTable() const { return m_bookmarks; }
    // Creates an empty table when there is none. Filling it directly tells no observer (the
    // reader does, inside a reset).
    BookmarkSlots& ensureBookmarkTable();
    // Discards the table; the nodes that were in it are reported as NodeChange::Bookmark.
    void clearBookmarkTable();
    // Creates the table when needed; slot must be 0-9; null empties the slot. The node that left
    // the slot and the one that entered it are reported as NodeChange::Bookmark.
    void setBookmark(int slot, Node* node);
    Node* bookmark(int slot) const;
    // The first slot that holds node, or -1 (also when there is no table, and for null).
    int bookmarkSlotOf(const Node* node) const;

    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    // Replaces the tree wholesale: observers hear documentAboutToBeReset on entry and
    // documentReset on exit and nothing in between. Used for clearing and reading files.
    class ResetScope {
    public:
        explicit ResetScope(Document& document);
        ~ResetScope();
        ResetScope(const ResetScope&) = delete;
        ResetScope& operator=(const ResetScope&) = delete;

    private:
        Document& m_document;
    };

private:
    template <typename F> void notify(F&& call);
    void invalidateIndex() { m_indexValid = false; }
    void rebuildIndex() const;
    bool appendToIndex(Node* node);
    void forgetBookmarksIn(const Node* node);

    std::unique_ptr<Node> m_root;
    std::vector<DocumentObserver*> m_observers;
    int m_resetDepth = 0;

    bool m_modified = false;
    bool m_readOnly = false;
    bool m_oldFormat = false;
    int m_savedCurrentIndex = 0;
    int m_savedTopIndex = 0;
    std::optional<BookmarkSlots> m_bookmarks;

    mutable std::vector<Node*> m_order;
    mutable bool m_indexValid = false;
};

} // namespace notarium
