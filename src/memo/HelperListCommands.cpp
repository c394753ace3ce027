#include "memo/HelperListCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/MenuBuilder.h"
#include "app/StatusPanels.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "core/text/HelperListFile.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "editor/TRetListBox.h"
#include "platform/AppPaths.h"
#include "platform/LocalPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace notarium {

namespace {

const QString kOpen = QStringLiteral("HelperList1Click");

// Design size of the list.
constexpr int kListWidth = 257;
constexpr int kListHeight = 97;
constexpr int kItemHeight = 16;

// The keys that act in the open list; every other key does nothing while it is open.
bool goesToList(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

HelperListCommands::HelperListCommands(
    const WindowContext& context, ImeLineEdit& title, TExtMemo& memo, const MenuBuilder& menus, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_title(title)
    , m_memo(memo)
{
    // The list floats over the memo pane, outside any layout.
    m_list = new TRetListBox(memo.parentWidget());
    m_list->setObjectName(QStringLiteral("HelperList"));
    m_list->hide();
    m_list->resize(kListWidth, kListHeight);
    m_list->setItemHeight(kItemHeight);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    m_list->setFont(font);
    m_list->setFrameShape(QFrame::Box);
    m_list->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing does not search the list, nor compose in it.
    m_list->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_list->installEventFilter(this);
    QObject::connect(m_list, &QListWidget::itemDoubleClicked, this, &HelperListCommands::choose);
    for (QMenu* menu : menus.mainMenus())
        QObject::connect(menu, &QMenu::aboutToShow, this, &HelperListCommands::close);
}

HelperListCommands::~HelperListCommands()
{
    // The list's own destruction sends it events; they must not reach this filter, which would
    // look at a list that is half gone.
    if (m_list) {
        m_list->removeEventFilter(this);
        delete m_list;
    }
}

void HelperListCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kOpen, this, [this](QAction*) { open(); });
}

void HelperListCommands::updateActions(const ActionState& state)
{
    // The phrases go into the memo pane: the list opens where the memo pane takes text.
    m_actions->setEventEnabled(kOpen, state.editable());
}

TRetListBox* HelperListCommands::list() const
{
    return m_list;
}

bool HelperListCommands::isOpen() const
{
    return m_list != nullptr && m_list->isVisible();
}

void HelperListCommands::setPhrases(const QStringList& phrases, bool sorted)
{
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(phrases.size()));
    for (const QString& phrase : phrases)
        items.push_back(phrase.toStdString());
    if (sorted)
        sortHelperList(items);
    m_list->clear();
    for (const std::string& item : items)
        m_list->addItem(QString::fromStdString(item));
}

bool HelperListCommands::readFile(const QString& path)
{
    // A file that cannot be read holds no phrases.
    std::vector<std::string> read;
    const HelperListLoad load = loadHelperList(localPath(path), read);
    if (load == HelperListLoad::TooLarge) {
        m_context.prompt().tell(m_context.window,
            QStringLiteral("ファイル %1 は大きすぎるため読み込めません。\r\n"
                           "文字列入力支援リストのファイルは 2 GB (2,147,483,647 バイト) までです。")
                .arg(QDir::toNativeSeparators(path)),
            QStringLiteral("ファイルエラー"), MessageIcon::Error);
        return false;
    }
    QStringList phrases;
    for (const std::string& phrase : read)
        phrases << QString::fromStdString(phrase);
    setPhrases(phrases, m_context.settings.get(key::HelpListSorted));
    return true;
}

void HelperListCommands::notDefined()
{
    m_context.beep();
    m_context.status.setMessage(QStringLiteral("文字列入力支援リストが定義されていません"));
}

void HelperListCommands::open()
{
    // Keys belong to a composition under way, Ctrl+Space too.
    if (m_memo.isComposing() || m_title.isComposing())
        return;
    if (m_memo.isReadOnly() || m_context.document.isReadOnly() || !m_memo.isVisible()) {
        m_context.beep();
        return;
    }
    const QString path = QDir(m_context.configFolder).filePath(QLatin1String(AppPaths::kHelperListName));
    if (!QFileInfo(path).isFile()) {
        notDefined();
        return;
    }
    if (m_list->count() == 0 && !readFile(path))
        return;
    if (m_list->count() == 0) {
        notDefined();
        return;
    }
    // The caret marker comes back when the memo pane has the focus again. The memo pane shows
    // its selection while it has no focus, so the text the phrase will replace stays in sight.
    m_memo.HideCaretMarker();
    placeBelowCaret();
    m_list->setCurrentRow(0);
    m_list->scrollToTop();
    m_list->show();
    m_list->raise();
    m_list->setFocus(Qt::OtherFocusReason);
}

void HelperListCommands::placeBelowCaret()
{
    QWidget* parent = m_list->parentWidget();
    m_memo.ensureCursorVisible();
    QTextCursor end = m_memo.textCursor();
    end.setPosition(end.selectionEnd());
    const QPoint caret = m_memo.viewport()->mapTo(parent, m_memo.cursorRect(end).topLeft());
    const QRect memo = m_memo.geometry();
    const int fontHeight = QFontInfo(m_memo.font()).pixelSize();

    int left = caret.x() + 2;
    int top = caret.y() + fontHeight + 2;
    // Inside the memo pane sideways; above the caret's line where it would pass the pane's bottom.
    if (left + m_list->width() > memo.x() + memo.width())
        left = memo.x() + memo.width() - 2 - m_list->width();
    if (top + m_list->height() > memo.y() + memo.height())
        top = caret.y() - m_list->height();
    m_list->move(std::max(left, 0), std::max(top, 0));
}

void HelperListCommands::close()
{
    if (!isOpen())
        return;
    // The memo pane first: a hidden focused list would hand the focus to whatever comes next.
    m_closing = true;
    m_memo.setFocus(Qt::OtherFocusReason);
    m_list->hide();
    m_closing = false;
}

void HelperListCommands::focusLost()
{
    if (!isOpen() || m_closing)
        return;
    m_list->hide();
    QTimer::singleShot(0, &m_memo, [memo = &m_memo] { memo->setFocus(Qt::OtherFocusReason); });
}

void HelperListCommands::choose(const QListWidgetItem* item)
{
    const QString phrase = item != nullptr ? item->text() : QString();
    close();
    // An empty phrase (an empty line of the file) changes nothing, not even the selection.
    if (phrase.isEmpty() || m_memo.isReadOnly() || m_context.document.isReadOnly())
        return;
    m_memo.insertText(phrase);
}

bool HelperListCommands::listKeyPress(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier || !goesToList(event->key()))
        return true;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_list->currentItem());
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false; // moves in the list
    }
}

bool HelperListCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key is the list's while it is open: no shortcut of the window fires.
        if (isOpen()) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (isOpen())
            return listKeyPress(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::InputMethod:
        return true;
    case QEvent::FocusOut:
        // Switching to another program leaves the list open for the return.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
            focusLost();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
