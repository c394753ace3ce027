#pragma once

#include <string_view>

namespace notarium {

class Document;
struct SeekHit;

// Replaces one collected hit in its node's stored body text with replacement, tells the
// document's observers and sets the modified flag. The seek list is modeless, so the text may
// have changed since the search: the replacement is refused (false, nothing changed) when the node
// is gone or has no body, when the recorded range lies outside the text or does not begin at a
// character, or when the bytes there are no longer the bytes of the hit. Callers replace the hits
// of one node from the last to the first, so earlier offsets stay valid.
bool replaceOneHit(Document& doc, const SeekHit& hit, std::string_view replacement);

} // namespace notarium
