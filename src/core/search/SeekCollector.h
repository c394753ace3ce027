#pragma once

#include "core/search/SearchOptions.h"
#include "core/search/SearchPattern.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

class Document;
class Node;

// One row of the search-and-replace list.
struct SeekHit {
    std::int32_t nodeIndex = 0; // absolute index of the node
    std::int32_t offset = 0; // byte offset of the hit in the node's text
    std::int32_t length = 0; // hit length in bytes
    std::string excerpt; // CP932 text around the hit, line breaks as they stand in the text
    std::string matched; // the hit's bytes as found, so a replacement can tell a stale record
};

// The excerpt bytes before a hit and after its end.
inline constexpr std::size_t kExcerptBefore = 11;
inline constexpr std::size_t kExcerptAfter = 49;

// The text shown for a hit: from kExcerptBefore bytes before the hit (not before restStart, where
// the searched rest of the text began) to kExcerptAfter bytes after its end (not past the text),
// trimmed so that it neither begins nor ends inside a double-byte character. restStart and
// hitStart must be character starts.
std::string seekExcerpt(
    std::string_view text, std::size_t restStart, std::size_t hitStart, std::size_t hitLength);

// Collects every hit of one search text, forward through each text; after a hit the search goes on
// right after it, so hits never overlap.
class SeekCollector {
public:
    // Called after each hit with the running number of hits and the hit's node, so a window can
    // show how far it got and stay responsive.
    using Progress = std::function<void(std::size_t hitNumber, std::int32_t nodeIndex)>;

    // Forward is added to the options: the list always runs from the start of each text.
    SeekCollector(std::string_view searchText, SearchOptions options);

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Every node from absolute index 1 to the end (the paper folder's children too); nodes
    // without a body (the two top-level nodes) are passed over.
    std::vector<SeekHit> collectDocument(const Document& doc) const;
    // top and every node below it.
    std::vector<SeekHit> collectSubtree(const Document& doc, const Node* top) const;
    // One text (the memo pane's), recorded against nodeIndex.
    std::vector<SeekHit> collectText(std::string_view text, std::int32_t nodeIndex) const;

private:
    void collectInto(std::string_view text, std::int32_t nodeIndex, std::vector<SeekHit>& hits) const;

    SearchPattern m_pattern;
    Progress m_progress;
};

} // namespace notarium
