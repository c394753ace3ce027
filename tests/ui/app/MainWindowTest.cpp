// The main window driven the way a person would: through its actions and keys.
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/ActionRegistry.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "app/StatusPanels.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>
#include <QtTest>

using namespace notarium;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    void trigger(const char* name) { f->trigger(name); }
    QString makeFile(const QString& name = QStringLiteral("plan.nmd")) { return f->writeSampleFile(name); }
    Node* node(int index) { return win().document().nodeAt(index); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
    }

    void cleanup() { f.reset(); }

    void newDocumentShowsTheTwoNodesAndDisablesCommands()
    {
        QCOMPARE(win().windowTitle(), QStringLiteral("Untitled - Notarium"));
        QCOMPARE(win().document().nodeCount(), std::size_t(2));
        QCOMPARE(win().treePane()->selectedNode(), node(0));
        QVERIFY(!win().titleEdit()->isEnabled());
        QVERIFY(win().memoPane()->isReadOnly());
        QVERIFY(!win().actions().action(QStringLiteral("Save1"))->isEnabled());
        QVERIFY(!win().actions().action(QStringLiteral("GoTitle"))->isEnabled());
        // A new document takes new nodes but has nothing to move; the options need no document.
        QVERIFY(win().actions().action(QStringLiteral("NewMemo"))->isEnabled());
        QVERIFY(!win().actions().action(QStringLiteral("tbNodeUp"))->isEnabled());
        QVERIFY(win().actions().action(QStringLiteral("Option1"))->isEnabled());
        QCOMPARE(win().status().text(StatusPanels::InsertMode), QStringLiteral("挿入"));
        QCOMPARE(win().status().text(StatusPanels::Modified), QString());
    }

    void commandLineOpensTheFile()
    {
        const QString path = makeFile();
        win().startWith({ path });
        QCOMPARE(win().windowTitle(), path + QStringLiteral(" - Notarium"));
        QCOMPARE(win().treePane()->selectedNode(), node(1));
        QCOMPARE(win().titleEdit()->text(), QStringLiteral("A"));
        QCOMPARE(win().memoPane()->bytes(), std::string("first line\r\n\x95\x5C second\r\n"));
        QVERIFY(!win().memoPane()->isReadOnly());
        QVERIFY(win().actions().action(QStringLiteral("Save1"))->isEnabled());
        QVERIFY(f->services().prompt.prompts().isEmpty());
    }

    void missingCommandLineFileIsReported()
    {
        const QString path = f->path(QStringLiteral("gone.nmd"));
        win().startWith({ path });
        QCOMPARE(f->services().prompt.count(), 1);
        QCOMPARE(f->services().prompt.prompts().first().caption, QStringLiteral("ファイルエラー"));
        QCOMPARE(win().windowTitle(), QStringLiteral("Untitled - Notarium"));
    }

    void pagesStepThroughTheOutline()
    {
        win().startWith({ makeFile() });
        // PageDn walks every node, collapsed or not; LowerPage only the visible ones.
        trigger("PageDn");
        QCOMPARE(win().treePane()->selectedNode(), node(2));
        trigger("PageDn");
        QCOMPARE(win().treePane()->selectedNode(), node(3));
        QCOMPARE(win().titleEdit()->text(), QStringLiteral("C"));
        trigger("UpperPage");
        QCOMPARE(win().treePane()->selectedNode(), node(2));
        // Showing C opened B; once B is closed again, LowerPage passes over C.
        win().document().setExpanded(node(2), false);
        trigger("LowerPage");
        QCOMPARE(win().treePane()->selectedNode(), node(4));
        trigger("PageDn");
        QCOMPARE(win().treePane()->selectedNode(), node(5));
        const int beeps = f->services().prompt.beeps();
        trigger("PageDn");
        QCOMPARE(f->services().prompt.beeps(), beeps + 1);
        QCOMPARE(win().treePane()->selectedNode(), node(5));
        win().treePane()->setSelectedNode(node(1));
        trigger("PageUp");
        QCOMPARE(win().treePane()->selectedNode(), node(0));
        QVERIFY(win().memoPane()->isReadOnly());
        QCOMPARE(win().memoPane()->bytes(), std::string());
    }

    void eachMemoKeepsItsTextAndCaret()
    {
        win().startWith({ makeFile() });
        TExtMemo* memo = win().memoPane();
        memo->setFocus();
        memo->setSelPos(3);
        QTest::keyClicks(memo, QStringLiteral("X"));
        trigger("PageDn");
        trigger("PageDn");
        QCOMPARE(memo->bytes(), std::string("c\r\n"));
        QCOMPARE(win().status().text(StatusPanels::Modified), QStringLiteral("変更"));
        win().treePane()->setSelectedNode(node(1));
        QCOMPARE(memo->bytes(), std::string("firXst line\r\n\x95\x5C second\r\n"));
        QCOMPARE(memo->SelPos(), 4);
        QVERIFY(win().document().isModified());
    }

    void typedTitleShowsInTheTreeAndMarksModified()
    {
        win().startWith({ makeFile() });
        QLineEdit* title = win().titleEdit();
        title->setFocus();
        title->selectAll();
        // Japanese arrives through the input method as a committed string.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("新しい題"));
        QApplication::sendEvent(title, &commit);
        QCOMPARE(QString::fromStdU16String(cp932::toUtf16(node(1)->title())), QStringLiteral("新しい題"));
        QVERIFY(win().document().isModified());
        QCOMPARE(win().status().text(StatusPanels::Modified), QStringLiteral("変更"));
    }

    void saveWritesWhatIsOnScreenAndReopeningKeepsEveryByte()
    {
        const QString path = makeFile();
        win().startWith({ path });
        TExtMemo* memo = win().memoPane();
        memo->setFocus();
        memo->setSelPos(0);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("新"));
        QApplication::sendEvent(memo, &commit);
        trigger("Save1");
        QVERIFY(!win().document().isModified());
        QCOMPARE(win().status().text(StatusPanels::Modified), QString());
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(path).toStdString(), back).ok());
        QCOMPARE(back.nodeAt(1)->data()->MemoStr,
            std::string("\x90\x56"
                        "first line\r\n\x95\x5C second\r\n"));
        trigger("Close1");
        QCOMPARE(win().windowTitle(), QStringLiteral("Untitled - Notarium"));
        win().fileCommands().reopen(path, false);
        QCOMPARE(memo->bytes(), back.nodeAt(1)->data()->MemoStr);
    }

    void closingAChangedDocumentAsks()
    {
        win().startWith({ makeFile() });
        win().memoPane()->setFocus();
        QTest::keyClicks(win().memoPane(), QStringLiteral("x"));
        f->services().prompt.scriptAnswer(PromptAnswer::Cancel);
        trigger("Close1");
        QCOMPARE(f->services().prompt.last().caption, QStringLiteral("ファイル保存の確認"));
        QVERIFY(win().windowTitle().endsWith(QStringLiteral("plan.nmd - Notarium")));
    }

    void panesMaximiseAndComeBack()
    {
        win().startWith({ makeFile() });
        trigger("MemoMaximize1");
        QVERIFY(!win().treePane()->isVisible());
        QVERIFY(win().actions().action(QStringLiteral("MemoMaximize1"))->isChecked());
        QVERIFY(!win().actions().action(QStringLiteral("TreeMaximize1"))->isEnabled());
        trigger("MemoMaximize1");
        QVERIFY(win().treePane()->isVisible());
        trigger("TreeMaximize1");
        QVERIFY(!win().memoPane()->isVisible());
        QVERIFY(!win().actions().action(QStringLiteral("GoTitle"))->isEnabled()
            || !win().titleEdit()->isVisible());
        trigger("TreeMaximize1");
        QVERIFY(win().memoPane()->isVisible());
    }

    void storedShortcutsReplaceTheDefaults()
    {
        // With the section present, every main menu item takes its stored key (none when missing);
        // the bookmarks keep Ctrl+0 to Ctrl+9.
        WindowFixture other;
        other.ini().writeString("ShortCutKeys", "Save1", std::to_string(0x4000 | 0x2000 | 'S'));
        other.ini().writeString("ShortCutKeys", "N01", "0");
        TMainForm1 window(other.context());
        QCOMPARE(window.actions().action(QStringLiteral("Save1"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QVERIFY(window.actions().action(QStringLiteral("New1"))->shortcut().isEmpty());
        QCOMPARE(
            window.actions().action(QStringLiteral("N01"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
        // Without the section the defaults stand.
        QCOMPARE(win().actions().action(QStringLiteral("New1"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_N));
    }

    void exitWritesTheWindowStateAndRecentFiles()
    {
        const QString path = makeFile();
        win().startWith({ path });
        win().close();
        QCOMPARE(f->ini().readString("Window", "Maximized", "?"), std::string("0"));
        QVERIFY(!f->ini().readString("Window", "WinW", "").empty());
        QCOMPARE(QString::fromStdString(f->ini().readString("FileMRU", "0", "")), path);
        QCOMPARE(f->ini().readString("Notarium", "EnableCtrlAltKey", "?"), std::string("0"));
        // The input method colours go back as colour names.
        QCOMPARE(f->ini().readString("MemoPane", "icWUBack", "?"), std::string("clYellow"));
        QCOMPARE(f->ini().readString("MemoPane", "icTFLine", "?"), std::string("1"));
    }

    void exitWritesOnlyTheWindowsOwnKeysOverTheFileAsItIsNow()
    {
        const QString file = f->path(QStringLiteral("notarium.ini"));
        {
            QFile ini(file);
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[TreePane]\nFontSize=9\n[Window]\nTree=150\n");
        }
        f->stop();
        f->useSettingsFile(file);
        f->start();
        // Meanwhile a person (or another window, or the options dialog) changes the file.
        {
            IniFile edited;
            QVERIFY(edited.load(QFile::encodeName(file).toStdString()));
            edited.writeString("TreePane", "FontSize", "20");
            edited.writeString("Notarium", "NoConfirm", "1");
            QVERIFY(edited.save(QFile::encodeName(file).toStdString()));
        }
        win().close();
        IniFile back;
        QVERIFY(back.load(QFile::encodeName(file).toStdString()));
        QCOMPARE(back.readString("TreePane", "FontSize"), std::string("20"));
        QCOMPARE(back.readString("Notarium", "NoConfirm"), std::string("1"));
        QCOMPARE(back.readString("Window", "Maximized"), std::string("0"));
        QVERIFY(!back.readString("MemoPane", "icWUBack").empty());
        QVERIFY(f->prompt().prompts().isEmpty());
    }

    void aSettingsFileThatCannotBeSavedIsReported()
    {
        // A file where the settings folder should be: no save can succeed, as any user.
        QFile blocker(f->path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f->stop();
        f->useSettingsFile(f->path(QStringLiteral("blocker/notarium.ini")));
        f->start();
        win().close();
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイル I/O エラー"));
        QVERIFY(f->prompt().last().text.startsWith(QStringLiteral("設定ファイル ")));
        QVERIFY(f->prompt().last().text.contains(QStringLiteral("blocker/notarium.ini を保存できませんでした。")));
    }

    void obsoleteSwitchNoticeComesLast()
    {
        const QString path = makeFile();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
        win().startWith({ QStringLiteral("-S"), path });
        QCOMPARE(f->prompt().count(), 2);
        QCOMPARE(f->prompt().prompts()[0].text, QStringLiteral("選択されたファイルは読み取り専用です。"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("-s is not available."));
        QVERIFY(win().document().isReadOnly());
    }

    void openingScrollsTheTreeFullyLeft()
    {
        Document doc;
        doc.newDocument();
        Node* parent = doc.documentNode();
        for (int i = 0; i < 12; ++i)
            parent = doc.appendNode(parent, "a long title that does not fit into a narrow tree pane", KindMemo);
        for (Node* n = parent; n != nullptr; n = n->parent())
            doc.setExpanded(n, true);
        const QString path = f->path(QStringLiteral("deep.nmd"));
        QVERIFY(writeDataFile(QFile::encodeName(path).toStdString(), doc, 13).ok);
        QScrollBar* bar = win().treePane()->horizontalScrollBar();
        win().startWith({ path });
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        f->services().files.scriptOpen(path);
        win().fileCommands().reopen(path, false);
        // Also once the pane has laid itself out again.
        QCOMPARE(bar->value(), bar->minimum());
        QTest::qWait(50);
        QCOMPARE(bar->value(), bar->minimum());
    }

    void aFileDroppedOnTheMemoPaneOpensAsADocument()
    {
        const QString path = makeFile();
        win().startWith({ makeFile(QStringLiteral("first.nmd")) });
        TExtMemo* memo = win().memoPane();
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(path) });
        data.setText(QUrl::fromLocalFile(path).toString());
        QWidget* target = memo->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QTRY_COMPARE(win().fileCommands().currentPath(), path);
        QVERIFY(!QString::fromStdString(memo->bytes()).contains(QStringLiteral("file:")));
        QVERIFY(!win().document().isModified());
    }

    void wheelScrollsTheMemoPane()
    {
        win().startWith({ makeFile() });
        TExtMemo* memo = win().memoPane();
        const QFont font = memo->font();
        // pos: where over target the wheel turns (its centre unless given).
        auto wheel = [](QWidget* target, int delta, Qt::KeyboardModifiers modifiers = {}, QPoint pos = {}) {
            if (pos.isNull())
                pos = target->rect().center();
            QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
            return event.isAccepted();
        };
        // Two lines fit easily: nothing moves, and the event is still taken.
        QVERIFY(wheel(memo->viewport(), -120));
        QCOMPARE(memo->FirstVisibleLine(), 0);

        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        memo->setBytes(text);
        const int step = QApplication::wheelScrollLines();
        QVERIFY(wheel(memo->viewport(), -120));
        QCOMPARE(memo->FirstVisibleLine(), step);
        wheel(memo->viewport(), 120);
        QCOMPARE(memo->FirstVisibleLine(), 0);
        // Half notches add up.
        wheel(memo->viewport(), -60);
        QCOMPARE(memo->FirstVisibleLine(), 0);
        wheel(memo->viewport(), -60);
        QCOMPARE(memo->FirstVisibleLine(), step);
        // With Ctrl a page, and the text keeps its size.
        wheel(memo->viewport(), -120, Qt::ControlModifier);
        QVERIFY(memo->FirstVisibleLine() >= step + 10);
        QCOMPARE(memo->font(), font);
        // A wheel that the title box leaves unused reaches the window and scrolls the memo pane;
        // one the tree pane leaves unused (it is at its end) does not.
        const int before = memo->FirstVisibleLine();
        QLineEdit* title = win().titleEdit();
        wheel(&win(), -120, {}, title->mapTo(&win(), title->rect().center()));
        QCOMPARE(memo->FirstVisibleLine(), before + step);
        QWidget* tree = win().treePane()->viewport();
        wheel(&win(), -120, {}, tree->mapTo(&win(), tree->rect().center()));
        QCOMPARE(memo->FirstVisibleLine(), before + step);
    }

    void toolBarsComeBackAsTheyWereLeft()
    {
        QToolBar* quick = win().findChild<QToolBar*>(QStringLiteral("QuickMemoToolbar"));
        QToolBar* page = win().findChild<QToolBar*>(QStringLiteral("PageToolbar"));
        QVERIFY(quick && page);
        QVERIFY(!quick->isVisible());
        quick->show();
        page->hide();
        win().close();
        TMainForm1 again(f->context());
        again.show();
        QVERIFY(again.findChild<QToolBar*>(QStringLiteral("QuickMemoToolbar"))->isVisible());
        QVERIFY(!again.findChild<QToolBar*>(QStringLiteral("PageToolbar"))->isVisible());
        QVERIFY(!again.actions().action(QStringLiteral("mnToolbar3"))->isChecked());
        QVERIFY(again.actions().action(QStringLiteral("mnToolbar4"))->isChecked());
    }

    void toolBarSectionsDescribeAndPlaceTheBars()
    {
        win().close();
        // At exit each bar's section tells its edge, row and offset.
        const auto file = f->settings().toolBarPosition("FileToolbar");
        const auto memo = f->settings().toolBarPosition("MemoToolbar");
        const auto quick = f->settings().toolBarPosition("QuickMemoToolbar");
        QVERIFY(file && memo && quick);
        QCOMPARE(file->dockedTo, int(Qt::TopToolBarArea));
        QCOMPARE(file->dockRow, 0);
        QCOMPARE(memo->dockRow, 0);
        QVERIFY(memo->dockPos > file->dockPos);
        QCOMPARE(quick->dockedTo, int(Qt::BottomToolBarArea));
        QCOMPARE(quick->visible, 0);

        // A settings file without Qt's saved state (an older one, or edited by hand) is followed
        // section by section: the View bar on the left edge, the Memo bar on a second top row.
        f->ini().deleteKey("Window", "ToolBars");
        ToolBarPosition page = *f->settings().toolBarPosition("PageToolbar");
        page.dockedTo = int(Qt::LeftToolBarArea);
        f->settings().setToolBarPosition("PageToolbar", page);
        ToolBarPosition second = *memo;
        second.dockRow = 1;
        second.dockPos = 0;
        f->settings().setToolBarPosition("MemoToolbar", second);
        TMainForm1 again(f->context());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        auto bar = [&again](const char* name) { return again.findChild<QToolBar*>(QString::fromLatin1(name)); };
        QCOMPARE(again.toolBarArea(bar("PageToolbar")), Qt::LeftToolBarArea);
        QCOMPARE(again.toolBarArea(bar("MemoToolbar")), Qt::TopToolBarArea);
        QVERIFY(bar("MemoToolbar")->y() > bar("FileToolbar")->y());
        QVERIFY(!bar("QuickMemoToolbar")->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
