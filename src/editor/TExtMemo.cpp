#include "editor/TExtMemo.h"

#include "editor/Cp932Chars.h"
#include "editor/EditOverlayPainter.h"
#include "editor/MemoDocumentLayout.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace notarium {

namespace {

// Room the selection bar needs left of the text.
constexpr int kSelectionBarWidth = 10;
// Left of the text when the edit area is off.
constexpr int kPlainLeft = 2;
constexpr int kTabStopCount = 32;

} // namespace

TExtMemo::TExtMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    auto* doc = new QTextDocument(this);
    m_layout = new MemoDocumentLayout(doc);
    doc->setDocumentLayout(m_layout);
    doc->setDocumentMargin(0);
    doc->setDefaultFont(font());
    setDocument(doc);
    // The edit area's top and bottom margins are viewport margins; they show the text colour.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(true);

    m_editArea.setOnChange([this] { applyEditArea(); });
    m_wordWrapOption.setOnChange([this] { applyRules(); });
    applyRules();
    m_layout->setViewportWidth(viewport()->width());
    // The overflow zone holds one full-width character; it follows the font (changeEvent).
    m_editArea.setOverFlow(fullWidthCharWidth());
    applyEditArea();
    applyTabStops();

    m_overlays = std::make_unique<EditOverlayPainter>(*this);
    connect(this, &QPlainTextEdit::cursorPositionChanged, m_overlays.get(), &EditOverlayPainter::caretMoved);
    connect(this, &QPlainTextEdit::selectionChanged, m_overlays.get(), &EditOverlayPainter::caretMoved);
}

TExtMemo::~TExtMemo() = default;

// ---------------------------------------------------------------- text as bytes

void TExtMemo::setBytes(std::string_view bytes)
{
    // The editor's own plain-text loader turns CR LF, CR and LF alike into paragraph breaks.
    setPlainText(Cp932Chars::decode(bytes));
}

std::string TExtMemo::bytes() const
{
    std::string out;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            out += "\r\n";
        out += Cp932Chars::encode(block.text());
    }
    return out;
}

void TExtMemo::insertText(const QString& text)
{
    bool replaced = false;
    // One undo step per insertion: the editor would merge text inserted right after the last
    // insertion into it, and undo would take back two pastes at once.
    QTextCursor block = textCursor();
    block.beginEditBlock();
    insertPlainText(Cp932Chars::filterInput(text, &replaced));
    block.endEditBlock();
    if (replaced)
        emit unrepresentableReplaced();
}

void TExtMemo::setImeColors(const TImeColors& colors)
{
    if (!(colors == m_imeColors))
        m_imeColors.assign(colors);
}

// ---------------------------------------------------------------- options

void TExtMemo::setLineSelect(bool on)
{
    if (on == m_lineSelect)
        return;
    m_lineSelect = on;
    applyEditArea();
}

void TExtMemo::setVertical(bool on)
{
    if (on == m_vertical)
        return;
    m_vertical = on;
    applyEditArea();
}

void TExtMemo::setWordWrap(bool on)
{
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    applyEditArea();
}

void TExtMemo::applyEditArea()
{
    if (!m_layout)
        return;
    const bool area = WordWrap() && !m_vertical && m_editArea.Enabled();
    if (area) {
        if (m_lineSelect && m_editArea.Margin().Left() < kSelectionBarWidth)
            m_editArea.Margin().storeLeft(kSelectionBarWidth);
        setViewportMargins(0, m_editArea.Margin().Top(), 0, m_editArea.Margin().Bottom());
        m_layout->setBreaking(
            true, m_editArea.Margin().Left(), std::max(1, m_editArea.Width()), m_editArea.OverFlow());
    } else {
        setViewportMargins(0, 0, 0, 0);
        if (WordWrap())
            m_layout->setBreaking(true, m_lineSelect ? kSelectionBarWidth : kPlainLeft, 0, 0);
        else
            m_layout->setBreaking(false, 0, 0, 0);
    }
    viewport()->update();
}

void TExtMemo::applyRules()
{
    m_layout->setRules(m_wordWrapOption.rules());
}

qreal TExtMemo::averageCharWidth() const
{
    // A long run averages out the rounding of single advances.
    const QFontMetricsF metrics(font());
    return metrics.horizontalAdvance(QString(512, u'M')) / 512.0;
}

int TExtMemo::fullWidthCharWidth() const
{
    return QFontMetrics(font()).horizontalAdvance(QChar(u'□'));
}

void TExtMemo::applyTabStops()
{
    const bool modified = document()->isModified();
    const qreal distance = m_tabWidth > 0 ? m_tabWidth * averageCharWidth() : logicalDpiX() / 2.0;
    if (!qFuzzyCompare(tabStopDistance(), distance))
        setTabStopDistance(distance);
    document()->setModified(modified);
}

bool TExtMemo::setTabWidth(int characters)
{
    if (characters < 0)
        return false;
    m_tabWidth = characters;
    applyTabStops();
    return true;
}

QList<qreal> TExtMemo::tabStops() const
{
    QList<qreal> stops;
    const qreal width = m_tabWidth * averageCharWidth();
    for (int k = 1; k <= kTabStopCount; ++k)
        stops.append(width * k);
    return stops;
}

QString TExtMemo::insertModeText() const
{
    return m_insertMode ? QStringLiteral("挿入") : QStringLiteral("上書き");
}

qreal TExtMemo::textLeft() const
{
    return m_layout->breaking() ? m_layout->left() : 0;
}

qreal TExtMemo::wrapColumn() const
{
    return m_layout->breaking() ? m_layout->left() + m_layout->wrapWidth() : viewport()->width();
}

// ---------------------------------------------------------------- positions

int TExtMemo::charToByte(int charPos) const
{
    const QString raw = document()->toRawText();
    const int end = std::clamp(charPos, 0, static_cast<int>(raw.size()));
    return static_cast<int>(Cp932Chars::byteLength(QStringView(raw).first(end)));
}

int TExtMemo::byteToChar(int bytePos, bool roundUp) const
{
    const QString raw = document()->toRawText();
    int bytes = 0;
    for (int i = 0; i < raw.size(); ++i) {
        if (bytes >= bytePos)
            return i;
        const int length = static_cast<int>(Cp932Chars::byteLength(QStringView(raw).mid(i, 1)));
        if (bytes + length > bytePos)
            return roundUp ? i + 1 : i;
        bytes += length;
    }
    return static_cast<int>(raw.size());
}

int TExtMemo::SelPos() const
{
    return charToByte(textCursor().selectionStart());
}

void TExtMemo::setSelPos(int bytePos)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(byteToChar(std::max(0, bytePos)));
    setTextCursor(cursor);
}

int TExtMemo::SelLen() const
{
    const QTextCursor cursor = textCursor();
    const QString raw = document()->toRawText();
    const int start = cursor.selectionStart();
    const int end = std::min(cursor.selectionEnd(), static_cast<int>(raw.size()));
    return static_cast<int>(Cp932Chars::byteLength(QStringView(raw).mid(start, end - start)));
}

void TExtMemo::setSelLen(int byteLength)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = byteToChar(charToByte(start) + std::max(0, byteLength), true);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int TExtMemo::TextLength() const
{
    return static_cast<int>(Cp932Chars::byteLength(document()->toRawText()));
}

int TExtMemo::displayLineOf(int charPos) const
{
    const QTextBlock target = document()->findBlock(charPos);
    if (!target.isValid())
        return 0;
    // Line numbers of blocks not laid out yet are guesses; count exactly.
    for (QTextBlock block = document()->begin(); block != target; block = block.next())
        m_layout->ensureLaidOut(block);
    m_layout->ensureLaidOut(target);
    const QTextLine line = target.layout()->lineForTextPosition(charPos - target.position());
    return target.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0);
}

int TExtMemo::displayLineStart(int line) const
{
    if (line < 0)
        return -1;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        m_layout->ensureLaidOut(block);
        const int first = block.firstLineNumber();
        if (line < first + block.layout()->lineCount())
            return block.position() + block.layout()->lineAt(line - first).textStart();
    }
    return -1;
}

std::pair<int, int> TExtMemo::displayLineRange(int charPos) const
{
    const QTextBlock block = document()->findBlock(charPos);
    m_layout->ensureLaidOut(block);
    const QTextLayout* layout = block.layout();
    const QTextLine line = layout->lineForTextPosition(charPos - block.position());
    if (!line.isValid())
        return { block.position(), block.position() + block.length() };
    const int start = block.position() + line.textStart();
    const bool last = line.lineNumber() == layout->lineCount() - 1;
    int end = block.position() + line.textStart() + line.textLength();
    if (last)
        end = std::min(block.position() + block.length(), document()->characterCount() - 1);
    return { start, end };
}

int TExtMemo::CaretLine() const
{
    return displayLineOf(textCursor().selectionStart());
}

int TExtMemo::CaretColumn() const
{
    const int pos = textCursor().selectionStart();
    const QTextBlock block = document()->findBlock(pos);
    m_layout->ensureLaidOut(block);
    const QTextLine line = block.layout()->lineForTextPosition(pos - block.position());
    const int lineStart = line.isValid() ? line.textStart() : 0;
    const QString text = block.text();
    return static_cast<int>(
        Cp932Chars::byteLength(QStringView(text).mid(lineStart, pos - block.position() - lineStart)));
}

int TExtMemo::LineCount() const
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        m_layout->ensureLaidOut(block);
    return document()->lineCount();
}

int TExtMemo::FirstVisibleLine() const
{
    const QTextBlock top = firstVisibleBlock();
    if (!top.isValid())
        return 0;
    const int first = displayLineOf(top.position());
    // contentOffset is minus the part of the top block scrolled out above the viewport.
    const qreal hidden = -contentOffset().y();
    const QTextLayout* layout = top.layout();
    int line = 0;
    while (line + 1 < layout->lineCount() && layout->lineAt(line + 1).y() <= hidden + 0.5)
        ++line;
    return first + line;
}

int TExtMemo::LineFromChar(int bytePos) const
{
    return displayLineOf(byteToChar(bytePos));
}

int TExtMemo::LineIndex(int line) const
{
    const int pos = displayLineStart(line);
    return pos < 0 ? -1 : charToByte(pos);
}

QPoint TExtMemo::PosFromChar(int bytePos) const
{
    QTextCursor cursor(document());
    cursor.setPosition(std::min(byteToChar(bytePos), document()->characterCount() - 1));
    return cursorRect(cursor).topLeft();
}

int TExtMemo::CharFromPos(const QPoint& point) const
{
    return charToByte(cursorForPosition(point).position());
}

TExtMemo::LineSpan TExtMemo::displayLineAt(int charPos) const
{
    const QTextBlock block = document()->findBlock(charPos);
    if (!block.isValid())
        return {};
    m_layout->ensureLaidOut(block);
    const QTextLine line = block.layout()->lineForTextPosition(charPos - block.position());
    if (!line.isValid())
        return { block.position(), block.length() - 1 };
    // A display line's text never includes the paragraph separator, even on the block's last line.
    const int length = std::min(line.textLength(), block.length() - 1 - line.textStart());
    return { block.position() + line.textStart(), std::max(0, length) };
}

QString TExtMemo::displayLineText(int charPos) const
{
    const LineSpan span = displayLineAt(charPos);
    const QTextBlock block = document()->findBlock(span.start);
    return block.text().mid(span.start - block.position(), span.length);
}

QString TExtMemo::preeditText() const
{
    const QTextBlock block = textCursor().block();
    return block.isValid() && block.layout() ? block.layout()->preeditAreaText() : QString();
}

bool TExtMemo::isComposing() const
{
    return !preeditText().isEmpty();
}

void TExtMemo::setInputMethodOpen(bool open)
{
    m_ime.setOpen(*this, open, [this] { return preeditText(); });
}

QVariant TExtMemo::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (m_ime.answersDisabled(query))
        return false;
    return QPlainTextEdit::inputMethodQuery(query);
}

QVariant TExtMemo::inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const
{
    if (m_ime.answersDisabled(query))
        return false;
    return QPlainTextEdit::inputMethodQuery(query, std::move(argument));
}

bool TExtMemo::Modified() const
{
    return document()->isModified();
}
void TExtMemo::setModified(bool modified)
{
    document()->setModified(modified);
}
bool TExtMemo::CanUndo() const
{
    return document()->isUndoAvailable();
}
void TExtMemo::Undo()
{
    undo();
}
void TExtMemo::ClearUndo()
{
    document()->clearUndoRedoStacks();
}
bool TExtMemo::CanPaste() const
{
    return canPaste();
}

void TExtMemo::Scroll(ScrollAction action)
{
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
    case ScrollAction::LineUp:
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case ScrollAction::LineDown:
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case ScrollAction::PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case ScrollAction::PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    }
}

void TExtMemo::LineScroll(int columns, int lines)
{
    // The vertical scroll bar of the plain-text editor counts display lines.
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(columns * averageCharWidth()));
}

void TExtMemo::ScrollCaret()
{
    ensureCursorVisible();
}

void TExtMemo::SelectAll()
{
    HideCaretMarker();
    selectAll();
}

void TExtMemo::HideCaretMarker()
{
    m_overlays->hideCaretMarker();
}

void TExtMemo::ShowCaretMarker()
{
    m_overlays->showCaretMarker();
}

// ---------------------------------------------------------------- input

void TExtMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        m_insertMode = !m_insertMode;
        setOverwriteMode(!m_insertMode);
        emit insertModeChanged(m_insertMode);
        event->accept();
        return;
    }
    // Shift with an arrow key begins or changes a selection.
    if ((event->modifiers() & Qt::ShiftModifier)
        && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up || event->key() == Qt::Key_Right
            || event->key() == Qt::Key_Down))
        HideCaretMarker();
    // Shift+Enter would put a line separator inside the paragraph, a character the document's
    // code page does not have; every line break of a memo is a paragraph break (CR LF).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
            event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !isReadOnly()) {
        bool replaced = false;
        const QString filtered = Cp932Chars::filterInput(text, &replaced);
        if (replaced) {
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), filtered, event->isAutoRepeat(),
                static_cast<quint16>(event->count()));
            QPlainTextEdit::keyPressEvent(&copy);
            event->setAccepted(copy.isAccepted());
            emit unrepresentableReplaced();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TExtMemo::inputMethodEvent(QInputMethodEvent* event)
{
    bool replaced = false;
    const QString commit = Cp932Chars::filterInput(event->commitString(), &replaced);
    const QString preedit = event->preeditString();
    QInputMethodEvent rewritten(
        preedit, m_imeColors.rewrite(event->attributes(), static_cast<int>(preedit.size())));
    rewritten.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&rewritten);
    event->setAccepted(rewritten.isAccepted());
    if (replaced)
        emit unrepresentableReplaced();
}

void TExtMemo::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertText(source->text());
}

bool TExtMemo::inSelectionBar(const QPoint& viewportPoint) const
{
    return m_lineSelect && !m_vertical && m_layout->breaking() && viewportPoint.x() < textLeft();
}

void TExtMemo::mousePressEvent(QMouseEvent* event)
{
    // The underline leaves the old line before the click moves the caret.
    if (event->button() == Qt::LeftButton)
        HideCaretMarker();
    pressMouse(event);
    if (event->button() == Qt::LeftButton)
        ShowCaretMarker();
}

void TExtMemo::pressMouse(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !inSelectionBar(point)) {
        QPlainTextEdit::mousePressEvent(event);
        return;
    }
    const int pos = cursorForPosition(QPoint(qRound(textLeft()) + 1, point.y())).position();
    const auto [start, end] = displayLineRange(pos);
    QTextCursor cursor = textCursor();
    if (event->modifiers() & Qt::ShiftModifier) {
        const int anchor = cursor.anchor();
        cursor.setPosition(anchor);
        cursor.setPosition(start < anchor ? start : end, QTextCursor::KeepAnchor);
        m_barAnchorStart = m_barAnchorEnd = anchor;
    } else {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        m_barAnchorStart = start;
        m_barAnchorEnd = end;
    }
    setTextCursor(cursor);
    m_barSelecting = true;
    event->accept();
}

void TExtMemo::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_barSelecting) {
        const int pos = cursorForPosition(QPoint(qRound(textLeft()) + 1, point.y())).position();
        const auto [start, end] = displayLineRange(pos);
        QTextCursor cursor = textCursor();
        if (start >= m_barAnchorStart) {
            cursor.setPosition(m_barAnchorStart);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        } else {
            cursor.setPosition(m_barAnchorEnd);
            cursor.setPosition(start, QTextCursor::KeepAnchor);
        }
        setTextCursor(cursor);
        event->accept();
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        viewport()->setCursor(inSelectionBar(point) ? Qt::ArrowCursor : Qt::IBeamCursor);
    QPlainTextEdit::mouseMoveEvent(event);
}

void TExtMemo::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_barSelecting) {
        m_barSelecting = false;
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void TExtMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        HideCaretMarker();
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !inSelectionBar(point)) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    // A double click in the bar selects the whole paragraph.
    const int pos = cursorForPosition(QPoint(qRound(textLeft()) + 1, point.y())).position();
    const QTextBlock block = document()->findBlock(pos);
    QTextCursor cursor = textCursor();
    cursor.setPosition(block.position());
    cursor.setPosition(std::min(block.position() + block.length(), document()->characterCount() - 1),
        QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    m_barSelecting = true;
    m_barAnchorStart = cursor.anchor();
    m_barAnchorEnd = cursor.position();
    event->accept();
}

void TExtMemo::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    m_layout->setViewportWidth(viewport()->width());
}

void TExtMemo::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    m_overlays->paint(painter, event->rect());
}

void TExtMemo::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    m_overlays->focusChanged();
}

void TExtMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_overlays->focusChanged();
}

void TExtMemo::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Any font: the window's, the settings', the character height's. The edit area is
        // re-applied when the zone's width changes.
        m_editArea.setOverFlow(fullWidthCharWidth());
        applyTabStops();
    }
}

} // namespace notarium
