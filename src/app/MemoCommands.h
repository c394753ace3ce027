#pragma once

#include "app/WindowParts.h"

#include <QObject>

namespace notarium {

// The editing commands of the title box and the memo pane, the memo pane's key handling, its
// enabling and its status panels.
class MemoCommands : public QObject {
    Q_OBJECT

public:
    MemoCommands(const WindowParts& parts, QObject* parent = nullptr);
    ~MemoCommands() override;

    // Connects the command table's events and the panes' signals to the commands.
    void connectActions();
    // Enabling after every selection change of the tree.
    void updateCommandStates();
    // Just before the memo pop-up menu opens.
    void preparePopup();

private:
    WindowParts m_parts;
};

} // namespace notarium
