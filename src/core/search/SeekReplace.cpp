#include "core/search/SeekReplace.h"

#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/text/ShiftJis.h"

namespace notarium {

bool replaceOneHit(Document& doc, const SeekHit& hit, std::string_view replacement)
{
    Node* node = doc.nodeAt(hit.nodeIndex);
    TNodeData* data = node ? node->data() : nullptr;
    if (data == nullptr || hit.offset < 0 || hit.length < 0)
        return false;
    std::string& text = data->MemoStr;
    const auto offset = static_cast<std::size_t>(hit.offset);
    const auto length = static_cast<std::size_t>(hit.length);
    if (offset > text.size() || length > text.size() - offset)
        return false;
    if (std::string_view(text).substr(offset, length) != hit.matched || charStart(text, offset) != offset)
        return false;
    text.replace(offset, length, replacement);
    doc.notifyDataChanged(node);
    doc.setModified(true);
    return true;
}

} // namespace notarium
