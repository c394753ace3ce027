#pragma once

#include "app/WindowParts.h"

#include <QObject>

namespace notarium {

class Node;

// The commands that change the shape of the outline and the view commands of the tree pane,
// through the core tree operations, with their enabling, confirmations and selection.
class TreeCommands : public QObject {
    Q_OBJECT

public:
    TreeCommands(const WindowParts& parts, QObject* parent = nullptr);
    ~TreeCommands() override;

    // Connects the command table's events to the commands.
    void connectActions();
    // Enabling after every selection change (node: the newly selected node, or null).
    void updateCommandStates(Node* node);
    // Just before the tree pop-up menu opens on node.
    void preparePopup(Node* node);

private:
    WindowParts m_parts;
};

} // namespace notarium
