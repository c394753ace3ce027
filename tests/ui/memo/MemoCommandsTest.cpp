// The editing commands of the title box and the memo pane, driven through the main window's
// actions and keys the way a person uses them.
#include "memo/MemoCommands.h"
#include "app/ActionRegistry.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
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
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace notarium;

namespace {

std::string operator""_b(const char* text, std::size_t size)
{
    return std::string(text, size);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void setClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

// Collection mode as the edit commands see it: each clipboard change while not paused is a clip.
class FakeMonitor : public ClipboardMonitorControl {
public:
    FakeMonitor()
    {
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &m_context, [this] {
            if (collecting && !m_paused)
                clips << clipboardText();
        });
    }
    bool isCollecting() const override { return collecting; }
    void pause() override
    {
        m_paused = true;
        ++pauses;
    }
    void resume() override { m_paused = false; }
    void stopCollecting() override { collecting = false; }

    bool collecting = true;
    QStringList clips;
    int pauses = 0;

private:
    QObject m_context;
    bool m_paused = false;
};

} // namespace

class MemoCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() const { return f->window(); }

    TExtMemo* memo() const { return win().memoPane(); }
    QLineEdit* title() const { return win().titleEdit(); }
    QAction* action(const char* name) const { return win().actions().action(QString::fromLatin1(name)); }
    bool enabled(const char* name) const { return action(name)->isEnabled(); }
    QString panel(StatusPanels::Panel panel) const { return win().status().text(panel); }
    QString nodeTitle() const
    {
        return QString::fromStdU16String(cp932::toUtf16(win().document().nodeAt(1)->title()));
    }

    void trigger(const char* name)
    {
        QVERIFY2(enabled(name), name);
        action(name)->trigger();
    }

    // Opens a document whose memo A (node 1) shows exactly the given text, unmodified, with the
    // memo pane focused.
    void openMemo(const std::string& text, bool readOnly = false)
    {
        Document doc;
        doc.newDocument();
        doc.appendNode(doc.documentNode(), "A", KindMemo);
        doc.appendNode(doc.documentNode(), "B", KindMemo);
        const QString path = f->path(QStringLiteral("memo.nmd"));
        QVERIFY(writeDataFile(QFile::encodeName(path).toStdString(), doc, 1).ok);
        QVERIFY(win().fileCommands().openDocument(path, readOnly));
        memo()->setBytes(text);
        memo()->setModified(false);
        win().document().setModified(false);
        focus(memo());
    }

    void focus(QWidget* widget)
    {
        widget->setFocus();
        QTRY_VERIFY(widget->hasFocus());
    }

    void select(int bytePos, int byteLength)
    {
        memo()->setSelPos(bytePos);
        memo()->setSelLen(byteLength);
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
        QGuiApplication::clipboard()->clear();
    }

    void cleanup() { f.reset(); }

    void pasteDropsATrailingEndOfFileMark()
    {
        openMemo("12");
        memo()->setSelPos(1);
        memo()->setTabWidth(7);
        setClipboard(QStringLiteral("abc\x1A"));
        trigger("Paste1");
        QCOMPARE(memo()->bytes(), "1abc2"_b);
        QCOMPARE(clipboardText(), QStringLiteral("abc"));
        QCOMPARE(memo()->SelPos(), 4);
        QCOMPARE(panel(StatusPanels::Modified), QStringLiteral("変更"));
        // Pasting sets the tab stops from the settings again.
        QCOMPARE(memo()->TabWidth(), f->settings().get(key::TabSize));

        // The paste key follows the same rules; only a trailing mark goes, and what the code page
        // cannot hold becomes 〓. Only the text of the clipboard is pasted.
        auto* data = new QMimeData;
        data->setHtml(QStringLiteral("<b>bold</b>"));
        data->setText(QStringLiteral("x\x1Ay😀\x1A"));
        QGuiApplication::clipboard()->setMimeData(data);
        QTest::keyClick(memo(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(memo()->bytes(),
            "1abcx\x1Ay\x81\xac"
            "2"_b);
        QCOMPARE(clipboardText(), QStringLiteral("x\x1Ay😀"));
        QCOMPARE(panel(StatusPanels::Message), QStringLiteral("Shift-JIS で表せない文字を「〓」に置き換えました"));
        // Undo takes back one paste at a time.
        trigger("Undo1");
        QCOMPARE(memo()->bytes(), "1abc2"_b);
    }

    void titleBoxTakesTheCommandsWhileFocused()
    {
        openMemo("memo");
        focus(title());
        title()->selectAll();
        QVERIFY(enabled("Cut1") && enabled("tbCopy"));
        setClipboard(QStringLiteral("新題"));
        trigger("Paste1");
        QCOMPARE(nodeTitle(), QStringLiteral("新題"));
        QVERIFY(win().document().isModified());

        // Copy leaves the selection collapsed at its start; cut takes the text out of the title.
        title()->setSelection(1, 1);
        trigger("Copy1");
        QCOMPARE(clipboardText(), QStringLiteral("題"));
        QVERIFY(!title()->hasSelectedText());
        QCOMPARE(title()->cursorPosition(), 1);
        title()->setSelection(0, 1);
        trigger("Cut1");
        QCOMPARE(nodeTitle(), QStringLiteral("題"));
        QCOMPARE(clipboardText(), QStringLiteral("新"));

        // A selection made by keys is followed once the key is released.
        QTest::keyClick(title(), Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(enabled("tbCut"));
        QTest::keyClick(title(), Qt::Key_Home);
        QVERIFY(!enabled("tbCut") && !enabled("Copy1"));

        // Select all is the memo pane's, whatever has the focus.
        trigger("SelectAll1");
        QCOMPARE(memo()->SelLen(), 4);
        QVERIFY(title()->hasFocus());

        // With neither box focused the commands leave everything as it was.
        focus(win().treePane());
        QVERIFY(!enabled("Paste1"));
        action("Cut1")->setEnabled(true);
        action("Cut1")->trigger();
        QCOMPARE(memo()->bytes(), "memo"_b);
        QCOMPARE(title()->text(), QStringLiteral("題"));
    }

    void eraseLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selPos");
        QTest::addColumn<int>("selLen");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ending with a break") << QByteArray("a\r\nb\r\nc") << 0 << 6 << QByteArray("ab\r\nc");
        QTest::newRow("ending inside a line") << QByteArray("a\r\nb\r\nc") << 0 << 4 << QByteArray("ab\r\nc");
        QTest::newRow("double-byte text") << QByteArray("x\x82\xa0\r\n\x82\xa2\r\n\r\ny") << 1 << 10
                                          << QByteArray("x\x82\xa0\x82\xa2\r\ny");
    }

    void eraseLineBreaks()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, selPos);
        QFETCH(int, selLen);
        QFETCH(QByteArray, expected);
        openMemo(text.toStdString());
        QVERIFY(!enabled("EraseCRLF1"));
        select(selPos, selLen);
        trigger("EraseCRLF1");
        QCOMPARE(QByteArray::fromStdString(memo()->bytes()), expected);
        QVERIFY(win().document().isModified());
    }

    void enterCarriesTheIndentationLeftOfTheCaret_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selPos");
        QTest::addColumn<int>("selLen");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("after the first of two full-width spaces") << QByteArray("\x81\x40\x81\x40"
                                                                                "abc")
                                                                  << 2 << 0
                                                                  << QByteArray("\x81\x40\r\n\x81\x40\x81\x40"
                                                                                "abc")
                                                                  << 6;
        QTest::newRow("column 0") << QByteArray("  abc") << 0 << 0 << QByteArray("\r\n  abc") << 2;
        QTest::newRow("inside the text") << QByteArray("\t ab") << 3 << 0 << QByteArray("\t a\r\n\t b") << 7;
        QTest::newRow("second line") << QByteArray("x\r\n  y") << 6 << 0 << QByteArray("x\r\n  y\r\n  ")
                                     << 10;
        QTest::newRow("over a selection") << QByteArray("  abcd") << 3 << 2 << QByteArray("  a\r\n  d") << 7;
    }

    void enterCarriesTheIndentationLeftOfTheCaret()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, selPos);
        QFETCH(int, selLen);
        QFETCH(QByteArray, expected);
        QFETCH(int, caretAfter);
        openMemo(text.toStdString());
        select(selPos, selLen);
        QTest::keyClick(memo(), Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(memo()->bytes()), expected);
        QCOMPARE(memo()->SelPos(), caretAfter);
    }

    void enterWithoutAutoIndentOrWhileComposing()
    {
        openMemo("  ab");
        memo()->setSelPos(4);
        // The input method owns the keys while it composes.
        QInputMethodEvent composing(QStringLiteral("か"), {});
        QApplication::sendEvent(memo(), &composing);
        QTest::keyClick(memo(), Qt::Key_Return);
        QCOMPARE(memo()->bytes(), "  ab\r\n"_b);
        QInputMethodEvent done;
        QApplication::sendEvent(memo(), &done);

        memo()->setBytes("  ab");
        f->settings().set(key::AutoIndent, false);
        memo()->setSelPos(4);
        QTest::keyClick(memo(), Qt::Key_Return);
        // Shift+Enter makes the same line break as Enter, never a character of its own.
        QTest::keyClick(memo(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(memo()->bytes(), "  ab\r\n\r\n"_b);
    }

    void backspaceUnindentsThenJoinsTheLines()
    {
        openMemo("x\r\n \t abc");
        memo()->setSelPos(6);
        QTest::keyClick(memo(), Qt::Key_Backspace);
        QCOMPARE(memo()->bytes(), "x\r\nabc"_b);
        QCOMPARE(panel(StatusPanels::Caret), QStringLiteral("  2：  1"));
        QTest::keyClick(memo(), Qt::Key_Backspace);
        QCOMPARE(memo()->bytes(), "xabc"_b);
        trigger("Undo1");
        trigger("Undo1");
        QCOMPARE(memo()->bytes(), "x\r\n \t abc"_b);

        f->settings().set(key::BSUnindent, false);
        memo()->setSelPos(6);
        QTest::keyClick(memo(), Qt::Key_Backspace);
        QCOMPARE(memo()->bytes(), "x\r\n \tabc"_b);
    }

    void backspaceElsewhereDeletesAsUsual_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selPos");
        QTest::addColumn<int>("selLen");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("inside the indentation") << QByteArray("  ab") << 1 << 0 << QByteArray(" ab");
        QTest::newRow("after text") << QByteArray("  ab") << 3 << 0 << QByteArray("  b");
        QTest::newRow("with a selection") << QByteArray("  ab") << 2 << 1 << QByteArray("  b");
        // Unindenting keeps full-width spaces; behind them the key deletes one.
        QTest::newRow("full-width indentation") << QByteArray("\x81\x40\x81\x40"
                                                              "c")
                                                << 4 << 0
                                                << QByteArray("\x81\x40"
                                                              "c");
    }

    void backspaceElsewhereDeletesAsUsual()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, selPos);
        QFETCH(int, selLen);
        QFETCH(QByteArray, expected);
        openMemo(text.toStdString());
        select(selPos, selLen);
        QTest::keyClick(memo(), Qt::Key_Backspace);
        QCOMPARE(QByteArray::fromStdString(memo()->bytes()), expected);
    }

    void statusPanelsFollowTheCaretAndInsertKey()
    {
        std::string text;
        for (int line = 1; line <= 11; ++line)
            text += "line\r\n";
        openMemo(text + std::string(42, 'x') + "\r\nlast");
        // Lines and columns are display lines; this one must not wrap in whatever font is there.
        memo()->EditArea().setEnabled(true);
        memo()->EditArea().setWidth(2000);
        QCOMPARE(panel(StatusPanels::Caret), QStringLiteral("  1：  1"));
        memo()->setSelPos(memo()->LineIndex(11) + 39);
        QCOMPARE(panel(StatusPanels::Caret), QStringLiteral(" 12： 40"));
        QTest::keyClick(memo(), Qt::Key_Down);
        QCOMPARE(panel(StatusPanels::Caret), QStringLiteral(" 13：  5"));

        QTest::keyClick(memo(), Qt::Key_Insert);
        QCOMPARE(panel(StatusPanels::InsertMode), QStringLiteral("上書き"));
        QTest::keyClick(memo(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(panel(StatusPanels::InsertMode), QStringLiteral("上書き"));
        QTest::keyClick(memo(), Qt::Key_Insert);
        QCOMPARE(panel(StatusPanels::InsertMode), QStringLiteral("挿入"));
    }

    void undoAndSelectAllInTheTitleBoxActOnTheMemoPane()
    {
        openMemo("one two");
        select(0, 0);
        QTest::keyClicks(memo(), QStringLiteral("X"));
        QCOMPARE(memo()->bytes(), std::string("Xone two"));
        focus(title());
        title()->setCursorPosition(0);
        QTest::keyClicks(title(), QStringLiteral("T"));
        QCOMPARE(title()->text(), QStringLiteral("TA"));
        QTest::keySequence(title(), QKeySequence::Undo);
        QCOMPARE(memo()->bytes(), std::string("one two"));
        QCOMPARE(title()->text(), QStringLiteral("TA"));
        QTest::keySequence(title(), QKeySequence::SelectAll);
        QCOMPARE(memo()->SelLen(), 7);
        QVERIFY(!title()->hasSelectedText());
        QVERIFY(title()->hasFocus());
    }

    void enablingFollowsTheMemoPane()
    {
        openMemo("hello");
        for (const char* name :
            { "Cut1", "tbCopy", "Undo1", "tbUndo", "Paste1", "EraseCRLF1" })
            QVERIFY2(!enabled(name), name);
        QVERIFY(enabled("SelectAll1") && enabled("InsertDate"));

        select(1, 2);
        QVERIFY(enabled("Cut1") && enabled("tbCut") && enabled("Copy1") && enabled("EraseCRLF1"));
        QTest::keyClick(memo(), Qt::Key_Right);
        QVERIFY(!enabled("Cut1"));
        QTest::keyClicks(memo(), QStringLiteral("z"));
        QVERIFY(enabled("Undo1") && enabled("tbUndo"));

        // Paste follows the clipboard and the box that has the focus.
        setClipboard(QStringLiteral("p"));
        QVERIFY(enabled("Paste1") && enabled("tbPaste"));
        focus(win().treePane());
        QVERIFY(!enabled("Paste1"));
        focus(memo());
        QVERIFY(enabled("Paste1"));
        QGuiApplication::clipboard()->clear();
        QVERIFY(!enabled("tbPaste"));

        // Entering the pane again brings its state back.
        select(0, 2);
        focus(title());
        QTest::keyClick(title(), Qt::Key_Right);
        QVERIFY(!enabled("Copy1"));
        focus(memo());
        QVERIFY(enabled("Copy1"));

        // A top-level node has nothing to write into.
        win().treePane()->setSelectedNode(win().document().nodeAt(0));
        for (const char* name : { "InsertDate", "InsertTime", "SelectAll1", "Paste1" })
            QVERIFY2(!enabled(name), name);
    }

    void keysOpenThePopupAtTheCaretAndLeaveForTheTree()
    {
        openMemo("first\r\nsecond line");
        setClipboard(QStringLiteral("p"));
        select(9, 3);
        QCursor::setPos(win().mapToGlobal(QPoint(5, 5)));
        QMenu* menu = win().menus().menu(QStringLiteral("pmMemo"));
        QTextCursor end = memo()->textCursor();
        end.setPosition(end.selectionEnd());
        const QRect caret = memo()->cursorRect(end);
        const QPoint below = memo()->viewport()->mapToGlobal(
            QPoint(caret.left(), caret.top() + QFontInfo(memo()->font()).pixelSize()));

        // Shift+F10, the menu key and a keyboard menu request all open it below the selection end,
        // wherever the mouse is.
        auto expectMenu = [&] {
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(menu->pos(), below);
            menu->close();
        };
        QTest::keyClick(memo(), Qt::Key_F10, Qt::ShiftModifier);
        expectMenu();
        QTest::keyClick(memo(), Qt::Key_Menu);
        expectMenu();
        QContextMenuEvent request(
            QContextMenuEvent::Keyboard, QPoint(300, 200), memo()->mapToGlobal(QPoint(300, 200)));
        QApplication::sendEvent(memo(), &request);
        expectMenu();

        // Each pop-up item shows what its main-menu twin shows.
        static const std::pair<const char*, const char*> kTwins[] = { { "Undo2", "Undo1" },
            { "Cut2", "Cut1" }, { "Copy2", "Copy1" }, { "Paste2", "Paste1" }, { "SelectAll2", "SelectAll1" },
            { "EraseCRLF2", "EraseCRLF1" }, { "InsertDate2", "InsertDate" }, { "InsertTime2", "InsertTime" },
            { "HelperList2", "HelperList1" }, { "Find2", "Find1" }, { "Replace2", "Replace1" } };
        for (const auto& [twin, main] : kTwins)
            QVERIFY2(enabled(twin) == enabled(main), twin);
        QVERIFY(enabled("Cut2") && enabled("Paste2") && !enabled("Undo2"));
        QCOMPARE(win().menus().menu(QStringLiteral("Template2"))->menuAction()->isEnabled(),
            win().menus().menu(QStringLiteral("Template1"))->menuAction()->isEnabled());

        QTest::keyClick(memo(), Qt::Key_Tab, Qt::ControlModifier);
        QTRY_VERIFY(win().treePane()->hasFocus());
        QCOMPARE(memo()->bytes(), "first\r\nsecond line"_b);
    }

    void readOnlyDocumentRefusesEdits()
    {
        openMemo("  keep\r\nme", true);
        setClipboard(QStringLiteral("p"));
        select(2, 4);
        QVERIFY(enabled("Copy1"));
        for (const char* name : { "Cut1", "EraseCRLF1", "Paste1", "InsertDate", "Undo1" })
            QVERIFY2(!enabled(name), name);

        const int beeps = f->services().prompt.beeps();
        QTest::keyClick(memo(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(memo(), Qt::Key_V, Qt::ControlModifier);
        memo()->setSelPos(2);
        QTest::keyClick(memo(), Qt::Key_Return);
        QTest::keyClick(memo(), Qt::Key_Backspace);
        QCOMPARE(memo()->bytes(), "  keep\r\nme"_b);
        QCOMPARE(f->services().prompt.beeps(), beeps + 2);
        QVERIFY(!win().document().isModified());
        select(2, 4);
        QTest::keyClick(memo(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("keep"));
    }

    void dateAndTimeUseTheSetFormats()
    {
        win().memoCommands().setClock([] {
            DateTimeValue value;
            value.year = 2024;
            value.month = 3;
            value.day = 5;
            value.dayOfWeek = 2;
            value.hour = 14;
            value.minute = 7;
            return value;
        });
        f->settings().set(key::DateFormat, std::string("yyyy/mm/dd (ddd)"));
        f->settings().set(key::TimeFormat, std::string("ampm h:nn"));
        openMemo("[]");
        memo()->setSelPos(1);
        trigger("InsertDate");
        QCOMPARE(memo()->bytes(), "[2024/03/05 (\x89\xce)]"_b);
        QVERIFY(win().document().isModified());
        select(1, 15);
        trigger("InsertTime");
        QCOMPARE(memo()->toPlainText(), QStringLiteral("[午後 2:07]"));

        // The English names, and the title box while it has the focus.
        f->settings().set(key::EnDateStyle, true);
        f->settings().set(key::EnTimeStyle, true);
        focus(title());
        title()->selectAll();
        trigger("InsertDate2");
        trigger("InsertTime");
        QCOMPARE(nodeTitle(), QStringLiteral("2024/03/05 (Tue)PM 2:07"));
        QCOMPARE(memo()->toPlainText(), QStringLiteral("[午後 2:07]"));
    }

    void copyInCollectionModeIsNotCollectedButCutIs()
    {
        FakeMonitor monitor;
        win().memoCommands().setClipboardMonitor(&monitor);
        openMemo("one two");
        select(0, 3);
        trigger("Copy1");
        QCOMPARE(clipboardText(), QStringLiteral("one"));
        QCOMPARE(memo()->SelLen(), 0);
        QCOMPARE(memo()->SelPos(), 0);
        select(4, 3);
        QTest::keyClick(memo(), Qt::Key_C, Qt::ControlModifier);
        focus(title());
        title()->setSelection(0, 1);
        QTest::keyClick(title(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("A"));
        QVERIFY(monitor.clips.isEmpty());

        focus(memo());
        select(3, 4);
        trigger("Cut1");
        QCOMPARE(monitor.clips, QStringList { QStringLiteral(" two") });
        // A clip with an end-of-file mark is collected once; putting it back shortened is the
        // program's own write.
        setClipboard(QStringLiteral("z\x1A"));
        trigger("Paste1");
        QCOMPARE(memo()->bytes(), "onez"_b);
        QCOMPARE(monitor.clips.size(), 2);

        // Outside collection mode nothing is paused.
        const int pauses = monitor.pauses;
        monitor.collecting = false;
        select(0, 3);
        trigger("Copy1");
        QCOMPARE(monitor.pauses, pauses);
        win().memoCommands().setClipboardMonitor(nullptr);
    }

    void lineHeightTwips_data()
    {
        QTest::addColumn<int>("sampleWidth");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("twips");
        QTest::newRow("average width 8 at 96 dpi") << 64 << 96 << 240;
        QTest::newRow("whole pixels only") << 71 << 96 << 255;
        QTest::newRow("120 dpi") << 64 << 120 << 192;
        QTest::newRow("no measure") << 0 << 96 << 0;
    }

    void lineHeightTwips()
    {
        QFETCH(int, sampleWidth);
        QFETCH(int, dpi);
        QFETCH(int, twips);
        QCOMPARE(MemoCommands::lineHeightTwips(sampleWidth, dpi), twips);
    }

    void adjustingTheLineHeightDoublesTheAverageWidth()
    {
        QFont terminal(QStringLiteral("Terminal"));
        terminal.setPointSize(14);
        memo()->setFont(terminal);
        win().memoCommands().adjustMemoLineHeight();
        QCOMPARE(memo()->font(), terminal);

        QFont other(QStringLiteral("IPAGothic"));
        other.setPointSize(20);
        memo()->setFont(other);
        const int sample = QFontMetrics(memo()->font(), memo()).horizontalAdvance(QStringLiteral("ABCDEFGH"));
        win().memoCommands().adjustMemoLineHeight();
        QCOMPARE(memo()->font().family(), QStringLiteral("IPAGothic"));
        QCOMPARE(qRound(memo()->font().pointSizeF() * memo()->logicalDpiY() / 72), sample / 4);
    }
};

QTEST_MAIN(MemoCommandsTest)
#include "MemoCommandsTest.moc"
