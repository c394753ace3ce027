#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/document/MemoWizard.h"
#include "core/document/TreeOperations.h"

#include <QObject>
#include "memo/TNewMemoDlg.h"

#include <QPointer>

namespace notarium {

class TExtMemo;
class TreeCommands;
class TreePane;
class ViewCommands;

// The memo wizard: one modeless window at most, which makes a new node for every title confirmed
// in it, at the command target of that moment.
class WizardCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    WizardCommands(const WindowContext& context, TreePane& tree, TExtMemo& memo, TreeCommands& treeCommands,
        const ViewCommands& view, QObject* parent = nullptr);
    ~WizardCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    TNewMemoDlg* wizard() const { return m_wizard; }

private:
    void openWizard();
    void create(WizardPlacement placement, bool keepSelection, const QString& title);
    void wizardClosed();
    bool resultAllowed() const;

    WindowContext m_context;
    TreePane& m_tree;
    TExtMemo& m_memo;
    TreeCommands& m_treeCommands;
    const ViewCommands& m_view;
    TreeOperations m_operations;
    ActionRegistry* m_actions = nullptr;
    QPointer<TNewMemoDlg> m_wizard;
};

} // namespace notarium
