// The bookmarks driven through their keys, menu items and the bookmark list: setting, jumping into
// closed branches, clearing from the memo pane, what the menus and the tree pane show, deleted,
// cut and moved nodes, what the file keeps, read-only documents and the list's own commands.
#include "bookmarks/BookmarkCommands.h"
#include "app/DocumentTreeModel.h"
#include "app/FileCommands.h"
#include "app/HelpWindow.h"
#include "app/TreePane.h"
#include "bookmarks/TBookmarkForm.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QTreeWidget>
#include <QtTest>

using namespace notarium;

class BookmarkCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    // Untitled ( A ( A1 ( A1a ) ) B ) Paper Folder; A and A1 closed.
    Node* a = nullptr;
    Node* a1 = nullptr;
    Node* a1a = nullptr;
    Node* b = nullptr;

    TMainForm1& win() { return f->window(); }
    Document& doc() { return f->document(); }
    TreePane& tree() { return *win().treePane(); }
    BookmarkCommands& commands() { return *win().findChild<BookmarkCommands*>(); }
    TBookmarkForm* list() { return commands().listWindow(); }
    QString text(const char* action) { return f->action(action)->text(); }
    QVariant stateImage(const Node* node)
    {
        return tree().documentModel()->indexFromNode(node).data(DocumentTreeModel::StateImageRole);
    }
    void clearKey(QWidget* focused, Qt::Key digit)
    {
        focused->setFocus();
        QTRY_VERIFY(focused->hasFocus());
        QTest::keyClick(focused, digit, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QByteArray savedBookmarks()
    {
        const QString path = f->path(QStringLiteral("saved.nmd"));
        if (win().fileCommands().isUntitled())
            f->services().files.scriptSave(path);
        if (!win().fileCommands().save())
            return {};
        QFile file(win().fileCommands().currentPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        const qsizetype at = bytes.indexOf("::Bookmarks::\r\n") + 15;
        return bytes.mid(at, bytes.indexOf("\r\n\r\n", at) - at);
    }
    QTreeWidgetItem* row(int slot) { return list()->list()->topLevelItem(slot); }
    void triggerInList(const char* name)
    {
        auto* action = list()->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr && action->isEnabled(), name);
        action->trigger();
    }
    bool enabledInList(const char* name)
    {
        return list()->findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
        a = doc().createUserNode(doc().documentNode(), 0, KindCategory, "A");
        a1 = doc().createUserNode(a, 0, KindMemo, "A1");
        a1a = doc().createUserNode(a1, 0, KindMemo, "A1a");
        a1a->data()->MemoStr = "line one\r\nline two";
        b = doc().createUserNode(doc().documentNode(), 1, KindMemo, "B");
        doc().setModified(false);
    }
    void cleanup() { f.reset(); }

    void setJumpAndClearWithTheKeys()
    {
        tree().setSelectedNode(a1a);
        f->trigger("N31");
        QCOMPARE(doc().bookmark(3), a1a);
        QVERIFY(doc().isModified());
        QCOMPARE(stateImage(a1a), QVariant(3));
        QCOMPARE(text("N31"), QStringLiteral("&3 A1a"));
        QCOMPARE(text("pmBookmark3"), QStringLiteral("&3 A1a"));
        QCOMPARE(text("pmBookmark5"), QStringLiteral("&5 （未設定）"));
        // A node takes one bookmark only.
        f->trigger("N51");
        QCOMPARE(doc().bookmark(5), nullptr);
        QCOMPARE(text("N51"), QStringLiteral("&5 （未設定）"));

        // Back from elsewhere, into closed branches, which open.
        doc().setExpanded(a, false);
        doc().setExpanded(a1, false);
        tree().setSelectedNode(b);
        f->trigger("N31");
        QCOMPARE(tree().selectedNode(), a1a);
        QVERIFY(tree().isExpanded(tree().documentModel()->indexFromNode(a1)));
        QCOMPARE(win().memoPane()->bytes(), std::string("line one\r\nline two"));
        // The captions follow the title.
        win().titleEdit()->setFocus();
        win().titleEdit()->selectAll();
        QTest::keyClicks(win().titleEdit(), QStringLiteral("A & B"));
        QCOMPARE(a1a->title(), std::string("A & B"));
        QCOMPARE(text("N31"), QStringLiteral("&3 A && B"));

        // Cleared from the memo pane, which types nothing; the last one takes the table along,
        // and the file says "nil".
        doc().setModified(false);
        clearKey(win().memoPane(), Qt::Key_3);
        QCOMPARE(win().memoPane()->bytes(), std::string("line one\r\nline two"));
        QCOMPARE(doc().bookmark(3), nullptr);
        QVERIFY(!doc().hasBookmarkTable());
        QVERIFY(doc().isModified());
        QVERIFY(!stateImage(a1a).isValid());
        QCOMPARE(text("N31"), QStringLiteral("&3 （未設定）"));
        QCOMPARE(text("pmBookmark3"), QStringLiteral("&3 （未設定）"));
        QCOMPARE(savedBookmarks(), QByteArray("nil"));

        // The title box does not take the key either; a top-level node is never bookmarked, and
        // leaves no table behind.
        f->trigger("N91");
        QCOMPARE(doc().bookmark(9), a1a);
        clearKey(win().titleEdit(), Qt::Key_9);
        QVERIFY(!doc().hasBookmarkTable());
        QCOMPARE(win().titleEdit()->text(), QStringLiteral("A & B"));
        tree().setSelectedNode(doc().documentNode());
        doc().setModified(false);
        f->trigger("N01");
        f->trigger("pmBookmark1");
        QVERIFY(!doc().hasBookmarkTable());
        QVERIFY(!doc().isModified());
    }

    void deletedAndCutNodesLoseTheirBookmarkMovedOnesKeepIt()
    {
        doc().setExpanded(a, true);
        doc().setExpanded(a1, true);
        tree().setSelectedNode(a1a);
        f->trigger("N26");
        tree().setSelectedNode(b);
        f->trigger("N71");
        f->trigger("TreeDelete"); // the question is answered Yes
        QVERIFY(f->find("B") == nullptr);
        QCOMPARE(doc().bookmark(7), nullptr);
        QCOMPARE(text("N71"), QStringLiteral("&7 （未設定）"));
        QVERIFY(doc().hasBookmarkTable());

        // A move keeps it, and so do the file and a new reading of it.
        tree().setSelectedNode(a1a);
        f->trigger("LevelUp");
        f->trigger("LevelUp");
        f->trigger("NodeUp");
        QCOMPARE(doc().absoluteIndex(a1a), 2); // was 3
        QCOMPARE(doc().bookmark(2), a1a);
        QCOMPARE(savedBookmarks(),
            QByteArray("None\r\nNone\r\n2\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone"));
        QVERIFY(win().fileCommands().openDocument(win().fileCommands().currentPath(), false));
        Node* back = f->find("A1a");
        QCOMPARE(doc().bookmark(2), back);
        QCOMPARE(text("N26"), QStringLiteral("&2 A1a"));
        QCOMPARE(stateImage(back), QVariant(2));

        // Cut: the pasted copy is another node, without the bookmark.
        tree().setSelectedNode(back);
        f->trigger("TreeCut");
        QVERIFY(!doc().hasBookmarkTable());
        QCOMPARE(text("pmBookmark2"), QStringLiteral("&2 （未設定）"));
        f->trigger("TreePaste");
        QVERIFY(f->find("A1a") != nullptr);
        QVERIFY(!doc().hasBookmarkTable());
    }

    void readOnlyDocumentTakesBookmarksWithoutBeingModified()
    {
        const QString file = f->writeSampleFile();
        QVERIFY(win().fileCommands().openDocument(file, true));
        QVERIFY(doc().isReadOnly());
        f->select("A");
        f->trigger("N41");
        QCOMPARE(doc().bookmark(4), f->find("A"));
        QCOMPARE(text("N41"), QStringLiteral("&4 A"));
        clearKey(&tree(), Qt::Key_4);
        QVERIFY(!doc().hasBookmarkTable());
        QVERIFY(!doc().isModified());
    }

    void theBookmarkListAddsRemovesAndJumps()
    {
        doc().setExpanded(a, true);
        doc().setExpanded(a1, true);
        tree().setSelectedNode(b);
        f->trigger("N26");
        doc().setExpanded(a, false);
        tree().setSelectedNode(a);
        f->trigger("BookList");
        QVERIFY(list() != nullptr && list()->isVisible() && list()->isModal());
        QCOMPARE(list()->windowTitle(), QStringLiteral("ブックマーク一覧"));
        QCOMPARE(list()->size(), QSize(532, 225));
        QCOMPARE(list()->list()->topLevelItemCount(), 10);
        QCOMPARE(list()->selectedSlot(), 0);
        QCOMPARE(row(2)->text(0), QStringLiteral("B"));
        QVERIFY(!enabledInList("BookListJump"));
        QVERIFY(enabledInList("BookListDelAll"));

        // Enter and a double click on an empty row only beep.
        QTest::keyClick(list()->list(), Qt::Key_Return);
        const QRect empty = list()->list()->visualItemRect(row(0));
        // A double click is a click and a second press.
        QTest::mouseClick(list()->list()->viewport(), Qt::LeftButton, {}, empty.center());
        QTest::mouseDClick(list()->list()->viewport(), Qt::LeftButton, {}, empty.center());
        QCOMPARE(f->prompt().beeps(), 2);
        QVERIFY(list()->isVisible());

        // Adding puts the selected node into the row's slot; it can then not be added again.
        list()->selectSlot(0);
        triggerInList("BookListAdd");
        QCOMPARE(doc().bookmark(0), a);
        QCOMPARE(row(0)->text(0), QStringLiteral("A"));
        list()->selectSlot(1);
        QVERIFY(!enabledInList("BookListAdd"));

        // Removing one row, then all of them.
        list()->selectSlot(2);
        triggerInList("BookListDel");
        QCOMPARE(doc().bookmark(2), nullptr);
        QVERIFY(row(2)->text(0).isEmpty());
        QCOMPARE(text("N26"), QStringLiteral("&2 （未設定）"));
        list()->selectSlot(5);
        triggerInList("BookListDelAll");
        QVERIFY(!doc().hasBookmarkTable());
        QCOMPARE(list()->selectedSlot(), 0);
        QVERIFY(!enabledInList("BookListDelAll"));
        QVERIFY(enabledInList("BookListAdd"));

        // The text column shows where the text starts; a jump closes the window.
        tree().setSelectedNode(a1a);
        list()->selectSlot(8);
        triggerInList("BookListAdd");
        QCOMPARE(row(8)->text(1), QStringLiteral("line one line two"));
        list()->activateWindow();
        QTRY_VERIFY(list()->list()->hasFocus());
        QTest::keyClick(list()->list(), Qt::Key_F1);
        QCOMPARE(f->services().help.last(), int(HelpWindow::BookmarkListContext));
        tree().setSelectedNode(b);
        QTest::keyClick(list()->list(), Qt::Key_Return);
        QTRY_VERIFY(list() == nullptr);
        QCOMPARE(tree().selectedNode(), a1a);
    }
};

QTEST_MAIN(BookmarkCommandsTest)
#include "BookmarkCommandsTest.moc"
