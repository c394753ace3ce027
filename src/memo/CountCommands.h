#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"

#include <QObject>

namespace notarium {

class TreePane;

// The character count of the selected node, its branch and the whole document.
class CountCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    CountCommands(const WindowContext& context, TreePane& tree, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

private:
    void countCharacters();

    WindowContext m_context;
    TreePane& m_tree;
    ActionRegistry* m_actions = nullptr;
};

} // namespace notarium
