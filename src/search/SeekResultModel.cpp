#include "search/SeekResultModel.h"

#include "app/DocumentTreeModel.h"
#include "core/document/Document.h"
#include "editor/Cp932Chars.h"

#include <unordered_set>

namespace notarium {

namespace {

// A list row is one line: the excerpt's line breaks and tabs show as blanks.
QString oneLine(const std::string& bytes)
{
    QString text = Cp932Chars::decode(bytes);
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t') || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return text;
}

} // namespace

SeekResultModel::SeekResultModel(Document& document, const DocumentTreeModel* images, QObject* parent)
    : QAbstractTableModel(parent)
    , m_document(document)
    , m_images(images)
{
    m_document.addObserver(this);
}

SeekResultModel::~SeekResultModel()
{
    m_document.removeObserver(this);
}

void SeekResultModel::setHits(std::vector<SeekHit> hits)
{
    beginResetModel();
    m_hits = std::move(hits);
    m_nodes.clear();
    m_nodes.reserve(m_hits.size());
    const std::vector<Node*>& nodes = m_document.nodesInOrder();
    for (const SeekHit& hit : m_hits)
        m_nodes.push_back(hit.nodeIndex >= 0 && static_cast<std::size_t>(hit.nodeIndex) < nodes.size()
                ? nodes[static_cast<std::size_t>(hit.nodeIndex)]
                : nullptr);
    endResetModel();
}

void SeekResultModel::clear()
{
    setHits({});
}

Node* SeekResultModel::node(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < m_nodes.size() ? m_nodes[static_cast<std::size_t>(row)] : nullptr;
}

bool SeekResultModel::currentHit(int row, SeekHit& hit) const
{
    const Node* at = node(row);
    if (at == nullptr)
        return false;
    hit = m_hits[static_cast<std::size_t>(row)];
    hit.nodeIndex = m_document.absoluteIndex(at);
    return hit.nodeIndex >= 0;
}

int SeekResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

int SeekResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SeekResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SeekHit& hit = m_hits[static_cast<std::size_t>(index.row())];
    const Node* at = node(index.row());
    if (index.column() == TitleColumn) {
        if (role == Qt::DisplayRole)
            return at ? oneLine(at->title()) : QString();
        if (role == Qt::DecorationRole && at != nullptr && m_images != nullptr)
            return m_images->kindIcon(at->imageIndex());
    } else if (index.column() == TextColumn && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
        return oneLine(hit.excerpt);
    }
    return {};
}

QVariant SeekResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == TitleColumn ? QStringLiteral("タイトル") : QStringLiteral("テキスト");
}

void SeekResultModel::nodesAboutToBeRemoved(Node* parent, int first, int last)
{
    std::unordered_set<const Node*> leaving;
    for (int row = first; row <= last; ++row)
        Document::forEachInSubtree(parent->child(row), [&leaving](const Node* node, int) { leaving.insert(node); });
    for (std::size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i] != nullptr && leaving.contains(m_nodes[i]))
            m_nodes[i] = nullptr;
    if (!m_nodes.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void SeekResultModel::documentAboutToBeReset()
{
    clear();
}

} // namespace notarium
