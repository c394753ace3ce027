#include "app/TreeCommands.h"

namespace notarium {

TreeCommands::TreeCommands(const WindowParts& parts, QObject* parent)
    : QObject(parent)
    , m_parts(parts)
{
}

TreeCommands::~TreeCommands() = default;

void TreeCommands::connectActions() { }

void TreeCommands::updateCommandStates(Node*) { }

void TreeCommands::preparePopup(Node*) { }

} // namespace notarium
