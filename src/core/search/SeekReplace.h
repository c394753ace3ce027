#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace notarium {

class Document;
struct SeekHit;

// Replaces one collected hit in its node's stored body text with replacement, tells the
// document's observers and sets the modified flag. The seek list is modeless, so the text may
// have changed since the search: the replacement is refused (false, nothing changed) when the node
// is gone or has no body, when the recorded range is empty, lies outside the text or does not
// begin at a character, or when the bytes there are no longer the bytes of the hit. Callers
// replace the hits of one node from the last to the first, so earlier offsets stay valid.
bool replaceOneHit(Document& doc, const SeekHit& hit, std::string_view replacement);
// Whether the hit still describes its node's text, by the rules replaceOneHit refuses with.
bool hitStillMatches(const Document& doc, const SeekHit& hit);

struct ReplaceAllResult {
    std::size_t replaced = 0;
    std::size_t refused = 0;
};

// Replaces every hit of a collected list at once. Each node's text comes out exactly as replacing
// its hits one by one with replaceOneHit from the last to the first would leave it: a hit that
// replaceOneHit would refuse is skipped and counted as refused, the others still apply. A hit that
// begins before the previous hit of its node ends (a list that is not in the collector's order)
// is refused as well. Hits of one node need not stand together in the list. Each changed node
// gets its new text in one piece and one change notice; the modified flag is set once when
// anything was replaced and left alone otherwise. Once the list is in node order, the time is
// linear in the number of hits and the lengths of the changed texts.
ReplaceAllResult replaceAllHits(Document& doc, const std::vector<SeekHit>& hits, std::string_view replacement);

} // namespace notarium
