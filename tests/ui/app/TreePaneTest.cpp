#include "app/TreePane.h"
#include "app/DocumentTreeModel.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "support/SampleOutline.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <memory>
#include <string>
#include <vector>

using namespace notarium;

namespace {

const std::vector<std::string> kDefaultTitles { "cat", "memo", "result" };

// The sample outline with the paper folder open, then a pane over it.
struct Fixture : SampleOutline {
    std::unique_ptr<DocumentTreeModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<TreePane> pane;

    Fixture() { document.setExpanded(document.paperFolderNode(), true); }

    void show()
    {
        model = std::make_unique<DocumentTreeModel>(document);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        pane = std::make_unique<TreePane>();
        pane->setModel(model.get());
        pane->resize(145, 300);
        pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
    }

    QModelIndex index(const Node* node) const { return model->indexFromNode(node); }

    QPoint centre(const Node* node) const { return pane->visualRect(index(node)).center(); }

    // Every node's expanded state in the view equals the document's flag.
    void verifyMirror() const
    {
        for (const Node* n = document.root()->firstChild(); n != nullptr; n = n->next()) {
            if (pane->isExpanded(index(n)) != n->isExpanded())
                QFAIL(qPrintable(
                    QStringLiteral("expanded state differs at %1").arg(QString::fromStdString(n->title()))));
        }
    }
};

// The order a real double click arrives in: press, release, press, double click, release.
// (QTest::mouseDClick leaves out the second press, which the view needs.)
void doubleClick(QWidget* widget, const QPoint& pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QMouseEvent event(
        QEvent::MouseButtonDblClick, pos, widget->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &event);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

} // namespace

class TreePaneTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void basicLook();
    void mirrorsDocumentExpansion();
    void mirrorsExpansionThroughOperations_data();
    void mirrorsExpansionThroughOperations();
    void writesBackUserExpansion();
    void closingTheSelectedBranchSelectsIt();
    void selectionByNode();
    void deletingTheSelectionReportsNoPrevious_data();
    void deletingTheSelectionReportsNoPrevious();
    void resetForgetsTheSelection();
    void rightClickSelects();
    void popupMenu();
    void inPlaceEditingRefused_data();
    void inPlaceEditingRefused();
    void inPlaceEditingStoresCp932();
    void slowClickOnAFixedTitleIsRefused_data();
    void slowClickOnAFixedTitleIsRefused();
    void topNode();
    void titleTips();
    void displaySettings();
    void largeDocument();
};

void TreePaneTest::init()
{
    QToolTip::hideText();
}

void TreePaneTest::basicLook()
{
    Fixture f;
    f.show();
    QCOMPARE(f.pane->objectName(), QStringLiteral("TreePane"));
    QCOMPARE(f.pane->indentation(), 19);
    QVERIFY(!f.pane->rootIsDecorated());
    QVERIFY(f.pane->isHeaderHidden());
    QCOMPARE(f.pane->selectionMode(), QAbstractItemView::SingleSelection);
    // The column reaches at least the right edge of the pane (row selection covers the row).
    QVERIFY(f.pane->header()->sectionSize(0) >= f.pane->viewport()->width());
}

void TreePaneTest::mirrorsDocumentExpansion()
{
    Fixture f;
    f.document.setExpanded(f.a, true);
    f.document.setExpanded(f.a2, true);
    f.show();
    f.verifyMirror();
    QVERIFY(f.pane->visualRect(f.index(f.a2a)).isValid());

    f.document.setExpanded(f.a, false);
    f.verifyMirror();
    QVERIFY(!f.pane->visualRect(f.index(f.a2a)).isValid());
    // A hidden node's flag is kept too: opening A shows A2 still open.
    QVERIFY(f.pane->isExpanded(f.index(f.a2)));
    f.document.setExpanded(f.a, true);
    QVERIFY(f.pane->visualRect(f.index(f.a2a)).isValid());

    f.document.setAllExpanded(false);
    f.verifyMirror();
    f.document.setAllExpanded(true);
    f.verifyMirror();
    f.document.captureTreeState();
    f.document.setAllExpanded(false);
    f.document.applyTreeState();
    f.verifyMirror();
}

void TreePaneTest::mirrorsExpansionThroughOperations_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("move into a collapsed sibling") << 0;
    QTest::newRow("level down") << 1;
    QTest::newRow("level up children") << 2;
    QTest::newRow("expand all, collapse all, restore") << 3;
    QTest::newRow("collapse branch") << 4;
    QTest::newRow("new child of a collapsed node") << 5;
    QTest::newRow("document read again") << 6;
}

void TreePaneTest::mirrorsExpansionThroughOperations()
{
    QFETCH(int, step);
    Fixture f;
    f.document.setExpanded(f.a, true);
    f.show();
    TreeOperations ops(f.document);
    switch (step) {
    case 0:
        QVERIFY(ops.moveDown(f.a1, false));
        QCOMPARE(f.a1->parent(), f.a2);
        QVERIFY(f.pane->isExpanded(f.index(f.a2)));
        break;
    case 1:
        QVERIFY(ops.levelDown(f.c));
        QVERIFY(f.pane->isExpanded(f.index(f.b)));
        break;
    case 2:
        QVERIFY(ops.levelUpChildren(f.a));
        break;
    case 3:
        QVERIFY(ops.expandAll(f.b, f.pane->topNode()));
        f.verifyMirror();
        QVERIFY(ops.collapseAll(f.b, f.pane->topNode()));
        f.verifyMirror();
        ops.restoreTreeState();
        break;
    case 4:
        f.document.setExpanded(f.a2, true);
        QVERIFY(ops.collapseBranch(f.a2a));
        break;
    case 5:
        // The new node is selected, which opens its parent.
        f.pane->setSelectedNode(ops.newChildMemo(f.c, kDefaultTitles));
        QVERIFY(f.c->isExpanded());
        break;
    case 6: {
        Document::ResetScope scope(f.document);
        f.document.clearDocument();
        Node* top = f.document.addTopLevelNode("file", KindDocument);
        Node* cat = f.document.appendNode(top, "cat", KindCategory);
        f.document.appendNode(cat, "memo", KindMemo);
        f.document.addTopLevelNode("Paper Folder", KindPaperFolder);
        f.document.setExpanded(top, true);
        f.document.setExpanded(cat, true);
        break;
    }
    }
    f.verifyMirror();
    // What the view shows in order is what the document calls visible.
    QModelIndex index = f.pane->indexAt(QPoint(1, 1));
    for (const Node* n = f.document.documentNode(); n != nullptr; n = Document::nextVisible(n)) {
        QCOMPARE(f.model->nodeFromIndex(index), n);
        index = f.pane->indexBelow(index);
    }
    QVERIFY(!index.isValid());
}

void TreePaneTest::writesBackUserExpansion()
{
    Fixture f;
    f.show();
    QVERIFY(!f.a->isExpanded());
    f.pane->expand(f.index(f.a));
    QVERIFY(f.a->isExpanded());
    f.pane->setExpanded(f.index(f.a2), true);
    QVERIFY(f.a2->isExpanded());
    f.pane->collapse(f.index(f.a));
    QVERIFY(!f.a->isExpanded());
    // Expanding is no change of content.
    QVERIFY(!f.document.isModified());

    // Keyboard: Right opens, Left closes.
    f.pane->setSelectedNode(f.c);
    f.document.appendNode(f.c, "C1", KindMemo);
    f.pane->setFocus();
    QTest::keyClick(f.pane.get(), Qt::Key_Right);
    QVERIFY(f.c->isExpanded());
    QTest::keyClick(f.pane.get(), Qt::Key_Left);
    QVERIFY(!f.c->isExpanded());

    // A top-level node has no button; double click opens and closes it.
    Node* paper = f.document.paperFolderNode();
    QVERIFY(paper->isExpanded());
    doubleClick(f.pane->viewport(), f.centre(paper));
    QVERIFY(!paper->isExpanded());
    doubleClick(f.pane->viewport(), f.centre(paper));
    QVERIFY(paper->isExpanded());
}

void TreePaneTest::closingTheSelectedBranchSelectsIt()
{
    Fixture f;
    f.document.setExpanded(f.a, true);
    f.document.setExpanded(f.a2, true);
    f.show();
    f.pane->setSelectedNode(f.a2a);
    QSignalSpy spy(f.pane.get(), &TreePane::selectedNodeChanged);
    f.pane->collapse(f.index(f.a));
    QCOMPARE(f.pane->selectedNode(), f.a);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Node*>(), f.a2a);
    QCOMPARE(spy.at(0).at(1).value<Node*>(), f.a);
    // The document closing a branch is a command; it chooses the selection itself.
    f.pane->setSelectedNode(f.a2a);
    f.document.setExpanded(f.a2, false);
    QCOMPARE(f.pane->selectedNode(), f.a2a);
}

void TreePaneTest::selectionByNode()
{
    Fixture f;
    f.show();
    // Focus alone may already have made the first row current.
    Node* before = f.pane->selectedNode();
    QVERIFY(before == nullptr || before == f.document.documentNode());
    QSignalSpy spy(f.pane.get(), &TreePane::selectedNodeChanged);
    f.pane->setSelectedNode(f.b);
    QCOMPARE(f.pane->selectedNode(), f.b);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Node*>(), before);
    QCOMPARE(spy.at(0).at(1).value<Node*>(), f.b);

    // A hidden node: its ancestors are opened in the document and the view.
    f.pane->setSelectedNode(f.a2a);
    QVERIFY(f.a->isExpanded());
    QVERIFY(f.a2->isExpanded());
    QVERIFY(f.pane->visualRect(f.index(f.a2a)).isValid());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<Node*>(), f.b);
    QCOMPARE(spy.at(1).at(1).value<Node*>(), f.a2a);
    QCOMPARE(f.pane->selectionModel()->selectedIndexes(), QModelIndexList { f.index(f.a2a) });

    // Selecting the selected node again is no change.
    f.pane->setSelectedNode(f.a2a);
    QCOMPARE(spy.count(), 2);

    // Keyboard moves report too.
    f.pane->setFocus();
    QTest::keyClick(f.pane.get(), Qt::Key_Down);
    QCOMPARE(f.pane->selectedNode(), f.a3);
    QCOMPARE(spy.count(), 3);

    f.pane->setSelectedNode(nullptr);
    QCOMPARE(f.pane->selectedNode(), nullptr);
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.at(3).at(0).value<Node*>(), f.a3);
}

void TreePaneTest::deletingTheSelectionReportsNoPrevious_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selected node, next sibling follows")
        << QStringLiteral("A2") << QStringLiteral("A2") << QStringLiteral("A3");
    QTest::newRow("last child, previous sibling follows")
        << QStringLiteral("A3") << QStringLiteral("A3") << QStringLiteral("A2");
    QTest::newRow("only child, parent follows")
        << QStringLiteral("A2a") << QStringLiteral("A2a") << QStringLiteral("A2");
    QTest::newRow("inside the deleted subtree")
        << QStringLiteral("A2a") << QStringLiteral("A") << QStringLiteral("B");
    QTest::newRow("deep inside, last sibling")
        << QStringLiteral("A2a") << QStringLiteral("A2") << QStringLiteral("A3");
}

void TreePaneTest::deletingTheSelectionReportsNoPrevious()
{
    QFETCH(QString, selected);
    QFETCH(QString, deleted);
    QFETCH(QString, expected);
    Fixture f;
    f.show();
    const auto find = [&](const QString& name) {
        for (Node* n = f.document.root()->firstChild(); n != nullptr; n = n->next())
            if (QString::fromStdString(n->title()) == name)
                return n;
        return static_cast<Node*>(nullptr);
    };
    f.pane->setSelectedNode(find(selected));
    QSignalSpy spy(f.pane.get(), &TreePane::selectedNodeChanged);
    f.document.removeNode(find(deleted));
    QCOMPARE(spy.count(), 1);
    // The node being deleted must not receive the memo text any more.
    QCOMPARE(spy.at(0).at(0).value<Node*>(), nullptr);
    QCOMPARE(spy.at(0).at(1).value<Node*>(), find(expected));
    QCOMPARE(f.pane->selectedNode(), find(expected));
    QCOMPARE(f.pane->selectionModel()->selectedIndexes().size(), 1);
}

void TreePaneTest::resetForgetsTheSelection()
{
    Fixture f;
    f.show();
    f.pane->setSelectedNode(f.b);
    f.document.newDocument();
    QCOMPARE(f.pane->selectedNode(), nullptr);
    QSignalSpy spy(f.pane.get(), &TreePane::selectedNodeChanged);
    f.pane->setSelectedNode(f.document.documentNode());
    QCOMPARE(spy.count(), 1);
    // The old node is gone with the old tree.
    QCOMPARE(spy.at(0).at(0).value<Node*>(), nullptr);
    QCOMPARE(spy.at(0).at(1).value<Node*>(), f.document.documentNode());
}

void TreePaneTest::rightClickSelects()
{
    Fixture f;
    f.show();
    f.pane->setSelectedNode(f.a);
    QSignalSpy spy(f.pane.get(), &TreePane::selectedNodeChanged);
    QTest::mousePress(f.pane->viewport(), Qt::RightButton, {}, f.centre(f.b));
    QCOMPARE(f.pane->selectedNode(), f.b);
    QVERIFY(f.pane->isRightPressed());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).value<Node*>(), f.b);
    QTest::mouseRelease(f.pane->viewport(), Qt::RightButton, {}, f.centre(f.b));
    // Below the last row: nothing to select, the selection stays.
    QTest::mousePress(f.pane->viewport(), Qt::RightButton, {}, QPoint(5, f.pane->viewport()->height() - 2));
    QCOMPARE(f.pane->selectedNode(), f.b);
    QVERIFY(f.pane->isRightPressed());
    QTest::mouseClick(f.pane->viewport(), Qt::LeftButton, {}, f.centre(f.c));
    QVERIFY(!f.pane->isRightPressed());
    QCOMPARE(f.pane->selectedNode(), f.c);
}

void TreePaneTest::popupMenu()
{
    Fixture f;
    f.show();
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    f.pane->setPopupMenu(&menu);
    QSignalSpy spy(f.pane.get(), &TreePane::popupMenuAboutToShow);

    QTest::mousePress(f.pane->viewport(), Qt::RightButton, {}, f.centre(f.b));
    QVERIFY(f.pane->isRightPressed());
    QContextMenuEvent mouseEvent(
        QContextMenuEvent::Mouse, f.centre(f.b), f.pane->viewport()->mapToGlobal(f.centre(f.b)));
    QApplication::sendEvent(f.pane->viewport(), &mouseEvent);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Node*>(), f.b);
    QVERIFY(menu.isVisible());
    QVERIFY(!f.pane->isRightPressed());
    menu.hide();

    // Shift+F10: at the selected node, below its title.
    f.pane->setSelectedNode(f.c);
    f.pane->setFocus();
    QTest::keyClick(f.pane.get(), Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<Node*>(), f.c);
    QVERIFY(menu.isVisible());
    const QRect rect = f.pane->visualRect(f.index(f.c));
    const QPoint expected = f.pane->viewport()->mapToGlobal(QPoint(rect.left() + 19, rect.bottom()));
    QVERIFY2((menu.pos() - expected).manhattanLength() <= 2, "menu opens under the selected title");
    menu.hide();
}

void TreePaneTest::inPlaceEditingRefused_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("node"); // 0 document node, 1 paper folder, 2 user node
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("refusal");
    QTest::newRow("F2 on the document node") << false << 0 << true << true;
    QTest::newRow("F2 on the paper folder") << false << 1 << true << true;
    QTest::newRow("F2 read only: nothing") << true << 2 << true << false;
    QTest::newRow("F2 read only, top level: nothing") << true << 1 << true << false;
    QTest::newRow("program, top level") << false << 1 << false << true;
    QTest::newRow("program, read only") << true << 2 << false << true;
}

void TreePaneTest::inPlaceEditingRefused()
{
    QFETCH(bool, readOnly);
    QFETCH(int, node);
    QFETCH(bool, byKey);
    QFETCH(bool, refusal);
    Fixture f;
    f.show();
    f.document.setReadOnly(readOnly);
    Node* target = node == 0 ? f.document.documentNode() : node == 1 ? f.document.paperFolderNode() : f.b;
    const std::string title = target->title();
    f.pane->setSelectedNode(target);
    f.pane->setFocus();
    QSignalSpy spy(f.pane.get(), &TreePane::editRefused);
    if (byKey)
        QTest::keyClick(f.pane.get(), Qt::Key_F2);
    else
        f.pane->edit(f.index(target));
    QCOMPARE(spy.count(), refusal ? 1 : 0);
    QVERIFY(f.pane->findChild<QLineEdit*>() == nullptr || !f.pane->findChild<QLineEdit*>()->isVisible());
    QVERIFY(!f.pane->isEditingTitle());
    QCOMPARE(target->title(), title);
}

void TreePaneTest::slowClickOnAFixedTitleIsRefused_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("topLevel");
    QTest::newRow("top-level title") << false << true;
    QTest::newRow("title of a read-only document") << true << false;
}

void TreePaneTest::slowClickOnAFixedTitleIsRefused()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, topLevel);
    Fixture f;
    f.show();
    f.document.setReadOnly(readOnly);
    Node* target = topLevel ? f.document.paperFolderNode() : f.b;
    f.pane->setSelectedNode(target);
    f.pane->setFocus();
    QSignalSpy refused(f.pane.get(), &TreePane::editRefused);
    QWidget* viewport = f.pane->viewport();
    const QPoint at = f.centre(target);
    // A click on the selected node, and nothing after it: refused once the double click time
    // is over.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QVERIFY(!f.pane->isEditingTitle());
    QTRY_COMPARE(refused.count(), 1);
    // The first half of a double click (which opens and closes a top-level node) is no slow
    // click: no beep.
    doubleClick(viewport, at);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QCOMPARE(refused.count(), 1);
    QVERIFY(!f.pane->isEditingTitle());
}

void TreePaneTest::inPlaceEditingStoresCp932()
{
    Fixture f;
    f.show();
    QSignalSpy edited(f.model.get(), &DocumentTreeModel::titleEdited);
    QSignalSpy refused(f.pane.get(), &TreePane::editRefused);
    f.pane->setSelectedNode(f.b);
    f.pane->setFocus();
    // With a modifier F2 is not the pane's key.
    QTest::keyClick(f.pane.get(), Qt::Key_F2, Qt::ControlModifier);
    QVERIFY(!f.pane->isEditingTitle());
    QTest::keyClick(f.pane.get(), Qt::Key_F2);
    QVERIFY(f.pane->isEditingTitle());
    auto* editor = f.pane->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), QStringLiteral("B"));
    editor->setText(QString::fromUtf16(u"予定\U0001F600"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor is closed from the event loop.
    QTRY_VERIFY(!f.pane->isEditingTitle());
    // 予定 in CP932, then the emoji as 〓.
    QCOMPARE(f.b->title(), std::string("\x97\x5C\x92\xE8\x81\xAC"));
    QVERIFY(f.document.isModified());
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.at(0).at(1).toBool(), true);
    QCOMPARE(refused.count(), 0);
    QCOMPARE(f.index(f.b).data().toString(), QString::fromUtf16(u"予定〓"));
}

void TreePaneTest::topNode()
{
    Fixture f;
    Node* paper = f.document.paperFolderNode();
    std::vector<Node*> nodes;
    for (int i = 0; i < 200; ++i)
        nodes.push_back(f.document.appendNode(paper, "n" + std::to_string(i), KindMemo));
    f.show();
    QCOMPARE(f.pane->topNode(), f.document.documentNode());
    f.pane->setTopNode(nodes[100]);
    QCOMPARE(f.pane->topNode(), nodes[100]);
    // A hidden node is not scrolled to and opens nothing.
    f.pane->setTopNode(f.a2a);
    QCOMPARE(f.pane->topNode(), nodes[100]);
    QVERIFY(!f.a->isExpanded());
    // Near the end the pane scrolls as far as it can.
    f.pane->setTopNode(nodes.back());
    QVERIFY(f.pane->topNode() != nullptr);
    QCOMPARE(f.pane->verticalScrollBar()->value(), f.pane->verticalScrollBar()->maximum());
    f.pane->setTopNode(f.document.documentNode());
    QCOMPARE(f.pane->topNode(), f.document.documentNode());
}

void TreePaneTest::titleTips()
{
    Fixture f;
    const QString longTitle
        = QStringLiteral("A title far too long for a pane of one hundred and forty-five pixels");
    f.document.setTitle(f.b, longTitle.toStdString());
    f.show();
    QVERIFY(f.pane->isTitleCutOff(f.index(f.b)));
    QVERIFY(!f.pane->isTitleCutOff(f.index(f.c)));
    // The column grows with the title and the pane scrolls sideways instead of cutting it.
    QVERIFY(f.pane->header()->sectionSize(0) > f.pane->viewport()->width());

    const auto ask = [&](const Node* node) {
        const QPoint pos = f.centre(node);
        QHelpEvent event(QEvent::ToolTip, pos, f.pane->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(f.pane->viewport(), &event);
    };
    ask(f.b);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), longTitle);
    ask(f.c);
    QTRY_VERIFY(!QToolTip::isVisible());

    f.pane->setTitleTips(false);
    ask(f.b);
    QTest::qWait(50);
    QVERIFY(!QToolTip::isVisible());

    // Scrolled to the right, the start of a short title is cut off.
    f.pane->setTitleTips(true);
    f.pane->horizontalScrollBar()->setValue(f.pane->horizontalScrollBar()->maximum());
    QVERIFY(f.pane->isTitleCutOff(f.index(f.c)));
}

void TreePaneTest::displaySettings()
{
    Fixture f;
    f.show();
    f.pane->setSelectedNode(f.a1);
    const QImage plain = f.pane->grab().toImage();
    f.pane->setImagesShown(false);
    QVERIFY(!f.model->imagesShown());
    QVERIFY(!f.index(f.b).data(Qt::DecorationRole).isValid());
    f.pane->setImagesShown(true);
    QVERIFY(f.model->imagesShown());
    f.pane->setButtonsShown(false);
    QVERIFY(f.pane->grab().toImage() != plain);
    f.pane->setButtonsShown(true);
    QCOMPARE(f.pane->grab().toImage(), plain);
    f.pane->setRowSelect(true);
    QVERIFY(f.pane->allColumnsShowFocus());
    QVERIFY(f.pane->grab().toImage() != plain);
    f.pane->setRowSelect(false);
    f.pane->setHotTrack(true);
    QVERIFY(f.pane->hasMouseTracking());
    QVERIFY(f.pane->viewport()->testAttribute(Qt::WA_Hover));
    f.pane->setHotTrack(false);
    QCOMPARE(f.pane->grab().toImage(), plain);
    // A new model keeps the setting.
    f.pane->setImagesShown(false);
    DocumentTreeModel other(f.document);
    f.pane->setModel(&other);
    QVERIFY(!other.imagesShown());
    f.pane->setModel(nullptr);
}

void TreePaneTest::largeDocument()
{
    // 100 categories of 999 memos under the document node: 100,000 user nodes, all shown.
    Document document;
    document.newDocument();
    Node* top = document.documentNode();
    Node* lastMemo = nullptr;
    for (int c = 0; c < 100; ++c) {
        Node* category = document.appendNode(top, "category " + std::to_string(c), KindCategory);
        for (int m = 0; m < 999; ++m)
            lastMemo = document.appendNode(category, "memo " + std::to_string(m), KindMemo);
    }
    document.setAllExpanded(true);
    QCOMPARE(document.nodeCount(), std::size_t(100002));

    QElapsedTimer timer;
    timer.start();
    DocumentTreeModel model(document);
    TreePane pane;
    pane.resize(145, 600);
    pane.setModel(&model);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCoreApplication::processEvents();
    pane.grab();
    const qint64 firstScreen = timer.elapsed();
    QCOMPARE(pane.topNode(), top);

    timer.restart();
    pane.setSelectedNode(lastMemo);
    pane.grab();
    const qint64 selectLast = timer.elapsed();
    QCOMPARE(pane.selectedNode(), lastMemo);

    TreeOperations ops(document);
    timer.restart();
    QVERIFY(ops.moveUp(lastMemo, true));
    pane.setSelectedNode(lastMemo);
    pane.grab();
    const qint64 moveOne = timer.elapsed();

    timer.restart();
    QVERIFY(ops.collapseAll(lastMemo, pane.topNode()));
    pane.grab();
    const qint64 collapseAll = timer.elapsed();

    timer.restart();
    QVERIFY(ops.expandAll(lastMemo, pane.topNode()));
    pane.grab();
    const qint64 expandAll = timer.elapsed();

    timer.restart();
    QVERIFY(ops.levelDownSiblings(top->child(0)->child(0)));
    pane.grab();
    const qint64 levelDownSiblings = timer.elapsed();

    qInfo("100,000 nodes: first screen %lld ms, select last %lld ms, move %lld ms, collapse all %lld ms, "
          "expand all %lld ms, level down 998 siblings %lld ms",
        firstScreen, selectLast, moveOne, collapseAll, expandAll, levelDownSiblings);
}

QTEST_MAIN(TreePaneTest)
#include "TreePaneTest.moc"
