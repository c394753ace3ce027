#pragma once

#include <cstdint>
#include <string_view>

namespace notarium {

class Document;
class Node;

// The characters of a body text as the count window shows them: trailing blanks, tabs, line
// breaks and other control characters do not count; the rest counts in UTF-16 units, so a
// double-byte character counts 1 and each line break inside the text 2 (CR and LF).
std::int64_t countCharacters(std::string_view body);

struct CharacterCounts {
    std::int64_t node = 0;   // the selected node's text (0 for a top-level node)
    std::int64_t branch = 0; // the node and every node below it
    std::int64_t total = 0;  // every user node of the document
};

// The three totals for the selected node (null: only the total is counted).
CharacterCounts countCharacters(const Document& doc, const Node* selected);

} // namespace notarium
