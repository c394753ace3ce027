// The subtree stream reader on any bytes: it never crashes, hangs or reads out of bounds; whatever
// it accepts writes out and reads back to the same container, and pastes into a document safely.
#include "core/document/Document.h"
#include "core/transfer/ContainerStream.h"
#include "core/transfer/SubtreeTransfer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ContainerReadResult result = readContainerStream(bytes);
    if (!result.ok()) {
        if (!result.container.isEmpty())
            std::abort();
        return 0;
    }
    const std::string written = writeContainerStream(result.container);
    const ContainerReadResult again = readContainerStream(written);
    if (!again.ok() || !(again.container == result.container))
        std::abort();
    if (writeContainerStream(again.container) != written)
        std::abort();

    Document doc;
    doc.newDocument();
    Node* target = doc.appendNode(doc.documentNode(), "target", KindCategory);
    doc.appendNode(doc.documentNode(), "after", KindMemo);
    const std::size_t before = doc.nodeCount();
    Node* first = InsertSubtree(result.container, target, doc);
    if ((first == nullptr) != result.container.isEmpty())
        std::abort();
    // Every item became one node below the target, and nothing landed beside it.
    if (doc.nodeCount() != before + result.container.count() || doc.documentNode()->childCount() != 2
        || target->subtreeSize() != 1 + result.container.count())
        std::abort();
    return 0;
}
