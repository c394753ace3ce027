// The tree editing commands driven through the main window's actions: where new nodes go and how
// they are shown, moves and level changes, delete with its question, the subtree clipboard, the
// view commands and the enabling of the menus.
#include "app/TreeCommands.h"
#include "app/ActionRegistry.h"
#include "app/DocumentTreeModel.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

QString titleOf(const Node* node)
{
    return QString::fromStdU16String(cp932::toUtf16(node->title()));
}

// "Untitled(A(A1,A2(A2a),A3),B,C(C1)),Paper Folder(P1)": titles by level.
QString shapeOf(const Node* node)
{
    QString text = titleOf(node);
    if (node->hasChildren()) {
        QStringList children;
        for (int i = 0; i < node->childCount(); ++i)
            children << shapeOf(node->child(i));
        text += QLatin1Char('(') + children.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return text;
}

} // namespace

class TreeCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    RecordingPromptService& prompt() { return f->prompt(); }

    static constexpr const char* kOutline = "Untitled(A(A1,A2(A2a),A3),B,C(C1)),Paper Folder(P1)";

    Document& doc() { return win().document(); }
    TreePane* tree() { return win().treePane(); }
    QAction* action(const char* name) { return win().actions().action(QString::fromLatin1(name)); }
    bool enabled(const char* name) { return action(name)->isEnabled(); }
    bool menuEnabled(const char* name)
    {
        return win().menus().menu(QString::fromLatin1(name))->menuAction()->isEnabled();
    }
    QString shape()
    {
        QStringList tops;
        for (int i = 0; i < doc().root()->childCount(); ++i)
            tops << shapeOf(doc().root()->child(i));
        return tops.join(QLatin1Char(','));
    }
    Node* find(const char* title)
    {
        for (Node* node : doc().nodesInOrder())
            if (node->title() == title)
                return node;
        return nullptr;
    }
    void select(const char* title) { tree()->setSelectedNode(find(title)); }

    void trigger(const char* name)
    {
        QAction* a = action(name);
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }

    // The outline of kOutline: A and both top-level nodes expanded, A2 and C collapsed. A2 and A2a
    // have text. Not modified, B selected.
    static void newNodeRow(
        const char* name, const char* command, const char* target, int kind, const char* expected)
    {
        QTest::newRow(name) << QString::fromUtf8(command) << QString::fromUtf8(target) << kind
                            << QString::fromUtf8(expected);
    }

    static void shapeRow(
        const char* name, const char* command, const char* target, bool skipClosedTree, const char* expected)
    {
        QTest::newRow(name) << QString::fromUtf8(command) << QString::fromUtf8(target) << skipClosedTree
                            << QString::fromUtf8(expected);
    }

    void buildOutline()
    {
        Document& d = doc();
        Node* a = d.appendNode(d.documentNode(), "A", KindCategory);
        d.appendNode(a, "A1", KindMemo);
        Node* a2 = d.appendNode(a, "A2", KindMemo);
        a2->data()->MemoStr = "a2 text\r\n";
        d.appendNode(a2, "A2a", KindResult)->data()->MemoStr = "a2a text";
        d.appendNode(a, "A3", KindMemo);
        d.appendNode(d.documentNode(), "B", KindMemo);
        Node* c = d.appendNode(d.documentNode(), "C", KindCategory);
        d.appendNode(c, "C1", KindMemo);
        d.appendNode(d.paperFolderNode(), "P1", KindMemo);
        d.setExpanded(d.documentNode(), true);
        d.setExpanded(d.paperFolderNode(), true);
        d.setExpanded(a, true);
        d.setModified(false);
        select("B");
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
        QGuiApplication::clipboard()->clear();
        buildOutline();
    }

    void cleanup() { f.reset(); }

    // ---- New nodes -----------------------------------------------------------------------------

    void newNodeGoesWhereItsCommandSays_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");

        // A user node gets a sibling directly after it; a top-level node gets a last child.
        newNodeRow("category after an open category", "NewCategory", "A", 1,
            "Untitled(A(A1,A2(A2a),A3),Category,B,C(C1)),Paper Folder(P1)");
        newNodeRow("memo after a nested memo", "NewMemo", "A1", 2,
            "Untitled(A(A1,Memo,A2(A2a),A3),B,C(C1)),Paper Folder(P1)");
        newNodeRow("child category under a collapsed category", "NewChildCategory", "C", 1,
            "Untitled(A(A1,A2(A2a),A3),B,C(C1,Category)),Paper Folder(P1)");
        newNodeRow("child memo under a leaf", "NewChildMemo", "B", 2,
            "Untitled(A(A1,A2(A2a),A3),B(Memo),C(C1)),Paper Folder(P1)");
        newNodeRow("result is the last child, after existing children", "NewResult", "A2", 3,
            "Untitled(A(A1,A2(A2a,Result),A3),B,C(C1)),Paper Folder(P1)");
        newNodeRow("memo from the tool bar drop-down", "tbpmNewMemo", "P1", 2,
            "Untitled(A(A1,A2(A2a),A3),B,C(C1)),Paper Folder(P1,Memo)");
    }

    void newNodeGoesWhereItsCommandSays()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        select(target.toLatin1().constData());
        trigger(command.toLatin1().constData());

        QCOMPARE(shape(), expected);
        Node* created = tree()->selectedNode();
        QVERIFY(created != nullptr && created->isUserNode());
        QCOMPARE(created->imageIndex(), kind);
        QCOMPARE(created->selectedIndex(), kind);
        QVERIFY(created->data() != nullptr);
        QVERIFY(Document::isVisible(created));
        // A stays open: a new node beside an open category does not close it.
        QVERIFY(find("A")->isExpanded());
        QVERIFY(doc().isModified());
        QCOMPARE(prompt().beeps(), 0);
    }

    void newTitleIsSelectedForTyping()
    {
        // The titles come from the current default title set of the settings file.
        f->ini().writeString(
            "DefaultTitles", std::to_string(f->settings().get(key::CheckIndex)), "分類,覚え書き,結論");
        trigger("NewMemo");
        QLineEdit* title = win().titleEdit();
        QCOMPARE(title->text(), QStringLiteral("覚え書き"));
        QCOMPARE(title->selectedText(), title->text());
        QVERIFY(title->hasFocus());
        QTest::keyClicks(title, QStringLiteral("Plan"));
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3),B,Plan,C(C1)),Paper Folder(P1)"));

        // While the tree pane fills the window the focus stays in it.
        trigger("TreeMaximize1");
        trigger("NewCategory");
        QCOMPARE(title->text(), QStringLiteral("分類"));
        QVERIFY(tree()->hasFocus());
    }

    // ---- Moves, levels and kinds ---------------------------------------------------------------

    void shapeCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("skipClosedTree");
        QTest::addColumn<QString>("expected"); // empty: beeps and changes nothing

        const bool on = true;
        const bool off = false;
        shapeRow("down: last child into the next leaf", "NodeDown", "A3", on,
            "Untitled(A(A1,A2(A2a)),B(A3),C(C1)),Paper Folder(P1)");
        shapeRow("down: past a closed branch", "NodeDown", "B", on,
            "Untitled(A(A1,A2(A2a),A3),C(C1),B),Paper Folder(P1)");
        shapeRow("down: into a closed branch", "NodeDown", "B", off,
            "Untitled(A(A1,A2(A2a),A3),C(B,C1)),Paper Folder(P1)");
        shapeRow("down: last visible node", "NodeDown", "P1", on, "");
        shapeRow("up: swap with a leaf sibling", "NodeUp", "C", on,
            "Untitled(A(A1,A2(A2a),A3),C(C1),B),Paper Folder(P1)");
        shapeRow("up: out of the parent", "NodeUp", "A1", on,
            "Untitled(A1,A(A2(A2a),A3),B,C(C1)),Paper Folder(P1)");
        shapeRow("up: past the paper folder, after the last visible node", "NodeUp", "P1", on,
            "Untitled(A(A1,A2(A2a),A3),B,C(C1),P1),Paper Folder");
        shapeRow("up: past the paper folder, after the last node", "NodeUp", "P1", off,
            "Untitled(A(A1,A2(A2a),A3),B,C(C1,P1)),Paper Folder");
        shapeRow("up: first node under the document", "NodeUp", "A", on, "");
        shapeRow("level up keeps children, leaves followers", "LevelUp", "A2", on,
            "Untitled(A(A1,A3),A2(A2a),B,C(C1)),Paper Folder(P1)");
        shapeRow("level up at level 1", "LevelUp", "B", on, "");
        shapeRow("level down under the previous sibling", "LevelDown", "B", on,
            "Untitled(A(A1,A2(A2a),A3,B),C(C1)),Paper Folder(P1)");
        shapeRow(
            "children up", "LevelUpChildren", "A", on, "Untitled(A,A1,A2(A2a),A3,B,C(C1)),Paper Folder(P1)");
        shapeRow("siblings down", "LevelDnSiblings", "A1", on,
            "Untitled(A(A1(A2(A2a),A3)),B,C(C1)),Paper Folder(P1)");
        shapeRow("siblings down without followers", "LevelDnSiblings", "C", on, "");
        shapeRow("pop-up twin of move down", "NodeDown2", "A1", on,
            "Untitled(A(A2(A2a),A1,A3),B,C(C1)),Paper Folder(P1)");
    }

    void shapeCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(bool, skipClosedTree);
        QFETCH(QString, expected);
        f->settings().set(key::SkipClosedTree, skipClosedTree);
        Node* node = find(target.toLatin1().constData());
        tree()->setSelectedNode(node);
        trigger(command.toLatin1().constData());

        const bool acts = !expected.isEmpty();
        QCOMPARE(shape(), acts ? expected : QString::fromLatin1(kOutline));
        QCOMPARE(prompt().beeps(), acts ? 0 : 1);
        QCOMPARE(doc().isModified(), acts);
        // The moved node stays selected, and painting is back on whatever happened.
        QCOMPARE(tree()->selectedNode(), node);
        QVERIFY(tree()->updatesEnabled());
    }

    void levelUpChildrenThenSiblingsDownGivesBackTheShape()
    {
        doc().appendNode(find("C"), "C2", KindMemo);
        select("C");
        trigger("LevelUpChildren");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3),B,C,C1,C2),Paper Folder(P1)"));
        trigger("LevelDnSiblings");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3),B,C(C1,C2)),Paper Folder(P1)"));
    }

    void exchangeSwapsKindsOfItsPair()
    {
        select("A");
        trigger("Exchange3"); // category -> memo
        QCOMPARE(find("A")->imageIndex(), int(KindMemo));
        trigger("tbExchange1"); // and back
        QCOMPARE(find("A")->imageIndex(), int(KindCategory));
        QCOMPARE(find("A")->selectedIndex(), int(KindCategory));
        QVERIFY(doc().isModified());
        doc().setModified(false);
        // A category is not part of the memo/result pair.
        trigger("Exchange4");
        QCOMPARE(find("A")->imageIndex(), int(KindCategory));
        QCOMPARE(prompt().beeps(), 1);
        QVERIFY(!doc().isModified());
        select("A2a");
        trigger("tbExchange2"); // result -> memo
        QCOMPARE(find("A2a")->imageIndex(), int(KindMemo));
    }

    // ---- Delete --------------------------------------------------------------------------------

    void declinedDeleteDimsTheSubtreeOnlyWhileAsking()
    {
        DocumentTreeModel* model = tree()->documentModel();
        auto dimmed = [model](Node* node) {
            const QVariant brush = model->indexFromNode(node).data(Qt::ForegroundRole);
            return brush.isValid() && qvariant_cast<QBrush>(brush).color() == QColor(Qt::gray);
        };
        QStringList dimmedWhileAsking;
        prompt().whileAsking = [&] {
            for (Node* node : doc().nodesInOrder())
                if (dimmed(node))
                    dimmedWhileAsking << titleOf(node);
        };
        prompt().scriptAnswer(PromptAnswer::No);
        select("A2");
        trigger("TreeDelete");

        QCOMPARE(dimmedWhileAsking, QStringList({ QStringLiteral("A2"), QStringLiteral("A2a") }));
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().last().caption, QStringLiteral("削除動作の確認"));
        QCOMPARE(prompt().last().text,
            QStringLiteral("選択されたデータを削除してもいいですか？（下位のデータもすべて削除されます）"));
        QCOMPARE(prompt().last().icon, MessageIcon::Question);
        QCOMPARE(prompt().last().buttons, PromptButtons::YesNo);
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
        QVERIFY(!doc().isModified());
        for (Node* node : doc().nodesInOrder())
            QVERIFY(!dimmed(node));
    }

    void confirmedDeleteSelectsTheNextNodeAndLeavesTheTitle()
    {
        select("A2");
        win().titleEdit()->setFocus();
        trigger("tbDelete");
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A3),B,C(C1)),Paper Folder(P1)"));
        QCOMPARE(tree()->selectedNode(), find("A3"));
        QCOMPARE(win().titleEdit()->text(), QStringLiteral("A3"));
        QVERIFY(win().memoPane()->hasFocus());
        QVERIFY(doc().isModified());
        QVERIFY(!enabled("TreePaste")); // nothing on the clipboard without SaveData

        f->settings().set(key::NoConfirm, true);
        trigger("pmTreeDelete");
        QCOMPARE(prompt().count(), 1);
        // The last child went: its previous sibling is selected.
        QCOMPARE(tree()->selectedNode(), find("A1"));
    }

    void deleteWithSaveDataLeavesTheSubtreeForPasting()
    {
        f->settings().set(key::SaveData, true);
        select("A2");
        // Typed but not yet stored into the node: the clipboard still gets what is shown.
        TExtMemo* memo = win().memoPane();
        memo->setFocus();
        memo->setSelPos(0);
        QTest::keyClicks(memo, QStringLiteral("new "));
        trigger("TreeDelete");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A3),B,C(C1)),Paper Folder(P1)"));
        QVERIFY(enabled("TreePaste"));

        select("P1");
        trigger("TreePaste");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A3),B,C(C1)),Paper Folder(P1(A2(A2a)))"));
        QCOMPARE(find("A2")->data()->MemoStr, std::string("new a2 text\r\n"));
        QCOMPARE(find("A2a")->data()->MemoStr, std::string("a2a text"));
        QCOMPARE(find("A2a")->imageIndex(), int(KindResult));
        QVERIFY(find("P1")->isExpanded());
    }

    // ---- Subtree clipboard ---------------------------------------------------------------------

    void copyThenPasteUnderACategory()
    {
        select("A2");
        trigger("TreeCopy");
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
        QVERIFY(!doc().isModified());
        QVERIFY(enabled("TreePaste"));
        select("C");
        QVERIFY(!find("C")->isExpanded());
        trigger("TreePaste");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3),B,C(C1,A2(A2a))),Paper Folder(P1)"));
        Node* copy = find("C")->lastChild();
        QCOMPARE(copy->imageIndex(), int(KindMemo));
        QCOMPARE(copy->data()->MemoStr, std::string("a2 text\r\n"));
        QCOMPARE(copy->firstChild()->imageIndex(), int(KindResult));
        QVERIFY(find("C")->isExpanded());
        QVERIFY(doc().isModified());
        // Still on the clipboard: a second paste makes a second copy.
        trigger("pmTreePaste");
        QCOMPARE(find("C")->childCount(), 3);
    }

    void cutThenPasteMovesTheSubtree()
    {
        select("A");
        trigger("TreeCut");
        QCOMPARE(shape(), QStringLiteral("Untitled(B,C(C1)),Paper Folder(P1)"));
        QCOMPARE(tree()->selectedNode(), find("B"));
        QVERIFY(doc().isModified());
        select("Paper Folder");
        trigger("TreePaste");
        QCOMPARE(shape(), QStringLiteral("Untitled(B,C(C1)),Paper Folder(P1,A(A1,A2(A2a),A3))"));
        QCOMPARE(find("A")->level(), 1);
        QCOMPARE(find("A2a")->level(), 3);
    }

    void pasteIntoANewDocumentEnablesSaving()
    {
        select("A");
        trigger("TreeCopy");
        trigger("tbNew");
        QCOMPARE(shape(), QStringLiteral("Untitled,Paper Folder"));
        QVERIFY(!enabled("Save1"));
        QVERIFY(!enabled("ExpandAllTree"));
        // The document node stays selected; the window's commands still follow the new content.
        trigger("TreePaste");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3)),Paper Folder"));
        QCOMPARE(tree()->selectedNode(), doc().documentNode());
        QVERIFY(enabled("Save1"));
        QVERIFY(enabled("tbSave"));
        QVERIFY(enabled("ExpandAllTree"));
    }

    void pasteNeedsASubtreeOnTheClipboard()
    {
        select("B");
        trigger("TreeCopy");
        QVERIFY(enabled("TreePaste"));
        QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
        QVERIFY(!enabled("TreePaste"));
        // Reached without the menu (the item is disabled): nothing to paste still marks the document.
        select("C");
        win().treeCommands().pasteSubtree();
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
        QVERIFY(doc().isModified());

        // Bytes under the program's type that do not read as a subtree: a beep and a message that
        // says why, nothing else.
        doc().setModified(false);
        auto* data = new QMimeData;
        data->setData(QStringLiteral("application/x-notarium-treenode"), QByteArray("TPF0 not a container"));
        QGuiApplication::clipboard()->setMimeData(data);
        trigger("TreePaste");
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
        QCOMPARE(prompt().beeps(), 1);
        QCOMPARE(prompt().count(), 1);
        QVERIFY(prompt().last().text.startsWith(
            QStringLiteral("クリップボードのメモデータが壊れているため、貼り付けできませんでした。")));
        QCOMPARE(prompt().last().icon, MessageIcon::Warning);
        QVERIFY(!doc().isModified());
    }

    void copiedBranchIsAlsoPlainTextForOtherPrograms()
    {
        select("A");
        trigger("TreeCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("A\n\tA1\n\tA2\n\t\tA2a\n\tA3\n"));
        // The memo pane can paste it, and the tree still takes it as a branch.
        QVERIFY(enabled("TreePaste"));
        select("C");
        trigger("TreeCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("C\n\tC1\n"));
    }

    // ---- View commands -------------------------------------------------------------------------

    void collapseAllThenRestore()
    {
        QVERIFY(!enabled("RestoreTreeState"));
        doc().setExpanded(find("A2"), true);
        select("A2a");
        trigger("CollapseAllTree");
        QVERIFY(doc().documentNode()->isExpanded());
        QVERIFY(doc().paperFolderNode()->isExpanded());
        QVERIFY(!find("A")->isExpanded());
        QVERIFY(!find("A2")->isExpanded());
        QCOMPARE(tree()->selectedNode(), find("A"));
        QVERIFY(enabled("RestoreTreeState"));
        QVERIFY(!doc().isModified());

        trigger("RestoreTreeState");
        QVERIFY(find("A")->isExpanded());
        QVERIFY(find("A2")->isExpanded());
        QVERIFY(!find("C")->isExpanded());
        QCOMPARE(tree()->selectedNode(), find("A2a"));
        QVERIFY(!enabled("RestoreTreeState"));
        QVERIFY(!enabled("RestoreTreeState2"));
    }

    void expandAllThenRestore()
    {
        select("A1");
        trigger("ExpandAllTree");
        for (Node* node : doc().nodesInOrder())
            QVERIFY(!node->hasChildren() || node->isExpanded());
        QCOMPARE(tree()->selectedNode(), find("A1"));
        trigger("RestoreTreeState2");
        QVERIFY(!find("C")->isExpanded());
        QVERIFY(!find("A2")->isExpanded());
        QVERIFY(find("A")->isExpanded());
        QVERIFY(tree()->updatesEnabled());

        // The saved state belongs to its document.
        trigger("ExpandAllTree");
        trigger("New1");
        QVERIFY(!enabled("RestoreTreeState"));
        QVERIFY(!enabled("ExpandAllTree"));
    }

    void collapseBranchClimbsFromLeaves()
    {
        doc().setExpanded(find("A2"), true);
        select("B");
        QVERIFY(!enabled("CollapseTree")); // level 1 without children
        select("A2a");
        trigger("CollapseTree");
        QCOMPARE(tree()->selectedNode(), find("A2"));
        QVERIFY(!find("A2")->isExpanded());
        trigger("CollapseTree"); // A2 is closed: its parent goes
        QCOMPARE(tree()->selectedNode(), find("A"));
        QVERIFY(!find("A")->isExpanded());
        QVERIFY(enabled("CollapseTree")); // level 1 with children
    }

    // ---- Enabling ------------------------------------------------------------------------------

    void enablingFollowsTheSelectionAndReadOnly()
    {
        const char* const change[] = { "NewResult", "tbNewResult", "TreeCut", "NodeUp", "NodeDown", "LevelUp",
            "LevelDown", "LevelUpChildren", "LevelDnSiblings", "Exchange3", "Exchange4", "TreeDelete",
            "tbNodeUp", "tbNodeDown", "tbLevelUp", "tbLevelDown", "tbDelete", "tbExchange1", "tbExchange2" };
        const char* const create[]
            = { "NewCategory", "NewChildCategory", "NewMemo", "NewChildMemo", "tbNewCategory", "tbNewMemo" };

        select("Untitled");
        for (const char* name : change)
            QVERIFY2(!enabled(name), name);
        for (const char* name : create)
            QVERIFY2(enabled(name), name);
        QVERIFY(!enabled("TreeCopy"));
        QVERIFY(enabled("ExpandAllTree"));

        select("B");
        for (const char* name : change)
            QVERIFY2(enabled(name), name);
        QVERIFY(enabled("TreeCopy"));

        doc().setReadOnly(true);
        select("A");
        for (const char* name : change)
            QVERIFY2(!enabled(name), name);
        for (const char* name : create)
            QVERIFY2(!enabled(name), name);
        QVERIFY(enabled("TreeCopy"));
        QVERIFY(enabled("CollapseAllTree"));
        trigger("TreeCopy");
        QVERIFY(!enabled("TreePaste"));

        // The commands refuse too when reached without their disabled items.
        TreeCommands& commands = win().treeCommands();
        commands.newCategory();
        commands.newResult();
        commands.exchangeCategoryMemo();
        commands.moveDown();
        commands.deleteTarget();
        commands.cutSubtree();
        commands.pasteSubtree();
        QCOMPARE(prompt().beeps(), 7);
        QCOMPARE(prompt().count(), 0);
        QCOMPARE(shape(), QString::fromLatin1(kOutline));
        QVERIFY(!doc().isModified());
    }

    void popupMenuFollowsItsNode()
    {
        QMenu* popup = win().menus().menu(QStringLiteral("pmTree"));
        auto openOn = [&](const char* title) {
            select(title);
            tree()->setFocus();
            QTest::keyClick(tree(), Qt::Key_F10, Qt::ShiftModifier);
            QTRY_VERIFY(popup->isVisible());
            popup->close();
        };

        // The submenus of moves and kinds go with the items that need a user node.
        openOn("Paper Folder");
        QVERIFY(!menuEnabled("pmLevelChange"));
        QVERIFY(!menuEnabled("pmIconChange"));
        QVERIFY(!enabled("pmTreeCut"));
        QVERIFY(!enabled("pmTreeCopy"));
        QVERIFY(enabled("pmNewChildMemo"));
        QVERIFY(!enabled("RestoreTreeState2"));

        openOn("B");
        QVERIFY(menuEnabled("pmLevelChange"));
        QVERIFY(menuEnabled("pmIconChange"));
        QVERIFY(enabled("pmTreeDelete"));

        trigger("CollapseAllTree");
        doc().setReadOnly(true);
        openOn("A");
        QVERIFY(!menuEnabled("pmLevelChange"));
        QVERIFY(!menuEnabled("pmIconChange"));
        QVERIFY(!enabled("pmNewCategory"));
        QVERIFY(!enabled("pmNewResult"));
        QVERIFY(enabled("pmTreeCopy"));
        QVERIFY(enabled("RestoreTreeState2"));
        QCOMPARE(menuEnabled("BookMenu2"), menuEnabled("BookmarkMenu"));
    }

    void pendingRightPressActsOnThePopupNode()
    {
        // Without a pop-up menu, a right press leaves its flag set, as it is between the press
        // and the menu's opening.
        tree()->setPopupMenu(nullptr);
        auto rightPressOn = [&](const char* title) {
            const QRect rect = tree()->visualRect(tree()->documentModel()->indexFromNode(find(title)));
            QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, rect.center());
            QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, rect.center());
            QVERIFY(tree()->isRightPressed());
        };
        win().treeCommands().preparePopup(Popup::Tree, win().actionState(), find("C"));
        rightPressOn("A1");
        trigger("NewChildMemo");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1,A2(A2a),A3),B,C(C1,Memo)),Paper Folder(P1)"));

        // Once the pop-up's node is deleted, the selected node is the target again.
        f->settings().set(key::NoConfirm, true);
        select("C");
        trigger("TreeDelete");
        rightPressOn("A1");
        trigger("NewChildMemo");
        QCOMPARE(shape(), QStringLiteral("Untitled(A(A1(Memo),A2(A2a),A3),B),Paper Folder(P1)"));
    }
};

QTEST_MAIN(TreeCommandsTest)
#include "TreeCommandsTest.moc"
