#include "app/MemoCommands.h"

namespace notarium {

MemoCommands::MemoCommands(const WindowParts& parts, QObject* parent)
    : QObject(parent)
    , m_parts(parts)
{
}

MemoCommands::~MemoCommands() = default;

void MemoCommands::connectActions() { }

void MemoCommands::updateCommandStates() { }

void MemoCommands::preparePopup() { }

} // namespace notarium
