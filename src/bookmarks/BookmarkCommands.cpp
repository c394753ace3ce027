#include "bookmarks/BookmarkCommands.h"

#include "app/ActionRegistry.h"
#include "app/DocumentTreeModel.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "bookmarks/BookmarkImages.h"
#include "bookmarks/TBookmarkForm.h"
#include "core/document/Document.h"
#include "editor/Cp932Chars.h"
#include "memo/MemoBinding.h"

#include <QAction>
#include <QShortcut>
#include <QTreeWidget>

namespace notarium {

namespace {

const QString kBookmarkEvent = QStringLiteral("BookmarkItemClick");

int slotOf(const QAction* action)
{
    bool ok = false;
    const int slot = action->data().toInt(&ok);
    return ok && slot >= 0 && slot < kBookmarkSlotCount ? slot : -1;
}

} // namespace

BookmarkCommands::BookmarkCommands(
    const WindowContext& context, TreePane& tree, const TreeCommands& treeCommands, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_treeCommands(treeCommands)
    , m_operations(context.document)
{
    m_tree.setStateImages(bookmark_images::digits());
    m_context.document.addObserver(this);
    // Clearing belongs to the window: the keys reach it before the focused box, which therefore
    // never types them, whichever of the window's controls has the focus.
    for (int slot = 0; slot < kBookmarkSlotCount; ++slot) {
        auto* key = new QShortcut(
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key(Qt::Key_0 + slot))),
            context.window);
        key->setObjectName(QStringLiteral("ClearBookmark%1").arg(slot));
        key->setContext(Qt::WindowShortcut);
        QObject::connect(key, &QShortcut::activated, this, [this, slot] { clearBookmark(slot); });
    }
}

BookmarkCommands::~BookmarkCommands()
{
    delete m_list;
    m_context.document.removeObserver(this);
}

void BookmarkCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kBookmarkEvent, this, [this](QAction* action) {
        if (const int slot = slotOf(action); slot >= 0)
            useBookmark(slot);
    });
    actions.connectEvent(QStringLiteral("BookListClick"), this, [this](QAction*) { showList(); });
    updateCaptions(true);
}

void BookmarkCommands::updateActions(const ActionState&)
{
    // A read-only document takes bookmarks too; they are not saved.
    m_actions->setEventEnabled(kBookmarkEvent, true);
    m_actions->setEventEnabled(QStringLiteral("BookListClick"), true);
}

void BookmarkCommands::windowClosing()
{
    if (m_list)
        m_list->close();
}

// ---- Captions ----------------------------------------------------------------------------------

QString BookmarkCommands::caption(int slot, const Node* node)
{
    const QString digit = QStringLiteral("&") + QString::number(slot);
    if (node == nullptr)
        return digit + QStringLiteral(" （未設定）");
    // A title's own "&" is shown, not taken for the item's accelerator.
    QString title = Cp932Chars::decode(node->title());
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return digit + QLatin1Char(' ') + title;
}

void BookmarkCommands::setCaption(int slot)
{
    const Node* node = m_context.document.bookmark(slot);
    m_captioned[static_cast<std::size_t>(slot)] = node;
    const QString text = caption(slot, node);
    for (QAction* action : m_actions->actionsFor(kBookmarkEvent))
        if (slotOf(action) == slot)
            action->setText(text);
}

void BookmarkCommands::updateCaptions(bool force)
{
    if (m_actions == nullptr)
        return;
    for (int slot = 0; slot < kBookmarkSlotCount; ++slot)
        if (force || m_context.document.bookmark(slot) != m_captioned[static_cast<std::size_t>(slot)])
            setCaption(slot);
}

void BookmarkCommands::nodesRemoved(Node*, int, int)
{
    // The document has emptied the slots of the nodes that went.
    m_operations.discardIfEmpty();
    updateCaptions();
}

void BookmarkCommands::nodeChanged(Node* node, NodeChange change)
{
    if (change == NodeChange::Bookmark) {
        updateCaptions();
    } else if (change == NodeChange::Title) {
        const int slot = m_context.document.bookmarkSlotOf(node);
        if (slot >= 0 && m_actions != nullptr)
            setCaption(slot);
    }
}

void BookmarkCommands::documentReset()
{
    // A file's record of ten empty slots is no bookmark either.
    m_operations.discardIfEmpty();
    updateCaptions(true);
}

// ---- The commands ------------------------------------------------------------------------------

void BookmarkCommands::useBookmark(int slot)
{
    const BookmarkUse use = m_operations.use(slot, m_tree.selectedNode(), m_treeCommands.commandTarget());
    switch (use.outcome) {
    case BookmarkUse::Outcome::Jump:
        // The selection change opens the branches on the way and loads the node's title and text
        // (and the caret's place in the status bar).
        m_tree.setSelectedNode(use.node);
        break;
    case BookmarkUse::Outcome::Set:
        changed();
        break;
    case BookmarkUse::Outcome::Nothing:
        break;
    }
}

void BookmarkCommands::clearBookmark(int slot)
{
    if (m_operations.clear(slot))
        changed();
}

void BookmarkCommands::changed()
{
    // The modified flag may have changed what the file commands offer.
    m_context.updateActions();
}

// ---- The bookmark list -------------------------------------------------------------------------

TBookmarkForm* BookmarkCommands::listWindow() const
{
    return m_list;
}

void BookmarkCommands::showList()
{
    if (m_list)
        return;
    // The rows show the texts as the person sees them.
    m_context.memo.store();
    m_list = new TBookmarkForm(m_context.window, m_context.help(), m_context.prompt());
    m_list->setAttribute(Qt::WA_DeleteOnClose);
    bindList();
    fillList();
    m_list->selectSlot(0);
    m_list->list()->setFocus();
    // Centred on the main window.
    QRect placed(QPoint(0, 0), m_list->frameGeometry().size());
    placed.moveCenter(m_context.window->frameGeometry().center());
    m_list->move(placed.topLeft());
    m_list->show();
}

void BookmarkCommands::bindList()
{
    TBookmarkForm* list = m_list;
    QObject::connect(list, &TBookmarkForm::jumpRequested, this, &BookmarkCommands::useBookmark);
    QObject::connect(list, &TBookmarkForm::addRequested, this, [this](int slot) {
        useBookmark(slot);
        fillList();
    });
    QObject::connect(list, &TBookmarkForm::removeRequested, this, [this](int slot) {
        clearBookmark(slot);
        fillList();
    });
    QObject::connect(list, &TBookmarkForm::removeAllRequested, this, [this] {
        if (m_operations.clearAll())
            changed();
        fillList();
        m_list->selectSlot(0);
    });
}

void BookmarkCommands::fillList()
{
    if (!m_list)
        return;
    const Document& doc = m_context.document;
    const DocumentTreeModel* model = m_tree.documentModel();
    for (int slot = 0; slot < kBookmarkSlotCount; ++slot) {
        const Node* node = doc.bookmark(slot);
        if (node == nullptr) {
            m_list->setRow(slot, false);
            continue;
        }
        const TNodeData* data = node->data();
        m_list->setRow(slot, true, model != nullptr ? model->kindIcon(node->imageIndex()) : QIcon(),
            Cp932Chars::decode(node->title()),
            data != nullptr ? Cp932Chars::decode(bookmarkExcerpt(data->MemoStr)) : QString());
    }
    m_list->setAddAllowed(m_operations.canSet(m_tree.selectedNode()));
    m_list->updateMenu();
}

} // namespace notarium
