// The main window driven the way a person would: through its actions and keys.
#include "app/MainWindow.h"
#include "app/ActionRegistry.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "support/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWheelEvent>
#include <QtTest>

using namespace notarium;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<IniFile> m_ini;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<TMainForm1> m_window;

    void trigger(const char* name)
    {
        QAction* action = m_window->actions().action(QString::fromLatin1(name));
        QVERIFY2(action, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }

    // plan.nmd: A (memo, two lines), B (category) with child C (result) collapsed, D under the paper folder.
    QString makeFile()
    {
        Document doc;
        doc.newDocument();
        Node* a = doc.appendNode(doc.documentNode(), "A", KindMemo);
        a->data()->MemoStr = "first line\r\n\x95\x5C second\r\n";
        Node* b = doc.appendNode(doc.documentNode(), "B", KindCategory);
        doc.appendNode(b, "C", KindResult)->data()->MemoStr = "c\r\n";
        doc.appendNode(doc.paperFolderNode(), "D", KindMemo)->data()->MemoStr = "d\r\n";
        doc.setExpanded(doc.documentNode(), true);
        const QString path = m_dir.filePath(QStringLiteral("plan.nmd"));
        Q_ASSERT(writeDataFile(QFile::encodeName(path).toStdString(), doc, 1).ok);
        return path;
    }

    Node* node(int index) { return m_window->document().nodeAt(index); }

private slots:
    void init()
    {
        m_ini = std::make_unique<IniFile>();
        PlatformDefaults platform;
        platform.documentsFolder = m_dir.path().toStdString();
        m_settings = std::make_unique<Settings>(*m_ini, platform);
        m_services = std::make_unique<TestServices>();
        MainWindowContext context;
        context.ini = m_ini.get();
        context.settings = m_settings.get();
        context.services = m_services->services();
        m_window = std::make_unique<TMainForm1>(context);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void newDocumentShowsTheTwoNodesAndDisablesCommands()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled - Notarium"));
        QCOMPARE(m_window->document().nodeCount(), std::size_t(2));
        QCOMPARE(m_window->treePane()->selectedNode(), node(0));
        QVERIFY(!m_window->titleEdit()->isEnabled());
        QVERIFY(m_window->memoPane()->isReadOnly());
        QVERIFY(!m_window->actions().action(QStringLiteral("Save1"))->isEnabled());
        QVERIFY(!m_window->actions().action(QStringLiteral("GoTitle"))->isEnabled());
        // A new document takes new nodes but has nothing to move, and commands that are not part
        // of this window yet never pretend to work.
        QVERIFY(m_window->actions().action(QStringLiteral("NewMemo"))->isEnabled());
        QVERIFY(!m_window->actions().action(QStringLiteral("tbNodeUp"))->isEnabled());
        QVERIFY(!m_window->actions().action(QStringLiteral("Option1"))->isEnabled());
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("挿入"));
        QCOMPARE(m_window->statusPanel(1)->text(), QString());
    }

    void commandLineOpensTheFile()
    {
        const QString path = makeFile();
        m_window->startWith({ path });
        QCOMPARE(m_window->windowTitle(), path + QStringLiteral(" - Notarium"));
        QCOMPARE(m_window->treePane()->selectedNode(), node(1));
        QCOMPARE(m_window->titleEdit()->text(), QStringLiteral("A"));
        QCOMPARE(m_window->memoPane()->bytes(), std::string("first line\r\n\x95\x5C second\r\n"));
        QVERIFY(!m_window->memoPane()->isReadOnly());
        QVERIFY(m_window->actions().action(QStringLiteral("Save1"))->isEnabled());
        QVERIFY(m_services->prompt.prompts().isEmpty());
    }

    void missingCommandLineFileIsReported()
    {
        const QString path = m_dir.filePath(QStringLiteral("gone.nmd"));
        m_window->startWith({ path });
        QCOMPARE(m_services->prompt.count(), 1);
        QCOMPARE(m_services->prompt.prompts().first().caption, QStringLiteral("ファイルエラー"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled - Notarium"));
    }

    void pagesStepThroughTheOutline()
    {
        m_window->startWith({ makeFile() });
        // PageDn walks every node, collapsed or not; LowerPage only the visible ones.
        trigger("PageDn");
        QCOMPARE(m_window->treePane()->selectedNode(), node(2));
        trigger("PageDn");
        QCOMPARE(m_window->treePane()->selectedNode(), node(3));
        QCOMPARE(m_window->titleEdit()->text(), QStringLiteral("C"));
        trigger("UpperPage");
        QCOMPARE(m_window->treePane()->selectedNode(), node(2));
        // Showing C opened B; once B is closed again, LowerPage passes over C.
        m_window->document().setExpanded(node(2), false);
        trigger("LowerPage");
        QCOMPARE(m_window->treePane()->selectedNode(), node(4));
        trigger("PageDn");
        QCOMPARE(m_window->treePane()->selectedNode(), node(5));
        const int beeps = m_services->prompt.beeps();
        trigger("PageDn");
        QCOMPARE(m_services->prompt.beeps(), beeps + 1);
        QCOMPARE(m_window->treePane()->selectedNode(), node(5));
        m_window->treePane()->setSelectedNode(node(1));
        trigger("PageUp");
        QCOMPARE(m_window->treePane()->selectedNode(), node(0));
        QVERIFY(m_window->memoPane()->isReadOnly());
        QCOMPARE(m_window->memoPane()->bytes(), std::string());
    }

    void eachMemoKeepsItsTextAndCaret()
    {
        m_window->startWith({ makeFile() });
        TExtMemo* memo = m_window->memoPane();
        memo->setFocus();
        memo->setSelPos(3);
        QTest::keyClicks(memo, QStringLiteral("X"));
        trigger("PageDn");
        trigger("PageDn");
        QCOMPARE(memo->bytes(), std::string("c\r\n"));
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("変更"));
        m_window->treePane()->setSelectedNode(node(1));
        QCOMPARE(memo->bytes(), std::string("firXst line\r\n\x95\x5C second\r\n"));
        QCOMPARE(memo->SelPos(), 4);
        QVERIFY(m_window->document().isModified());
    }

    void typedTitleShowsInTheTreeAndMarksModified()
    {
        m_window->startWith({ makeFile() });
        QLineEdit* title = m_window->titleEdit();
        title->setFocus();
        title->selectAll();
        // Japanese arrives through the input method as a committed string.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("新しい題"));
        QApplication::sendEvent(title, &commit);
        QCOMPARE(QString::fromStdU16String(cp932::toUtf16(node(1)->title())), QStringLiteral("新しい題"));
        QVERIFY(m_window->document().isModified());
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("変更"));
    }

    void saveWritesWhatIsOnScreenAndReopeningKeepsEveryByte()
    {
        const QString path = makeFile();
        m_window->startWith({ path });
        TExtMemo* memo = m_window->memoPane();
        memo->setFocus();
        memo->setSelPos(0);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("新"));
        QApplication::sendEvent(memo, &commit);
        trigger("Save1");
        QVERIFY(!m_window->document().isModified());
        QCOMPARE(m_window->statusPanel(1)->text(), QString());
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(path).toStdString(), back).ok());
        QCOMPARE(back.nodeAt(1)->data()->MemoStr,
            std::string("\x90\x56"
                        "first line\r\n\x95\x5C second\r\n"));
        trigger("Close1");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled - Notarium"));
        m_window->fileCommands().reopen(path, false);
        QCOMPARE(memo->bytes(), back.nodeAt(1)->data()->MemoStr);
    }

    void closingAChangedDocumentAsks()
    {
        m_window->startWith({ makeFile() });
        m_window->memoPane()->setFocus();
        QTest::keyClicks(m_window->memoPane(), QStringLiteral("x"));
        m_services->prompt.scriptAnswer(PromptAnswer::Cancel);
        trigger("Close1");
        QCOMPARE(m_services->prompt.last().caption, QStringLiteral("ファイル保存の確認"));
        QVERIFY(m_window->windowTitle().endsWith(QStringLiteral("plan.nmd - Notarium")));
    }

    void panesMaximiseAndComeBack()
    {
        m_window->startWith({ makeFile() });
        trigger("MemoMaximize1");
        QVERIFY(!m_window->treePane()->isVisible());
        QVERIFY(m_window->actions().action(QStringLiteral("MemoMaximize1"))->isChecked());
        QVERIFY(!m_window->actions().action(QStringLiteral("TreeMaximize1"))->isEnabled());
        trigger("MemoMaximize1");
        QVERIFY(m_window->treePane()->isVisible());
        trigger("TreeMaximize1");
        QVERIFY(!m_window->memoPane()->isVisible());
        QVERIFY(!m_window->actions().action(QStringLiteral("GoTitle"))->isEnabled()
            || !m_window->titleEdit()->isVisible());
        trigger("TreeMaximize1");
        QVERIFY(m_window->memoPane()->isVisible());
    }

    void storedShortcutsReplaceTheDefaults()
    {
        // With the section present, every main menu item takes its stored key (none when missing);
        // the bookmarks keep Ctrl+0 to Ctrl+9.
        IniFile ini;
        ini.writeString("ShortCutKeys", "Save1", std::to_string(0x4000 | 0x2000 | 'S'));
        ini.writeString("ShortCutKeys", "N01", "0");
        PlatformDefaults platform;
        Settings settings(ini, platform);
        MainWindowContext context;
        context.ini = &ini;
        context.settings = &settings;
        context.services = m_services->services();
        TMainForm1 window(context);
        QCOMPARE(window.actions().action(QStringLiteral("Save1"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QVERIFY(window.actions().action(QStringLiteral("New1"))->shortcut().isEmpty());
        QCOMPARE(
            window.actions().action(QStringLiteral("N01"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
        // Without the section the defaults stand.
        QCOMPARE(m_window->actions().action(QStringLiteral("New1"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_N));
    }

    void exitWritesTheWindowStateAndRecentFiles()
    {
        const QString path = makeFile();
        m_window->startWith({ path });
        m_window->close();
        QCOMPARE(m_ini->readString("Window", "Maximized", "?"), std::string("0"));
        QVERIFY(!m_ini->readString("Window", "WinW", "").empty());
        QCOMPARE(QString::fromStdString(m_ini->readString("FileMRU", "0", "")), path);
        QCOMPARE(m_ini->readString("Notarium", "EnableCtrlAltKey", "?"), std::string("0"));
        // The input method colours go back as colour names.
        QCOMPARE(m_ini->readString("MemoPane", "icWUBack", "?"), std::string("clYellow"));
        QCOMPARE(m_ini->readString("MemoPane", "icTFLine", "?"), std::string("1"));
    }

    void wheelScrollsTheMemoPane()
    {
        m_window->startWith({ makeFile() });
        TExtMemo* memo = m_window->memoPane();
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
        QLineEdit* title = m_window->titleEdit();
        wheel(m_window.get(), -120, {}, title->mapTo(m_window.get(), title->rect().center()));
        QCOMPARE(memo->FirstVisibleLine(), before + step);
        QWidget* tree = m_window->treePane()->viewport();
        wheel(m_window.get(), -120, {}, tree->mapTo(m_window.get(), tree->rect().center()));
        QCOMPARE(memo->FirstVisibleLine(), before + step);
    }

    void toolBarsComeBackAsTheyWereLeft()
    {
        QToolBar* quick = m_window->findChild<QToolBar*>(QStringLiteral("QuickMemoToolbar"));
        QToolBar* page = m_window->findChild<QToolBar*>(QStringLiteral("PageToolbar"));
        QVERIFY(quick && page);
        QVERIFY(!quick->isVisible());
        quick->show();
        page->hide();
        m_window->close();
        MainWindowContext context;
        context.ini = m_ini.get();
        context.settings = m_settings.get();
        context.services = m_services->services();
        TMainForm1 again(context);
        again.show();
        QVERIFY(again.findChild<QToolBar*>(QStringLiteral("QuickMemoToolbar"))->isVisible());
        QVERIFY(!again.findChild<QToolBar*>(QStringLiteral("PageToolbar"))->isVisible());
        QVERIFY(!again.actions().action(QStringLiteral("mnToolbar3"))->isChecked());
        QVERIFY(again.actions().action(QStringLiteral("mnToolbar4"))->isChecked());
    }

    void toolBarSectionsDescribeAndPlaceTheBars()
    {
        m_window->close();
        // At exit each bar's section tells its edge, row and offset.
        const auto file = m_settings->toolBarPosition("FileToolbar");
        const auto memo = m_settings->toolBarPosition("MemoToolbar");
        const auto quick = m_settings->toolBarPosition("QuickMemoToolbar");
        QVERIFY(file && memo && quick);
        QCOMPARE(file->dockedTo, int(Qt::TopToolBarArea));
        QCOMPARE(file->dockRow, 0);
        QCOMPARE(memo->dockRow, 0);
        QVERIFY(memo->dockPos > file->dockPos);
        QCOMPARE(quick->dockedTo, int(Qt::BottomToolBarArea));
        QCOMPARE(quick->visible, 0);

        // A settings file without Qt's saved state (an older one, or edited by hand) is followed
        // section by section: the View bar on the left edge, the Memo bar on a second top row.
        m_ini->deleteKey("Window", "ToolBars");
        ToolBarPosition page = *m_settings->toolBarPosition("PageToolbar");
        page.dockedTo = int(Qt::LeftToolBarArea);
        m_settings->setToolBarPosition("PageToolbar", page);
        ToolBarPosition second = *memo;
        second.dockRow = 1;
        second.dockPos = 0;
        m_settings->setToolBarPosition("MemoToolbar", second);
        MainWindowContext context;
        context.ini = m_ini.get();
        context.settings = m_settings.get();
        context.services = m_services->services();
        TMainForm1 again(context);
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
