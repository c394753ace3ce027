#include "core/document/CharacterCount.h"

#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"

namespace notarium {

namespace {

std::int64_t countOf(const Node* node)
{
    const TNodeData* data = node->data();
    return data != nullptr ? countCharacters(data->MemoStr) : 0;
}

} // namespace

std::int64_t countCharacters(std::string_view body)
{
    // A trail byte is never below 0x40, so stripping bytes up to 0x20 never splits a character.
    std::size_t end = body.size();
    while (end > 0 && static_cast<unsigned char>(body[end - 1]) <= 0x20)
        --end;
    return static_cast<std::int64_t>(cp932::utf16Length(body.substr(0, end)));
}

CharacterCounts countCharacters(const Document& doc, const Node* selected)
{
    CharacterCounts counts;
    doc.forEachInOrder([&](const Node* node, int) { counts.total += countOf(node); });
    if (selected != nullptr) {
        counts.node = countOf(selected);
        Document::forEachInSubtree(selected, [&](const Node* node, int) { counts.branch += countOf(node); });
    }
    return counts;
}

} // namespace notarium
