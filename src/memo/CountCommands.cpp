#include "memo/CountCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/TreePane.h"
#include "core/document/CharacterCount.h"
#include "memo/MemoBinding.h"
#include "memo/TCountResult.h"

namespace notarium {

namespace {

const QString kCountEvent = QStringLiteral("CountCharClick");

} // namespace

CountCommands::CountCommands(const WindowContext& context, TreePane& tree, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
{
}

void CountCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kCountEvent, this, [this](QAction*) { countCharacters(); });
}

void CountCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(kCountEvent, state.hasContent);
}

void CountCommands::countCharacters()
{
    // Edits not yet stored in the node count too.
    m_context.memo.store();
    TCountResult result(notarium::countCharacters(m_context.document, m_tree.selectedNode()), m_context.window);
    result.exec();
}

} // namespace notarium
