#include "core/search/SeekReplace.h"

#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <cstdint>

namespace notarium {

namespace {

// The hit's node when it is there and has a body, else null.
Node* hitNode(const Document& doc, const SeekHit& hit)
{
    Node* node = doc.nodeAt(hit.nodeIndex);
    return node != nullptr && node->data() != nullptr ? node : nullptr;
}

// Whether hit still describes text: a range of at least one byte inside the text, beginning at a
// character and holding the bytes of the hit. floor is a character start at or before the hit,
// where the look-back for the character start may stop (0 always is); once the hit's bytes are
// found, it moves up to the start of the character that holds the hit's first byte, so a caller
// that checks the hits of one text in order never looks back over the same bytes twice.
bool hitFits(std::string_view text, const SeekHit& hit, std::size_t& floor)
{
    if (hit.offset < 0 || hit.length <= 0)
        return false;
    const auto offset = static_cast<std::size_t>(hit.offset);
    const auto length = static_cast<std::size_t>(hit.length);
    if (offset > text.size() || length > text.size() - offset || floor > offset)
        return false;
    if (text.substr(offset, length) != hit.matched)
        return false;
    floor += charStart(text.substr(floor), offset - floor);
    return floor == offset;
}

} // namespace

bool hitStillMatches(const Document& doc, const SeekHit& hit)
{
    const Node* node = hitNode(doc, hit);
    std::size_t floor = 0;
    return node != nullptr && hitFits(node->data()->MemoStr, hit, floor);
}

bool replaceOneHit(Document& doc, const SeekHit& hit, std::string_view replacement)
{
    Node* node = hitNode(doc, hit);
    std::size_t floor = 0;
    if (node == nullptr || !hitFits(node->data()->MemoStr, hit, floor))
        return false;
    node->data()->MemoStr.replace(
        static_cast<std::size_t>(hit.offset), static_cast<std::size_t>(hit.length), replacement);
    doc.notifyDataChanged(node);
    doc.setModified(true);
    return true;
}

ReplaceAllResult replaceAllHits(Document& doc, const std::vector<SeekHit>& hits, std::string_view replacement)
{
    ReplaceAllResult result;
    // The hits of each node together, keeping their order within the node.
    std::vector<const SeekHit*> order;
    order.reserve(hits.size());
    for (const SeekHit& hit : hits)
        order.push_back(&hit);
    const auto byNode = [](const SeekHit* a, const SeekHit* b) { return a->nodeIndex < b->nodeIndex; };
    if (!std::is_sorted(order.begin(), order.end(), byNode))
        std::stable_sort(order.begin(), order.end(), byNode);

    std::vector<const SeekHit*> accepted;
    for (auto first = order.begin(); first != order.end();) {
        const auto last = std::find_if(
            first, order.end(), [&](const SeekHit* hit) { return hit->nodeIndex != (*first)->nodeIndex; });
        Node* node = hitNode(doc, **first);
        if (node == nullptr) {
            result.refused += static_cast<std::size_t>(last - first);
            first = last;
            continue;
        }
        const std::string& text = node->data()->MemoStr;
        // Checked against the text as it stands: replacing from the last hit to the first leaves
        // every byte before a hit as it was, so each check sees what replaceOneHit would see.
        accepted.clear();
        std::int64_t orderEnd = 0;
        std::size_t floor = 0;
        std::size_t newSize = text.size();
        for (auto it = first; it != last; ++it) {
            const SeekHit& hit = **it;
            const bool inOrder = hit.offset >= orderEnd && hit.length > 0;
            if (inOrder)
                orderEnd = std::int64_t { hit.offset } + hit.length;
            if (!inOrder || !hitFits(text, hit, floor)) {
                ++result.refused;
                continue;
            }
            accepted.push_back(&hit);
            newSize = newSize - static_cast<std::size_t>(hit.length) + replacement.size();
        }
        first = last;
        if (accepted.empty())
            continue;

        std::string rebuilt;
        rebuilt.reserve(newSize);
        std::size_t copied = 0;
        for (const SeekHit* hit : accepted) {
            rebuilt.append(text, copied, static_cast<std::size_t>(hit->offset) - copied);
            rebuilt.append(replacement);
            copied = static_cast<std::size_t>(hit->offset) + static_cast<std::size_t>(hit->length);
        }
        rebuilt.append(text, copied);
        node->data()->MemoStr = std::move(rebuilt);
        result.replaced += accepted.size();
        doc.notifyDataChanged(node);
    }
    if (result.replaced > 0)
        doc.setModified(true);
    return result;
}

} // namespace notarium
