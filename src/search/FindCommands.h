#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/search/FindWalk.h"
#include "search/SearchPanes.h"
#include "search/TFindForm1.h"

#include <QObject>
#include <QPointer>

namespace notarium {

class TFindForm1;

// The find window and find next/previous: the find state and the two hit flags of the window,
// the walk from hit to hit through titles and bodies, and where the hit is shown.
class FindCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    FindCommands(const WindowContext& context, const SearchPanes& panes, QObject* parent = nullptr);
    ~FindCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    const FindState& state() const { return m_state; }
    bool titleHit() const { return m_titleHit; }
    bool memoHit() const { return m_memoHit; }
    // The open find window, or null.
    TFindForm1* findWindow() const { return m_window; }

    // Opens the find window, or brings it back when it is open.
    void openFindWindow();
    void findNext();
    void findPrevious();

private:
    // Runs a find: at the selected node, or from the node after it.
    void find(FindFrom from);
    // Searches the memo pane's text from its selection; true on a hit, which is selected.
    bool findInMemoPane();
    void showTitleHit();
    void findRequested();
    void closeFindWindow();
    void historyChanged();
    bool composing() const;
    // The search text as the document stores it; false (with a beep) when it holds a character
    // the document cannot.
    bool searchTextFrom(const QString& text);

    WindowContext m_context;
    SearchPanes m_panes;
    ActionRegistry* m_actions = nullptr;
    FindState m_state;
    bool m_titleHit = false;
    bool m_memoHit = false;
    QPointer<TFindForm1> m_window;
};

} // namespace notarium
