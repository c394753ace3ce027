#pragma once

#include <string>

namespace notarium {

class Node;
class TreeOperations;

// What the memo wizard makes of its next title: a category or a memo at the target's level or
// one level down, or a result below the target.
enum class WizardPlacement { Category, ChildCategory, Memo, ChildMemo, Result };

// Creates the wizard's next node for target. A node at the target's level goes directly after it,
// or, with atEnd (the wizard's "do not move" mode, which creates node after node while the
// target stays selected), after the last of its siblings; after a top-level target there is no
// place at its level and the node becomes its last child. A result needs a user node as target.
// Null when nothing was created (read-only document, no target).
Node* createWizardNode(TreeOperations& operations, Node* target, WizardPlacement placement, bool atEnd,
    std::string title);

} // namespace notarium
