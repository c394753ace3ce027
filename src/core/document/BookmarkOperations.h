#pragma once

#include "core/document/Document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace notarium {

// What "bookmark n" did.
struct BookmarkUse {
    enum class Outcome {
        Nothing,
        Jump, // the slot holds node: the window selects it
        Set, // node was put into the slot
    };
    Outcome outcome = Outcome::Nothing;
    Node* node = nullptr;
};

// The bookmark commands on a document's ten slots. The table exists only while a slot is filled:
// setting the first slot creates it, clearing the last one discards it, and so does
// discardIfEmpty() once nodes that were in it have left the document. The document nodes and the
// paper folder (level 0) are never bookmarked, and a node is in one slot at most. Setting and
// clearing mark the document modified, unless it is read-only (the change then lives in memory
// only).
class BookmarkOperations {
public:
    explicit BookmarkOperations(Document& document);

    // Bookmark n: jumps to the slot's node, or puts target (the node the command acts on) into
    // the empty slot. Without a table nothing happens while selected is a top-level node.
    BookmarkUse use(int slot, const Node* selected, Node* target);
    // Clear bookmark n; true when the slot held a node.
    bool clear(int slot);
    // Clears every slot; true when any held a node.
    bool clearAll();
    // A table whose every slot is empty (its nodes were deleted, say) goes; true when it did. The
    // modified flag is left alone: the removal that emptied the slots counts as the change.
    bool discardIfEmpty();

    // node may be put into an empty slot: a user node in no slot.
    bool canSet(const Node* node) const;

private:
    void markModified();

    Document& m_document;
};

// How many bytes of a body the bookmark list shows.
inline constexpr std::size_t kBookmarkExcerptBytes = 95;

// The beginning of a body as the bookmark list shows it: at most kBookmarkExcerptBytes bytes of
// CP932, never ending in half a character, each line break (CR LF, CR or LF) one blank.
std::string bookmarkExcerpt(std::string_view body);

} // namespace notarium
