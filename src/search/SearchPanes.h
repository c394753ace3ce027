#pragma once

namespace notarium {

class ImeLineEdit;
class TExtMemo;
class TreeCommands;
class TreePane;
class ViewCommands;

// The parts of the main window a search shows its hits in.
struct SearchPanes {
    TreePane& tree;
    ImeLineEdit& title;
    TExtMemo& memo;
    TreeCommands& treeCommands; // records the tree state when a search window opens
    ViewCommands& view; // shows the memo side again when the tree pane fills the window
};

} // namespace notarium
