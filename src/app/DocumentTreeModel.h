#pragma once

#include "core/document/DocumentObserver.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QSet>

#include <array>

namespace notarium {

class Document;
class Node;

// The document's tree as a one-column item model for the tree pane. The document stays the only
// owner of nodes, titles, kinds and expanded flags: the model reads them on demand, writes title
// edits back through the document, and turns every observer event into the matching begin/end
// calls. Each index carries its Node* as internal pointer, so index() and parent() cost O(1)
// whatever the size of the document.
class DocumentTreeModel : public QAbstractItemModel, private DocumentObserver {
    Q_OBJECT

public:
    static constexpr int kKindImageCount = 5;

    enum Role {
        // The node's state image as an int (its bookmark slot, whose digit the tree pane shows
        // left of the kind image); none for a node without one.
        StateImageRole = Qt::UserRole + 1,
    };

    // The model observes the document until it is destroyed; the document must outlive it.
    explicit DocumentTreeModel(Document& document, QObject* parent = nullptr);
    ~DocumentTreeModel() override;

    Document& document() const { return m_document; }

    // Null for an invalid index (the hidden root).
    Node* nodeFromIndex(const QModelIndex& index) const;
    // Invalid for null and for the hidden root.
    QModelIndex indexFromNode(const Node* node) const;

    // The image of a kind of node (the image index), as the tree shows it.
    const QIcon& kindIcon(int kind) const;
    // False: no node shows its kind image (the NoTreeIcons setting).
    bool imagesShown() const { return m_imagesShown; }
    void setImagesShown(bool shown);

    // True while the document removes the node or one of its ancestors: between the document's
    // "about to remove" and "removed" events. A view that hears of a selection change in that
    // window must not write into such a node any more.
    bool isBeingRemoved(const Node* node) const;

    // True for the nodes whose title may be edited in place: user nodes of a writable document.
    bool isTitleEditable(const Node* node) const;

    // The dimmed style of nodes about to go (the delete command shows the subtree it would delete
    // this way while it asks): node and every node below it are drawn in grey until clearDimmed().
    void setDimmedSubtree(const Node* node);
    void clearDimmed();

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A node's expanded flag changed in the document; the view follows.
    void nodeExpansionChanged(const QModelIndex& index, bool expanded);
    // Many expanded flags changed at once; the view re-reads every node's flag.
    void expansionStateReset();
    // Emitted before the rows leave the model (before rowsAboutToBeRemoved), while every node is
    // still in place, so a view can move its current node out of the way first.
    void removalPending(const QModelIndex& parent, int first, int last);
    // A title was edited in place and stored; replaced: a character CP932 cannot hold became 〓.
    void titleEdited(notarium::Node* node, bool replaced);

private:
    void nodesAboutToBeInserted(Node* parent, int first, int last) override;
    void nodesInserted(Node* parent, int first, int last) override;
    void nodesAboutToBeRemoved(Node* parent, int first, int last) override;
    void nodesRemoved(Node* parent, int first, int last) override;
    void nodeAboutToBeMoved(Node* node, Node* toParent, int toRow) override;
    void nodeMoved(Node* node, Node* fromParent, int fromRow) override;
    void nodeChanged(Node* node, NodeChange change) override;
    void expansionReset() override;
    void documentAboutToBeReset() override;
    void documentReset() override;
    void modifiedChanged(bool modified) override;

    QModelIndex parentIndex(const Node* parent) const;
    // Tells the view that the foreground of node and its subtree changed.
    void emitForegroundChanged(const Node* node);

    Document& m_document;
    bool m_imagesShown = true;
    // The range being removed, between the document's two removal events.
    const Node* m_removingParent = nullptr;
    int m_removingFirst = 0;
    int m_removingLast = -1;
    QSet<const Node*> m_dimmed;
    // Loaded on first use; a missing image file leaves a null icon.
    mutable std::array<QIcon, kKindImageCount> m_icons;
    mutable std::array<bool, kKindImageCount> m_iconLoaded {};
};

} // namespace notarium
