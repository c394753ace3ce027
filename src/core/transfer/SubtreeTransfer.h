#pragma once

#include "core/transfer/TCollectionContainer.h"

#include <string>

namespace notarium {

class Document;
class Node;

// Flattens node and its subtree in pre-order into container (appending to what it holds). Each
// item holds a copy of the node's TNodeData (Modify and TrOpen travel as they are) and Caption =
// the title, Level = the node's level in its tree, iIndex and sIndex = its image and selected
// index. A node without TNodeData (a top-level node) gives an item with only those four fields.
// The source nodes are not changed. Does nothing for null or the hidden root.
void CollectSubtree(const Node* node, TCollectionContainer& container);

// The branch's titles for other programs (CP932): one a line ended by LF, each indented by a tab
// for every level below node. Empty for null or the hidden root.
std::string OutlineTitles(const Node* node);

// Rebuilds the items below target: the first item becomes target's last child and the items'
// relative levels give the shape below it, whatever the absolute levels were. Any levels are
// safe: an item deeper than the one before it (by any amount) becomes that item's child, and an
// item that climbs higher than the first one lands directly under target, never beside or above
// it. Each new node takes Caption as its title, iIndex and sIndex as its image indexes and a copy
// of the item's TNodeData. Afterwards a collapsed target is expanded (that level only).
// Returns the first new node; null, with nothing changed, for an empty container, a null target
// or the hidden root. The modified flag is the paste command's to set, not this function's.
Node* InsertSubtree(const TCollectionContainer& container, Node* target, Document& doc);

} // namespace notarium
