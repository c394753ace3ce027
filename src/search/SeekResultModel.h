#pragma once

#include "core/document/DocumentObserver.h"
#include "core/search/SeekCollector.h"

#include <QAbstractTableModel>

#include <vector>

namespace notarium {

class Document;
class DocumentTreeModel;
class Node;

// The rows of the search-and-replace list: one collected hit each, with the node's title and kind
// image and the excerpt around the hit. The rows follow the node, not its position: a node moved
// in the tree keeps its rows, a node deleted leaves its rows without a node (they can no longer
// be shown or replaced).
class SeekResultModel : public QAbstractTableModel, private NullDocumentObserver {
    Q_OBJECT

public:
    enum Column { TitleColumn, TextColumn, ColumnCount };

    SeekResultModel(Document& document, const DocumentTreeModel* images, QObject* parent = nullptr);
    ~SeekResultModel() override;

    void setHits(std::vector<SeekHit> hits);
    void clear();
    const std::vector<SeekHit>& hits() const { return m_hits; }
    // The row's node, or null once it left the document.
    Node* node(int row) const;
    // The row's hit with the node's present absolute index; false when the node is gone.
    bool currentHit(int row, SeekHit& hit) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void nodesAboutToBeRemoved(Node* parent, int first, int last) override;
    void documentAboutToBeReset() override;

    Document& m_document;
    const DocumentTreeModel* m_images;
    std::vector<SeekHit> m_hits;
    std::vector<Node*> m_nodes;
};

} // namespace notarium
