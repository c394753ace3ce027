#include "templates/TemplateCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/MenuBuilder.h"
#include "app/PaintingSuspended.h"
#include "app/TreePane.h"
#include "app/ViewCommands.h"
#include "core/document/Document.h"
#include "core/templates/ApplyTemplate.h"
#include "core/templates/TemplateMessages.h"
#include "core/templates/TextTemplate.h"
#include "editor/Cp932Chars.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "platform/LocalPath.h"
#include "templates/TTempDlg.h"
#include "templates/TemplateDialogContext.h"
#include "templates/TemplateKindIcon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace notarium {

namespace {

const char* const kItemEntry = "templateEntry";

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TemplateCommands::TemplateCommands(const WindowContext& context, TreePane& tree, ImeLineEdit& title,
    TExtMemo& memo, const MenuBuilder& menus, const ActionRegistry& actions, const ViewCommands& view,
    QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_title(title)
    , m_memo(memo)
    , m_menus(menus)
    , m_registry(actions)
    , m_view(view)
{
    reload();
}

TemplateCommands::~TemplateCommands() = default;

void TemplateCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(QStringLiteral("TemplateRegClick"), this, [this](QAction*) { openTemplateList(); });
}

void TemplateCommands::updateActions(const ActionState& state)
{
    // Nothing is added to a document open read-only; a text template needs a page's text.
    m_actions->setEventEnabled(QStringLiteral("TemplateRegClick"), !state.readOnly);
    if (QMenu* menu = m_menus.menu(QStringLiteral("Template1")))
        menu->menuAction()->setEnabled(!state.readOnly);
    for (QAction* item : std::as_const(m_items))
        if (!m_store.entries()[static_cast<std::size_t>(item->property(kItemEntry).toInt())].isTree())
            item->setEnabled(state.userNode);
}

void TemplateCommands::preparePopup(Popup popup, const ActionState&, Node*)
{
    if (popup != Popup::Memo)
        return;
    QMenu* main = m_menus.menu(QStringLiteral("Template1"));
    QMenu* twin = m_menus.menu(QStringLiteral("Template2"));
    if (main == nullptr || twin == nullptr)
        return;
    // The twin holds its fixed first item and copies of the main menu's template items.
    const QList<QAction*> old = twin->actions();
    for (qsizetype i = 1; i < old.size(); ++i) {
        twin->removeAction(old[i]);
        if (old[i]->parent() == this)
            delete old[i];
    }
    if (!m_items.isEmpty())
        twin->addSeparator()->setParent(this);
    for (QAction* item : std::as_const(m_items)) {
        auto* copy = new QAction(item->icon(), item->text(), this);
        copy->setStatusTip(item->statusTip());
        copy->setEnabled(item->isEnabled());
        copy->setProperty(kItemEntry, item->property(kItemEntry));
        QObject::connect(copy, &QAction::triggered, item, &QAction::trigger);
        twin->addAction(copy);
    }
    twin->menuAction()->setEnabled(main->menuAction()->isEnabled());
}

QString TemplateCommands::storePath() const
{
    return QDir(m_context.configFolder).filePath(QStringLiteral("Template.ini"));
}

void TemplateCommands::reload()
{
    // A missing store gives no template items; one that cannot be read the same, without a
    // message at every start.
    m_store.load(localPath(storePath()));
    rebuildMenu();
}

void TemplateCommands::rebuildMenu()
{
    QMenu* menu = m_menus.menu(QStringLiteral("Template1"));
    qDeleteAll(m_items);
    m_items.clear();
    delete m_separator;
    m_separator = nullptr;
    if (menu == nullptr || m_store.entries().empty())
        return;
    m_separator = menu->addSeparator();
    const std::vector<TemplateEntry>& entries = m_store.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TemplateEntry& entry = entries[i];
        QAction* item = menu->addAction(templateKindIcon(entry.includeTree), utf8(entry.name));
        item->setStatusTip(utf8(entry.path));
        item->setProperty(kItemEntry, static_cast<int>(i));
        QObject::connect(item, &QAction::triggered, this, [this, i] {
            if (i < m_store.entries().size())
                apply(m_store.entries()[i]);
        });
        m_items.append(item);
    }
    if (m_actions != nullptr)
        m_context.updateActions();
}

// ---- Applying ----------------------------------------------------------------------------------

void TemplateCommands::tell(const QString& text, const QString& caption, MessageIcon icon)
{
    m_context.prompt().tell(m_context.window, text, caption, icon);
}

void TemplateCommands::tellUnreadable(const TemplateEntry& entry, const std::string& error)
{
    tell(QStringLiteral("テンプレートファイル ") + utf8(entry.path) + QStringLiteral(" を読み込めませんでした。\r\n\r\n(")
            + utf8(error) + QStringLiteral(")"),
        QStringLiteral("ファイルエラー"), MessageIcon::Error);
}

void TemplateCommands::apply(const TemplateEntry& entry)
{
    if (m_context.document.isReadOnly()) {
        m_context.beep();
        return;
    }
    // A path the store holds as written; a relative one is taken from the settings folder.
    TemplateEntry resolved = entry;
    resolved.path = QDir(m_context.configFolder).absoluteFilePath(utf8(entry.path)).toStdString();
    if (!QFileInfo(utf8(resolved.path)).isFile()) {
        const Message& missing = messages::TemplateFileMissing;
        tell(utf8(messages::templateFileMissingText(entry.path)), QString::fromUtf8(missing.caption.data(), missing.caption.size()),
            missing.icon);
        return;
    }
    if (entry.isTree())
        applyTree(resolved);
    else
        applyText(resolved);
}

void TemplateCommands::applyTree(const TemplateEntry& entry)
{
    m_context.memo.store();
    Document& document = m_context.document;
    Node* base = templateBaseNode(document, TemplateTarget::TreePane, m_tree.selectedNode());
    if (base == nullptr) {
        m_context.beep();
        return;
    }
    TemplateReadResult result;
    {
        PaintingSuspended painting(&m_tree);
        result = applyTreeTemplateFile(localPath(utf8(entry.path)), document, base);
    }
    if (result.status == TemplateReadStatus::CannotOpen) {
        tellUnreadable(entry, result.errorText);
        return;
    }
    if (!result.ok()) {
        m_context.prompt().tell(m_context.window, result.message);
        return;
    }
    if (result.pagesAdded == 0)
        return;
    document.setModified(true);
    if (result.firstPage != nullptr) {
        m_tree.setSelectedNode(result.firstPage);
        if (!result.firstPage->isTopLevel() && m_view.memoSideShown())
            m_title.setFocus();
    }
    m_context.updateActions();
}

void TemplateCommands::applyText(const TemplateEntry& entry)
{
    const Node* node = m_tree.selectedNode();
    if (node == nullptr || !node->isUserNode()) {
        m_context.beep();
        return;
    }
    std::string text;
    std::string error;
    Message refused;
    if (!loadTextTemplate(localPath(utf8(entry.path)), text, &error, &refused)) {
        if (!refused.empty())
            m_context.prompt().tell(m_context.window, refused);
        else
            tellUnreadable(entry, error);
        return;
    }
    m_memo.insertText(Cp932Chars::decode(text));
    m_memo.setFocus();
}

// ---- The template list -------------------------------------------------------------------------

void TemplateCommands::openTemplateList()
{
    m_context.memo.store();
    const Node* selected = m_tree.selectedNode();
    const TemplateDialogContext dialogContext { m_context.window, m_context.services, m_context.settings, m_registry,
        m_memo, selected == nullptr || !selected->isUserNode(),
        [this](const TemplateEntry& entry) { apply(entry); } };
    TTempDlg dialog(dialogContext, m_store.entries());
    dialog.exec();
    if (dialog.changed())
        saveList(dialog.entries());
}

void TemplateCommands::saveList(std::vector<TemplateEntry> entries)
{
    const std::vector<std::string> refused = m_store.setEntries(std::move(entries));
    std::string error;
    if (!m_store.save(localPath(storePath()), &error))
        tell(QStringLiteral("テンプレートの一覧 ") + storePath() + QStringLiteral(" を保存できませんでした。\r\n\r\n(")
                + utf8(error) + QStringLiteral(")"),
            QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
    else if (!refused.empty())
        tell(QStringLiteral("次のテンプレート名は使えないため、登録しませんでした。\r\n") + utf8(refused.front()),
            QStringLiteral("テンプレート"), MessageIcon::Warning);
    rebuildMenu();
}

} // namespace notarium
