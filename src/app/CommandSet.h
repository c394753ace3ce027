#pragma once

namespace notarium {

class ActionRegistry;
struct ActionState;
class Node;

// The window's pop-up menus that command sets may prepare before they open.
enum class Popup {
    Tree, // pmTree, on the node it was opened on
    Memo, // pmMemo
};

// The commands of one subsystem, as the main window hosts them. The window creates each set with
// the window context, asks it once to connect its events, and from then on hands it the one action
// state after every change that state depends on. Adding a subsystem to the window is one line
// that registers its set.
class CommandSet {
public:
    virtual ~CommandSet() = default;

    // Connects the set's events (the command table's handler names) to its commands.
    virtual void connect(ActionRegistry& actions) = 0;
    // Enables, disables and checks the set's actions for the state.
    virtual void updateActions(const ActionState& state) = 0;
    // Just before a pop-up menu opens; node is the node the tree pop-up acts on (null for the
    // memo pop-up). Items whose state differs from their main-menu twin are set here.
    virtual void preparePopup(Popup popup, const ActionState& state, Node* node)
    {
        (void)popup;
        (void)state;
        (void)node;
    }
    // The window is closing (the close was not refused): windows of the set's own close.
    virtual void windowClosing() {}
};

} // namespace notarium
