#include "app/TreePane.h"

#include "app/DocumentTreeModel.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace notarium {

// Leaves out the expand buttons (NoButtons) and the connecting lines (RowSelect), and makes the
// selection cover the indentation in row-selection mode. A proxy style is the one place where
// QTreeView asks for exactly these pieces.
class TreePane::Style : public QProxyStyle {
public:
    explicit Style(const TreePane* pane)
        : m_pane(pane)
    {
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        if (element == PE_IndicatorBranch && widget == m_pane) {
            QStyleOption copy(*option);
            if (!m_pane->buttonsShown())
                copy.state &= ~State_Children;
            if (m_pane->rowSelect())
                copy.state &= ~(State_Item | State_Sibling);
            QProxyStyle::drawPrimitive(element, &copy, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ItemView_ShowDecorationSelected && widget == m_pane)
            return m_pane->rowSelect() ? 1 : 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    const TreePane* m_pane;
};

// Outside row-selection mode the highlight covers the image and the title only, not the rest of
// the (pane-wide) column. Hot tracking underlines the title under the mouse in the link colour;
// without it the style's own hover panel is left out, so nothing follows the mouse. A state image
// stands left of the item, outside its highlight (inside it in row-selection mode, where the whole
// row is highlighted); rows without one are laid out as before.
class TreePane::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TreePane* pane)
        : QStyledItemDelegate(pane)
        , m_pane(pane)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        if (m_pane->hotTrack() && (opt.state & QStyle::State_MouseOver)) {
            opt.font.setUnderline(true);
            for (const auto group : { QPalette::Active, QPalette::Inactive })
                opt.palette.setColor(group, QPalette::Text, opt.palette.color(group, QPalette::Link));
        }
        opt.state &= ~QStyle::State_MouseOver;
        if (const QIcon* state = stateImage(index)) {
            const QRect room(opt.rect.left(), opt.rect.top(), kStateImageWidth, opt.rect.height());
            if (m_pane->rowSelect() && (opt.state & QStyle::State_Selected)) {
                QStyleOptionViewItem panel(opt);
                panel.rect = room;
                m_pane->style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, m_pane);
            }
            const QSize size = m_pane->iconSize();
            state->paint(
                painter, QRect(QPoint(room.left(), room.top() + (room.height() - size.height()) / 2), size));
            opt.rect.setLeft(room.right() + 1);
        }
        if (!m_pane->rowSelect()) {
            const int width = QStyledItemDelegate::sizeHint(option, index).width();
            if (width < opt.rect.width())
                opt.rect.setWidth(width);
        }
        QStyledItemDelegate::paint(painter, opt, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (stateImage(index) != nullptr)
            size.rwidth() += kStateImageWidth;
        return size;
    }

    void updateEditorGeometry(
        QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        if (stateImage(index) != nullptr)
            opt.rect.setLeft(opt.rect.left() + kStateImageWidth);
        QStyledItemDelegate::updateEditorGeometry(editor, opt, index);
    }

private:
    const QIcon* stateImage(const QModelIndex& index) const
    {
        const QList<QIcon>& images = m_pane->stateImages();
        if (images.isEmpty())
            return nullptr;
        const QVariant state = index.data(DocumentTreeModel::StateImageRole);
        if (!state.isValid())
            return nullptr;
        const int i = state.toInt();
        return i >= 0 && i < images.size() ? &images[i] : nullptr;
    }

    const TreePane* m_pane;
};

TreePane::TreePane(QWidget* parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("TreePane"));
    qRegisterMetaType<Node*>();
    setHeaderHidden(true);
    setIndentation(kIndent);
    setRootIsDecorated(false);
    // One row height for all rows lets the view lay out a large document without asking every
    // row for its size.
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));
    // A long title runs on past the pane (which then scrolls sideways) instead of being cut to
    // "..."; the tool tip shows it whole.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_style = new Style(this);
    m_style->setParent(this);
    setStyle(m_style);
    m_delegate = new Delegate(this);
    setItemDelegate(m_delegate);

    // Drags are the pane's own (a node moves inside the tree); the view's automatic scrolling
    // would scroll on top of the pane's edge rule.
    setAcceptDrops(true);
    setAutoScroll(false);
    m_scrollTimer.setInterval(50);
    connect(&m_scrollTimer, &QTimer::timeout, this, &TreePane::autoScrollStep);
    m_slowClickRefusal.setSingleShot(true);
    connect(&m_slowClickRefusal, &QTimer::timeout, this, &TreePane::editRefused);

    connect(this, &QTreeView::expanded, this,
        [this](const QModelIndex& index) { writeBackExpansion(index, true); });
    connect(this, &QTreeView::collapsed, this,
        [this](const QModelIndex& index) { writeBackExpansion(index, false); });
}

TreePane::~TreePane() = default;

void TreePane::setModel(QAbstractItemModel* model)
{
    if (m_model != nullptr)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = qobject_cast<DocumentTreeModel*>(model);
    m_currentNode = nullptr;
    QTreeView::setModel(m_model);
    if (m_model == nullptr)
        return;
    m_model->setImagesShown(m_imagesShown);
    connect(m_model, &DocumentTreeModel::nodeExpansionChanged, this, &TreePane::applyNodeExpansion);
    connect(m_model, &DocumentTreeModel::expansionStateReset, this, &TreePane::applyDocumentExpansion);
    connect(m_model, &DocumentTreeModel::removalPending, this, &TreePane::moveCurrentOutOfRemoval);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &TreePane::forgetCurrentNode);
    // Connected after QTreeView's own reset handling, which drops every expanded index.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TreePane::applyExpansionAfterReset);
    applyDocumentExpansion();
}

// ---- Expanded flags ----------------------------------------------------------------------------

void TreePane::applyDocumentExpansion()
{
    if (m_model == nullptr)
        return;
    const QScopedValueRollback<bool> applying(m_applyingDocument, true);
    // With a layout pending, expand() and collapse() only record the flag; the view lays itself
    // out once afterwards instead of once per node.
    scheduleDelayedItemsLayout();
    for (Node* node = m_model->document().root()->firstChild(); node != nullptr; node = node->next()) {
        const QModelIndex index = m_model->indexFromNode(node);
        if (isExpanded(index) != node->isExpanded())
            setExpanded(index, node->isExpanded());
    }
}

void TreePane::applyExpansionAfterReset()
{
    // The reset left the view with every node collapsed: only the expanded ones need a word, and
    // asking the view about each of 100,000 others costs more than the whole rest of the reset.
    const QScopedValueRollback<bool> applying(m_applyingDocument, true);
    scheduleDelayedItemsLayout();
    // The document's index, in order, is at hand after a read; stepping through the tree would
    // look up each node's parent again.
    for (Node* node : m_model->document().nodesInOrder())
        if (node->isExpanded())
            setExpanded(m_model->indexFromNode(node), true);
}

void TreePane::applyNodeExpansion(const QModelIndex& index, bool expanded)
{
    if (isExpanded(index) == expanded)
        return;
    const QScopedValueRollback<bool> applying(m_applyingDocument, true);
    // Collapsing a subtree changes many hidden nodes one by one; finding a hidden row in the
    // laid-out rows costs a walk over all of them, recording the flag does not.
    scheduleDelayedItemsLayout();
    setExpanded(index, expanded);
}

void TreePane::writeBackExpansion(const QModelIndex& index, bool expanded)
{
    if (m_applyingDocument || m_model == nullptr)
        return;
    Node* node = m_model->nodeFromIndex(index);
    if (node == nullptr)
        return;
    m_model->document().setExpanded(node, expanded);
    // Closing a branch that holds the selection moves the selection onto the branch, so that the
    // selected node stays in sight (as the platform's tree controls do).
    if (!expanded && m_currentNode != nullptr && node->isAncestorOf(m_currentNode))
        setSelectedNode(node);
}

// ---- Selection ---------------------------------------------------------------------------------

Node* TreePane::selectedNode() const
{
    return m_model != nullptr ? m_model->nodeFromIndex(currentIndex()) : nullptr;
}

void TreePane::setSelectedNode(Node* node)
{
    if (m_model == nullptr || selectionModel() == nullptr)
        return;
    if (node == nullptr || node->isRoot()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        return;
    }
    for (Node* ancestor = node->parent(); ancestor != nullptr && !ancestor->isRoot();
         ancestor = ancestor->parent())
        m_model->document().setExpanded(ancestor, true);
    const QModelIndex index = m_model->indexFromNode(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void TreePane::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    Node* node = m_model != nullptr ? m_model->nodeFromIndex(current) : nullptr;
    if (node == m_currentNode)
        return;
    Node* old = m_currentNode;
    if (old != nullptr && m_model != nullptr && m_model->isBeingRemoved(old))
        old = nullptr;
    m_currentNode = node;
    emit selectedNodeChanged(old, node);
}

void TreePane::moveCurrentOutOfRemoval(const QModelIndex& parent, int first, int last)
{
    if (m_currentNode == nullptr || !m_model->isBeingRemoved(m_currentNode))
        return;
    // The item selection model would only step aside for a removed row itself, not for a node
    // deeper in a removed subtree, and would prefer the row above; the next sibling, the previous
    // one or the parent is what the delete command selects too.
    const Node* parentNode = parent.isValid() ? m_model->nodeFromIndex(parent) : m_model->document().root();
    Node* replacement = nullptr;
    if (last + 1 < parentNode->childCount())
        replacement = parentNode->child(last + 1);
    else if (first > 0)
        replacement = parentNode->child(first - 1);
    else if (!parentNode->isRoot())
        replacement = const_cast<Node*>(parentNode);
    const QModelIndex index = m_model->indexFromNode(replacement);
    selectionModel()->setCurrentIndex(index,
        index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                        : QItemSelectionModel::Clear);
}

void TreePane::forgetCurrentNode()
{
    // A reset clears the item selection model without a signal; the nodes are gone.
    m_currentNode = nullptr;
}

// ---- Top row -----------------------------------------------------------------------------------

Node* TreePane::nodeAt(const QPoint& viewportPos) const
{
    return m_model != nullptr ? m_model->nodeFromIndex(indexAt(viewportPos)) : nullptr;
}

Node* TreePane::topNode() const
{
    return nodeAt(QPoint(0, 0));
}

void TreePane::setTopNode(Node* node)
{
    if (m_model == nullptr || !Document::isVisible(node))
        return;
    scrollTo(m_model->indexFromNode(node), QAbstractItemView::PositionAtTop);
}

// ---- In-place editing --------------------------------------------------------------------------

bool TreePane::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const Node* node = m_model != nullptr ? m_model->nodeFromIndex(index) : nullptr;
    // An explicit request to edit a fixed title (F2, or edit() from the program) is refused aloud,
    // and so is a slow click on one; the other implicit triggers simply do not edit it.
    const bool asked
        = trigger == QAbstractItemView::EditKeyPressed || trigger == QAbstractItemView::AllEditTriggers;
    if (node != nullptr && asked && !m_model->isTitleEditable(node)) {
        // F2 is simply not a command in a read-only document.
        if (!(trigger == QAbstractItemView::EditKeyPressed && m_model->document().isReadOnly()))
            emit editRefused();
        return false;
    }
    if (node != nullptr && trigger == QAbstractItemView::SelectedClicked && !m_model->isTitleEditable(node)) {
        m_slowClickRefusal.start(QApplication::doubleClickInterval());
        return false;
    }
    return QTreeView::edit(index, trigger, event);
}

// ---- Mouse, keys and the pop-up menu -----------------------------------------------------------

void TreePane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // Selected first: the selection change clears the window's command state, the flag then
        // says that the pop-up menu about to open was asked for by the mouse.
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_rightPressed = true;
        event->accept();
        return;
    }
    m_rightPressed = false;
    m_leftPressed = event->button() == Qt::LeftButton;
    m_pressPos = event->position().toPoint();
    QTreeView::mousePressEvent(event);
}

void TreePane::mouseMoveEvent(QMouseEvent* event)
{
    if (m_leftPressed && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_leftPressed = false;
        const Node* node = nodeAt(m_pressPos);
        if (node != nullptr && node == selectedNode() && !m_model->document().isReadOnly()) {
            startNodeDrag();
            event->accept();
            return;
        }
    }
    QTreeView::mouseMoveEvent(event);
}

// ---- Dragging nodes ----------------------------------------------------------------------------

namespace {

QString dragMimeType()
{
    return QStringLiteral("application/x-notarium-tree-drag");
}

// Names one pane of one process.
QByteArray dragSource(const TreePane* pane)
{
    return QByteArray::number(QApplication::applicationPid()) + ':'
        + QByteArray::number(reinterpret_cast<quintptr>(pane));
}

} // namespace

QMimeData* TreePane::createDragData() const
{
    auto* data = new QMimeData;
    data->setData(dragMimeType(), dragSource(this));
    return data;
}

bool TreePane::acceptsDrag(const QMimeData* data) const
{
    if (data == nullptr || m_model == nullptr || !data->hasFormat(dragMimeType()))
        return false;
    const Node* node = selectedNode();
    return data->data(dragMimeType()) == dragSource(this) && node != nullptr && node->isUserNode();
}

TreePane::DropZone TreePane::dropZoneAt(const QPoint& viewportPos, Node** target) const
{
    if (target != nullptr)
        *target = nullptr;
    const QModelIndex index = indexAt(viewportPos);
    Node* node = m_model != nullptr ? m_model->nodeFromIndex(index) : nullptr;
    if (node == nullptr)
        return DropZone::None;
    if (target != nullptr)
        *target = node;
    // The item's rectangle starts after its indentation; the step just left of it holds the
    // expand button of a node that has one.
    const QRect item = visualRect(index);
    const int x = viewportPos.x();
    if (x >= item.left())
        return DropZone::Item;
    if (x >= item.left() - indentation() && node->hasChildren() && m_buttonsShown && !node->isTopLevel())
        return DropZone::Button;
    return DropZone::Indent;
}

void TreePane::startNodeDrag()
{
    m_dragging = true;
    QToolTip::hideText();
    auto* drag = new QDrag(this);
    drag->setMimeData(createDragData());
    // The button is released inside the drag; the view must not wait for that release.
    setState(DraggingState);
    drag->exec(Qt::MoveAction);
    setState(NoState);
    endDrag();
}

void TreePane::endDrag()
{
    m_dragging = false;
    m_scrollTimer.stop();
    m_scrollDirection = 0;
}

void TreePane::dragEnterEvent(QDragEnterEvent* event)
{
    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    m_dragging = true;
    QToolTip::hideText();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TreePane::dragMoveEvent(QDragMoveEvent* event)
{

    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    const int y = event->position().toPoint().y();
    m_scrollDirection = y <= 5 ? -1 : y >= viewport()->height() - 6 ? 1 : 0;
    if (m_scrollDirection == 0)
        m_scrollTimer.stop();
    else if (!m_scrollTimer.isActive())
        m_scrollTimer.start();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TreePane::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_scrollTimer.stop();
    event->accept();
}

void TreePane::autoScrollStep()
{
    verticalScrollBar()->triggerAction(
        m_scrollDirection < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
}

void TreePane::dropEvent(QDropEvent* event)
{
    const bool ours = acceptsDrag(event->mimeData());
    endDrag();
    if (!ours) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Node* node = selectedNode();
    Node* target = nullptr;
    using Place = TreeOperations::DropPlace;
    Place place = Place::FirstChild;
    switch (dropZoneAt(event->position().toPoint(), &target)) {
    case DropZone::None:
        return;
    case DropZone::Item:
        place = Place::FirstChild;
        break;
    case DropZone::Button:
        place = Place::LastChild;
        break;
    case DropZone::Indent:
        place = Place::PreviousSibling;
        break;
    }
    TreeOperations operations(m_model->document());
    if (operations.dropNode(node, target, place)) {
        setSelectedNode(node);
        emit nodeDropped(node);
    }
}

void TreePane::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        showPopupMenu(keyboardPopupPosition());
        event->accept();
        return;
    }
    // F2 with a modifier is left to the window's shortcuts.
    if (event->key() == Qt::Key_F2 && modifiers != Qt::NoModifier) {
        event->ignore();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TreePane::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu == nullptr) {
        event->ignore();
        return;
    }
    showPopupMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : keyboardPopupPosition());
    event->accept();
}

QPoint TreePane::keyboardPopupPosition() const
{
    // Under the selected title, one indent step in from where it starts.
    const QRect rect = visualRect(currentIndex());
    if (!rect.isValid())
        return viewport()->mapToGlobal(QPoint(indentation(), 0));
    return viewport()->mapToGlobal(QPoint(rect.left() + indentation(), rect.bottom()));
}

void TreePane::showPopupMenu(const QPoint& globalPos)
{
    if (m_popupMenu == nullptr)
        return;
    m_rightPressed = false;
    emit popupMenuAboutToShow(selectedNode());
    m_popupMenu->popup(globalPos);
}

// ---- Display settings and title tips -----------------------------------------------------------

void TreePane::setStateImages(const QList<QIcon>& images)
{
    m_stateImages = images;
    viewport()->update();
}

void TreePane::setImagesShown(bool shown)
{
    m_imagesShown = shown;
    if (m_model != nullptr)
        m_model->setImagesShown(shown);
}

void TreePane::setHotTrack(bool on)
{
    m_hotTrack = on;
    setMouseTracking(on);
    viewport()->setAttribute(Qt::WA_Hover, on);
    viewport()->update();
}

void TreePane::setRowSelect(bool on)
{
    m_rowSelect = on;
    setAllColumnsShowFocus(on);
    viewport()->update();
}

void TreePane::setButtonsShown(bool shown)
{
    m_buttonsShown = shown;
    viewport()->update();
}

void TreePane::setTitleTips(bool on)
{
    m_titleTips = on;
    if (!on)
        QToolTip::hideText();
}

bool TreePane::isTitleCutOff(const QModelIndex& index) const
{
    const QRect rect = visualRect(index);
    if (!rect.isValid())
        return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = rect;
    const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
    return rect.left() < 0 || rect.left() + width > viewport()->width();
}

void TreePane::updateColumnWidth()
{
    // The column is at least as wide as the pane, so that a selected row in row-selection mode
    // reaches the right edge; wider titles make it grow and the pane scroll sideways.
    header()->setMinimumSectionSize(viewport()->width());
}

bool TreePane::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The second click of a double click: no slow click after all.
        m_slowClickRefusal.stop();
        break;
    case QEvent::Resize: {
        const bool result = QTreeView::viewportEvent(event);
        updateColumnWidth();
        return result;
    }
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (m_titleTips && !m_dragging && index.isValid() && isTitleCutOff(index)) {
            QToolTip::showText(
                help->globalPos(), index.data(Qt::DisplayRole).toString(), viewport(), visualRect(index));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    default:
        break;
    }
    return QTreeView::viewportEvent(event);
}

} // namespace notarium
