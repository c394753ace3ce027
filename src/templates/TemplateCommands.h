#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/templates/TemplateStore.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;

namespace notarium {

class ImeLineEdit;
class MenuBuilder;
class TExtMemo;
class TreePane;
class ViewCommands;

// The template menus of the window (Template1 in the main menu, its twin Template2 in the memo
// pane's pop-up) built from the store "Template.ini", applying a template from them, and the
// template list that registers, edits and orders templates.
class TemplateCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    TemplateCommands(const WindowContext& context, TreePane& tree, ImeLineEdit& title, TExtMemo& memo,
        const MenuBuilder& menus, const ActionRegistry& actions, const ViewCommands& view,
        QObject* parent = nullptr);
    ~TemplateCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void preparePopup(Popup popup, const ActionState& state, Node* node) override;

    // Where the store lives.
    QString storePath() const;
    const std::vector<TemplateEntry>& entries() const { return m_store.entries(); }

    // Reads the store again and rebuilds the template menu from it.
    void reload();
    // Inserts a text template at the memo pane's caret, or adds a tree template's pages under the
    // selected node. A missing or unreadable file, or one that is not a whole template, changes
    // nothing and says why.
    void apply(const TemplateEntry& entry);
    // The template list (TemplateReg, Ctrl+T).
    void openTemplateList();

private:
    void rebuildMenu();
    void applyText(const TemplateEntry& entry);
    void applyTree(const TemplateEntry& entry);
    void saveList(std::vector<TemplateEntry> entries);
    void tell(const QString& text, const QString& caption, MessageIcon icon);
    void tellUnreadable(const TemplateEntry& entry, const std::string& error);

    WindowContext m_context;
    TreePane& m_tree;
    ImeLineEdit& m_title;
    TExtMemo& m_memo;
    const MenuBuilder& m_menus;
    const ActionRegistry& m_registry;
    const ViewCommands& m_view;
    ActionRegistry* m_actions = nullptr;
    TemplateStore m_store;
    // The template items of Template1, in store order.
    QList<QAction*> m_items;
    QAction* m_separator = nullptr;
};

} // namespace notarium
