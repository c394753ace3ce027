#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "search/SearchPanes.h"
#include "search/TSeekDialog.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>

namespace notarium {

class SeekResultModel;

// The search-and-replace window: opening it, collecting every hit of the range into its list,
// showing a hit, and replacing the selected hits or all of them in the document.
class SeekCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    SeekCommands(const WindowContext& context, const SearchPanes& panes, QObject* parent = nullptr);
    ~SeekCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    // The open window, or null.
    TSeekDialog* seekDialog() const { return m_dialog; }
    SeekResultModel& results() const { return *m_results; }

    void openSeekDialog();
    void seek();
    void replaceSelected();
    void replaceAll();
    void viewHit();

private:
    // Collects the hits of the dialog's text and range into the list; the number of rows.
    std::size_t collect();
    // The replacement text as the document stores it; false (after a message) when it holds a
    // character the document cannot.
    bool replacementText(std::string& bytes);
    void rememberReplacement();
    void showCount();
    void saveHistories();

    WindowContext m_context;
    SearchPanes m_panes;
    ActionRegistry* m_actions = nullptr;
    SeekOptions m_options;
    std::unique_ptr<SeekResultModel> m_results;
    QPointer<TSeekDialog> m_dialog;
    // The search text of the rows in the list.
    std::string m_searched;
};

} // namespace notarium
