#include "app/DocumentTreeModel.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "core/text/Cp932Codec.h"
#include "support/SampleOutline.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace notarium;

namespace {

QString qs(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// "メモ" in CP932.
const std::string kMemoBytes = "\x83\x81\x83\x82";

// The sample outline with A open: moves act on what the pane shows.
struct Outline : SampleOutline {
    Outline() { document.setExpanded(a, true); }
};

// The model must show exactly the document's tree: same shape, same titles, and every index
// pointing at the node in that place.
void compareSubtree(const DocumentTreeModel& model, const QModelIndex& parent, const Node* node)
{
    QCOMPARE(model.rowCount(parent), node->childCount());
    for (int row = 0; row < node->childCount(); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const Node* child = node->child(row);
        QCOMPARE(model.nodeFromIndex(index), child);
        QCOMPARE(model.indexFromNode(child), index);
        QCOMPARE(model.parent(index), parent);
        QCOMPARE(index.data().toString().toStdU16String(), cp932::toUtf16(child->title()));
        compareSubtree(model, index, child);
        if (QTest::currentTestFailed())
            return;
    }
}

void compareWithDocument(const DocumentTreeModel& model)
{
    compareSubtree(model, QModelIndex(), model.document().root());
}

// Persistent indexes of every node, taken before a change; afterwards each must still name its
// node at the node's new place (a move reported with a wrong destination row breaks this).
struct PersistentMap {
    std::vector<std::pair<const Node*, QPersistentModelIndex>> entries;

    explicit PersistentMap(const DocumentTreeModel& model)
    {
        for (const Node* n = model.document().root()->firstChild(); n != nullptr; n = n->next())
            entries.emplace_back(n, QPersistentModelIndex(model.indexFromNode(n)));
    }

    // removed: the nodes the change deleted, taken before it.
    void verify(const DocumentTreeModel& model, const std::vector<const Node*>& removed = {}) const
    {
        for (const auto& [node, index] : entries) {
            if (std::find(removed.begin(), removed.end(), node) != removed.end()) {
                QVERIFY(!index.isValid());
                continue;
            }
            QVERIFY(index.isValid());
            QCOMPARE(model.nodeFromIndex(index), node);
            QCOMPARE(index.row(), node->row());
            QCOMPARE(
                model.nodeFromIndex(index.parent()), node->parent()->isRoot() ? nullptr : node->parent());
        }
    }
};

} // namespace

class DocumentTreeModelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheDocument();
    void titlesDecodeWithoutLoss_data();
    void titlesDecodeWithoutLoss();
    void kindImages_data();
    void kindImages();
    void imagesCanBeSwitchedOff();
    void followsTreeOperations_data();
    void followsTreeOperations();
    void movesKeepPersistentIndexes_data();
    void movesKeepPersistentIndexes();
    void removalIsReportedFirst();
    void resetsFollowTheDocument();
    void reportsExpandedFlags();
    void titleEditing_data();
    void titleEditing();
    void titleEditingRefused();
};

void DocumentTreeModelTest::showsTheDocument()
{
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Untitled"));
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Paper Folder"));
    QVERIFY(!model.index(2, 0).isValid());
    QVERIFY(!model.index(0, 1).isValid());
    QCOMPARE(model.nodeFromIndex(QModelIndex()), nullptr);
    QVERIFY(!model.indexFromNode(nullptr).isValid());
    QVERIFY(!model.indexFromNode(o.document.root()).isValid());
    compareWithDocument(model);
}

void DocumentTreeModelTest::titlesDecodeWithoutLoss_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("Plan") << QStringLiteral("Plan");
    QTest::newRow("japanese") << QByteArray::fromStdString(kMemoBytes) << qs(u"メモ");
    QTest::newRow("undefined byte") << QByteArray("a\x80z") << qs(u"a\xDC80z");
    QTest::newRow("lone lead byte at end") << QByteArray("x\x83") << qs(u"x\xDC83");
}

void DocumentTreeModelTest::titlesDecodeWithoutLoss()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    Outline o;
    o.document.setTitle(o.b, bytes.toStdString());
    DocumentTreeModel model(o.document);
    const QModelIndex index = model.indexFromNode(o.b);
    QCOMPARE(index.data(Qt::DisplayRole).toString(), shown);
    QCOMPARE(index.data(Qt::EditRole).toString(), shown);
    // Storing the shown text back gives the same bytes.
    QVERIFY(model.setData(index, index.data(Qt::EditRole)));
    QCOMPARE(QByteArray::fromStdString(o.b->title()), bytes);
}

void DocumentTreeModelTest::kindImages_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("mayShow");
    for (int kind = 0; kind <= 4; ++kind)
        QTest::addRow("kind %d", kind) << kind << true;
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("beyond the image list") << 5 << false;
    QTest::newRow("far beyond") << 1000 << false;
}

void DocumentTreeModelTest::kindImages()
{
    QFETCH(int, kind);
    QFETCH(bool, mayShow);
    Outline o;
    o.document.setKind(o.b, kind);
    DocumentTreeModel model(o.document);
    const QVariant decoration = model.indexFromNode(o.b).data(Qt::DecorationRole);
    if (!mayShow) {
        QVERIFY(!decoration.isValid());
        return;
    }
    // Without its image file a node shows no image rather than a broken one.
    static const char* const paths[] = { ":/icons/kind-paper-folder.svg", ":/icons/kind-category.svg",
        ":/icons/kind-memo.svg", ":/icons/kind-result.svg", ":/icons/kind-document.svg" };
    QCOMPARE(decoration.isValid(), QFile::exists(QString::fromLatin1(paths[kind])));
    if (decoration.isValid())
        QVERIFY(!decoration.value<QIcon>().isNull());
}

void DocumentTreeModelTest::imagesCanBeSwitchedOff()
{
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy layoutSpy(&model, &QAbstractItemModel::layoutChanged);
    model.setImagesShown(false);
    QCOMPARE(layoutSpy.count(), 1);
    for (const Node* n = o.document.root()->firstChild(); n != nullptr; n = n->next())
        QVERIFY(!model.indexFromNode(n).data(Qt::DecorationRole).isValid());
    model.setImagesShown(false);
    QCOMPARE(layoutSpy.count(), 1);
    model.setImagesShown(true);
    QCOMPARE(layoutSpy.count(), 2);
}

void DocumentTreeModelTest::followsTreeOperations_data()
{
    QTest::addColumn<QString>("operation");
    for (const char* name : { "newMemo", "newChildCategory", "newResult", "newCategoryOnTop", "moveDown",
             "moveUp", "moveDownSkippingClosed", "levelUp", "levelDown", "levelUpChildren",
             "levelDownSiblings", "deleteSubtree", "exchangeCategoryMemo", "exchangeMemoResult", "expandAll",
             "collapseAll", "collapseBranch", "restoreTreeState" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void DocumentTreeModelTest::followsTreeOperations()
{
    QFETCH(QString, operation);
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const PersistentMap before(model);
    QSignalSpy kindSpy(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy resetSpy(&model, &DocumentTreeModel::expansionStateReset);
    TreeOperations ops(o.document);
    const std::vector<std::string> titles { "cat", "memo", "result" };
    std::vector<const Node*> removed;

    if (operation == QLatin1String("newMemo")) {
        QVERIFY(ops.newMemo(o.a1, titles));
    } else if (operation == QLatin1String("newChildCategory")) {
        QVERIFY(ops.newChildCategory(o.a2, titles));
    } else if (operation == QLatin1String("newResult")) {
        QVERIFY(ops.newResult(o.b, titles));
    } else if (operation == QLatin1String("newCategoryOnTop")) {
        QVERIFY(ops.newCategory(o.document.paperFolderNode(), titles));
    } else if (operation == QLatin1String("moveDown")) {
        QVERIFY(ops.moveDown(o.a1, false));
        QCOMPARE(o.a1->parent(), o.a2);
    } else if (operation == QLatin1String("moveUp")) {
        QVERIFY(ops.moveUp(o.a3, false));
    } else if (operation == QLatin1String("moveDownSkippingClosed")) {
        QVERIFY(ops.moveDown(o.a, true));
        QCOMPARE(o.a->row(), 1);
    } else if (operation == QLatin1String("levelUp")) {
        QVERIFY(ops.levelUp(o.a2));
        QCOMPARE(o.a2->parent(), o.document.documentNode());
    } else if (operation == QLatin1String("levelDown")) {
        QVERIFY(ops.levelDown(o.c));
        QCOMPARE(o.c->parent(), o.b);
    } else if (operation == QLatin1String("levelUpChildren")) {
        QVERIFY(ops.levelUpChildren(o.a));
        QCOMPARE(o.a->childCount(), 0);
    } else if (operation == QLatin1String("levelDownSiblings")) {
        QVERIFY(ops.levelDownSiblings(o.a));
        QCOMPARE(o.a->childCount(), 5);
    } else if (operation == QLatin1String("deleteSubtree")) {
        removed = { o.a2, o.a2a };
        QCOMPARE(ops.deleteSubtree(o.a2, o.a2a), o.a3);
    } else if (operation == QLatin1String("exchangeCategoryMemo")) {
        QVERIFY(ops.exchangeCategoryMemo(o.b));
        QCOMPARE(kindSpy.count(), 1);
        QCOMPARE(kindSpy.at(0).at(0).toModelIndex(), model.indexFromNode(o.b));
        QVERIFY(kindSpy.at(0).at(2).value<QList<int>>().contains(Qt::DecorationRole));
    } else if (operation == QLatin1String("exchangeMemoResult")) {
        QVERIFY(ops.exchangeMemoResult(o.a2a));
        QCOMPARE(o.a2a->imageIndex(), int(KindMemo));
        QCOMPARE(kindSpy.count(), 1);
    } else if (operation == QLatin1String("expandAll")) {
        QVERIFY(ops.expandAll(o.b, o.document.documentNode()));
        QCOMPARE(resetSpy.count(), 1);
    } else if (operation == QLatin1String("collapseAll")) {
        QCOMPARE(ops.collapseAll(o.a2a, o.document.documentNode()), o.a);
        QVERIFY(resetSpy.count() >= 1);
    } else if (operation == QLatin1String("collapseBranch")) {
        o.document.setExpanded(o.a, true);
        o.document.setExpanded(o.a2, true);
        QVERIFY(ops.collapseBranch(o.a2a));
    } else if (operation == QLatin1String("restoreTreeState")) {
        QVERIFY(ops.expandAll(o.b, o.document.documentNode()));
        ops.restoreTreeState();
        QCOMPARE(resetSpy.count(), 2);
    }
    compareWithDocument(model);
    before.verify(model, removed);
}

void DocumentTreeModelTest::movesKeepPersistentIndexes_data()
{
    // Moves straight through the document, the rows counted after the node has left its place.
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("toParent");
    QTest::addColumn<int>("toRow");
    QTest::newRow("down by one in the same parent") << QStringLiteral("A1") << QStringLiteral("A") << 1;
    QTest::newRow("down to the end of the same parent") << QStringLiteral("A1") << QStringLiteral("A") << 2;
    QTest::newRow("up by one in the same parent") << QStringLiteral("A3") << QStringLiteral("A") << 1;
    QTest::newRow("up to the front of the same parent") << QStringLiteral("A3") << QStringLiteral("A") << 0;
    QTest::newRow("into a sibling's subtree") << QStringLiteral("A3") << QStringLiteral("A2") << 0;
    QTest::newRow("out to a grandparent") << QStringLiteral("A2a") << QStringLiteral("doc") << 3;
    QTest::newRow("to the other top-level node") << QStringLiteral("A2") << QStringLiteral("paper") << 0;
    QTest::newRow("after the last child elsewhere") << QStringLiteral("P1") << QStringLiteral("A") << 3;
}

void DocumentTreeModelTest::movesKeepPersistentIndexes()
{
    QFETCH(QString, node);
    QFETCH(QString, toParent);
    QFETCH(int, toRow);
    Outline o;
    const auto find = [&](const QString& name) -> Node* {
        if (name == QLatin1String("doc"))
            return o.document.documentNode();
        if (name == QLatin1String("paper"))
            return o.document.paperFolderNode();
        for (Node* n = o.document.root()->firstChild(); n != nullptr; n = n->next())
            if (QString::fromStdString(n->title()) == name)
                return n;
        return nullptr;
    };
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const PersistentMap before(model);
    QSignalSpy moveSpy(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy removeSpy(&model, &QAbstractItemModel::rowsRemoved);
    Node* moved = find(node);
    QVERIFY(o.document.moveNode(moved, find(toParent), toRow));
    QCOMPARE(moved->row(), toRow);
    // A move, not a removal and insertion: the view keeps the node's expanded state and selection.
    QCOMPARE(moveSpy.count(), 1);
    QCOMPARE(removeSpy.count(), 0);
    compareWithDocument(model);
    before.verify(model);
}

void DocumentTreeModelTest::removalIsReportedFirst()
{
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList order;
    connect(&model, &DocumentTreeModel::removalPending, this,
        [&](const QModelIndex& parent, int first, int last) {
            order.push_back(QStringLiteral("pending"));
            QCOMPARE(model.nodeFromIndex(parent), o.a);
            QCOMPARE(first, 1);
            QCOMPARE(last, 1);
            QVERIFY(model.isBeingRemoved(o.a2));
            QVERIFY(model.isBeingRemoved(o.a2a));
            QVERIFY(!model.isBeingRemoved(o.a1));
            QVERIFY(!model.isBeingRemoved(o.a3));
            QVERIFY(!model.isBeingRemoved(o.a));
        });
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [&] { order.push_back(QStringLiteral("aboutToBeRemoved")); });
    o.document.removeNode(o.a2);
    QCOMPARE(order, (QStringList { QStringLiteral("pending"), QStringLiteral("aboutToBeRemoved") }));
    QVERIFY(!model.isBeingRemoved(o.a1));
    compareWithDocument(model);
}

void DocumentTreeModelTest::resetsFollowTheDocument()
{
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resetSpy(&model, &QAbstractItemModel::modelReset);
    o.document.clearDocument();
    QCOMPARE(resetSpy.count(), 1);
    QCOMPARE(model.rowCount(), 0);
    o.document.newDocument();
    QCOMPARE(resetSpy.count(), 2);
    QCOMPARE(model.rowCount(), 2);
    {
        // A file being read: one reset around the whole build, nothing in between.
        Document::ResetScope scope(o.document);
        o.document.clearDocument();
        o.document.addTopLevelNode("file", KindDocument);
        Node* paper = o.document.addTopLevelNode("Paper Folder", KindPaperFolder);
        for (int i = 0; i < 50; ++i)
            o.document.appendNode(paper, "n" + std::to_string(i), KindMemo);
    }
    QCOMPARE(resetSpy.count(), 3);
    compareWithDocument(model);
}

void DocumentTreeModelTest::reportsExpandedFlags()
{
    Outline o;
    DocumentTreeModel model(o.document);
    QSignalSpy nodeSpy(&model, &DocumentTreeModel::nodeExpansionChanged);
    QSignalSpy allSpy(&model, &DocumentTreeModel::expansionStateReset);
    o.document.setExpanded(o.a2, true);
    QCOMPARE(nodeSpy.count(), 1);
    QCOMPARE(nodeSpy.at(0).at(0).toModelIndex(), model.indexFromNode(o.a2));
    QCOMPARE(nodeSpy.at(0).at(1).toBool(), true);
    o.document.setExpanded(o.a2, true);
    QCOMPARE(nodeSpy.count(), 1);
    o.document.setAllExpanded(false);
    QCOMPARE(allSpy.count(), 1);
    // Body text is not shown in the tree: no repaint for it.
    QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);
    o.document.notifyDataChanged(o.b);
    QCOMPARE(dataSpy.count(), 0);
}

void DocumentTreeModelTest::titleEditing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("ascii") << QStringLiteral("Notes") << QByteArray("Notes") << false;
    QTest::newRow("japanese") << qs(u"メモ") << QByteArray::fromStdString(kMemoBytes) << false;
    QTest::newRow("emoji") << qs(u"a\U0001F600b")
                           << QByteArray("a\x81\xAC"
                                         "b")
                           << true;
    QTest::newRow("accented latin") << qs(u"caf\u00E9") << QByteArray("caf\x81\xAC") << true;
    QTest::newRow("kept raw byte") << qs(u"\xDC80") << QByteArray("\x80") << false;
}

void DocumentTreeModelTest::titleEditing()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(bool, replaced);
    Outline o;
    DocumentTreeModel model(o.document);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy editSpy(&model, &DocumentTreeModel::titleEdited);
    QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex index = model.indexFromNode(o.a2a);
    QVERIFY(model.flags(index) & Qt::ItemIsEditable);
    QVERIFY(!o.document.isModified());
    QVERIFY(model.setData(index, typed));
    QCOMPARE(QByteArray::fromStdString(o.a2a->title()), stored);
    QVERIFY(o.document.isModified());
    QCOMPARE(dataSpy.count(), 1);
    QCOMPARE(editSpy.count(), 1);
    QCOMPARE(editSpy.at(0).at(0).value<Node*>(), o.a2a);
    QCOMPARE(editSpy.at(0).at(1).toBool(), replaced);
}

void DocumentTreeModelTest::titleEditingRefused()
{
    Outline o;
    DocumentTreeModel model(o.document);
    for (Node* top : { o.document.documentNode(), o.document.paperFolderNode() }) {
        const QModelIndex index = model.indexFromNode(top);
        QVERIFY(!(model.flags(index) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(index, QStringLiteral("renamed")));
        QVERIFY(top->title() != "renamed");
    }
    QVERIFY(!model.setData(model.indexFromNode(o.b), QStringLiteral("x"), Qt::DisplayRole));
    o.document.setReadOnly(true);
    const QModelIndex user = model.indexFromNode(o.b);
    QVERIFY(!(model.flags(user) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(user, QStringLiteral("renamed")));
    QCOMPARE(o.b->title(), std::string("B"));
    QVERIFY(!o.document.isModified());
}

QTEST_MAIN(DocumentTreeModelTest)
#include "DocumentTreeModelTest.moc"
