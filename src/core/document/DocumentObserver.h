#pragma once

namespace notarium {

class Node;

enum class NodeChange {
    Title,
    Kind, // image index and selected index
    Expanded,
    Data, // body text or view state in TNodeData
    Bookmark, // the node entered or left a bookmark slot
};

// How a view adapter learns of every change of the document. "About to" calls come before the
// change with the tree still in its old shape, the others after it; rows are child positions.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;

    virtual void nodesAboutToBeInserted(Node* parent, int first, int last) = 0;
    virtual void nodesInserted(Node* parent, int first, int last) = 0;
    virtual void nodesAboutToBeRemoved(Node* parent, int first, int last) = 0;
    virtual void nodesRemoved(Node* parent, int first, int last) = 0;
    // toRow is the node's row under toParent once the move is done.
    virtual void nodeAboutToBeMoved(Node* node, Node* toParent, int toRow) = 0;
    virtual void nodeMoved(Node* node, Node* fromParent, int fromRow) = 0;
    virtual void nodeChanged(Node* node, NodeChange change) = 0;
    // Many expanded flags changed at once (tree state applied, expand or collapse all).
    virtual void expansionReset() = 0;
    // The whole tree is replaced (cleared, read from a file).
    virtual void documentAboutToBeReset() = 0;
    virtual void documentReset() = 0;
    virtual void modifiedChanged(bool modified) = 0;
};

// Convenience base for observers that care about a few events only.
class NullDocumentObserver : public DocumentObserver {
public:
    void nodesAboutToBeInserted(Node*, int, int) override { }
    void nodesInserted(Node*, int, int) override { }
    void nodesAboutToBeRemoved(Node*, int, int) override { }
    void nodesRemoved(Node*, int, int) override { }
    void nodeAboutToBeMoved(Node*, Node*, int) override { }
    void nodeMoved(Node*, Node*, int) override { }
    void nodeChanged(Node*, NodeChange) override { }
    void expansionReset() override { }
    void documentAboutToBeReset() override { }
    void documentReset() override { }
    void modifiedChanged(bool) override { }
};

} // namespace notarium
