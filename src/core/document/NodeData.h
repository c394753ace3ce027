#pragma once

#include <cstdint>
#include <string>

namespace notarium {

// The per-node record of a user node: its body text and the memo pane's view state for it. Field
// names are the stream's property names. The fields that only a subtree on the clipboard carries
// (the title copy, the level and the two image indexes) are the transfer item's, not every node's:
// the node itself holds its title and image indexes, and its level is its place in the tree.
struct TNodeData {
    std::string MemoStr; // body text, CP932, line breaks CR LF
    bool Modify = false;
    std::int32_t TopLin = 0;
    std::int32_t LinCnt = 0;
    std::int32_t SelPos = 0;
    std::int32_t SelLen = 0;
    bool TrOpen = false;

    void Assign(const TNodeData& other) { *this = other; }

    friend bool operator==(const TNodeData&, const TNodeData&) = default;
};

} // namespace notarium
