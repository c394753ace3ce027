#pragma once

#include <cstdint>
#include <string>

namespace notarium {

// The per-node record of a user node: its body text, the memo pane's view state for it, and the
// fields that travel with a subtree on the clipboard. Field names are the stream's property names.
struct TNodeData {
    std::string MemoStr; // body text, CP932, line breaks CR LF
    std::string Caption; // title copy, filled for subtree transfer only
    std::int32_t Level = 0;
    bool Modify = false;
    std::int32_t TopLin = 0;
    std::int32_t LinCnt = 0;
    std::int32_t SelPos = 0;
    std::int32_t SelLen = 0;
    std::int32_t iIndex = 0;
    std::int32_t sIndex = 0;
    bool TrOpen = false;

    void Assign(const TNodeData& other) { *this = other; }

    friend bool operator==(const TNodeData&, const TNodeData&) = default;
};

} // namespace notarium
