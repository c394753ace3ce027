#include "app/DocumentTreeModel.h"

#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"

#include <QBrush>
#include <QFile>
#include <QString>

#include <string>

namespace notarium {

namespace {

// Indexed by the kind (image index).
const char* const kKindIconPaths[DocumentTreeModel::kKindImageCount] = {
    ":/icons/kind-paper-folder.svg",
    ":/icons/kind-category.svg",
    ":/icons/kind-memo.svg",
    ":/icons/kind-result.svg",
    ":/icons/kind-document.svg",
};

QString decodeTitle(const std::string& title)
{
    const std::u16string text = cp932::toUtf16(title);
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

} // namespace

DocumentTreeModel::DocumentTreeModel(Document& document, QObject* parent)
    : QAbstractItemModel(parent)
    , m_document(document)
{
    // Signals carry Node*; registered so that queued connections and signal spies can hold it.
    qRegisterMetaType<Node*>();
    m_document.addObserver(this);
}

DocumentTreeModel::~DocumentTreeModel()
{
    m_document.removeObserver(this);
}

Node* DocumentTreeModel::nodeFromIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex DocumentTreeModel::indexFromNode(const Node* node) const
{
    if (node == nullptr || node->isRoot())
        return QModelIndex();
    return createIndex(node->row(), 0, const_cast<Node*>(node));
}

QModelIndex DocumentTreeModel::parentIndex(const Node* parent) const
{
    return indexFromNode(parent);
}

void DocumentTreeModel::setImagesShown(bool shown)
{
    if (m_imagesShown == shown)
        return;
    // Every node's decoration changes at once; a layout change makes the view re-read all rows
    // (and their heights) without the cost of one dataChanged per parent or losing the selection
    // and expanded states as a reset would.
    emit layoutAboutToBeChanged();
    m_imagesShown = shown;
    emit layoutChanged();
}

bool DocumentTreeModel::isBeingRemoved(const Node* node) const
{
    if (m_removingParent == nullptr || node == nullptr)
        return false;
    for (const Node* n = node; n != nullptr && n->parent() != nullptr; n = n->parent())
        if (n->parent() == m_removingParent)
            return n->row() >= m_removingFirst && n->row() <= m_removingLast;
    return false;
}

bool DocumentTreeModel::isTitleEditable(const Node* node) const
{
    return node != nullptr && node->isUserNode() && !m_document.isReadOnly();
}

void DocumentTreeModel::setDimmedSubtree(const Node* node)
{
    clearDimmed();
    if (node == nullptr || node->isRoot())
        return;
    const Node* last = node->lastDescendant();
    for (const Node* n = node;; n = n->next()) {
        m_dimmed.insert(n);
        if (n == last)
            break;
    }
    emitForegroundChanged(node);
}

void DocumentTreeModel::clearDimmed()
{
    if (m_dimmed.isEmpty())
        return;
    // The subtree's top node is the one whose parent is not dimmed.
    const Node* top = nullptr;
    for (const Node* n : std::as_const(m_dimmed))
        if (!m_dimmed.contains(n->parent())) {
            top = n;
            break;
        }
    m_dimmed.clear();
    if (top != nullptr)
        emitForegroundChanged(top);
}

void DocumentTreeModel::emitForegroundChanged(const Node* node)
{
    const QModelIndex index = indexFromNode(node);
    emit dataChanged(index, index, { Qt::ForegroundRole });
    // One signal per row of children instead of one per node.
    const Node* last = node->lastDescendant();
    for (const Node* n = node;; n = n->next()) {
        if (n->hasChildren()) {
            emit dataChanged(createIndex(0, 0, n->firstChild()),
                createIndex(n->childCount() - 1, 0, n->lastChild()), { Qt::ForegroundRole });
        }
        if (n == last)
            break;
    }
}

QModelIndex DocumentTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const Node* parentNode = parent.isValid() ? nodeFromIndex(parent) : m_document.root();
    if (parentNode == nullptr || row >= parentNode->childCount())
        return QModelIndex();
    return createIndex(row, 0, parentNode->child(row));
}

QModelIndex DocumentTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeFromIndex(child);
    if (node == nullptr)
        return QModelIndex();
    return parentIndex(node->parent());
}

int DocumentTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_document.root()->childCount();
    if (parent.column() != 0)
        return 0;
    const Node* node = nodeFromIndex(parent);
    return node != nullptr ? node->childCount() : 0;
}

int DocumentTreeModel::columnCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent);
    return 1;
}

bool DocumentTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant DocumentTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeFromIndex(index);
    if (node == nullptr)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return decodeTitle(node->title());
    case Qt::DecorationRole: {
        if (!m_imagesShown)
            return QVariant();
        const QIcon& icon = kindIcon(node->imageIndex());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::ForegroundRole:
        return m_dimmed.contains(node) ? QVariant(QBrush(Qt::gray)) : QVariant();
    case StateImageRole: {
        const int slot = m_document.bookmarkSlotOf(node);
        return slot < 0 ? QVariant() : QVariant(slot);
    }
    default:
        return QVariant();
    }
}

const QIcon& DocumentTreeModel::kindIcon(int kind) const
{
    static const QIcon none;
    if (kind < 0 || kind >= kKindImageCount)
        return none;
    const auto i = static_cast<std::size_t>(kind);
    if (!m_iconLoaded[i]) {
        m_iconLoaded[i] = true;
        const QString path = QString::fromLatin1(kKindIconPaths[i]);
        // Asked first: an icon built from a missing file is not reliably null with every engine.
        if (QFile::exists(path))
            m_icons[i] = QIcon(path);
    }
    return m_icons[i];
}

bool DocumentTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    Node* node = nodeFromIndex(index);
    if (role != Qt::EditRole || !isTitleEditable(node))
        return false;
    const QString text = value.toString();
    bool replaced = false;
    std::string title = cp932::fromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())),
        &replaced);
    if (title != node->title()) {
        m_document.setTitle(node, std::move(title));
        m_document.setModified(true);
    }
    emit titleEdited(node, replaced);
    return true;
}

Qt::ItemFlags DocumentTreeModel::flags(const QModelIndex& index) const
{
    const Node* node = nodeFromIndex(index);
    if (node == nullptr)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isTitleEditable(node))
        result |= Qt::ItemIsEditable;
    return result;
}

// ---- Document events ---------------------------------------------------------------------------

void DocumentTreeModel::nodesAboutToBeInserted(Node* parent, int first, int last)
{
    beginInsertRows(parentIndex(parent), first, last);
}

void DocumentTreeModel::nodesInserted(Node* parent, int first, int last)
{
    Q_UNUSED(parent);
    Q_UNUSED(first);
    Q_UNUSED(last);
    endInsertRows();
}

void DocumentTreeModel::nodesAboutToBeRemoved(Node* parent, int first, int last)
{
    // A removed node's address may come back for a new node, which must not show dimmed.
    if (!m_dimmed.isEmpty()) {
        for (int row = first; row <= last; ++row) {
            const Node* gone = parent->child(row);
            const Node* end = gone->lastDescendant();
            for (const Node* n = gone;; n = n->next()) {
                m_dimmed.remove(n);
                if (n == end)
                    break;
            }
        }
    }
    m_removingParent = parent;
    m_removingFirst = first;
    m_removingLast = last;
    const QModelIndex parentIdx = parentIndex(parent);
    emit removalPending(parentIdx, first, last);
    beginRemoveRows(parentIdx, first, last);
}

void DocumentTreeModel::nodesRemoved(Node* parent, int first, int last)
{
    Q_UNUSED(parent);
    Q_UNUSED(first);
    Q_UNUSED(last);
    endRemoveRows();
    m_removingParent = nullptr;
    m_removingLast = -1;
}

void DocumentTreeModel::nodeAboutToBeMoved(Node* node, Node* toParent, int toRow)
{
    const int fromRow = node->row();
    // The document counts toRow after the node has left its place; Qt counts the destination
    // before, so a move down within the same parent lands one row further.
    const int destination = (toParent == node->parent() && toRow > fromRow) ? toRow + 1 : toRow;
    const bool accepted
        = beginMoveRows(parentIndex(node->parent()), fromRow, fromRow, parentIndex(toParent), destination);
    // The document refuses the moves Qt would refuse (no-op, into the own subtree) before telling.
    Q_ASSERT(accepted);
    Q_UNUSED(accepted);
}

void DocumentTreeModel::nodeMoved(Node* node, Node* fromParent, int fromRow)
{
    Q_UNUSED(node);
    Q_UNUSED(fromParent);
    Q_UNUSED(fromRow);
    endMoveRows();
}

void DocumentTreeModel::nodeChanged(Node* node, NodeChange change)
{
    const QModelIndex idx = indexFromNode(node);
    if (!idx.isValid())
        return;
    switch (change) {
    case NodeChange::Title:
        emit dataChanged(idx, idx, { Qt::DisplayRole, Qt::EditRole });
        break;
    case NodeChange::Kind:
        emit dataChanged(idx, idx, { Qt::DecorationRole });
        break;
    case NodeChange::Expanded:
        emit nodeExpansionChanged(idx, node->isExpanded());
        break;
    case NodeChange::Data:
        // Body text and view state are not shown in the tree.
        break;
    case NodeChange::Bookmark:
        emit dataChanged(idx, idx, { StateImageRole });
        break;
    }
}

void DocumentTreeModel::expansionReset()
{
    emit expansionStateReset();
}

void DocumentTreeModel::documentAboutToBeReset()
{
    m_dimmed.clear();
    beginResetModel();
}

void DocumentTreeModel::documentReset()
{
    endResetModel();
}

void DocumentTreeModel::modifiedChanged(bool modified)
{
    Q_UNUSED(modified);
}

} // namespace notarium
