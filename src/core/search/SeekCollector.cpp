#include "core/search/SeekCollector.h"

#include "core/document/Document.h"
#include "core/search/HTSearch.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <limits>

namespace notarium {

namespace {

// Whether pos lies inside a double-byte character, looking back no further than floor, a
// character start at or before pos.
bool insideCharacter(std::string_view text, std::size_t floor, std::size_t pos)
{
    if (pos >= text.size())
        return false;
    std::size_t runStart = pos;
    while (runStart > floor && isLeadByte(static_cast<unsigned char>(text[runStart - 1])))
        --runStart;
    return (pos - runStart) % 2 == 1;
}

} // namespace

std::string seekExcerpt(
    std::string_view text, std::size_t restStart, std::size_t hitStart, std::size_t hitLength)
{
    hitStart = std::min(hitStart, text.size());
    restStart = std::min(restStart, hitStart);
    const std::size_t hitEnd = std::min(hitStart + hitLength, text.size());
    std::size_t begin = hitStart - std::min(kExcerptBefore, hitStart - restStart);
    std::size_t end = std::min(hitEnd + kExcerptAfter, text.size());
    if (insideCharacter(text, restStart, begin))
        ++begin;
    if (insideCharacter(text, hitEnd, end))
        --end;
    return std::string(text.substr(begin, end - begin));
}

SeekCollector::SeekCollector(std::string_view searchText, SearchOptions options)
    : m_pattern(searchText, options.with(SearchOption::Forward))
{
}

std::vector<SeekHit> SeekCollector::collectDocument(const Document& doc) const
{
    std::vector<SeekHit> hits;
    const std::vector<Node*>& nodes = doc.nodesInOrder();
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        if (const TNodeData* data = nodes[i]->data())
            collectInto(data->MemoStr, static_cast<std::int32_t>(i), hits);
    }
    return hits;
}

std::vector<SeekHit> SeekCollector::collectSubtree(const Document& doc, const Node* top) const
{
    std::vector<SeekHit> hits;
    const int first = doc.absoluteIndex(top);
    if (first < 0)
        return hits;
    const std::vector<Node*>& nodes = doc.nodesInOrder();
    const std::size_t end = std::min(nodes.size(), static_cast<std::size_t>(first) + top->subtreeSize());
    for (std::size_t i = static_cast<std::size_t>(first); i < end; ++i) {
        if (const TNodeData* data = nodes[i]->data())
            collectInto(data->MemoStr, static_cast<std::int32_t>(i), hits);
    }
    return hits;
}

std::vector<SeekHit> SeekCollector::collectText(std::string_view text, std::int32_t nodeIndex) const
{
    std::vector<SeekHit> hits;
    collectInto(text, nodeIndex, hits);
    return hits;
}

void SeekCollector::collectInto(
    std::string_view text, std::int32_t nodeIndex, std::vector<SeekHit>& hits) const
{
    // Offsets are recorded as 32-bit numbers; a body that long cannot be a memo.
    if (m_pattern.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return;
    std::int64_t from = 0;
    std::int64_t known = 0;
    while (const std::optional<TextHit> hit = findForwardFrom(text, m_pattern, from, known)) {
        SeekHit row;
        row.nodeIndex = nodeIndex;
        row.offset = static_cast<std::int32_t>(hit->offset);
        row.length = static_cast<std::int32_t>(hit->length);
        row.excerpt = seekExcerpt(text, static_cast<std::size_t>(from), static_cast<std::size_t>(hit->offset),
            static_cast<std::size_t>(hit->length));
        row.matched = std::string(
            text.substr(static_cast<std::size_t>(hit->offset), static_cast<std::size_t>(hit->length)));
        hits.push_back(std::move(row));
        if (m_progress)
            m_progress(hits.size(), nodeIndex);
        // The hit's start is a character start before the next position: the scan's look-backs
        // stop there.
        known = hit->offset;
        from = hit->offset + hit->length;
    }
}

} // namespace notarium
