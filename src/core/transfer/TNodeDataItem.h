#pragma once

#include "core/document/NodeData.h"

#include <cstdint>
#include <string>

namespace notarium {

// One record of a flattened subtree: a copy of the node's TNodeData and the fields that only the
// transfer carries. The stream names all of them as properties of NodeData ("NodeData.Caption",
// "NodeData.Level", ...), in the order of the stream's field table.
struct TNodeDataItem {
    TNodeData NodeData;
    std::string Caption; // the node's title
    std::int32_t Level = 0; // the node's level in its tree
    std::int32_t iIndex = 0; // image index
    std::int32_t sIndex = 0; // selected image index

    void Assign(const TNodeDataItem& other) { *this = other; }

    friend bool operator==(const TNodeDataItem&, const TNodeDataItem&) = default;
};

} // namespace notarium
