#include "core/document/CharacterCount.h"

#include "core/document/Document.h"

#include <gtest/gtest.h>

#include <string>

namespace notarium {
namespace {

TEST(CharacterCount, TrailingBlanksAndBreaksDoNotCountInnerBreaksCountTwo)
{
    EXPECT_EQ(countCharacters("\x82\xA0\x82\xA2\x82\xA4\r\n"), 3); // three hiragana and a line break
    EXPECT_EQ(countCharacters("ab\r\ncd"), 6);
    EXPECT_EQ(countCharacters("ab \t\r\n\x01\r\n"), 2);
    EXPECT_EQ(countCharacters(" \r\n"), 0);
    EXPECT_EQ(countCharacters(""), 0);
    // Leading blanks count; a half-width katakana is one character.
    EXPECT_EQ(countCharacters("  \xB1"), 3);
    // A double-byte character whose trail byte is a blank-looking byte never happens: trail bytes
    // start at 0x40, so "ー" (81 5B) before trailing blanks stays whole.
    EXPECT_EQ(countCharacters("\x81\x5B  "), 1);
}

//  Untitled ( A "abc" ( A1 "de" ( A11 "f" ) ) B "gh" ) Paper Folder ( P "ijkl" )
struct Counting : ::testing::Test {
    void SetUp() override
    {
        doc.newDocument();
        a = add(doc.documentNode(), "abc");
        a1 = add(a, "de\r\n");
        a11 = add(a1, "f");
        b = add(doc.documentNode(), "gh");
        p = add(doc.paperFolderNode(), "ijkl");
    }
    Node* add(Node* parent, std::string body)
    {
        Node* node = doc.appendNode(parent, "n", KindMemo);
        node->data()->MemoStr = std::move(body);
        return node;
    }

    Document doc;
    Node* a = nullptr;
    Node* a1 = nullptr;
    Node* a11 = nullptr;
    Node* b = nullptr;
    Node* p = nullptr;
};

TEST_F(Counting, NodeBranchAndTotal)
{
    CharacterCounts counts = countCharacters(doc, a1);
    EXPECT_EQ(counts.node, 2);
    EXPECT_EQ(counts.branch, 3);
    EXPECT_EQ(counts.total, 12);

    counts = countCharacters(doc, a11); // no children: the branch is the node
    EXPECT_EQ(counts.node, 1);
    EXPECT_EQ(counts.branch, 1);

    counts = countCharacters(doc, doc.documentNode()); // a top-level node has no text of its own
    EXPECT_EQ(counts.node, 0);
    EXPECT_EQ(counts.branch, 8);
    EXPECT_EQ(counts.total, 12);

    EXPECT_EQ(countCharacters(doc, doc.paperFolderNode()).branch, 4);
}

} // namespace
} // namespace notarium
