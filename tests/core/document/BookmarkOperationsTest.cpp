#include "core/document/BookmarkOperations.h"

#include "core/datafile/DataFile.h"
#include "core/document/TreeOperations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace notarium {
namespace {

// Records which nodes were reported as entering or leaving a slot.
struct BookmarkEvents : NullDocumentObserver {
    std::vector<const Node*> nodes;
    void nodeChanged(Node* node, NodeChange change) override
    {
        if (change == NodeChange::Bookmark)
            nodes.push_back(node);
    }
};

//  Untitled ( A ( A1 A2 ) B ) Paper Folder ( P )
struct Bookmarks : ::testing::Test {
    void SetUp() override
    {
        doc.newDocument();
        a = doc.appendNode(doc.documentNode(), "A", KindCategory);
        a1 = doc.appendNode(a, "A1", KindMemo);
        a2 = doc.appendNode(a, "A2", KindMemo);
        b = doc.appendNode(doc.documentNode(), "B", KindMemo);
        p = doc.appendNode(doc.paperFolderNode(), "P", KindMemo);
        doc.addObserver(&events);
    }
    void TearDown() override { doc.removeObserver(&events); }

    Document doc;
    BookmarkOperations ops { doc };
    BookmarkEvents events;
    Node *a {}, *a1 {}, *a2 {}, *b {}, *p {};
};

using Outcome = BookmarkUse::Outcome;

TEST_F(Bookmarks, TheTargetIsSetTheSelectionOnlyGuardsTheFirstOne)
{
    // No table: a top-level selection stops the command, whatever the target.
    EXPECT_EQ(ops.use(3, doc.paperFolderNode(), a1).outcome, Outcome::Nothing);
    EXPECT_EQ(ops.use(3, a1, doc.paperFolderNode()).outcome, Outcome::Nothing);
    EXPECT_FALSE(doc.hasBookmarkTable());

    EXPECT_EQ(ops.use(3, b, a1).outcome, Outcome::Set);
    EXPECT_EQ(doc.bookmark(3), a1);
    EXPECT_EQ(doc.bookmarkSlotOf(a1), 3);
    EXPECT_EQ(events.nodes, std::vector<const Node*> { a1 });
    // With a table, a top-level selection no longer stops it; a filled slot jumps from anywhere.
    EXPECT_EQ(ops.use(0, doc.documentNode(), p).outcome, Outcome::Set);
    const BookmarkUse jump = ops.use(3, doc.paperFolderNode(), b);
    EXPECT_EQ(jump.outcome, Outcome::Jump);
    EXPECT_EQ(jump.node, a1);
    EXPECT_FALSE(ops.canSet(p));
    EXPECT_TRUE(ops.canSet(a2));
    EXPECT_EQ(ops.use(10, a2, a2).outcome, Outcome::Nothing);
}

TEST_F(Bookmarks, ClearingAndRemovingEmptyTheTableAway)
{
    ops.use(1, a1, a1);
    ops.use(2, a1, b);
    doc.setModified(false);
    events.nodes.clear();
    EXPECT_FALSE(ops.clear(7)); // an empty slot: nothing changes
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(ops.clear(1));
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.hasBookmarkTable());
    EXPECT_EQ(events.nodes, std::vector<const Node*> { a1 });

    // Removed nodes leave their slots; the table goes once asked, the flag left alone.
    doc.setModified(false);
    ops.use(0, a1, a2);
    doc.setModified(false);
    doc.removeNode(a); // with A2
    EXPECT_FALSE(ops.discardIfEmpty());
    doc.removeNode(b);
    EXPECT_TRUE(ops.discardIfEmpty());
    EXPECT_FALSE(doc.hasBookmarkTable());
    EXPECT_FALSE(doc.isModified());

    // A read-only document keeps its flag.
    doc.setReadOnly(true);
    ops.use(4, p, p);
    EXPECT_TRUE(ops.clearAll());
    EXPECT_FALSE(doc.hasBookmarkTable());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Bookmarks, TheFileKeepsTheBookmarkOnItsNodeAfterMoves)
{
    TreeOperations tree(doc);
    ops.use(4, a2, a2);
    ASSERT_TRUE(tree.levelUp(a2)); // A2 after A, at level 1
    ASSERT_TRUE(tree.moveUp(b, false)); // B before A2
    Document back;
    ASSERT_TRUE(parseDataFile(serializeDataFile(doc, 0), back).ok());
    ASSERT_NE(back.bookmark(4), nullptr);
    EXPECT_EQ(back.bookmark(4)->title(), "A2");
    EXPECT_EQ(back.absoluteIndex(back.bookmark(4)), 4); // 3 before the moves
}

TEST(BookmarkExcerpt, CutsAtWholeCharactersAndShowsLineBreaksAsBlanks)
{
    EXPECT_EQ(bookmarkExcerpt("one\r\ntwo\rthree\nfour\r\n"), "one two three four ");
    EXPECT_EQ(bookmarkExcerpt(std::string(120, 'x')), std::string(95, 'x'));
    // "あ" is two bytes: after 94 bytes it would end in its middle.
    EXPECT_EQ(bookmarkExcerpt(std::string(94, 'x') + "\x82\xA0y"), std::string(94, 'x'));
    EXPECT_EQ(bookmarkExcerpt(std::string(93, 'x') + "\x82\xA0y"), std::string(93, 'x') + "\x82\xA0");
}

} // namespace
} // namespace notarium
