#pragma once

namespace notarium {

class Node;

// The edit box that has the keyboard focus. While the menu bar or a menu holds the focus, the box
// that had it before still counts: the command the menu runs acts on that box.
enum class EditBox { None, Title, Memo };

// Everything the enabled states of the window's commands depend on, read once per enabling pass
// and handed to every command set, so no set asks the widgets on its own.
struct ActionState {
    // The selected node (or the node about to be selected, during a selection change).
    const Node* node = nullptr;
    // node is a category, memo or result (not one of the two top-level nodes).
    bool userNode = false;
    bool readOnly = false;
    // The tree holds more than the two top-level nodes.
    bool hasContent = false;

    EditBox box = EditBox::None;
    bool titleHasSelection = false;
    bool memoHasSelection = false;
    bool memoCanUndo = false;

    bool clipboardHasText = false;
    bool clipboardHasSubtree = false;

    // The selected node's title and text may be changed.
    bool editable() const { return userNode && !readOnly; }
    // The focused box has selected text.
    bool boxHasSelection() const
    {
        return box == EditBox::Title ? titleHasSelection : box == EditBox::Memo && memoHasSelection;
    }
};

} // namespace notarium
