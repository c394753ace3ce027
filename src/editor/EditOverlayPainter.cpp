#include "editor/EditOverlayPainter.h"

#include "editor/TExtMemo.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace notarium {

namespace {

constexpr QChar kSquare = u'□';
constexpr QChar kEndOfText = u'\u2261'; // ≡
constexpr QChar kLineEnd = u'\u2193'; // ↓
constexpr QChar kTab = u'>';
constexpr char16_t kIdeographicSpace = 0x3000;

// During an input method composition the block's layout holds the pre-edit text as well; layout
// positions after it are further on than the block's own positions.
int layoutPosition(const QTextLayout& layout, int inBlock)
{
    const int length = static_cast<int>(layout.preeditAreaText().size());
    return length > 0 && inBlock >= layout.preeditAreaPosition() ? inBlock + length : inBlock;
}

int blockPosition(const QTextLayout& layout, int inLayout)
{
    const int length = static_cast<int>(layout.preeditAreaText().size());
    const int at = layout.preeditAreaPosition();
    if (length == 0 || inLayout <= at)
        return inLayout;
    return inLayout < at + length ? at : inLayout - length;
}

// The line of a layout position, as the toolkit places the caret: a position where a line
// begins belongs to that line. Found by halving, where the toolkit's own lookup walks every line.
int lineOf(const QTextLayout& layout, int inLayout)
{
    int first = 0;
    int past = layout.lineCount();
    while (past - first > 1) {
        const int mid = (first + past) / 2;
        if (layout.lineAt(mid).textStart() <= inLayout)
            first = mid;
        else
            past = mid;
    }
    return first;
}

} // namespace

EditOverlayPainter::EditOverlayPainter(TExtMemo& memo)
    : m_memo(memo)
{
}

// ---------------------------------------------------------------- geometry and fonts

bool EditOverlayPainter::editAreaActive() const
{
    return m_memo.WordWrap() && !m_memo.Vertical() && m_memo.EditArea().Enabled();
}

bool EditOverlayPainter::caretMarkerActive() const
{
    return editAreaActive() && m_memo.CaretMarker().Enabled;
}

QRect EditOverlayPainter::formatRect() const
{
    const QRect viewport = m_memo.viewport()->rect();
    if (!editAreaActive())
        return viewport;
    const TEditArea& area = m_memo.EditArea();
    const int left = area.Margin().Left();
    return QRect(left, 0, std::max(1, area.Width()) + area.OverFlow(), viewport.height());
}

const EditOverlayPainter::MarkFonts& EditOverlayPainter::fonts() const
{
    const QFont memoFont = m_memo.font();
    if (m_fonts.squareWidth > 0 && m_fonts.memoFont == memoFont)
        return m_fonts;
    m_fonts.memoFont = memoFont;
    m_fonts.squareWidth = QFontMetrics(memoFont).horizontalAdvance(kSquare);
    // The marks are a little smaller than the text: their height is the width of a full-width
    // character less two pixels.
    auto markFont = [&](const QString& family) {
        QFont font = memoFont;
        font.setFamilies({ family });
        font.setPixelSize(std::max(1, m_fonts.squareWidth - 2));
        font.setUnderline(false);
        font.setStrikeOut(false);
        return MarkFont(font);
    };
    // The arrow and the identical-to sign in the memo's own family: the "Symbol" font fontconfig
    // offers keeps its glyphs under the old symbol codes, and the toolkit does not fall back from
    // a symbol font to find them. Control characters in the Japanese monospace font.
    m_fonts.glyph = markFont(memoFont.family());
    m_fonts.control = markFont(QStringLiteral("ＭＳ ゴシック"));
    return m_fonts;
}

// ---------------------------------------------------------------- painting

void EditOverlayPainter::paint(QPainter& painter, const QRect& rect)
{
    if (m_memo.Vertical())
        return;
    painter.save();
    paintMarks(painter, rect & m_memo.viewport()->rect());
    painter.restore();
    paintWordWrapMarker(painter);
    refreshCaretMarker();
    if (const QRect line = underline(m_drawn); !line.isEmpty())
        painter.fillRect(line, m_memo.CaretMarker().Color);
}

void EditOverlayPainter::paintMarks(QPainter& painter, const QRect& clip)
{
    const TEditMarks& marks = m_memo.EditMarks();
    if (!marks.CrLf.Enabled && !marks.Ctrl.Enabled && !marks.DSp.Enabled && !marks.SSp.Enabled
        && !marks.Tab.Enabled && !marks.Eot.Enabled)
        return;
    if (clip.isEmpty())
        return;
    // Marks past the edit area's right edge are cut off there.
    painter.setClipRect(formatRect());

    const QTextCursor cursor = m_memo.textCursor();
    const Selection selection { cursor.selectionStart(), cursor.selectionEnd(), cursor.hasSelection() };
    QAbstractTextDocumentLayout* layout = m_memo.document()->documentLayout();
    QPointF origin = m_memo.contentOffset();
    for (QTextBlock block = m_memo.firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (origin.y() > clip.bottom())
            break;
        // Lays the block out if it is not yet.
        const QRectF bounds = layout->blockBoundingRect(block);
        if (block.isVisible() && origin.y() + bounds.height() >= clip.top())
            paintBlockMarks(painter, block, origin, clip, selection);
        origin.ry() += bounds.height();
    }
}

void EditOverlayPainter::paintBlockMarks(QPainter& painter, const QTextBlock& block, const QPointF& origin,
    const QRect& clip, const Selection& selection)
{
    const QTextLayout& layout = *block.layout();
    const int count = layout.lineCount();
    if (count == 0)
        return;
    // A block may be one huge line wrapped into thousands of display lines: start at the first
    // one that reaches into the clip.
    int first = 0;
    int past = count;
    while (first < past) {
        const int mid = (first + past) / 2;
        const QTextLine line = layout.lineAt(mid);
        if (origin.y() + line.y() + line.height() < clip.top())
            first = mid + 1;
        else
            past = mid;
    }
    for (int i = first; i < count; ++i) {
        const QTextLine line = layout.lineAt(i);
        if (origin.y() + line.y() > clip.bottom())
            break;
        const int from = blockPosition(layout, line.textStart());
        const int to = i + 1 < count ? blockPosition(layout, line.textStart() + line.textLength())
                                     : block.length() - 1;
        paintLineMarks(painter, block, line, origin, from, to, selection);
    }
}

void EditOverlayPainter::paintLineMarks(QPainter& painter, const QTextBlock& block, const QTextLine& line,
    const QPointF& origin, int from, int to, const Selection& selection)
{
    const TEditMarks& marks = m_memo.EditMarks();
    const QTextLayout& layout = *block.layout();
    const MarkFonts& markFonts = fonts();
    const int top = qRound(origin.y() + line.y());
    auto xAt
        = [&](int inBlock) { return qRound(origin.x() + line.cursorToX(layoutPosition(layout, inBlock))); };

    if (marks.Tab.Enabled || marks.SSp.Enabled || marks.DSp.Enabled || marks.Ctrl.Enabled) {
        // Character by character from the document: a cursor or the block's text would cost as
        // much as the whole block, and a block may be a huge line.
        const QTextDocument& doc = *m_memo.document();
        for (int inBlock = from; inBlock < to; ++inBlock) {
            const int pos = block.position() + inBlock;
            const char16_t c = doc.characterAt(pos).unicode();
            if (c > 0x20 && c != kIdeographicSpace)
                continue;
            if (selection.contains(pos))
                continue;
            const int x = xAt(inBlock);
            if (c == u'\t') {
                if (marks.Tab.Enabled)
                    drawGlyph(painter, marks.Tab, markFonts.glyph, QPoint(x + 2, top + 1), kTab);
            } else if (c == u' ') {
                if (marks.SSp.Enabled)
                    drawHalfWidthSpace(painter, marks.SSp, QPoint(x + 1, top + 2), xAt(inBlock + 1) - x - 2);
            } else if (c == kIdeographicSpace) {
                if (marks.DSp.Enabled)
                    drawFullWidthSpace(painter, marks.DSp, QPoint(x + 2, top + 2), xAt(inBlock + 1) - x - 4);
            } else if (marks.Ctrl.Enabled) {
                // The mark stands in for the character: the box the font shows for it goes.
                painter.fillRect(QRect(x, top, xAt(inBlock + 1) - x, qCeil(line.height())),
                    m_memo.palette().color(QPalette::Base));
                drawGlyph(painter, marks.Ctrl, markFonts.control, QPoint(x, top + 1), QChar(c + 0x40));
            }
        }
    }

    if (line.lineNumber() != layout.lineCount() - 1)
        return;
    // The block's last line: the line break, or the end of the text after the last block.
    const int end = block.length() - 1;
    const int x = xAt(end);
    if (block.next().isValid()) {
        if (marks.CrLf.Enabled && !selection.contains(block.position() + end))
            drawGlyph(painter, marks.CrLf, markFonts.glyph, QPoint(x + 2, top + 2), kLineEnd);
    } else if (marks.Eot.Enabled && !(selection.exists && selection.end >= block.position() + end)) {
        drawGlyph(painter, marks.Eot, markFonts.glyph, QPoint(x + 1, top + 1), kEndOfText);
    }
}

void EditOverlayPainter::drawGlyph(
    QPainter& painter, const TEditMark& mark, const MarkFont& font, const QPoint& at, QChar glyph)
{
    const QColor back = m_memo.palette().color(QPalette::Base);
    const QFontMetricsF& metrics = font.metrics;
    const QRectF cell(at, QSizeF(metrics.horizontalAdvance(glyph), metrics.height()));
    painter.fillRect(cell, mark.Reversed ? mark.Color : back);
    painter.setFont(font.font);
    painter.setPen(mark.Reversed ? back : mark.Color);
    painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), QString(glyph));
}

void EditOverlayPainter::drawHalfWidthSpace(
    QPainter& painter, const TEditMark& mark, const QPoint& at, int width)
{
    // An open box on the base line, as wide as the space less a pixel on each side.
    const QFontMetricsF& metrics = fonts().glyph.metrics;
    const QRect cell(at, QSize(std::max(2, width), qCeil(metrics.height())));
    const QColor back = m_memo.palette().color(QPalette::Base);
    const QColor fore = mark.Reversed ? back : mark.Color;
    if (mark.Reversed)
        painter.fillRect(cell, mark.Color);
    const int base = cell.top() + qRound(metrics.ascent()) - 1;
    const int tick = std::max(2, qRound(metrics.ascent() / 4));
    painter.fillRect(QRect(cell.left(), base, cell.width(), 1), fore);
    painter.fillRect(QRect(cell.left(), base - tick + 1, 1, tick), fore);
    painter.fillRect(QRect(cell.right(), base - tick + 1, 1, tick), fore);
}

void EditOverlayPainter::drawFullWidthSpace(
    QPainter& painter, const TEditMark& mark, const QPoint& at, int width)
{
    // A dotted square inside the character's cell, so that it is not taken for a "□"; reversed, a
    // filled one.
    const int size = std::max(3, std::min(width, fonts().squareWidth - 4));
    const QRect cell(at, QSize(size, size));
    if (mark.Reversed) {
        painter.fillRect(cell, mark.Color);
        return;
    }
    painter.save();
    painter.setPen(QPen(mark.Color, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.restore();
}

void EditOverlayPainter::paintWordWrapMarker(QPainter& painter)
{
    if (!editAreaActive() || !m_memo.WordWrapMarker().Enabled)
        return;
    const TEditArea& area = m_memo.EditArea();
    const int x = area.Margin().Left() + area.Width() + (area.OverFlow() > 0 ? 1 : 0);
    painter.fillRect(QRect(x, 0, 1, m_memo.viewport()->height()), m_memo.WordWrapMarker().Color);
}

// ---------------------------------------------------------------- the caret marker

EditOverlayPainter::LineRef EditOverlayPainter::wantedCaretLine() const
{
    if (m_hidden || !caretMarkerActive())
        return {};
    const QTextCursor cursor = m_memo.textCursor();
    if (cursor.hasSelection())
        return {};
    if (!m_memo.hasFocus() && m_last.valid())
        return m_last;
    const QTextBlock block = cursor.block();
    const QTextLayout& layout = *block.layout();
    return { block.blockNumber(), lineOf(layout, layoutPosition(layout, cursor.positionInBlock())) };
}

QRect EditOverlayPainter::underline(const LineRef& ref) const
{
    if (!ref.valid() || !caretMarkerActive())
        return {};
    QTextBlock block = m_memo.firstVisibleBlock();
    if (!block.isValid() || ref.block < block.blockNumber())
        return {};
    const QTextBlock target = m_memo.document()->findBlockByNumber(ref.block);
    QAbstractTextDocumentLayout* layout = m_memo.document()->documentLayout();
    const int bottom = m_memo.viewport()->height();
    qreal y = m_memo.contentOffset().y();
    for (; block.isValid() && y < bottom; block = block.next()) {
        const qreal height = layout->blockBoundingRect(block).height();
        if (block == target) {
            if (ref.line >= block.layout()->lineCount())
                return {};
            const TEditArea& area = m_memo.EditArea();
            const int left = area.Margin().Left();
            const int top = qRound(y + block.layout()->lineAt(ref.line).y());
            // Under the line, as far down as a full-width character is wide; up to the wrap column.
            return QRect(left, top + fonts().squareWidth, area.Width(), 1);
        }
        y += height;
    }
    return {};
}

void EditOverlayPainter::refreshCaretMarker()
{
    const LineRef wanted = wantedCaretLine();
    if (wanted.valid())
        m_last = wanted;
    if (wanted == m_drawn)
        return;
    m_memo.viewport()->update(underline(m_drawn));
    m_memo.viewport()->update(underline(wanted));
    m_drawn = wanted;
}

void EditOverlayPainter::caretMoved()
{
    m_hidden = false;
    refreshCaretMarker();
}

void EditOverlayPainter::focusChanged()
{
    if (m_memo.hasFocus())
        m_hidden = false;
    refreshCaretMarker();
}

void EditOverlayPainter::hideCaretMarker()
{
    m_hidden = true;
    refreshCaretMarker();
}

void EditOverlayPainter::showCaretMarker()
{
    m_hidden = false;
    refreshCaretMarker();
}

} // namespace notarium
