#include "memo/MemoCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>

namespace notarium {

namespace {

const QString kUndo = QStringLiteral("tbUndoClick");
const QString kCut = QStringLiteral("tbCutClick");
const QString kCopy = QStringLiteral("tbCopyClick");
const QString kPaste = QStringLiteral("tbPasteClick");
const QString kSelectAll = QStringLiteral("SelectAll1Click");
const QString kEraseCrLf = QStringLiteral("EraseCRLF1Click");
const QString kInsertDate = QStringLiteral("tbDateInsertClick");
const QString kInsertTime = QStringLiteral("tbTimeInsertClick");

// A text that ends with an end-of-file mark (as some old programs copy) pastes without it.
constexpr char16_t kEndOfFileMark = 0x1A;

// Space, tab and the full-width space make up a line's indentation.
bool isIndentation(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

int indentationLength(QStringView line)
{
    int n = 0;
    while (n < line.size() && isIndentation(line[n]))
        ++n;
    return n;
}

// Leading characters up to the space go on unindenting (spaces, tabs, control characters); a
// full-width space is text to this rule and stays.
int trimmableLength(QStringView line)
{
    int n = 0;
    while (n < line.size() && line[n].unicode() <= u' ')
        ++n;
    return n;
}

// The editor's selected text holds a paragraph separator for each line break; every one goes,
// and a selection that ended with a line break keeps one at its end.
QString withoutLineBreaks(const QString& selected)
{
    const bool endedWithBreak = !selected.isEmpty() && selected.back() == QChar::ParagraphSeparator;
    QString joined = selected;
    joined.remove(QChar::ParagraphSeparator);
    if (endedWithBreak)
        joined += u'\n';
    return joined;
}

// The monitor of collection mode stops watching while the program writes the clipboard itself.
class MonitorPause {
public:
    explicit MonitorPause(ClipboardMonitorControl* monitor)
        : m_monitor(monitor != nullptr && monitor->isCollecting() ? monitor : nullptr)
    {
        if (m_monitor)
            m_monitor->pause();
    }
    ~MonitorPause()
    {
        if (m_monitor)
            m_monitor->resume();
    }
    MonitorPause(const MonitorPause&) = delete;
    MonitorPause& operator=(const MonitorPause&) = delete;

private:
    ClipboardMonitorControl* m_monitor;
};

} // namespace

MemoCommands::MemoCommands(const WindowContext& context, QLineEdit& title, TExtMemo& memo, TreePane& tree,
    const MenuBuilder& menus, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_title(title)
    , m_memo(memo)
    , m_tree(tree)
    , m_menus(menus)
    , m_clock([] { return DateTimeValue::now(); })
{
    m_memo.installEventFilter(this);
    m_title.installEventFilter(this);
}

MemoCommands::~MemoCommands() = default;

void MemoCommands::connect(ActionRegistry& a)
{
    m_actions = &a;
    a.connectEvent(kUndo, this, [this](QAction*) { undo(); });
    a.connectEvent(kCut, this, [this](QAction*) { cut(); });
    a.connectEvent(kCopy, this, [this](QAction*) { copy(); });
    a.connectEvent(kPaste, this, [this](QAction*) { paste(); });
    a.connectEvent(kSelectAll, this, [this](QAction*) { selectAll(); });
    a.connectEvent(kEraseCrLf, this, [this](QAction*) { eraseLineBreaks(); });
    a.connectEvent(kInsertDate, this, [this](QAction*) { insertDateTime(false); });
    a.connectEvent(kInsertTime, this, [this](QAction*) { insertDateTime(true); });
}

void MemoCommands::updateActions(const ActionState& state)
{
    const ActionRegistry& a = *m_actions;
    const bool editable = state.editable();
    a.setEventEnabled(kInsertDate, editable);
    a.setEventEnabled(kInsertTime, editable);
    a.setEventEnabled(kSelectAll, state.userNode);
    // Cut, copy and paste act on the focused box; undo and erasing line breaks on the memo pane.
    a.setEventEnabled(kCut, state.boxHasSelection() && editable);
    a.setEventEnabled(kCopy, state.boxHasSelection());
    a.setEventEnabled(kPaste, state.box != EditBox::None && editable && state.clipboardHasText);
    a.setEventEnabled(kUndo, editable && state.memoCanUndo);
    a.setEventEnabled(kEraseCrLf, editable && state.memoHasSelection);
}

void MemoCommands::preparePopup(Popup popup, const ActionState&, Node*)
{
    if (popup != Popup::Memo)
        return;
    // Each item of the pop-up shows what its main-menu twin shows.
    static const std::pair<const char*, const char*> kTwins[] = {
        { "Undo2", "Undo1" },
        { "Cut2", "Cut1" },
        { "Copy2", "Copy1" },
        { "Paste2", "Paste1" },
        { "SelectAll2", "SelectAll1" },
        { "EraseCRLF2", "EraseCRLF1" },
        { "InsertDate2", "InsertDate" },
        { "InsertTime2", "InsertTime" },
        { "HelperList2", "HelperList1" },
        { "Find2", "Find1" },
        { "Replace2", "Replace1" },
    };
    for (const auto& [twin, main] : kTwins) {
        QAction* target = m_actions->action(QString::fromLatin1(twin));
        const QAction* source = m_actions->action(QString::fromLatin1(main));
        if (target && source)
            target->setEnabled(source->isEnabled());
    }
    // Registered templates are not part of this window yet: the submenu keeps its fixed item and
    // only follows the main menu's enabled state.
    const QMenu* templates = m_menus.menu(QStringLiteral("Template1"));
    QMenu* popupTemplates = m_menus.menu(QStringLiteral("Template2"));
    if (templates && popupTemplates)
        popupTemplates->menuAction()->setEnabled(templates->menuAction()->isEnabled());
}

// ---------------------------------------------------------------- routing

MemoCommands::Box MemoCommands::focusedBox() const
{
    if (m_title.hasFocus())
        return Box::Title;
    if (m_memo.hasFocus())
        return Box::Memo;
    return Box::None;
}

bool MemoCommands::isWritable(Box box) const
{
    if (m_context.document.isReadOnly())
        return false;
    switch (box) {
    case Box::Title:
        return m_title.isEnabled() && !m_title.isReadOnly();
    case Box::Memo:
        return !m_memo.isReadOnly();
    case Box::None:
        break;
    }
    return false;
}

bool MemoCommands::memoWritable() const
{
    return isWritable(Box::Memo);
}

// ---------------------------------------------------------------- commands

void MemoCommands::undo()
{
    if (!memoWritable() || !m_memo.CanUndo()) {
        m_context.prompt().beep();
        return;
    }
    m_memo.Undo();
}

void MemoCommands::cut()
{
    const Box box = focusedBox();
    if (box == Box::None)
        return;
    if (!isWritable(box)) {
        m_context.prompt().beep();
        return;
    }
    if (box == Box::Title) {
        if (!m_title.hasSelectedText())
            return;
        m_title.cut();
    } else {
        if (!m_memo.textCursor().hasSelection())
            return;
        m_memo.cut();
    }
    m_context.document.setModified(true);
}

void MemoCommands::copy()
{
    const Box box = focusedBox();
    if (box == Box::Title) {
        QLineEdit* title = &m_title;
        if (!title->hasSelectedText())
            return;
        {
            const MonitorPause pause(m_monitor);
            title->copy();
        }
        title->setCursorPosition(title->selectionStart());
    } else if (box == Box::Memo) {
        TExtMemo* memo = &m_memo;
        QTextCursor cursor = memo->textCursor();
        if (!cursor.hasSelection())
            return;
        {
            const MonitorPause pause(m_monitor);
            memo->copy();
        }
        cursor.setPosition(cursor.selectionStart());
        memo->setTextCursor(cursor);
    }
}

void MemoCommands::paste()
{
    const Box box = focusedBox();
    if (box == Box::None)
        return;
    if (!isWritable(box)) {
        m_context.prompt().beep();
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasText())
        return;
    if (box == Box::Title) {
        const QString before = m_title.text();
        m_title.paste();
        if (m_title.text() != before)
            m_context.document.setModified(true);
        return;
    }
    QString text = data->text();
    if (!text.isEmpty() && text.back() == QChar(kEndOfFileMark)) {
        text.chop(1);
        // Putting the shortened text back is the program's own write, not a clip to collect.
        const MonitorPause pause(m_monitor);
        clipboard->setText(text);
    }
    if (text.isEmpty())
        return;
    TExtMemo* memo = &m_memo;
    memo->insertText(text);
    memo->setTabWidth(m_context.settings.get(key::TabSize));
    memo->viewport()->update();
    m_context.document.setModified(true);
}

void MemoCommands::selectAll()
{
    m_memo.SelectAll();
}

void MemoCommands::eraseLineBreaks()
{
    TExtMemo* memo = &m_memo;
    const QTextCursor cursor = memo->textCursor();
    if (!memoWritable() || !cursor.hasSelection()) {
        m_context.prompt().beep();
        return;
    }
    // The memo pane reports the change itself; the document's flag follows it.
    memo->insertText(withoutLineBreaks(cursor.selectedText()));
}

void MemoCommands::insertDateTime(bool time)
{
    const Box box = focusedBox();
    if (box == Box::None)
        return;
    if (!isWritable(box)) {
        m_context.prompt().beep();
        return;
    }
    const Settings& settings = m_context.settings;
    const DateTimeNames names
        = DateTimeNames::forStyle(settings.get(key::EnDateStyle), settings.get(key::EnTimeStyle));
    const std::string pattern = time ? settings.get(key::TimeFormat) : settings.get(key::DateFormat);
    const std::string text = FormatDateTime(pattern, m_clock(), names);
    replaceSelection(box, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    m_context.document.setModified(true);
}

void MemoCommands::replaceSelection(Box box, const QString& text)
{
    if (box == Box::Title)
        m_title.insert(text); // as typed: the title binding takes the new title
    else if (box == Box::Memo)
        m_memo.insertText(text);
}

// ---------------------------------------------------------------- keys

bool MemoCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_memo) {
        if (event->type() == QEvent::KeyPress)
            return memoKeyPress(static_cast<QKeyEvent*>(event));
        // The context-menu key opens the pop-up at the caret, wherever the mouse is.
        if (event->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            openPopupAtCaret();
            return true;
        }
    } else if (watched == &m_title && event->type() == QEvent::KeyPress) {
        if (titleKeyPress(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool MemoCommands::titleKeyPress(QKeyEvent* event)
{
    // Undo and select all always act on the memo pane, whichever box has the focus.
    if (event->matches(QKeySequence::Undo)) {
        undo();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    return clipboardKey(event);
}

bool MemoCommands::clipboardKey(QKeyEvent* event)
{
    // The editors' own clipboard keys run the commands, so text follows the same rules whichever
    // way it is cut, copied or pasted.
    if (event->matches(QKeySequence::Cut))
        cut();
    else if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::Paste))
        paste();
    else
        return false;
    return true;
}

bool MemoCommands::memoKeyPress(QKeyEvent* event)
{
    TExtMemo* memo = &m_memo;
    // While the input method composes, every key is the input method's.
    if (memo->isComposing())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();

    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (mods & Qt::ControlModifier)
        && !(mods & Qt::AltModifier) && !memo->tabChangesFocus()) {
        m_tree.setFocus(Qt::TabFocusReason);
        return true;
    }
    if ((key == Qt::Key_Menu && mods == Qt::NoModifier)
        || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        openPopupAtCaret();
        return true;
    }
    if (clipboardKey(event))
        return true;

    if (memo->isReadOnly())
        return false;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(mods & (Qt::ControlModifier | Qt::AltModifier))
        && m_context.settings.get(key::AutoIndent))
        return autoIndentNewLine();
    if (key == Qt::Key_Backspace && mods == Qt::NoModifier && m_context.settings.get(key::BSUnindent))
        return unindentLine();
    return false;
}

bool MemoCommands::autoIndentNewLine()
{
    TExtMemo* memo = &m_memo;
    const int caret = memo->textCursor().selectionStart();
    const TExtMemo::LineSpan line = memo->displayLineAt(caret);
    QString indentation;
    if (caret > line.start) {
        const QString text = memo->displayLineText(caret);
        // Only the indentation left of the caret goes on to the new line.
        const int length = std::min(indentationLength(text), caret - line.start);
        indentation = text.left(length);
    }
    memo->insertText(QStringLiteral("\n") + indentation);
    return true;
}

bool MemoCommands::unindentLine()
{
    TExtMemo* memo = &m_memo;
    QTextCursor cursor = memo->textCursor();
    if (cursor.hasSelection())
        return false;
    const int caret = cursor.position();
    const TExtMemo::LineSpan line = memo->displayLineAt(caret);
    const QString text = memo->displayLineText(caret);
    const int indentation = indentationLength(text);
    if (indentation == 0 || indentation != caret - line.start)
        return false;
    const int removable = trimmableLength(text);
    // An indentation of full-width spaces only is text to unindenting: the key deletes as usual.
    if (removable == 0)
        return false;
    // The key is used up here: a second Backspace at the start of the line joins it to the line
    // before.
    cursor.beginEditBlock();
    cursor.setPosition(line.start);
    cursor.setPosition(line.start + removable, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    cursor.setPosition(line.start);
    memo->setTextCursor(cursor);
    return true;
}

void MemoCommands::openPopupAtCaret()
{
    QMenu* menu = m_menus.menu(QStringLiteral("pmMemo"));
    if (menu == nullptr)
        return;
    TExtMemo* memo = &m_memo;
    QTextCursor end = memo->textCursor();
    end.setPosition(end.selectionEnd());
    // Just below the caret's line: the top of the selection end plus the font's height.
    const QRect caret = memo->cursorRect(end);
    const QPoint at(caret.left(), caret.top() + QFontInfo(memo->font()).pixelSize());
    menu->popup(memo->viewport()->mapToGlobal(at));
}

// ---------------------------------------------------------------- character height

int MemoCommands::lineHeightTwips(int sampleWidth, int pixelsPerInch)
{
    if (pixelsPerInch <= 0 || sampleWidth <= 0)
        return 0;
    // Eight sample characters: a quarter of their width is twice the average character width.
    return (sampleWidth / 4) * 1440 / pixelsPerInch;
}

void MemoCommands::adjustLineHeight(TExtMemo& memo)
{
    QFont font = memo.font();
    if (font.family() == QStringLiteral("Terminal"))
        return;
    const int width = QFontMetrics(font, &memo).horizontalAdvance(QStringLiteral("ABCDEFGH"));
    const int twips = lineHeightTwips(width, memo.logicalDpiY());
    if (twips <= 0)
        return;
    font.setPointSizeF(twips / 20.0);
    memo.setFont(font);
}

void MemoCommands::adjustMemoLineHeight()
{
    adjustLineHeight(m_memo);
}

} // namespace notarium
