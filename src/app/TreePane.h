#pragma once

#include <QIcon>
#include <QList>
#include <QTimer>
#include <QTreeView>

class QMenu;
class QMimeData;

namespace notarium {

class DocumentTreeModel;
class Node;

// The tree pane: a tree view over DocumentTreeModel that keeps the document's expanded flags and
// the view in step both ways, works with Node* for the selection and the top row, selects on a
// right click, refuses in-place editing where titles are fixed, and shows the whole title as a
// tool tip where the pane cuts it off.
//
// Top-level nodes have no expand button (no root decoration); they open and close by double
// click, by the keys + - * Left Right, and by the program (the document's expanded flags).
class TreePane : public QTreeView {
    Q_OBJECT

public:
    static constexpr int kIndent = 19;
    // Room of a state image left of the kind image, in rows that have one.
    static constexpr int kStateImageWidth = 18;

    explicit TreePane(QWidget* parent = nullptr);
    ~TreePane() override;

    // Takes a DocumentTreeModel (or null); the model is not owned. Applies the document's expanded
    // flags at once.
    void setModel(QAbstractItemModel* model) override;
    DocumentTreeModel* documentModel() const { return m_model; }

    // The selected node; null when nothing is selected.
    Node* selectedNode() const;
    // Selects node (null clears the selection), expanding its ancestors in the document so that
    // it can be seen, and scrolls it into view.
    void setSelectedNode(Node* node);

    // The topmost node shown in the pane, and making a node the topmost one (as far as the pane
    // can scroll). setTopNode leaves the expanded flags alone: a hidden node is not scrolled to.
    Node* topNode() const;
    void setTopNode(Node* node);

    // The node at a point of the viewport; null below the last row.
    Node* nodeAt(const QPoint& viewportPos) const;

    // Set by a right press in the pane (after it selected the node under the mouse), cleared by a
    // left press and by clearRightPress(), which the window calls when the pop-up menu opens.
    bool isRightPressed() const { return m_rightPressed; }
    void clearRightPress() { m_rightPressed = false; }

    // The pop-up menu (not owned) shown on a right click, Shift+F10 and the menu key.
    void setPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    QMenu* popupMenu() const { return m_popupMenu; }

    // The state images, by the model's StateImageRole: a row whose node has state image i shows
    // images[i] left of its kind image; a row without one looks as if there were no list.
    void setStateImages(const QList<QIcon>& images);
    const QList<QIcon>& stateImages() const { return m_stateImages; }

    // Display settings.
    bool imagesShown() const { return m_imagesShown; }
    void setImagesShown(bool shown); // false: NoTreeIcons
    bool hotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on);
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);
    bool buttonsShown() const { return m_buttonsShown; }
    void setButtonsShown(bool shown); // false: NoButtons
    bool titleTips() const { return m_titleTips; }
    void setTitleTips(bool on); // false: NoChipHint

    // In-place editing: edit(index) asks for it (and may be refused, see editRefused).
    using QTreeView::edit;
    bool isEditingTitle() const { return state() == QAbstractItemView::EditingState; }

    // True when the node's title does not fit into the pane as it is scrolled now.
    bool isTitleCutOff(const QModelIndex& index) const;

    // Dragging nodes. Where a point of the viewport lies for a drop: on a node's image, title or
    // right of it (the dragged node becomes its first child), on its expand button (last child),
    // on the indentation left of it (previous sibling), or on nothing.
    enum class DropZone { None, Item, Button, Indent };
    DropZone dropZoneAt(const QPoint& viewportPos, Node** target = nullptr) const;
    // The data a drag that starts in this pane carries: it names this pane of this process, so a
    // drop from anywhere else is refused.
    QMimeData* createDragData() const;
    bool isDragging() const { return m_dragging; }
    bool isAutoScrolling() const { return m_scrollTimer.isActive(); }

signals:
    // After every change of the selected node, by mouse, keyboard or program. previous is null
    // when nothing was selected before, after the document was replaced, and when the previous
    // node is being deleted (its text must not be stored any more).
    void selectedNodeChanged(notarium::Node* previous, notarium::Node* current);
    // In-place editing was asked for a node whose title is fixed (a top-level node, or any node of
    // a read-only document); the window beeps.
    void editRefused();
    // Just before the pop-up menu opens, with the node it acts on (the selected node).
    void popupMenuAboutToShow(notarium::Node* node);
    // A dragged node was dropped and moved (the document's modified flag is set).
    void nodeDropped(notarium::Node* node);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void applyDocumentExpansion();
    void applyExpansionAfterReset();
    void applyNodeExpansion(const QModelIndex& index, bool expanded);
    void writeBackExpansion(const QModelIndex& index, bool expanded);
    void moveCurrentOutOfRemoval(const QModelIndex& parent, int first, int last);
    void forgetCurrentNode();
    void showPopupMenu(const QPoint& globalPos);
    void updateColumnWidth();
    bool acceptsDrag(const QMimeData* data) const;
    void startNodeDrag();
    void endDrag();
    void autoScrollStep();
    QPoint keyboardPopupPosition() const;

    DocumentTreeModel* m_model = nullptr;
    QMenu* m_popupMenu = nullptr;
    QList<QIcon> m_stateImages;
    // The node the last selectedNodeChanged reported; QItemSelectionModel does not report
    // everything (a reset clears it silently), so the pane keeps its own record.
    Node* m_currentNode = nullptr;
    // While the pane copies the document's flags into the view, the view's expanded/collapsed
    // signals are not user actions.
    bool m_applyingDocument = false;
    bool m_rightPressed = false;
    bool m_imagesShown = true;
    bool m_hotTrack = false;
    bool m_rowSelect = false;
    bool m_buttonsShown = true;
    bool m_titleTips = true;
    // Dragging: where the left button went down, whether a drag of ours is under way, and the
    // timer that scrolls while the mouse is held near the top or bottom edge.
    QPoint m_pressPos;
    bool m_leftPressed = false;
    bool m_dragging = false;
    int m_scrollDirection = 0;
    QTimer m_scrollTimer;
    // A slow click on a fixed title is refused once it is sure not to be the first half of a
    // double click (which opens and closes a top-level node).
    QTimer m_slowClickRefusal;
    class Style;
    class Delegate;
    Style* m_style = nullptr;
    Delegate* m_delegate = nullptr;
};

} // namespace notarium
