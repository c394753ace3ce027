#pragma once

#include "core/transfer/TCollectionContainer.h"

#include <string>
#include <string_view>

namespace notarium {

// The private clipboard format that carries a subtree between windows of the program: its
// registered name and the MIME type under which this port puts the same bytes on the clipboard.
inline constexpr std::string_view kTreeNodeFormatName = "Notarium TreeNode Data";
inline constexpr std::string_view kTreeNodeMimeType = "application/x-notarium-treenode";

// The binary component stream of a container: "TPF0", the class name, the component name, the
// property Collection holding one list per item, and the end bytes. Peer windows of the original
// program read and write exactly these bytes, so the layout is fixed to the byte.
std::string writeContainerStream(const TCollectionContainer& container);

struct ContainerReadResult {
    TCollectionContainer container;
    // Why the bytes were refused; empty after a good read.
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads a container from clipboard bytes. Accepts every choice of tags a writer may make (an
// integer in a wider tag than it needs, a short string in the long form, absent strings and
// Booleans, properties in any order, 08h for false) and ignores bytes after the final end byte,
// as a clipboard block may be longer than the stream in it. Anything else (a property or class
// it does not know, a tag that does not fit the property, a length that runs past the end) is
// refused with an error text; the bytes are never read beyond their end and no length field
// allocates more than the bytes that are there.
ContainerReadResult readContainerStream(std::string_view bytes);

} // namespace notarium
