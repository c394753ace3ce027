#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/document/BookmarkOperations.h"
#include "core/document/DocumentObserver.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>

namespace notarium {

class TBookmarkForm;
class TreeCommands;
class TreePane;

// The ten bookmarks of the document: Ctrl+0-9 (and the items of the bookmark menus) jump to a
// bookmark or set it, Ctrl+Shift+0-9 clear one, Ctrl+K opens the bookmark list. The digits show
// as the tree pane's state images and the menus' captions name the bookmarked titles; both follow
// the document, whoever changed it.
class BookmarkCommands : public QObject, public CommandSet, private NullDocumentObserver {
    Q_OBJECT

public:
    BookmarkCommands(const WindowContext& context, TreePane& tree, const TreeCommands& treeCommands,
        QObject* parent = nullptr);
    ~BookmarkCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    // The caption of a bookmark menu item: "&n title", or "&n （未設定）" for an empty slot.
    static QString caption(int slot, const Node* node);

    // The commands, as the actions and keys run them.
    void useBookmark(int slot);
    void clearBookmark(int slot);
    void showList();
    // The open bookmark list, or null.
    TBookmarkForm* listWindow() const;

private:
    // DocumentObserver
    void nodesRemoved(Node* parent, int first, int last) override;
    void nodeChanged(Node* node, NodeChange change) override;
    void documentReset() override;

    // The menu items of every slot whose node differs from the one its caption names (all with
    // force) show it again.
    void updateCaptions(bool force = false);
    void setCaption(int slot);
    void fillList();
    void bindList();
    void changed();

    WindowContext m_context;
    TreePane& m_tree;
    const TreeCommands& m_treeCommands;
    ActionRegistry* m_actions = nullptr;
    BookmarkOperations m_operations;
    // The node each slot's captions name.
    std::array<const Node*, kBookmarkSlotCount> m_captioned {};
    QPointer<TBookmarkForm> m_list;
};

} // namespace notarium
