// The input helper list in the main window, opened with Ctrl+Space as a person does: what it
// inserts, what it refuses, the keys it swallows while open and where it opens.
#include "app/FileCommands.h"
#include "app/MenuBuilder.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"
#include "editor/TRetListBox.h"
#include "support/WindowFixture.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QMenu>
#include <QtTest>

using namespace notarium;

class HelperListTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    TExtMemo* memo() { return win().memoPane(); }
    TRetListBox* list() { return win().findChild<TRetListBox*>(QStringLiteral("HelperList")); }
    std::string text() { return memo()->bytes(); }

    void writeList(const QByteArray& bytes)
    {
        QFile file(f->path(QStringLiteral("HelpList.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // A saved, unmodified document whose memo A shows body, focused with the caret at caret.
    void openMemo(const std::string& body, int caret, bool readOnly = false)
    {
        Document doc;
        doc.newDocument();
        doc.appendNode(doc.documentNode(), "A", KindMemo);
        const QString path = f->path(QStringLiteral("memo.nmd"));
        QVERIFY(writeDataFile(QFile::encodeName(path).toStdString(), doc, 1).ok);
        QVERIFY(win().fileCommands().openDocument(path, readOnly));
        f->select("A");
        memo()->setBytes(body);
        win().document().setModified(false);
        memo()->setFocus();
        QTRY_VERIFY(memo()->hasFocus());
        memo()->setSelPos(caret);
    }
    void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(widget, key, modifiers);
    }
    void openList()
    {
        press(memo(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(list()->isVisible());
        QTRY_VERIFY(list()->hasFocus());
    }
    void closed()
    {
        QVERIFY(!list()->isVisible());
        QTRY_VERIFY(memo()->hasFocus());
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
    }
    void cleanup() { f.reset(); }

    void withoutPhrasesItBeepsAndTheMemoKeepsTheFocus()
    {
        openMemo("abc", 1);
        for (const bool emptyFile : { false, true }) {
            if (emptyFile)
                writeList("");
            f->prompt().clear();
            press(memo(), Qt::Key_Space, Qt::ControlModifier);
            QCOMPARE(f->prompt().beeps(), 1);
            QCOMPARE(win().status().text(StatusPanels::Message), QStringLiteral("文字列入力支援リストが定義されていません"));
            QVERIFY(!list()->isVisible());
            QVERIFY(memo()->hasFocus());
            QCOMPARE(text(), std::string("abc"));
        }
    }

    void aFileTooLargeToReadIsRefusedWithAMessage()
    {
        openMemo("abc", 1);
        // Sparse: the phrase at the start is not read, the size alone decides.
        writeList("phrase\n");
        QVERIFY(QFile::resize(f->path(QStringLiteral("HelpList.dat")), 2147483648LL));
        f->prompt().clear();
        press(memo(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイル %1 は大きすぎるため読み込めません。\r\n"
                           "文字列入力支援リストのファイルは 2 GB (2,147,483,647 バイト) までです。")
                .arg(f->path(QStringLiteral("HelpList.dat"))));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイルエラー"));
        // Told once: no beep and no second word in the status bar on top.
        QCOMPARE(f->prompt().beeps(), 0);
        QVERIFY(!list()->isVisible());
        QCOMPARE(list()->count(), 0);
        QCOMPARE(text(), std::string("abc"));
    }

    void enterOrADoubleClickInsertsEscapeAndAnEmptyLineDoNot()
    {
        f->settings().set(key::HelpListSorted, true);
        writeList("\xE3\x81\x82\xE3\x81\x84\r\n\r\nalpha\n");
        openMemo("hello world", 5);
        openList();
        // Sorted: the empty line, alpha, あい.
        QCOMPARE(list()->count(), 3);
        QCOMPARE(list()->currentRow(), 0);
        press(list(), Qt::Key_Down);
        press(list(), Qt::Key_Down);
        press(list(), Qt::Key_Return);
        closed();
        QCOMPARE(text(), std::string("hello\x82\xA0\x82\xA2 world")); // あい in CP932
        QVERIFY(win().document().isModified());
        memo()->Undo();
        QCOMPARE(text(), std::string("hello world"));

        // In place of the selection; read once, so a changed file is not read again.
        writeList("other\n");
        memo()->setSelPos(6);
        memo()->setSelLen(5);
        openList();
        press(list(), Qt::Key_Down);
        press(list(), Qt::Key_Enter, Qt::KeypadModifier);
        closed();
        QCOMPARE(text(), std::string("hello alpha"));

        // Escape, and the empty line, insert nothing and keep the selection.
        memo()->setSelPos(0);
        memo()->setSelLen(5);
        openList();
        press(list(), Qt::Key_Escape);
        closed();
        openList();
        press(list(), Qt::Key_Return);
        closed();
        QCOMPARE(text(), std::string("hello alpha"));
        QCOMPARE(memo()->SelLen(), 5);

        // A double click inserts the item clicked.
        memo()->setSelPos(11);
        openList();
        const QPoint third = list()->visualRect(list()->model()->index(2, 0)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, third);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, third);
        closed();
        QCOMPARE(text(), std::string("hello alpha\x82\xA0\x82\xA2"));
    }

    void whileOpenOtherKeysDoNothing()
    {
        writeList("alpha\nbeta\ngamma\n");
        openMemo("text", 4);
        memo()->insertText(QStringLiteral("!"));
        openList();
        // Ctrl+S does not save, letters neither search nor type, Tab does not leave.
        for (const auto& [key, modifiers] : std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> {
                 { Qt::Key_S, Qt::ControlModifier }, { Qt::Key_G, Qt::NoModifier }, { Qt::Key_B, Qt::ShiftModifier },
                 { Qt::Key_Tab, Qt::NoModifier }, { Qt::Key_Right, Qt::NoModifier },
                 { Qt::Key_Space, Qt::ControlModifier }, { Qt::Key_Down, Qt::AltModifier } })
            press(list(), key, modifiers);
        QVERIFY(list()->hasFocus());
        QCOMPARE(list()->currentRow(), 0);
        QVERIFY(win().document().isModified());
        QCOMPARE(text(), std::string("text!"));
        // The keys that move in the list do.
        press(list(), Qt::Key_Down);
        QCOMPARE(list()->currentRow(), 1);
        press(list(), Qt::Key_End);
        QCOMPARE(list()->currentRow(), 2);

        // Opening a menu of the menu bar closes it, as does the focus going elsewhere.
        QMenu* menu = win().menus().mainMenus().front();
        menu->popup(win().mapToGlobal(QPoint(0, 0)));
        QVERIFY(!list()->isVisible());
        menu->close();
        // The offscreen platform leaves the closed menu the active window.
        win().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&win()));
        closed();
        openList();
        win().treePane()->setFocus();
        closed();
        QCOMPARE(text(), std::string("text!"));
    }

    void notDuringACompositionNorInAReadOnlyDocument()
    {
        writeList("alpha\n");
        openMemo("abc", 3);
        QInputMethodEvent composing(QStringLiteral("か"), {});
        QInputMethodEvent done;
        for (QWidget* box : { static_cast<QWidget*>(memo()), static_cast<QWidget*>(win().titleEdit()) }) {
            QApplication::sendEvent(box, &composing);
            f->trigger("HelperList1");
            QVERIFY(!list()->isVisible());
            QApplication::sendEvent(box, &done);
        }
        QCOMPARE(f->prompt().beeps(), 0);

        openMemo("abc", 3, true);
        QVERIFY(!f->isEnabled("HelperList1"));
        QVERIFY(!f->isEnabled("HelperList2"));
        press(memo(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!list()->isVisible());
    }

    void opensBelowTheCaretInsideTheMemoPane()
    {
        writeList("alpha\n");
        std::string lines;
        for (int i = 0; i < 60; ++i)
            lines += "line\r\n";
        openMemo(lines, 0);
        QWidget* side = memo()->parentWidget();
        QCOMPARE(list()->size(), QSize(257, 97));
        const QRect memoRect = memo()->geometry();
        const auto caret = [this, side] {
            return QRect(memo()->viewport()->mapTo(side, memo()->cursorRect().topLeft()), memo()->cursorRect().size());
        };
        openList();
        QCOMPARE(list()->parentWidget(), side);
        QCOMPARE(list()->x(), caret().x() + 2);
        QVERIFY(list()->y() > caret().bottom() - 2 && list()->y() < caret().bottom() + 8);
        press(list(), Qt::Key_Escape);

        // At the end of a long line near the bottom: inside the pane, above the caret's line.
        memo()->setBytes(lines + std::string(30, 'x'));
        memo()->setSelPos(memo()->TextLength());
        memo()->ensureCursorVisible();
        QVERIFY(caret().x() + 2 + 257 > memoRect.right());
        QVERIFY(caret().bottom() + 97 > memoRect.bottom());
        openList();
        QCOMPARE(list()->geometry().right(), memoRect.right() - 2);
        QVERIFY(list()->geometry().bottom() < caret().top());
    }
};

QTEST_MAIN(HelperListTest)
#include "HelperListTest.moc"
