#include "core/document/BookmarkOperations.h"

#include "core/text/ShiftJis.h"

#include <algorithm>

namespace notarium {

BookmarkOperations::BookmarkOperations(Document& document)
    : m_document(document)
{
}

bool BookmarkOperations::canSet(const Node* node) const
{
    return node != nullptr && node->isUserNode() && m_document.bookmarkSlotOf(node) < 0;
}

BookmarkUse BookmarkOperations::use(int slot, const Node* selected, Node* target)
{
    if (slot < 0 || slot >= kBookmarkSlotCount)
        return {};
    if (!m_document.hasBookmarkTable() && (selected == nullptr || !selected->isUserNode()))
        return {};
    if (Node* node = m_document.bookmark(slot))
        return { BookmarkUse::Outcome::Jump, node };
    if (!canSet(target))
        return {};
    m_document.setBookmark(slot, target);
    markModified();
    return { BookmarkUse::Outcome::Set, target };
}

bool BookmarkOperations::clear(int slot)
{
    if (m_document.bookmark(slot) == nullptr)
        return false;
    m_document.setBookmark(slot, nullptr);
    markModified();
    discardIfEmpty();
    return true;
}

bool BookmarkOperations::clearAll()
{
    bool cleared = false;
    for (int slot = 0; slot < kBookmarkSlotCount; ++slot)
        cleared = clear(slot) || cleared;
    return cleared;
}

bool BookmarkOperations::discardIfEmpty()
{
    const auto& table = m_document.bookmarkTable();
    if (!table || std::any_of(table->begin(), table->end(), [](const Node* n) { return n != nullptr; }))
        return false;
    m_document.clearBookmarkTable();
    return true;
}

void BookmarkOperations::markModified()
{
    if (!m_document.isReadOnly())
        m_document.setModified(true);
}

std::string bookmarkExcerpt(std::string_view body)
{
    const std::string_view cut = cutToBytes(body, kBookmarkExcerptBytes);
    std::string excerpt;
    excerpt.reserve(cut.size());
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const char c = cut[i];
        if (c == '\r' || c == '\n') {
            excerpt += ' ';
            if (c == '\r' && i + 1 < cut.size() && cut[i + 1] == '\n')
                ++i;
        } else {
            excerpt += c;
        }
    }
    return excerpt;
}

} // namespace notarium
