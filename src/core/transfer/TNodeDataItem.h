#pragma once

#include "core/document/NodeData.h"

namespace notarium {

// One record of a flattened subtree: the node's TNodeData with the transfer fields (Caption,
// Level, iIndex, sIndex) filled in.
struct TNodeDataItem {
    TNodeData NodeData;

    void Assign(const TNodeDataItem& other) { NodeData.Assign(other.NodeData); }

    friend bool operator==(const TNodeDataItem&, const TNodeDataItem&) = default;
};

} // namespace notarium
