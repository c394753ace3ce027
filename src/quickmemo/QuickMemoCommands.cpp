#include "quickmemo/QuickMemoCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/MenuBuilder.h"
#include "app/SubtreeClipboard.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/document/DocumentObserver.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

namespace notarium {

namespace {

const QString kInstantMemo = QStringLiteral("InstantMemoClick");
const QString kCollectionMode = QStringLiteral("CollectionModeClick");
const QString kSingleMemoMode = QStringLiteral("tbSingleMemoMode");
const QString kMultiMemoMode = QStringLiteral("tbStackMemoMode");
const QString kToolBar = QStringLiteral("QuickMemoToolbar");
const QString kCaptionMark = QStringLiteral(" [Collection]");

std::size_t position(std::int32_t bytes)
{
    return static_cast<std::size_t>(std::max<std::int32_t>(bytes, 0));
}

} // namespace

// Collection belongs to the document it was switched on for: when another document replaces it
// (new, open, close), collecting ends.
class QuickMemoCommands::DocumentWatch : public NullDocumentObserver {
public:
    explicit DocumentWatch(QuickMemoCommands& owner)
        : m_owner(owner)
    {
    }
    // The window's enabling pass follows once the new document is shown.
    void documentAboutToBeReset() override { m_owner.setCollecting(false); }

private:
    QuickMemoCommands& m_owner;
};

QuickMemoCommands::QuickMemoCommands(const WindowContext& context, TreePane& tree, QLineEdit& title,
    TExtMemo& memo, TreeCommands& treeCommands, MemoCommands& memoCommands, const MenuBuilder& menus,
    QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_title(title)
    , m_memo(memo)
    , m_treeCommands(treeCommands)
    , m_memoCommands(memoCommands)
    , m_menus(menus)
    , m_documentWatch(std::make_unique<DocumentWatch>(*this))
{
    QObject::connect(&m_monitor, &TClipboardMonitor::changed, this, &QuickMemoCommands::clipArrived);
    m_context.document.addObserver(m_documentWatch.get());
    if (m_context.window != nullptr)
        m_context.window->installEventFilter(this);
    m_memo.installEventFilter(this);
    m_title.installEventFilter(this);
    m_memoCommands.setClipboardMonitor(this);
}

QuickMemoCommands::~QuickMemoCommands()
{
    if (m_memoCommands.clipboardMonitor() == this)
        m_memoCommands.setClipboardMonitor(nullptr);
    if (m_context.window != nullptr)
        m_context.window->removeEventFilter(this);
    m_memo.removeEventFilter(this);
    m_title.removeEventFilter(this);
    m_context.document.removeObserver(m_documentWatch.get());
}

void QuickMemoCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kInstantMemo, this, [this](QAction*) { instantMemo(); });
    actions.connectEvent(kCollectionMode, this, [this](QAction*) { switchCollectionMode(); });
}

void QuickMemoCommands::updateActions(const ActionState& state)
{
    // Both make nodes, which a read-only document refuses; collecting that is on can always be
    // switched off.
    m_actions->setEventEnabled(kInstantMemo, !state.readOnly);
    m_actions->setEventEnabled(kCollectionMode, !state.readOnly || m_collecting);
}

void QuickMemoCommands::windowClosing()
{
    // Before the tool bars' places are saved: a tool bar shown only for collecting is hidden again.
    stopCollecting();
}

void QuickMemoCommands::pause()
{
    m_monitor.pause();
}

void QuickMemoCommands::resume()
{
    m_monitor.resume();
}

void QuickMemoCommands::stopCollecting()
{
    if (m_collecting)
        switchCollectionMode();
}

bool QuickMemoCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Ins is also the editors' copy key: instant memo's keys are the window's, also in the
    // title box and the memo pane.
    if (event->type() == QEvent::ShortcutOverride && (watched == &m_memo || watched == &m_title)
        && isInstantMemoKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_context.window && m_collecting) {
        if (event->type() == QEvent::WindowActivate) {
            QMetaObject::invokeMethod(&m_monitor, &TClipboardMonitor::recheck, Qt::QueuedConnection);
        } else if (event->type() == QEvent::WindowTitleChange
            && !m_context.window->windowTitle().endsWith(kCaptionMark)) {
            // The file commands gave the window a caption of their own (save as): the mark goes
            // back on once they are done with it.
            QMetaObject::invokeMethod(
                this, [this] { setCaptionMark(m_collecting); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- Commands ----------------------------------------------------------------------------------

void QuickMemoCommands::instantMemo()
{
    if (m_context.document.isReadOnly()) {
        m_context.beep();
        return;
    }
    bool replaced = false;
    const std::optional<std::string> clip = clipFromClipboard(&replaced);
    if (!clip)
        return;
    Node* node = newMemo();
    if (node == nullptr)
        return;
    m_context.memo.store();
    const TNodeData& data = *node->data();
    putText(node, insertInstantMemo(data.MemoStr, position(data.SelPos), position(data.SelLen), *clip), true);
    if (replaced)
        m_context.memo.reportReplaced();
    m_memo.setFocus();
    // The title is ready to be typed over, unless the memo side is hidden.
    m_context.memo.editTitle();
}

void QuickMemoCommands::switchCollectionMode()
{
    setCollecting(!m_collecting);
    m_context.updateActions();
}

void QuickMemoCommands::setCollecting(bool on)
{
    if (on == m_collecting)
        return;
    QToolBar* toolBar = m_menus.toolBar(kToolBar);
    if (on)
        m_toolBarWasShown = toolBar != nullptr && !toolBar->isHidden();
    m_collecting = on;
    m_actions->setEventChecked(kCollectionMode, on);
    // A tool bar that was hidden is shown for the time of collecting only.
    if (toolBar != nullptr && !m_toolBarWasShown)
        toolBar->setVisible(on);
    for (const QString& name : { kSingleMemoMode, kMultiMemoMode })
        if (QAction* button = m_actions->action(name))
            button->setEnabled(on);
    // The monitor takes what the clipboard holds now as seen: it is not collected.
    m_monitor.setEnabled(on);
    setCaptionMark(on);
}

void QuickMemoCommands::clipArrived()
{
    if (!m_collecting)
        return;
    bool replaced = false;
    std::optional<std::string> clip = clipFromClipboard(&replaced);
    if (!clip)
        return;
    // The clip is taken now and put in once the command that wrote the clipboard has finished:
    // a cut in the memo pane takes its text out of the memo after the clipboard has it.
    QMetaObject::invokeMethod(
        this, [this, text = std::move(*clip), replaced] { collect(text, replaced); }, Qt::QueuedConnection);
}

void QuickMemoCommands::collect(const std::string& clip, bool replaced)
{
    Node* node = m_tree.selectedNode();
    if (!m_collecting || m_context.document.isReadOnly() || node == nullptr)
        return;
    const bool multi = multiMemoMode();
    // A single memo collects into the selected page; under a top-level node it is made first.
    if (multi || !node->isUserNode()) {
        node = newMemo();
        if (node == nullptr)
            return;
    }
    m_context.memo.store();
    const TNodeData& data = *node->data();
    putText(node,
        insertCollectedClip(data.MemoStr, position(data.SelPos), position(data.SelLen), clip,
            multi ? CollectMode::Multi : CollectMode::Single),
        multi);
    if (replaced)
        m_context.memo.reportReplaced();
    // The next clip goes where this one ended; it stays in sight.
    if (!multi)
        m_memo.ScrollCaret();
}

// ---- Helpers -----------------------------------------------------------------------------------

std::optional<std::string> QuickMemoCommands::clipFromClipboard(bool* replaced) const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    // A subtree's titles are there for other programs; to this one the subtree is no text.
    if (data == nullptr || !data->hasText() || SubtreeClipboard().holdsSubtree())
        return std::nullopt;
    std::string clip = clipText(cp932::fromUtf16(data->text().toStdU16String(), replaced));
    if (clip.empty())
        return std::nullopt;
    return clip;
}

Node* QuickMemoCommands::newMemo()
{
    const Node* before = m_tree.selectedNode();
    m_treeCommands.newMemo();
    Node* made = m_tree.selectedNode();
    return made != before && made != nullptr && made->isUserNode() ? made : nullptr;
}

void QuickMemoCommands::putText(Node* node, ClipInsertion insertion, bool titled)
{
    Document& doc = m_context.document;
    TNodeData& data = *node->data();
    data.MemoStr = std::move(insertion.text);
    data.SelPos = static_cast<std::int32_t>(insertion.caret);
    data.SelLen = 0;
    if (insertion.caret == 0)
        data.TopLin = 0;
    data.Modify = true;
    if (titled) {
        // A text that starts with an empty line keeps the default title: a page without a title
        // could hardly be found in the tree.
        std::string title = titleFromText(data.MemoStr);
        if (!title.empty())
            doc.setTitle(node, std::move(title));
    }
    doc.notifyDataChanged(node);
    doc.setModified(true);
    m_context.memo.reload();
    m_context.updateActions();
}

void QuickMemoCommands::setCaptionMark(bool on)
{
    QWidget* window = m_context.window;
    if (window == nullptr)
        return;
    QString caption = window->windowTitle();
    caption.remove(kCaptionMark);
    if (on)
        caption += kCaptionMark;
    window->setWindowTitle(caption);
}

bool QuickMemoCommands::isInstantMemoKey(const QKeyEvent* event) const
{
    if (m_actions == nullptr)
        return false;
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (const QAction* action : m_actions->actionsFor(kInstantMemo))
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return true;
    return false;
}

bool QuickMemoCommands::multiMemoMode() const
{
    const QAction* multi = m_actions->action(kMultiMemoMode);
    return multi != nullptr && multi->isChecked();
}

} // namespace notarium
