#include "editor/MemoDocumentLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

namespace notarium {

namespace {

// With rules of our own, our layouts are told apart from the base class's by their wrap mode: the
// base class copies the document's option (word boundaries), ours measure with "anywhere" and then
// pick the break. Without them, both use the document's option and differ in where the lines lie.
constexpr auto kOurWrapMode = QTextOption::WrapAnywhere;
constexpr qreal kRightGap = 2;
// Positions and widths of a text line are kept in 1/64 pixel.
constexpr qreal kLineUnit = 1.0 / 64;
// Paragraphs longer than this keep their shaped text (short ones are shaped again in no time).
constexpr int kCachedBlockLength = 4096;

} // namespace

MemoDocumentLayout::MemoDocumentLayout(QTextDocument* document)
    : QPlainTextDocumentLayout(document)
{
}

void MemoDocumentLayout::setBreaking(bool on, qreal left, qreal fixedWidth, qreal overflow)
{
    if (on == m_on && left == m_left && fixedWidth == m_fixedWidth && overflow == m_overflow)
        return;
    m_on = on;
    m_left = left;
    m_fixedWidth = fixedWidth;
    m_overflow = overflow;
    relayoutAll();
}

void MemoDocumentLayout::setRules(const LineBreakRules& rules)
{
    m_rules = rules;
    if (m_on)
        relayoutAll();
}

void MemoDocumentLayout::setViewportWidth(qreal width)
{
    if (width == m_viewportWidth)
        return;
    m_viewportWidth = width;
    if (m_on && m_fixedWidth <= 0)
        relayoutAll();
}

qreal MemoDocumentLayout::wrapWidth() const
{
    if (m_fixedWidth > 0)
        return m_fixedWidth;
    return std::max<qreal>(1, m_viewportWidth - m_left - kRightGap);
}

void MemoDocumentLayout::relayoutAll()
{
    QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        block.clearLayout();
    // The base class lays the cleared blocks out again when they are next needed and reports
    // the new size; the line counts are corrected as each block is laid out by our rules.
    QPlainTextDocumentLayout::documentChanged(0, 0, doc->characterCount());
    emit documentSizeChanged(documentSize());
    emit update(QRectF(0., 0., 1000000000., 1000000000.));
}

bool MemoDocumentLayout::isOurs(const QTextBlock& block) const
{
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0)
        return false;
    if (m_rules.enabled())
        return layout->textOption().wrapMode() == kOurWrapMode;
    // The base class puts its lines at the document margin (0) and makes them as wide as the
    // viewport; where both agree with ours, its layout is the one we would make.
    const QTextLine first = layout->lineAt(0);
    return layout->textOption().wrapMode() == document()->defaultTextOption().wrapMode()
        && qAbs(first.x() - m_left) < kLineUnit && qAbs(first.width() - wrapWidth()) < kLineUnit;
}

void MemoDocumentLayout::ensureLaidOut(const QTextBlock& block) const
{
    if (!block.isValid())
        return;
    if (!m_on) {
        QPlainTextDocumentLayout::blockBoundingRect(block);
        return;
    }
    if (isOurs(block))
        return;
    const int before = document()->lineCount();
    layoutBlock(block);
    if (document()->lineCount() != before && !m_sizeSignalPending) {
        // Often asked while painting: tell the editor about the new line count afterwards.
        m_sizeSignalPending = true;
        auto* self = const_cast<MemoDocumentLayout*>(this);
        QMetaObject::invokeMethod(
            self,
            [self] {
                self->m_sizeSignalPending = false;
                emit self->documentSizeChanged(self->documentSize());
            },
            Qt::QueuedConnection);
    }
}

QRectF MemoDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (m_on && block.isValid() && !isOurs(block))
        ensureLaidOut(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void MemoDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    const int before = document()->lineCount();
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    // The base class may have counted lines by its own layout of the edited block before ours
    // replaced it.
    if (m_on && document()->lineCount() != before)
        emit documentSizeChanged(documentSize());
}

void MemoDocumentLayout::layoutBlock(const QTextBlock& block) const
{
    QTextLayout* layout = block.layout();
    QTextOption option = document()->defaultTextOption();
    // Without rules of our own the toolkit breaks the lines, as in a plain editor, and this is
    // one measuring pass per line like the base class's.
    const bool own = m_rules.enabled();
    if (own)
        option.setWrapMode(kOurWrapMode);
    layout->setTextOption(option);

    // The rules look at the text as it is laid out: pre-edit text of a composition is part of it.
    QString text;
    if (own) {
        text = block.text();
        if (!layout->preeditAreaText().isEmpty())
            text.insert(layout->preeditAreaPosition(), layout->preeditAreaText());
    }

    const qreal width = wrapWidth();
    const qreal hangWidth = width + overflow();
    const int size = static_cast<int>(text.size());
    qreal height = 0;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        const int start = line.textStart();
        const int fitEnd = start + line.textLength();
        if (own && fitEnd < size) {
            int hangEnd = fitEnd;
            if (hangWidth > width && m_rules.mayHang(text[fitEnd])) {
                line.setLineWidth(hangWidth);
                hangEnd = start + line.textLength();
            }
            const int end = m_rules.lineEnd(text, start, fitEnd, hangEnd);
            if (end != start + line.textLength())
                line.setNumColumns(end - start, hangWidth);
        }
        line.setPosition(QPointF(m_left, height));
        height += line.height();
        if (line.leading() < 0)
            height += qCeil(line.leading());
    }
    layout->endLayout();
    // A long paragraph keeps its shaped text between paints: without the cache every paint (the
    // text's and the edit marks') shapes the whole paragraph again, 20 ms for a line of 1 MB.
    layout->setCacheEnabled(block.length() > kCachedBlockLength);
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
}

} // namespace notarium
