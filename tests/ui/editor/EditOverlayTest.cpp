#include "editor/TExtMemo.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace notarium;

namespace {

const QColor kBack(Qt::white);
const QColor kText(Qt::black);
const QColor kLineEnd(255, 0, 0);
const QColor kEnd(0, 170, 0);
const QColor kTab(0, 0, 255);
const QColor kControl(200, 0, 200);
const QColor kSpace(255, 140, 0);
const QColor kCaretLine(0, 128, 128);
const QColor kWrapLine(150, 90, 0);

// A memo (IPAGothic 19 px, black on white) beside a line edit that can take the focus, with every
// mark and both markers on, each in a colour of its own. Reversed marks fill their cell, so their
// places can be checked to the pixel.
struct Pad {
    explicit Pad(const std::string& bytes, bool reversed = true)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(memo);
        layout->addWidget(other);
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(19);
        memo->setFont(font);
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Base, kBack);
        palette.setColor(QPalette::Text, kText);
        palette.setColor(QPalette::Highlight, QColor(128, 128, 128));
        memo->setPalette(palette);
        memo->EditArea().Margin().setLeft(10);
        memo->EditArea().setWidth(300);
        memo->EditArea().setEnabled(true);
        TEditMarks& marks = memo->EditMarks();
        const std::pair<TEditMark*, QColor> colours[] = { { &marks.CrLf, kLineEnd }, { &marks.Eot, kEnd },
            { &marks.Tab, kTab }, { &marks.Ctrl, kControl }, { &marks.SSp, kSpace }, { &marks.DSp, kSpace } };
        for (const auto& [mark, colour] : colours)
            *mark = TEditMark { true, colour, reversed };
        memo->CaretMarker() = TMarker { true, kCaretLine };
        memo->WordWrapMarker() = TMarker { true, kWrapLine };
        memo->setBytes(bytes);
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // The viewport painted from scratch.
    QImage shot() const { return memo->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The viewport as it is on the screen after the updates the last changes asked for.
    QImage screen() const
    {
        QApplication::processEvents();
        const QPoint at = memo->viewport()->mapTo(&window, QPoint(0, 0));
        const QSize size = memo->viewport()->size();
        return window.screen()
            ->grabWindow(window.winId(), at.x(), at.y(), size.width(), size.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    bool focusMemo()
    {
        window.activateWindow();
        memo->setFocus();
        return QTest::qWaitForWindowActive(&window) && memo->hasFocus();
    }
    void place(int pos)
    {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(pos);
        memo->setTextCursor(cursor);
    }
    // The top left corner of a character (editor position) in the viewport.
    QPoint at(int pos) const
    {
        QTextCursor cursor(memo->document());
        cursor.setPosition(pos);
        return memo->cursorRect(cursor).topLeft();
    }
    int endOfBlock(int block) const
    {
        const QTextBlock b = memo->document()->findBlockByNumber(block);
        return b.position() + b.length() - 1;
    }
    int square() const { return QFontMetrics(memo->font()).horizontalAdvance(QChar(u'□')); }
    // The row of a line from its top as far as a full-width character is wide.
    QRect row(int block) const
    {
        return QRect(0, at(endOfBlock(block)).y(), memo->viewport()->width(), square());
    }
    // The caret marker's place under a line: the text's left to the wrap column.
    QRect underline(int block) const
    {
        return QRect(
            memo->EditArea().Margin().Left(), row(block).top() + square(), memo->EditArea().Width(), 1);
    }

    QWidget window;
    TExtMemo* memo = new TExtMemo;
    QLineEdit* other = new QLineEdit;
};

int count(const QImage& image, const QRect& rect, const QColor& colour)
{
    int n = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

// A reversed mark's cell begins exactly at p: filled there, not a pixel to the left or above.
bool cellStartsAt(const QImage& image, QPoint p, const QColor& colour)
{
    return image.pixelColor(p) == colour && image.pixelColor(p + QPoint(2, 2)) == colour
        && image.pixelColor(p - QPoint(1, 0)) != colour && image.pixelColor(p - QPoint(0, 1)) != colour;
}

} // namespace

class EditOverlayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void marksSitAfterTheirCharacters();
    void noMarksInsideTheSelection();
    void markersAndVertical();
    void caretMarkerFollowsTheCaretLine();
    void typingAtTheLineEndLeavesNoTrace();
};

void EditOverlayTest::initTestCase()
{
    QVERIFY2(
        QFontDatabase::families().contains(QStringLiteral("IPAGothic")), "fonts-ipafont-gothic is missing");
}

void EditOverlayTest::marksSitAfterTheirCharacters()
{
    // CR LF, a lone CR and a lone LF each end a line with one mark; the last line ends the text.
    Pad pad("ab\r\nc\rd\n\tx\x01y\r\n"
            "e f");
    const QImage image = pad.shot();
    for (int block = 0; block < 4; ++block) {
        const QPoint end = pad.at(pad.endOfBlock(block));
        QVERIFY2(cellStartsAt(image, end + QPoint(2, 2), kLineEnd), qPrintable(QString::number(block)));
        QCOMPARE(count(image, pad.row(block) & QRect(0, 0, end.x() + 2, image.height()), kLineEnd), 0);
    }
    QVERIFY(cellStartsAt(image, pad.at(pad.endOfBlock(4)) + QPoint(1, 1), kEnd));
    const int tab = pad.memo->document()->findBlockByNumber(3).position();
    QVERIFY(cellStartsAt(image, pad.at(tab) + QPoint(2, 1), kTab));
    // "A" for 0x01, in place of the box the font shows for it: no text colour left in its cell.
    QVERIFY(cellStartsAt(image, pad.at(tab + 2) + QPoint(0, 1), kControl));
    QCOMPARE(count(image, QRect(pad.at(tab + 2), pad.at(tab + 3) + QPoint(-1, pad.square())), kText), 0);
    QVERIFY(cellStartsAt(image, pad.at(pad.endOfBlock(4) - 2) + QPoint(1, 2), kSpace));

    // Below the last line there is nothing but the word-wrap marker.
    const int below = pad.row(4).top() + pad.memo->fontMetrics().height() + 2;
    const QRect rest(0, below, image.width(), image.height() - below);
    QCOMPARE(count(image, rest, kBack) + count(image, rest, kWrapLine), rest.width() * rest.height());

    // Not reversed: the glyph in the mark's colour on the memo's background.
    Pad normal("\tx", false);
    const QImage plain = normal.shot();
    const QRect cell(normal.at(0) + QPoint(2, 1), QSize(8, 14));
    QCOMPARE(plain.pixelColor(cell.topLeft()), kBack);
    bool blue = false;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            blue = blue || (plain.pixelColor(x, y).blue() == 255 && plain.pixelColor(x, y).red() < 128);
    QVERIFY(blue);
}

void EditOverlayTest::noMarksInsideTheSelection()
{
    Pad pad("a b\r\nc d\r\ne");
    QTextCursor cursor = pad.memo->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(pad.endOfBlock(2), QTextCursor::KeepAnchor);
    pad.memo->setTextCursor(cursor);
    QImage image = pad.shot();
    QVERIFY(cellStartsAt(image, pad.at(1) + QPoint(1, 2), kSpace)); // before the selection
    QCOMPARE(count(image, pad.row(1), kSpace), 0);
    for (const QColor& colour : { kLineEnd, kEnd, kCaretLine })
        QCOMPARE(count(image, image.rect(), colour), 0);

    cursor.setPosition(pad.endOfBlock(2) - 1, QTextCursor::KeepAnchor);
    pad.memo->setTextCursor(cursor);
    QVERIFY(cellStartsAt(pad.shot(), pad.at(pad.endOfBlock(2)) + QPoint(1, 1), kEnd));

    // Selecting the last character with the keyboard takes the end mark off the screen.
    QVERIFY(pad.focusMemo());
    pad.place(pad.endOfBlock(2) - 1);
    QVERIFY(count(pad.screen(), image.rect(), kEnd) > 0);
    QTest::keyClick(pad.memo, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(count(pad.screen(), image.rect(), kEnd), 0);
    QTest::keyClick(pad.memo, Qt::Key_Left, Qt::ShiftModifier);
    QVERIFY(count(pad.screen(), image.rect(), kEnd) > 0);
}

void EditOverlayTest::markersAndVertical()
{
    Pad pad("a\r\n\tb \x81\x40\x01");
    TEditArea& area = pad.memo->EditArea();
    // The word-wrap marker: one pixel right of the wrap column while there is an overflow zone.
    for (const int overflow : { 16, 0 }) {
        area.setOverFlow(overflow);
        const QImage image = pad.shot();
        const int x = area.Margin().Left() + area.Width() + (overflow > 0 ? 1 : 0);
        QCOMPARE(count(image, QRect(x, 0, 1, image.height()), kWrapLine), image.height());
        QCOMPARE(count(image, QRect(x - 1, 0, 1, image.height()), kWrapLine), 0);
        QCOMPARE(count(image, QRect(x + 1, 0, 1, image.height()), kWrapLine), 0);
    }
    // No markers without the edit area or without word wrap; nothing at all in vertical writing.
    area.setEnabled(false);
    QCOMPARE(count(pad.shot(), pad.memo->viewport()->rect(), kWrapLine), 0);
    area.setEnabled(true);
    pad.memo->setWordWrap(false);
    QCOMPARE(count(pad.shot(), pad.memo->viewport()->rect(), kWrapLine), 0);
    pad.memo->setWordWrap(true);
    pad.memo->setVertical(true);
    QVERIFY(pad.focusMemo());
    const QImage image = pad.shot();
    for (const QColor& colour : { kLineEnd, kEnd, kTab, kControl, kSpace, kCaretLine, kWrapLine })
        QCOMPARE(count(image, image.rect(), colour), 0);
}

void EditOverlayTest::caretMarkerFollowsTheCaretLine()
{
    Pad pad("one\r\ntwo\r\nthree");
    QVERIFY(pad.focusMemo());
    const int width = pad.memo->EditArea().Width();
    QCOMPARE(count(pad.screen(), pad.underline(0), kCaretLine), width);

    // The underline moves with the caret; the old one is gone from the screen.
    QTest::keyClick(pad.memo, Qt::Key_Down);
    QImage screen = pad.screen();
    QCOMPARE(count(screen, pad.underline(1), kCaretLine), width);
    QCOMPARE(count(screen, screen.rect(), kCaretLine), width);
    // Making a selection takes it away; a click puts it under the clicked line.
    QTest::keyClick(pad.memo, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(count(pad.screen(), screen.rect(), kCaretLine), 0);
    QTest::mouseClick(pad.memo->viewport(), Qt::LeftButton, {}, pad.at(pad.endOfBlock(2)) + QPoint(1, 5));
    QCOMPARE(count(pad.screen(), pad.underline(2), kCaretLine), width);

    // Without the focus it stays on its line while the caret moves; back in the memo it follows.
    pad.other->setFocus();
    QTRY_VERIFY(!pad.memo->hasFocus());
    pad.place(0);
    QCOMPARE(count(pad.screen(), pad.underline(2), kCaretLine), width);
    pad.memo->HideCaretMarker();
    QCOMPARE(count(pad.screen(), screen.rect(), kCaretLine), 0);
    pad.memo->ShowCaretMarker();
    QCOMPARE(count(pad.screen(), pad.underline(2), kCaretLine), width);
    pad.memo->setFocus();
    screen = pad.screen();
    QCOMPARE(count(screen, pad.underline(0), kCaretLine), width);
    QCOMPARE(count(screen, screen.rect(), kCaretLine), width);
}

void EditOverlayTest::typingAtTheLineEndLeavesNoTrace()
{
    Pad pad("ab\r\ncd");
    QVERIFY(pad.focusMemo());
    pad.place(2);
    const QPoint old = pad.at(2) + QPoint(2, 2);
    QVERIFY(cellStartsAt(pad.screen(), old, kLineEnd));
    QTest::keyClicks(pad.memo, QStringLiteral("xy"));
    QImage screen = pad.screen();
    const QPoint moved = pad.at(pad.endOfBlock(0)) + QPoint(2, 2);
    QVERIFY(cellStartsAt(screen, moved, kLineEnd));
    QCOMPARE(count(screen, pad.row(0) & QRect(0, 0, moved.x(), screen.height()), kLineEnd), 0);
    QTest::keyClick(pad.memo, Qt::Key_Backspace);
    QTest::keyClick(pad.memo, Qt::Key_Backspace);
    screen = pad.screen();
    QVERIFY(cellStartsAt(screen, old, kLineEnd));
    QCOMPARE(count(screen, pad.row(0) & QRect(old.x() + pad.square(), 0, 100, screen.height()), kLineEnd), 0);
}

QTEST_MAIN(EditOverlayTest)
#include "EditOverlayTest.moc"
