#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QObject>
#include <QRect>

class QPainter;
class QPointF;
class QTextBlock;
class QTextLine;

namespace notarium {

class TEditMark;
class TExtMemo;

// Paints the memo's overlays over the text it has painted: the edit marks (line ends, end of text,
// tabs, spaces, control characters), the word-wrap marker and the caret marker. Only the lines in
// the part being painted are walked, so a large memo costs no more than a small one. The caret
// marker follows the caret's display line while the memo has the focus and stays on the line it
// was last drawn on while it does not; when it changes lines, the old and the new underline are
// repainted, nothing else.
class EditOverlayPainter : public QObject {
    Q_OBJECT

public:
    explicit EditOverlayPainter(TExtMemo& memo);

    // After the memo has painted its viewport: paints the overlays over rect (viewport pixels).
    void paint(QPainter& painter, const QRect& rect);

    // The caret or the selection changed, or the focus came or went.
    void caretMoved();
    void focusChanged();
    // Off until the caret or the selection next changes, the memo gets the focus or
    // showCaretMarker is called.
    void hideCaretMarker();
    void showCaretMarker();

private:
    // A display line: a block and a line of its layout.
    struct LineRef {
        int block = -1;
        int line = -1;
        bool valid() const { return block >= 0; }
        bool operator==(const LineRef&) const = default;
    };
    struct Selection {
        int start = 0;
        int end = 0;
        bool exists = false;
        bool contains(int pos) const { return exists && pos >= start && pos < end; }
    };
    struct MarkFont {
        QFont font;
        QFontMetricsF metrics;
        explicit MarkFont(const QFont& markFont = QFont())
            : font(markFont)
            , metrics(markFont)
        {
        }
    };
    struct MarkFonts {
        QFont memoFont;
        int squareWidth = 0;
        MarkFont glyph;
        MarkFont control;
    };

    bool editAreaActive() const;
    bool caretMarkerActive() const;
    // The formatting rectangle in viewport pixels: the edit area with its overflow zone, or the
    // whole viewport without it.
    QRect formatRect() const;
    const MarkFonts& fonts() const;

    void paintMarks(QPainter& painter, const QRect& clip);
    void paintBlockMarks(QPainter& painter, const QTextBlock& block, const QPointF& origin, const QRect& clip,
        const Selection& selection);
    // The marks of one display line, whose characters are [from, to) (positions in the block).
    void paintLineMarks(QPainter& painter, const QTextBlock& block, const QTextLine& line,
        const QPointF& origin, int from, int to, const Selection& selection);
    // One glyph whose cell's top left corner is at the given point.
    void drawGlyph(
        QPainter& painter, const TEditMark& mark, const MarkFont& font, const QPoint& at, QChar glyph);
    // The two space marks, drawn as shapes from the given corner, as wide as given.
    void drawHalfWidthSpace(QPainter& painter, const TEditMark& mark, const QPoint& at, int width);
    void drawFullWidthSpace(QPainter& painter, const TEditMark& mark, const QPoint& at, int width);
    void paintWordWrapMarker(QPainter& painter);

    // Where the caret marker belongs now; none while it is off or there is a selection.
    LineRef wantedCaretLine() const;
    // The underline of a display line in viewport pixels; empty when the line is not on screen.
    QRect underline(const LineRef& line) const;
    // Repaints the old and the new underline when the caret marker changes lines.
    void refreshCaretMarker();

    TExtMemo& m_memo;
    mutable MarkFonts m_fonts;
    bool m_hidden = false;
    // The underline on screen now (or about to be painted), and the line it was last drawn on.
    LineRef m_drawn;
    LineRef m_last;
};

} // namespace notarium
