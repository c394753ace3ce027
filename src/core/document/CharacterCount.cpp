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
    // One walk: the branch is the selected node and the nodes after it whose level is greater.
    CharacterCounts counts;
    int branchLevel = -1;
    doc.forEachInOrder([&](const Node* node, int level) {
        if (branchLevel >= 0 && level <= branchLevel)
            branchLevel = -1;
        const std::int64_t count = countOf(node);
        counts.total += count;
        if (node == selected) {
            counts.node = count;
            branchLevel = level;
        }
        if (branchLevel >= 0)
            counts.branch += count;
    });
    return counts;
}

} // namespace notarium
