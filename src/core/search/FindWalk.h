#pragma once

#include "core/search/SearchOptions.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

class Document;
class Node;

// The engine options of the two search windows' check boxes.
SearchOptions makeSearchOptions(
    bool forward, bool matchCase, bool ignoreWidth, bool skipBreaksAndSpaces, bool wholeWord);

// What the find window and find next/previous search for, kept by the window for the whole run.
struct FindState {
    std::string text; // CP932
    bool forward = true;
    bool matchCase = false;
    bool ignoreWidth = false;
    bool skipBreaksAndSpaces = true; // line breaks and spaces inside a hit are passed over
    bool wholeWord = false;
    bool allPages = true; // go on into other nodes when the selected one holds no further hit
    bool titles = false;
    bool bodies = false;

    SearchOptions options() const;
};

// Where a find begins: at the selected node, or at the node after it in the search direction.
enum class FindFrom { SelectedNode, NextNode };

struct FindWalkResult {
    enum class Outcome {
        TitleHit, // node's title holds the text
        BodyHit, // node's stored body holds the text
        PageEnded, // the selected node held no hit and other pages are not searched: beep
        Declined, // the person declined to go on past an end of the document
        NoNode, // nothing was selected
    };
    Outcome outcome = Outcome::NoNode;
    Node* node = nullptr; // the hit's node, or the node the walk ended on
};

// Asked at either end of the document, after the beep; true goes on from the other end.
using WrapQuestion = std::function<bool(bool forward)>;

// Walks the nodes in display order (depth first, closed branches too) from selected, with
// wrap-around, and stops at the first node whose title (plain, case-sensitive substring test) or
// stored body text (the full search with the state's options) holds the text. titleHit is the
// window's title-hit flag: when set, the walk passes over the title of the first node and clears
// it; on a title hit it is set. The two top-level nodes are passed over.
FindWalkResult findNodeHit(const Document& doc, Node* selected, FindFrom from, const FindState& state,
    bool& titleHit, const WrapQuestion& askWrap);

// The question at an end of the document: searched to the end (forward) or the beginning, go on
// from the other end?
std::string wrapQuestion(bool forward);

// Where text stands in title, with the title test of the walk, or npos.
std::size_t findInTitle(std::string_view title, std::string_view text);

// The search text a find window starts with: the selected text cut to 64 bytes without splitting
// a double-byte character.
inline constexpr std::size_t kSelectionSearchTextBytes = 64;
std::string searchTextFromSelection(std::string_view selectedText);

// A search history, most recent first, as the find and replace boxes keep it.
inline constexpr std::size_t kHistoryEntries = 16;
// Puts text at the top: an entry equal to it (case included) moves there; otherwise it is added,
// also when an entry differs from it only in case. An empty text is not added. The list is not
// cut here: what is written keeps the first kHistoryEntries.
void pushHistory(std::vector<std::string>& history, std::string_view text);

} // namespace notarium
