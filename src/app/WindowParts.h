#pragma once

#include "app/Services.h"

#include <QList>
#include <functional>

class QLabel;
class QLineEdit;
class QWidget;

namespace notarium {

class ActionRegistry;
class Document;
class DocumentTreeModel;
class MenuBuilder;
class Settings;
class TExtMemo;
class TreePane;

// The pieces of one main window that its command classes work on. The window owns all of them
// and outlives the command classes.
struct WindowParts {
    QWidget* window = nullptr; // parent of message boxes
    Document* document = nullptr;
    Settings* settings = nullptr;
    Services services;
    ActionRegistry* actions = nullptr;
    MenuBuilder* menus = nullptr;
    TreePane* tree = nullptr;
    DocumentTreeModel* model = nullptr;
    QLineEdit* title = nullptr;
    TExtMemo* memo = nullptr;
    // The title band and the memo pane together; hidden while the tree pane is maximised.
    QWidget* memoSide = nullptr;
    // Status bar panels 0 to 5.
    QList<QLabel*> panels;
    // Stores the memo pane's text, caret and first line into the selected node.
    std::function<void()> storeMemo;
    // Refreshes the memo pane's status panels as after a selection change.
    std::function<void()> refreshMemoStatus;
    // Enables and disables every command of the window for the selected node, as after a
    // selection change (a command that changed the tree without selecting anything new needs it).
    std::function<void()> updateCommandStates;
};

} // namespace notarium
