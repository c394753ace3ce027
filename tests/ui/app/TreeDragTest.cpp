// Dragging nodes inside the tree pane: the three drop zones, the refusals and the edge scrolling.
#include "app/DocumentTreeModel.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "support/SampleOutline.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace notarium;

namespace {

struct Fixture : SampleOutline {
    std::unique_ptr<DocumentTreeModel> model;
    std::unique_ptr<TreePane> pane;

    explicit Fixture(QSize size = QSize(200, 300))
    {
        document.setExpanded(document.paperFolderNode(), true);
        document.setExpanded(a, true);
        document.setModified(false);
        model = std::make_unique<DocumentTreeModel>(document);
        pane = std::make_unique<TreePane>();
        pane->setModel(model.get());
        pane->resize(size);
        pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
    }

    QRect rect(const Node* node) const { return pane->visualRect(model->indexFromNode(node)); }

    // Points of the three zones of a node's row.
    QPoint onTitle(const Node* node) const { return rect(node).center(); }
    QPoint rightOfTitle(const Node* node) const
    {
        return QPoint(pane->viewport()->width() - 3, rect(node).center().y());
    }
    QPoint onButton(const Node* node) const
    {
        return QPoint(rect(node).left() - TreePane::kIndent / 2, rect(node).center().y());
    }
    QPoint onIndent(const Node* node) const
    {
        return QPoint(rect(node).left() - TreePane::kIndent - 3, rect(node).center().y());
    }

    // A drag of the selected node, moved to pos and dropped there with the pane's own data (or
    // other data, for a drag from elsewhere).
    bool dragTo(const QPoint& pos, const QMimeData* data = nullptr)
    {
        std::unique_ptr<QMimeData> own(data ? nullptr : pane->createDragData());
        const QMimeData* carried = data ? data : own.get();
        QDragEnterEvent enter(pos, Qt::MoveAction, carried, Qt::LeftButton, {});
        QApplication::sendEvent(pane->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::MoveAction, carried, Qt::LeftButton, {});
        QApplication::sendEvent(pane->viewport(), &move);
        const bool accepted = move.isAccepted();
        QDropEvent drop(QPointF(pos), Qt::MoveAction, carried, Qt::LeftButton, {});
        QApplication::sendEvent(pane->viewport(), &drop);
        return accepted;
    }

    std::string children(const Node* node) const
    {
        std::string out;
        for (const Node* child = node->firstChild(); child != nullptr; child = child->nextSibling())
            out += (out.empty() ? "" : " ") + child->title();
        return out;
    }
};

} // namespace

class TreeDragTest : public QObject {
    Q_OBJECT

private slots:
    void zonesOfARow();
    void dropsPlaceTheNode();
    void refusedDrops();
    void edgeScrolling();
    void dragWithTheRealMouse();
};

void TreeDragTest::zonesOfARow()
{
    Fixture f;
    using Zone = TreePane::DropZone;
    Node* target = nullptr;
    QCOMPARE(f.pane->dropZoneAt(f.onTitle(f.a2), &target), Zone::Item);
    QCOMPARE(target, f.a2);
    QCOMPARE(f.pane->dropZoneAt(f.rightOfTitle(f.a2)), Zone::Item);
    QCOMPARE(f.pane->dropZoneAt(f.onButton(f.a2)), Zone::Button);
    QCOMPARE(f.pane->dropZoneAt(f.onIndent(f.a2)), Zone::Indent);
    // A node without children has no button: that step is indentation too.
    QCOMPARE(f.pane->dropZoneAt(f.onButton(f.a1)), Zone::Indent);
    // Below the last row there is nothing to drop on.
    QCOMPARE(f.pane->dropZoneAt(QPoint(20, f.pane->viewport()->height() - 2), &target), Zone::None);
    QCOMPARE(target, nullptr);
}

void TreeDragTest::dropsPlaceTheNode()
{
    Fixture f;
    QSignalSpy dropped(f.pane.get(), &TreePane::nodeDropped);
    // B onto A2's title: A2's first child, with the document marked changed and B still selected.
    f.pane->setSelectedNode(f.b);
    QVERIFY(f.dragTo(f.onTitle(f.a2)));
    QCOMPARE(f.children(f.a2), std::string("B A2a"));
    QVERIFY(f.document.isModified());
    QCOMPARE(f.pane->selectedNode(), f.b);
    QCOMPARE(dropped.count(), 1);
    QVERIFY(!f.pane->isDragging());

    // C onto A2's expand button: its last child.
    f.pane->setSelectedNode(f.c);
    QVERIFY(f.dragTo(f.onButton(f.a2)));
    QCOMPARE(f.children(f.a2), std::string("B A2a C"));

    // A2 with its subtree onto A1's indentation: A1's previous sibling.
    f.pane->setSelectedNode(f.a2);
    QVERIFY(f.dragTo(f.onIndent(f.a1)));
    QCOMPARE(f.children(f.a), std::string("A2 A1 A3"));
    QCOMPARE(f.children(f.a2), std::string("B A2a C"));

    // Onto the paper folder's title: its first child.
    f.pane->setSelectedNode(f.a3);
    QVERIFY(f.dragTo(f.onTitle(f.document.paperFolderNode())));
    QCOMPARE(f.children(f.document.paperFolderNode()), std::string("A3 P1"));
    QCOMPARE(dropped.count(), 4);
}

void TreeDragTest::refusedDrops()
{
    Fixture f;
    QSignalSpy dropped(f.pane.get(), &TreePane::nodeDropped);
    const auto shape = [&f] { return f.children(f.document.documentNode()) + "|" + f.children(f.a); };
    const std::string before = shape();

    // Onto itself or its own subtree.
    f.pane->setSelectedNode(f.a);
    QVERIFY(f.dragTo(f.onTitle(f.a)));
    QVERIFY(f.dragTo(f.onTitle(f.a2)));
    // Beside a top-level node: it would become a third one.
    f.pane->setSelectedNode(f.b);
    QVERIFY(f.dragTo(f.onIndent(f.document.paperFolderNode())));
    QVERIFY(f.dragTo(f.onTitle(f.document.paperFolderNode()) + QPoint(0, 400)));
    // A top-level node is not dragged.
    f.pane->setSelectedNode(f.document.documentNode());
    QVERIFY(!f.dragTo(f.onTitle(f.b)));
    // Data from anywhere but this pane is not taken.
    f.pane->setSelectedNode(f.b);
    QMimeData foreign;
    foreign.setData(QStringLiteral("application/x-notarium-tree-drag"), "1:2");
    QVERIFY(!f.dragTo(f.onTitle(f.a1), &foreign));
    Fixture other;
    std::unique_ptr<QMimeData> otherPane(other.pane->createDragData());
    QVERIFY(!f.dragTo(f.onTitle(f.a1), otherPane.get()));

    QCOMPARE(shape(), before);
    QVERIFY(!f.document.isModified());
    QCOMPARE(dropped.count(), 0);

    // A read-only document refuses the move.
    f.document.setReadOnly(true);
    f.pane->setSelectedNode(f.b);
    f.dragTo(f.onTitle(f.a1));
    QCOMPARE(shape(), before);
}

void TreeDragTest::edgeScrolling()
{
    Fixture f(QSize(200, 120));
    for (int i = 0; i < 60; ++i)
        f.document.appendNode(f.c, "row " + std::to_string(i), KindMemo);
    f.document.setExpanded(f.c, true);
    f.pane->setSelectedNode(f.b);
    QScrollBar* bar = f.pane->verticalScrollBar();
    QVERIFY(bar->maximum() > 20);
    bar->setValue(bar->maximum() / 2);
    const int middle = bar->value();
    std::unique_ptr<QMimeData> data(f.pane->createDragData());
    const auto hover = [&](int y) {
        QDragMoveEvent move(QPoint(40, y), Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(f.pane->viewport(), &move);
    };
    const int height = f.pane->viewport()->height();
    QDragEnterEvent enter(QPoint(40, height / 2), Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(f.pane->viewport(), &enter);

    // Held near the top edge, the pane scrolls up a line every 50 ms.
    hover(5);
    QVERIFY(f.pane->isAutoScrolling());
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() <= middle - 2, 1000);
    // Away from the edges it stops.
    hover(height / 2);
    QVERIFY(!f.pane->isAutoScrolling());
    const int stopped = bar->value();
    QTest::qWait(150);
    QCOMPARE(bar->value(), stopped);
    // Near the bottom edge (6 pixels from it) it scrolls down.
    hover(height - 6);
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= stopped + 2, 1000);
    // Just inside the edge zones nothing scrolls.
    hover(6);
    QVERIFY(!f.pane->isAutoScrolling());
    hover(height - 7);
    QVERIFY(!f.pane->isAutoScrolling());
    // The drop ends the scrolling.
    hover(5);
    QVERIFY(f.pane->isAutoScrolling());
    QDropEvent drop(QPointF(40, 5), Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(f.pane->viewport(), &drop);
    QVERIFY(!f.pane->isAutoScrolling());
}

// The whole way a person drags, through the window system's own drag: press on a title, move,
// release on another title; then an ordinary click must select again at once.
void TreeDragTest::dragWithTheRealMouse()
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        QSKIP("needs a display server and its pointer");
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        QSKIP("needs xdotool to move the pointer");
    Fixture f;
    f.pane->move(0, 0);
    f.pane->activateWindow();
    QTest::qWait(200);
    const auto global = [&f](QPoint viewportPos) { return f.pane->viewport()->mapToGlobal(viewportPos); };
    const QPoint from = global(f.onTitle(f.b));
    const QPoint to = global(f.onTitle(f.a2));
    QStringList steps { QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
        QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.2") };
    for (int i = 1; i <= 8; ++i) {
        const QPoint p = from + (to - from) * i / 8;
        steps << QStringLiteral("mousemove") << QString::number(p.x()) << QString::number(p.y())
              << QStringLiteral("sleep") << QStringLiteral("0.05");
    }
    steps << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");
    QProcess drag;
    drag.start(xdotool, steps);
    QVERIFY(drag.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(f.children(f.a2), std::string("B A2a"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(drag.state() == QProcess::NotRunning, 5000);
    QVERIFY(!f.pane->isDragging());
    QVERIFY(f.document.isModified());

    // The view is not left waiting for the release the drag took: one click selects.
    const QPoint c = global(f.onTitle(f.c));
    QProcess click;
    click.start(xdotool, { QStringLiteral("mousemove"), QString::number(c.x()), QString::number(c.y()),
                             QStringLiteral("click"), QStringLiteral("1") });
    QVERIFY(click.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(f.pane->selectedNode(), f.c, 5000);
    QVERIFY(click.waitForFinished());
}

QTEST_MAIN(TreeDragTest)
#include "TreeDragTest.moc"
