#include "editor/Cp932Chars.h"
#include "editor/LineBreakRules.h"
#include "editor/TExtMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace notarium;

namespace {

std::string operator""_b(const char* text, std::size_t size)
{
    return std::string(text, size);
}

constexpr int kAllRules = wbfWordWrap | wbfWordBreak | wbfOverFlow;

// Every display line of a plain-text editor's document as (start, length) in editor positions.
QList<QPair<int, int>> displayLines(const QPlainTextEdit& editor)
{
    QList<QPair<int, int>> lines;
    QTextDocument* doc = editor.document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        doc->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            lines.append(
                { block.position() + layout->lineAt(i).textStart(), layout->lineAt(i).textLength() });
    }
    return lines;
}

// A key press that types text, as a keyboard layout or a compose key delivers it.
void typeKey(QWidget* widget, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

QString displayLineText(const QPlainTextEdit& memo, QPair<int, int> line)
{
    return memo.document()->toRawText().mid(line.first, line.second);
}

// A memo shown on screen with a width in full-width characters.
void setupArea(TExtMemo& memo, int fullWidthChars, int overflowChars = 1)
{
    const qreal w = QFontMetricsF(memo.font()).horizontalAdvance(QStringLiteral("あ"));
    memo.EditArea().setEnabled(true);
    memo.EditArea().Margin().setLeft(10);
    memo.EditArea().setWidth(qRound(w * fullWidthChars) + 1);
    memo.EditArea().setOverFlow(qRound(w * overflowChars) + 1);
}

} // namespace

class ExtMemoTest : public QObject {
    Q_OBJECT

private slots:
    void bytesRoundTrip_data();
    void bytesRoundTrip();
    void loneLineBreaksBecomeCrLf_data();
    void loneLineBreaksBecomeCrLf();
    void randomBytesRoundTrip();

    void selectionInBytes();
    void settingSelectionInsideDoubleByteCharacter();
    void caretLineAndColumnOnWrappedLines();
    void lineIndexAndLineFromChar();

    void editAreaWrapsIndependentOfWidgetWidth();
    void withoutEditAreaWrapsAtWindowWidth();
    void editAreaAdjustments();
    void overflowZoneFollowsTheFont_data();
    void overflowZoneFollowsTheFont();
    void verticalSwitchesEditAreaOff();
    void markerSettings();
    void tabStops();

    void insertKeyTogglesOverwrite();
    void unrepresentableTypingBecomesGeta();
    void unrepresentablePasteBecomesGeta();
    void inputMethodCommitAndColours();

    void lineBreakRules_data();
    void lineBreakRules();
    void notBeginCharacterNeverStartsADisplayLine();
    void hangingCharacterUsesOverflowZone();
    void withoutSwitchesLinesBreakAsInAPlainEditor();
    void punctuationWriters();

    void selectionBarSelectsDisplayLine();
    void typingOnLargeMemo();
};

void ExtMemoTest::bytesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("ascii") << QByteArray("abc") << 1;
    QTest::newRow("crlf lines") << QByteArray("a\r\nb\r\n\r\nc") << 4;
    QTest::newRow("trailing crlf") << QByteArray("a\r\n") << 2;
    QTest::newRow("double byte") << QByteArray("\x82\xa0\x88\x9f\x83\x41") << 1;
    QTest::newRow("undefined bytes") << QByteArray("\x80\xa0\xfd\xfe\xff", 5) << 1;
    QTest::newRow("lone lead at end") << QByteArray("ab\x82") << 1;
    QTest::newRow("bad trail") << QByteArray("\x82\x0d\x0a\x82", 4) << 2;
    QTest::newRow("nul and controls") << QByteArray("a\0b\x01\x0b\x0c\x1a\x7f\t", 9) << 1;
    QTest::newRow("half-width kana") << QByteArray("\xb1\xb2\xdf") << 1;
}

void ExtMemoTest::bytesRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    TExtMemo memo;
    memo.setBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    QCOMPARE(QByteArray::fromStdString(memo.bytes()), bytes);
    QCOMPARE(memo.document()->blockCount(), lines);
    QCOMPARE(memo.TextLength(), bytes.size());
    QVERIFY(!memo.Modified());
    QVERIFY(!memo.CanUndo());
}

void ExtMemoTest::loneLineBreaksBecomeCrLf_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("lone lf") << QByteArray("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("lone cr") << QByteArray("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("lf cr") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("cr crlf") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("trailing cr") << QByteArray("a\r") << QByteArray("a\r\n");
}

void ExtMemoTest::loneLineBreaksBecomeCrLf()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    TExtMemo memo;
    memo.setBytes(input.toStdString());
    QCOMPARE(QByteArray::fromStdString(memo.bytes()), output);
}

void ExtMemoTest::randomBytesRoundTrip()
{
    // Random bytes, with CR and LF only as CR LF pairs (lone ones are normalised, see above).
    // NEC/IBM duplicate codes come back canonical, so the input is first made canonical the way
    // the codec itself does it.
    QRandomGenerator random(20240611);
    TExtMemo memo;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int size = random.bounded(0, 80);
        for (int i = 0; i < size; ++i) {
            const int roll = random.bounded(0, 20);
            if (roll == 0)
                bytes += "\r\n";
            else {
                char byte = static_cast<char>(random.bounded(0, 256));
                if (byte == '\r' || byte == '\n')
                    byte = 'x';
                bytes += byte;
            }
        }
        const std::string canonical = Cp932Chars::encode(Cp932Chars::decode(bytes));
        memo.setBytes(canonical);
        QCOMPARE(memo.bytes(), canonical);
        QCOMPARE(memo.TextLength(), static_cast<int>(canonical.size()));
    }
}

void ExtMemoTest::selectionInBytes()
{
    TExtMemo memo;
    // "aあb" CR LF "いc": a=0, あ=1-2, b=3, CRLF=4-5, い=6-7, c=8
    memo.setBytes("a\x82\xa0"
                  "b\r\n\x82\xa2"
                  "c"_b);
    QCOMPARE(memo.TextLength(), 9);
    memo.setSelPos(3);
    QCOMPARE(memo.textCursor().position(), 2);
    QCOMPARE(memo.SelPos(), 3);
    QCOMPARE(memo.SelLen(), 0);
    QCOMPARE(memo.CaretColumn(), 3);
    memo.setSelLen(5); // b CR LF い
    QCOMPARE(memo.textCursor().selectedText(), QStringLiteral("b\u2029い"));
    QCOMPARE(memo.SelPos(), 3);
    QCOMPARE(memo.SelLen(), 5);
    memo.setSelPos(8);
    QCOMPARE(memo.CaretLine(), 1);
    QCOMPARE(memo.CaretColumn(), 2);
    memo.setSelPos(100);
    QCOMPARE(memo.SelPos(), 9);
}

void ExtMemoTest::settingSelectionInsideDoubleByteCharacter()
{
    TExtMemo memo;
    memo.setBytes("\x82\xa0\x82\xa2\x82\xa4"_b); // あいう
    memo.setSelPos(3); // inside い: falls back to its start
    QCOMPARE(memo.SelPos(), 2);
    memo.setSelLen(1); // ends inside い: the selection covers it whole
    QCOMPARE(memo.SelLen(), 2);
    QCOMPARE(memo.textCursor().selectedText(), QStringLiteral("い"));
    // Raw bytes count one each.
    memo.setBytes("\x80\x82\xa0\xff"_b);
    memo.setSelPos(3);
    QCOMPARE(memo.textCursor().position(), 2);
    QCOMPARE(memo.CaretColumn(), 3);
}

void ExtMemoTest::caretLineAndColumnOnWrappedLines()
{
    TExtMemo memo;
    memo.resize(600, 300);
    memo.show();
    setupArea(memo, 5);
    memo.setBytes(Cp932Chars::encode(QStringLiteral("あいうえおかきくけこさ")));
    QCOMPARE(memo.LineCount(), 3);
    memo.setSelPos(12); // き: second display line, second character
    QCOMPARE(memo.CaretLine(), 1);
    QCOMPARE(memo.CaretColumn(), 2);
    QCOMPARE(memo.LineIndex(1), 10);
    QCOMPARE(memo.LineIndex(2), 20);
    QCOMPARE(memo.LineIndex(3), -1);
}

void ExtMemoTest::lineIndexAndLineFromChar()
{
    TExtMemo memo;
    memo.setWordWrap(false);
    memo.setBytes("ab\r\n\x82\xa0x\r\n\r\nend"_b);
    QCOMPARE(memo.LineCount(), 4);
    QCOMPARE(memo.LineIndex(0), 0);
    QCOMPARE(memo.LineIndex(1), 4);
    QCOMPARE(memo.LineIndex(2), 9);
    QCOMPARE(memo.LineIndex(3), 11);
    QCOMPARE(memo.LineFromChar(6), 1);
    QCOMPARE(memo.LineFromChar(11), 3);
    const QPoint p = memo.PosFromChar(4);
    QCOMPARE(memo.CharFromPos(p + QPoint(1, 2)), 4);
}

void ExtMemoTest::editAreaWrapsIndependentOfWidgetWidth()
{
    TExtMemo memo;
    memo.show();
    setupArea(memo, 8);
    memo.setBytes(Cp932Chars::encode(QString(50, QChar(u'あ'))));
    QList<QPair<int, int>> wide;
    for (int width : { 200, 400, 900 }) {
        memo.resize(width, 300);
        QCoreApplication::processEvents();
        const auto lines = displayLines(memo);
        QCOMPARE(lines.size(), 7);
        for (int i = 0; i + 1 < lines.size(); ++i)
            QCOMPARE(lines[i].second, 8);
        if (!wide.isEmpty())
            QCOMPARE(lines, wide);
        wide = lines;
    }
    // The text starts at the left margin.
    memo.setSelPos(0);
    QCOMPARE(memo.cursorRect().left(), 10);
}

void ExtMemoTest::withoutEditAreaWrapsAtWindowWidth()
{
    TExtMemo memo;
    memo.show();
    memo.setBytes(Cp932Chars::encode(QString(60, QChar(u'あ'))));
    memo.resize(300, 300);
    QCoreApplication::processEvents();
    const int narrow = memo.LineCount();
    memo.resize(700, 300);
    QCoreApplication::processEvents();
    const int wide = memo.LineCount();
    QVERIFY2(narrow > wide, qPrintable(QStringLiteral("%1 %2").arg(narrow).arg(wide)));
    // Switching the edit area on and off again returns to the window width.
    setupArea(memo, 4);
    QCOMPARE(memo.LineCount(), 15);
    memo.EditArea().setEnabled(false);
    QCOMPARE(memo.LineCount(), wide);
}

void ExtMemoTest::editAreaAdjustments()
{
    TExtMemo memo;
    memo.EditArea().setEnabled(true);
    memo.EditArea().Margin().setLeft(3);
    QCOMPARE(memo.EditArea().Margin().Left(), 10); // room for the selection bar

    memo.setLineSelect(false);
    memo.EditArea().Margin().setLeft(4);
    QCOMPARE(memo.EditArea().Margin().Left(), 4);
    QCOMPARE(memo.textLeft(), 4.0);

    memo.EditArea().setWidth(300);
    const int applied = memo.EditArea().applyCount();
    memo.EditArea().setWidth(300);
    memo.EditArea().setWidth(-5);
    memo.EditArea().setOverFlow(-1);
    memo.EditArea().Margin().setTop(-2);
    QCOMPARE(memo.EditArea().applyCount(), applied);
    QCOMPARE(memo.EditArea().Width(), 300);
    QCOMPARE(memo.wrapColumn(), 304.0);

    TEditArea other;
    other.Margin().setLeft(20);
    other.Margin().setTop(3);
    other.setWidth(100);
    other.setOverFlow(7);
    memo.EditArea().assign(other);
    QCOMPARE(memo.EditArea().applyCount(), applied + 1); // one re-apply for the whole copy
    QVERIFY(memo.EditArea().Enabled()); // Enabled is not copied
    QCOMPARE(memo.wrapColumn(), 120.0);
}

void ExtMemoTest::overflowZoneFollowsTheFont_data()
{
    QTest::addColumn<QList<qreal>>("pixelSizes");
    QTest::addColumn<bool>("fromParent");
    // Pixel sizes set as point sizes, whole ones and ones in between (the character height
    // adjustment sets such sizes).
    QTest::newRow("set on the memo") << QList<qreal> { 13, 32, 15.3, 24.7 } << false;
    QTest::newRow("inherited from the window") << QList<qreal> { 32, 13, 19.4 } << true;
}

void ExtMemoTest::overflowZoneFollowsTheFont()
{
    QFETCH(QList<qreal>, pixelSizes);
    QFETCH(bool, fromParent);
    QVERIFY2(
        QFontDatabase::families().contains(QStringLiteral("IPAGothic")), "fonts-ipafont-gothic is missing");
    QWidget window;
    auto* memo = new TExtMemo(&window);
    memo->resize(900, 300);
    window.resize(900, 300);
    window.show();
    QCOMPARE(memo->EditArea().OverFlow(), QFontMetrics(memo->font()).horizontalAdvance(QChar(u'□')));
    memo->WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
    memo->WordWrapOption().setWordWrapMode(kAllRules);
    memo->EditArea().setEnabled(true);

    for (const qreal pixels : pixelSizes) {
        QFont font(QStringLiteral("IPAGothic"));
        font.setPointSizeF(pixels * 72 / memo->logicalDpiY());
        const int applied = memo->EditArea().applyCount();
        if (fromParent)
            window.setFont(font);
        else
            memo->setFont(font);
        const int square = QFontMetrics(font).horizontalAdvance(QChar(u'□'));
        QCOMPARE(memo->EditArea().OverFlow(), square);
        QVERIFY(memo->EditArea().applyCount() > applied);

        // A line of n characters that just fits the width, followed by a full stop: the full stop
        // hangs into the zone (with the old fixed 16 pixels it would not fit at the larger sizes).
        const QFontMetricsF metrics(font);
        for (int n = 1; n <= 12; ++n) {
            const QString line(n, QChar(u'あ'));
            memo->EditArea().setWidth(qCeil(metrics.horizontalAdvance(line)));
            memo->setBytes(Cp932Chars::encode(line + QStringLiteral("。かきくけ")));
            const QString first = displayLineText(*memo, displayLines(*memo).at(0));
            QVERIFY2(first == line + QStringLiteral("。"),
                qPrintable(QStringLiteral("%1 px, %2 characters: %3").arg(pixels).arg(n).arg(first)));
        }
    }
}

void ExtMemoTest::verticalSwitchesEditAreaOff()
{
    TExtMemo memo;
    memo.resize(500, 200);
    memo.show();
    setupArea(memo, 3);
    memo.setBytes(Cp932Chars::encode(QString(9, QChar(u'あ'))));
    QCOMPARE(memo.LineCount(), 3);
    memo.setVertical(true);
    QCOMPARE(memo.LineCount(), 1);
    memo.setVertical(false);
    QCOMPARE(memo.LineCount(), 3);
    memo.setWordWrap(false);
    QCOMPARE(memo.LineCount(), 1);
}

void ExtMemoTest::tabStops()
{
    TExtMemo memo;
    QCOMPARE(memo.TabWidth(), 8);
    const qreal m = QFontMetricsF(memo.font()).horizontalAdvance(QString(512, u'M')) / 512.0;
    QVERIFY(memo.setTabWidth(4));
    QVERIFY(qAbs(memo.tabStopDistance() - 4 * m) < 0.01);
    QCOMPARE(memo.tabStops().size(), 32);
    QVERIFY(qAbs(memo.tabStops().at(2) - 12 * m) < 0.01);

    // A tab moves the next character to the stop.
    memo.setWordWrap(false);
    memo.setBytes("\tx");
    memo.setSelPos(1);
    const int x = memo.cursorRect().left();
    memo.setSelPos(0);
    QVERIFY(qAbs(x - memo.cursorRect().left() - 4 * m) <= 1.5);

    QVERIFY(memo.setTabWidth(0));
    for (qreal stop : memo.tabStops())
        QCOMPARE(stop, 0.0);
    QVERIFY(memo.tabStopDistance() > 0); // tabs fall on the default grid

    memo.setModified(true);
    QVERIFY(!memo.setTabWidth(-1));
    QCOMPARE(memo.TabWidth(), 0);
    QVERIFY(memo.setTabWidth(2));
    QVERIFY(memo.Modified()); // the modified flag survives
}

void ExtMemoTest::markerSettings()
{
    TExtMemo memo;
    TMarker teal;
    teal.Enabled = true;
    teal.Color = QColor(0x00, 0x80, 0x80);
    memo.setCaretMarker(teal);
    teal.Color = Qt::blue; // the memo holds a copy
    const TExtMemo& view = memo;
    QVERIFY(view.CaretMarker().Enabled);
    QCOMPARE(view.CaretMarker().Color, QColor(0x00, 0x80, 0x80));
    QVERIFY(!view.WordWrapMarker().Enabled); // a marker of its own, at its defaults
    QCOMPARE(view.WordWrapMarker().Color, QColor(0xC0, 0xC0, 0xC0));
}

void ExtMemoTest::insertKeyTogglesOverwrite()
{
    TExtMemo memo;
    memo.show();
    QSignalSpy spy(&memo, &TExtMemo::insertModeChanged);
    memo.setBytes("abc");
    QVERIFY(memo.InsertMode());
    QCOMPARE(memo.insertModeText(), QStringLiteral("挿入"));

    QTest::keyClick(&memo, Qt::Key_Insert);
    QVERIFY(!memo.InsertMode());
    QCOMPARE(memo.insertModeText(), QStringLiteral("上書き"));
    QCOMPARE(spy.count(), 1);
    memo.setSelPos(0);
    QTest::keyClicks(&memo, QStringLiteral("XY"));
    QCOMPARE(memo.bytes(), std::string("XYc"));

    QTest::keyClick(&memo, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Insert, Qt::ControlModifier);
    QVERIFY(!memo.InsertMode());
    QCOMPARE(spy.count(), 1);

    QTest::keyClick(&memo, Qt::Key_Insert);
    QVERIFY(memo.InsertMode());
    QTest::keyClicks(&memo, QStringLiteral("Z"));
    QCOMPARE(memo.bytes(), std::string("XYZc"));
}

void ExtMemoTest::unrepresentableTypingBecomesGeta()
{
    TExtMemo memo;
    memo.show();
    QSignalSpy spy(&memo, &TExtMemo::unrepresentableReplaced);
    for (const QString& key : { QStringLiteral("😀"), QStringLiteral("a"), QStringLiteral("é") })
        typeKey(&memo, key);
    QCOMPARE(memo.toPlainText(), QStringLiteral("〓a〓"));
    QCOMPARE(memo.bytes(),
        "\x81\xac"
        "a\x81\xac"_b);
    QCOMPARE(spy.count(), 2);
    typeKey(&memo, QStringLiteral("あ"));
    QCOMPARE(memo.toPlainText(), QStringLiteral("〓a〓あ"));
    QCOMPARE(spy.count(), 2);
}

void ExtMemoTest::unrepresentablePasteBecomesGeta()
{
    TExtMemo memo;
    memo.show();
    QSignalSpy spy(&memo, &TExtMemo::unrepresentableReplaced);
    QGuiApplication::clipboard()->setText(QStringLiteral("x😀y\r\nΩ€z"));
    memo.paste();
    // Ω is in CP932, € is not; the line break survives.
    QCOMPARE(memo.toPlainText(), QStringLiteral("x〓y\nΩ〓z"));
    QCOMPARE(spy.count(), 1);

    // Text the memo copied itself keeps its raw bytes.
    memo.setBytes("a\x80"
                  "b"_b);
    memo.selectAll();
    memo.copy();
    memo.setBytes("");
    memo.paste();
    QCOMPARE(memo.bytes(),
        "a\x80"
        "b"_b);
    QCOMPARE(spy.count(), 1);

    memo.insertText(QStringLiteral("🍣"));
    QCOMPARE(spy.count(), 2);
}

void ExtMemoTest::inputMethodCommitAndColours()
{
    TExtMemo memo;
    memo.show();
    memo.ImeColors().Untransfered.setIcBackground(Qt::white);
    memo.ImeColors().Untransfered.setStyle(fsUnderline);
    memo.ImeColors().WatchingTransfered.setIcBackground(Qt::gray);
    memo.ImeColors().Transfered.setIcText(Qt::blue);

    QTextCharFormat highlight;
    highlight.setBackground(Qt::darkBlue);
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    const QList<QInputMethodEvent::Attribute> typing
        = { { QInputMethodEvent::TextFormat, 0, 3, underline }, { QInputMethodEvent::Cursor, 3, 1 } };
    auto out = memo.ImeColors().rewrite(typing, 3);
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[0].type, QInputMethodEvent::Cursor);
    const auto first = qvariant_cast<QTextFormat>(out[1].value).toCharFormat();
    QCOMPARE(first.background().color(), QColor(Qt::white));
    QCOMPARE(first.underlineStyle(), QTextCharFormat::SingleUnderline);

    const QList<QInputMethodEvent::Attribute> converting
        = { { QInputMethodEvent::TextFormat, 0, 2, underline },
              { QInputMethodEvent::TextFormat, 2, 2, highlight },
              { QInputMethodEvent::TextFormat, 4, 1, underline } };
    out = memo.ImeColors().rewrite(converting, 5);
    QCOMPARE(out.size(), 3);
    const int starts[] = { 0, 2, 4 };
    const int lengths[] = { 2, 2, 1 };
    const QColor texts[] = { Qt::blue, Qt::black, Qt::blue };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(out[i].start, starts[i]);
        QCOMPARE(out[i].length, lengths[i]);
        QCOMPARE(qvariant_cast<QTextFormat>(out[i].value).toCharFormat().foreground().color(), texts[i]);
    }
    QCOMPARE(qvariant_cast<QTextFormat>(out[1].value).toCharFormat().background().color(), QColor(Qt::gray));

    QSignalSpy spy(&memo, &TExtMemo::unrepresentableReplaced);
    QInputMethodEvent preedit(QStringLiteral("にほん"), typing);
    QApplication::sendEvent(&memo, &preedit);
    QCOMPARE(memo.bytes(), std::string()); // pre-edit text is not text yet
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本😀"));
    QApplication::sendEvent(&memo, &commit);
    QCOMPARE(memo.toPlainText(), QStringLiteral("日本〓"));
    QCOMPARE(spy.count(), 1);
}

void ExtMemoTest::lineBreakRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("fitEnd");
    QTest::addColumn<int>("hangEnd");
    QTest::addColumn<int>("expected");
    // notBegin "。」ー", notEnd "「", hang "。、", delimiters " "
    QTest::newRow("plain") << QStringLiteral("あいうえお") << 0 << 3 << 3 << 3;
    QTest::newRow("all fits") << QStringLiteral("あいう") << 0 << 3 << 3 << 3;
    QTest::newRow("not begin pulls back") << QStringLiteral("あいう」え") << 0 << 3 << 3 << 2;
    QTest::newRow("two not begin") << QStringLiteral("あいう」ーえ") << 0 << 4 << 4 << 2;
    QTest::newRow("not end pulls back") << QStringLiteral("あい「う") << 0 << 3 << 3 << 2;
    QTest::newRow("hang into overflow") << QStringLiteral("あいう。え") << 0 << 3 << 4 << 4;
    QTest::newRow("no room to hang") << QStringLiteral("あいう。え") << 0 << 3 << 3 << 2;
    QTest::newRow("hang then not begin") << QStringLiteral("あいう。」え") << 0 << 3 << 4 << 2;
    QTest::newRow("cannot satisfy") << QStringLiteral("あ」」」」") << 0 << 1 << 1 << 1;
    QTest::newRow("latin word moves") << QStringLiteral("ab cdefg h") << 0 << 5 << 5 << 3;
    QTest::newRow("long latin word is cut") << QStringLiteral("abcdefgh") << 0 << 5 << 5 << 5;
    QTest::newRow("spaces hang") << QStringLiteral("abc   d") << 0 << 3 << 3 << 6;
    QTest::newRow("later line") << QStringLiteral("あいうえお」か") << 2 << 5 << 5 << 4;
}

void ExtMemoTest::lineBreakRules()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, fitEnd);
    QFETCH(int, hangEnd);
    QFETCH(int, expected);
    LineBreakRules rules;
    rules.notBegin = QStringLiteral("。」ー");
    rules.notEnd = QStringLiteral("「");
    rules.hang = QStringLiteral("。、");
    rules.delimiters = QStringLiteral(" ");
    QCOMPARE(rules.lineEnd(text, start, fitEnd, hangEnd), expected);
}

void ExtMemoTest::notBeginCharacterNeverStartsADisplayLine()
{
    TExtMemo memo;
    memo.resize(700, 400);
    memo.show();
    memo.WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
    memo.WordWrapOption().setWordWrapMode(kAllRules);
    const QString notBegin = memo.WordWrapOption().pcFollowing();
    const QString notEnd = memo.WordWrapOption().pcLeading();
    const QString sample
        = QStringLiteral("「吾輩は猫である。」名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗い"
                         "じめじめした所でニャーニャー泣いていた事だけは記憶している。「ちょっと待って」と"
                         "言った。ちょっとまって。」です。(abc) [x] 「『テスト』」です。");
    memo.setBytes(Cp932Chars::encode(sample));
    int checkedBreaks = 0;
    // Each run of not-begin characters in the sample fits on a line of five, so every break can
    // obey the rules (a narrower line cuts where it fits, see lineBreakRules "cannot satisfy").
    for (int width = 5; width <= 16; ++width) {
        setupArea(memo, width, 1);
        const auto lines = displayLines(memo);
        QCOMPARE(memo.toPlainText(), sample);
        for (int i = 1; i < lines.size(); ++i) {
            const QString line = displayLineText(memo, lines[i]);
            const QString before = displayLineText(memo, lines[i - 1]);
            QVERIFY2(!notBegin.contains(line.front()),
                qPrintable(QStringLiteral("width %1: %2|%3").arg(width).arg(before, line)));
            QVERIFY2(!notEnd.contains(before.back()),
                qPrintable(QStringLiteral("width %1: %2|%3").arg(width).arg(before, line)));
            ++checkedBreaks;
        }
    }
    QVERIFY(checkedBreaks > 100);

    // With the custom set empty, the same text breaks where it fits.
    memo.WordWrapOption().setPcFollowing(QString());
    memo.WordWrapOption().setPcLeading(QString());
    memo.WordWrapOption().setPcOverFlow(QString());
    memo.setBytes(Cp932Chars::encode(QStringLiteral("あいう」えお")));
    setupArea(memo, 3, 1);
    QCOMPARE(displayLineText(memo, displayLines(memo).at(1)), QStringLiteral("」えお"));
    memo.WordWrapOption().setPcFollowing(QStringLiteral("」"));
    QCOMPARE(displayLineText(memo, displayLines(memo).at(1)), QStringLiteral("う」え"));
}

void ExtMemoTest::hangingCharacterUsesOverflowZone()
{
    TExtMemo memo;
    memo.resize(700, 300);
    memo.show();
    memo.WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
    memo.WordWrapOption().setWordWrapMode(kAllRules);
    memo.setBytes(Cp932Chars::encode(QStringLiteral("あいうえ。かきくけこ")));
    setupArea(memo, 4, 1);
    auto lines = displayLines(memo);
    QCOMPARE(displayLineText(memo, lines.at(0)), QStringLiteral("あいうえ。"));
    // The hanging character is drawn right of the wrap column.
    memo.setSelPos(8);
    QVERIFY(memo.cursorRect().left() >= memo.wrapColumn() - 2);

    // Without an overflow zone it cannot hang and pulls the word before it down.
    memo.EditArea().setOverFlow(0);
    lines = displayLines(memo);
    QCOMPARE(displayLineText(memo, lines.at(0)), QStringLiteral("あいう"));

    // Switching hanging off in the modes does the same.
    memo.EditArea().setOverFlow(20);
    memo.WordWrapOption().setWordWrapMode(wbfWordWrap | wbfWordBreak);
    lines = displayLines(memo);
    QCOMPARE(displayLineText(memo, lines.at(0)), QStringLiteral("あいう"));
}

void ExtMemoTest::withoutSwitchesLinesBreakAsInAPlainEditor()
{
    const QString sample = QStringLiteral(
        "「吾輩は猫である。」名前はまだ無い。どこで生れたかとんと見当がつかぬ。ちょっとまって。」"
        "ニャーニャー泣いていた。Some Latin words, and averyveryverylongwordthatcannotfit, (abc) "
        "end.\nあいうえ。かきくけこ、さしすせそ");
    TExtMemo memo;
    memo.resize(900, 300);
    memo.show();
    memo.WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
    QCOMPARE(memo.WordWrapOption().WordWrapMode(), 0);
    memo.setBytes(Cp932Chars::encode(sample));

    // A plain editor whose text area is as wide as the memo's wrap width.
    QPlainTextEdit plain;
    plain.setFont(memo.font());
    plain.document()->setDocumentMargin(0);
    plain.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    plain.setPlainText(sample);
    plain.show();
    const auto sameWidth = [&memo, &plain] {
        plain.resize(memo.EditArea().Width() + plain.width() - plain.viewport()->width(), 300);
        return plain.viewport()->width() == memo.EditArea().Width();
    };
    for (int chars = 4; chars <= 14; ++chars) {
        setupArea(memo, chars);
        QVERIFY(sameWidth());
        QCOMPARE(displayLines(memo), displayLines(plain));
        memo.setSelPos(0);
        QCOMPARE(memo.cursorRect().left(), 10); // the text still starts at the margin
    }
    // Typing re-lays the edited line the same way.
    memo.setSelPos(0);
    QTest::keyClicks(&memo, QStringLiteral("xyz"));
    plain.moveCursor(QTextCursor::Start);
    QTest::keyClicks(&plain, QStringLiteral("xyz"));
    QCOMPARE(displayLines(memo), displayLines(plain));

    // The switches bring the rules back: the full stop hangs instead of taking え with it.
    memo.setBytes(Cp932Chars::encode(QStringLiteral("あいうえ。かきくけこ")));
    setupArea(memo, 4);
    const auto firstLine = [&memo] { return displayLineText(memo, displayLines(memo).at(0)); };
    QCOMPARE(firstLine(), QStringLiteral("あいう"));
    memo.WordWrapOption().setWordWrapMode(kAllRules);
    QCOMPARE(firstLine(), QStringLiteral("あいうえ。"));
    memo.WordWrapOption().setWordWrapMode(0);
    QCOMPARE(firstLine(), QStringLiteral("あいう"));
}

void ExtMemoTest::punctuationWriters()
{
    TWordWrapOption option;
    QCOMPARE(option.PunctuationMode(), TPunctuationMode::wbfCustom);
    option.setPunctuationMode(TPunctuationMode::wbfLevel1);
    QCOMPARE(option.flagWord(), TWordWrapOption::kLevel1);
    QVERIFY(option.pcFollowing().contains(u'。'));
    option.setPcLeading(QString()); // unchanged custom string: still switches to custom
    QCOMPARE(option.PunctuationMode(), TPunctuationMode::wbfCustom);
    QCOMPARE(option.pcFollowing(), QString());

    option.setPunctuationMode(TPunctuationMode::wbfLevel2);
    option.setWordWrapMode(wbfWordWrap | wbfOverFlow);
    QCOMPARE(option.flagWord(), TWordWrapOption::kLevel2 | 0x50u);
    QCOMPARE(option.WordWrapMode(), wbfWordWrap | wbfOverFlow);
    const LineBreakRules rules = option.rules();
    QVERIFY(rules.kinsoku && rules.hanging && !rules.wordBreak && rules.enabled());
    option.setWordWrapMode(wbfWordBreak);
    QVERIFY(!option.rules().kinsoku && option.rules().wordBreak && !option.rules().hanging);
    option.setWordWrapMode(0); // no switch: no rule of this program at all
    QVERIFY(!option.rules().enabled());
    QCOMPARE(option.rules().notBegin, option.pcFollowing()); // the sets stay as they are
    option.setWordWrapMode(wbfWordWrap | wbfOverFlow);

    TWordWrapOption fresh;
    QVERIFY(!fresh.rules().enabled());
    fresh.setWordWrapMode(wbfWordBreak); // a zero word becomes custom first
    QCOMPARE(fresh.flagWord(), TWordWrapOption::kCustom | 0x20u);

    option.setPcDelimiter(QStringLiteral("a\r\nb")); // refused
    QCOMPARE(option.customString(TWordWrapOption::Delimiter), QString());
    option.setPcOverFlow(QStringLiteral("。"));
    TWordWrapOption copy;
    copy.assign(option);
    QCOMPARE(copy.flagWord(), option.flagWord());
    QCOMPARE(copy.pcOverFlow(), QStringLiteral("。"));
}

void ExtMemoTest::selectionBarSelectsDisplayLine()
{
    TExtMemo memo;
    memo.resize(600, 300);
    memo.show();
    setupArea(memo, 4);
    memo.setBytes(Cp932Chars::encode(QStringLiteral("あいうえおかきくけ\r\nxyz")));
    QCOMPARE(memo.LineCount(), 4);
    memo.setSelPos(2);
    const int y = memo.cursorRect().center().y();
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(3, y));
    QCOMPARE(memo.textCursor().selectedText(), QStringLiteral("あいうえ"));
    // The block's last display line takes the line break with it.
    memo.setSelPos(16);
    const int y3 = memo.cursorRect().center().y();
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(3, y3));
    QCOMPARE(memo.textCursor().selectedText(), QStringLiteral("け\u2029"));

    memo.setLineSelect(false);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(3, y));
    QVERIFY(!memo.textCursor().hasSelection());
}

void ExtMemoTest::typingOnLargeMemo()
{
    // About 1 MB of Japanese text in lines of 60 characters.
    const QString line = QStringLiteral(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめ");
    QString text;
    while (text.size() < 512 * 1024)
        text += line + QStringLiteral("\n");
    // With the rules of this program, and with the toolkit's line breaking alone.
    for (const int modes : { kAllRules, 0 }) {
        TExtMemo memo;
        memo.resize(800, 600);
        memo.show();
        setupArea(memo, 20);
        memo.WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
        memo.WordWrapOption().setWordWrapMode(modes);
        memo.setBytes(Cp932Chars::encode(text));
        const int length = memo.TextLength();
        QVERIFY(length > 1000000);
        memo.setSelPos(memo.TextLength() / 2);
        memo.ScrollCaret();
        memo.viewport()->repaint();

        QElapsedTimer timer;
        qint64 worst = 0;
        for (int i = 0; i < 20; ++i) {
            timer.start();
            QTest::keyClick(&memo, Qt::Key_A);
            memo.viewport()->repaint();
            worst = std::max(worst, timer.nsecsElapsed());
        }
        timer.start();
        QTest::keyClick(&memo, Qt::Key_Return);
        memo.viewport()->repaint();
        const qint64 enter = timer.nsecsElapsed();
        qInfo("typing on a %d-byte memo, word-wrap modes %d: worst key %.2f ms, Enter %.2f ms",
            memo.TextLength(), modes, worst / 1e6, enter / 1e6);
        QCOMPARE(memo.TextLength(), length + 22);
        // The line count kept while typing equals the count of a layout from scratch.
        const int incremental = memo.LineCount();
        memo.EditArea().setWidth(memo.EditArea().Width() + 1);
        memo.EditArea().setWidth(memo.EditArea().Width() - 1);
        QCOMPARE(memo.LineCount(), incremental);
    }
}

QTEST_MAIN(ExtMemoTest)
#include "ExtMemoTest.moc"
