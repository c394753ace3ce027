#pragma once

#include "editor/InputMethodSwitch.h"
#include "editor/TEditArea.h"
#include "editor/TEditMarks.h"
#include "editor/TImeColors.h"
#include "editor/TMarker.h"
#include "editor/TWordWrapOption.h"

#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <string_view>

namespace notarium {

class EditOverlayPainter;
class MemoDocumentLayout;

// The memo editor: a plain-text editor whose text is a CP932 byte string at its edge, with a
// fixed-width edit area, Japanese line-breaking rules, IME colours, tab stops in character widths,
// a selection bar and an insert/overwrite flag. Positions and lengths it reports or takes count
// CP932 bytes (a line break counts 2, CR LF), as the document stores them; display lines are
// counted from 0.
class TExtMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(bool InsertMode READ InsertMode NOTIFY insertModeChanged)

public:
    explicit TExtMemo(QWidget* parent = nullptr);
    ~TExtMemo() override;

    // --- Text as bytes.
    // Replaces the text. CR LF, a lone CR and a lone LF each end a line; bytes CP932 does not
    // define are kept as they are. The undo buffer is emptied.
    void setBytes(std::string_view bytes);
    // The text with CR LF between lines: the very bytes setBytes took when nothing was edited
    // and the input had no lone CR or LF.
    std::string bytes() const;
    // Inserts text in place of the selection as typing would: characters CP932 cannot hold
    // become 〓 (and unrepresentableReplaced is emitted). Each insertion is one undo step.
    void insertText(const QString& text);

    // --- Owned options.
    // The edit area's OverFlow is the width of "□" in the memo's font, set anew (and the edit area
    // re-applied) at every change of the font; a value set in between lasts until the next one.
    TEditArea& EditArea() { return m_editArea; }
    TEditMarks& EditMarks() { return m_editMarks; }
    const TEditMarks& EditMarks() const { return m_editMarks; }
    TImeColors& ImeColors() { return m_imeColors; }
    const TImeColors& ImeColors() const { return m_imeColors; }
    void setImeColors(const TImeColors& colors);
    // The caret marker and the word-wrap marker hold their settings here; the overlay painter
    // reads them.
    TMarker& CaretMarker() { return m_caretMarker; }
    const TMarker& CaretMarker() const { return m_caretMarker; }
    void setCaretMarker(const TMarker& marker) { m_caretMarker.assign(marker); }
    TMarker& WordWrapMarker() { return m_wordWrapMarker; }
    const TMarker& WordWrapMarker() const { return m_wordWrapMarker; }
    void setWordWrapMarker(const TMarker& marker) { m_wordWrapMarker.assign(marker); }
    // The caret marker goes off until the caret or the selection next changes or the memo gets
    // the focus; ShowCaretMarker puts it back at once.
    void HideCaretMarker();
    void ShowCaretMarker();
    TWordWrapOption& WordWrapOption() { return m_wordWrapOption; }

    bool LineSelect() const { return m_lineSelect; }
    void setLineSelect(bool on);
    // Vertical writing is not drawn on this platform; the flag switches the edit area off.
    bool Vertical() const { return m_vertical; }
    void setVertical(bool on);
    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void setWordWrap(bool on);

    int TabWidth() const { return m_tabWidth; }
    // A negative width is refused (false): the old tab stops stay.
    bool setTabWidth(int characters);
    // The 32 tab stops in pixels from the left margin (all 0 for TabWidth 0, where tabs fall on
    // the default half-inch grid).
    QList<qreal> tabStops() const;

    bool InsertMode() const { return m_insertMode; }
    // The status bar's text for the mode: "挿入" or "上書き".
    QString insertModeText() const;

    // Where text wraps: the left edge of the text and the wrap column, in viewport pixels.
    qreal textLeft() const;
    qreal wrapColumn() const;

    // --- Positions in bytes.
    int SelPos() const;
    void setSelPos(int bytePos);
    int SelLen() const;
    void setSelLen(int byteLength);
    int TextLength() const;
    int CaretLine() const;
    int CaretColumn() const;
    int LineCount() const;
    int FirstVisibleLine() const;
    int LineFromChar(int bytePos) const;
    int LineIndex(int line) const; // -1 for a line that does not exist
    QPoint PosFromChar(int bytePos) const;
    int CharFromPos(const QPoint& point) const;
    // The display line that holds an editor position: its first editor position and its length,
    // without the line break.
    struct LineSpan {
        int start = 0;
        int length = 0;
    };
    LineSpan displayLineAt(int charPos) const;
    // Text of the display line that holds an editor position, without the line break.
    QString displayLineText(int charPos) const;
    // An input method composition is under way (its pre-edit text is shown at the caret).
    bool isComposing() const;
    // Open by default. Closing during a composition commits the composed text first.
    void setInputMethodOpen(bool open);
    bool isInputMethodOpen() const { return m_ime.isOpen(); }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // The form the application's input method calls by name (QInputMethod::queryFocusObject).
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const;

    bool Modified() const;
    void setModified(bool modified);
    bool CanUndo() const;
    void Undo();
    void ClearUndo();
    bool CanPaste() const;

    enum class ScrollAction { LineUp, LineDown, PageUp, PageDown };
    void Scroll(ScrollAction action);
    void LineScroll(int columns, int lines);
    void ScrollCaret();
    void SelectAll();

    // Conversions between editor positions (UTF-16 units with one separator per line break) and
    // byte positions; a byte position inside a double-byte character or inside CR LF falls back
    // to the start of it.
    int charToByte(int charPos) const;
    int byteToChar(int bytePos, bool roundUp = false) const;

signals:
    void insertModeChanged(bool insertMode);
    // Typed, pasted, dropped or composed text held characters CP932 cannot hold; they became 〓.
    void unrepresentableReplaced();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The overlays walk the visible blocks as the editor's own painting does.
    friend class EditOverlayPainter;

    void applyEditArea();
    void applyRules();
    void applyTabStops();
    qreal averageCharWidth() const;
    // The width of "□" (a full-width character) in the memo's font: the overflow zone's width.
    int fullWidthCharWidth() const;
    QString preeditText() const;
    bool inSelectionBar(const QPoint& viewportPoint) const;
    // A press of any button, in the selection bar or in the text.
    void pressMouse(QMouseEvent* event);
    // The display line (start, end) around a position, end including the line break when it is
    // the block's last line.
    std::pair<int, int> displayLineRange(int charPos) const;
    int displayLineOf(int charPos) const;
    int displayLineStart(int line) const;

    MemoDocumentLayout* m_layout = nullptr;
    std::unique_ptr<EditOverlayPainter> m_overlays;
    TEditArea m_editArea;
    TEditMarks m_editMarks;
    TImeColors m_imeColors;
    TMarker m_caretMarker;
    TMarker m_wordWrapMarker;
    TWordWrapOption m_wordWrapOption;
    InputMethodSwitch m_ime;
    bool m_lineSelect = true;
    bool m_vertical = false;
    int m_tabWidth = 8;
    bool m_insertMode = true;
    bool m_barSelecting = false;
    int m_barAnchorStart = 0;
    int m_barAnchorEnd = 0;
};

} // namespace notarium
