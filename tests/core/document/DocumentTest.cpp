#include "core/document/Document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace notarium {
namespace {

// Builds   0 Untitled
//          1   A (expanded)
//          2     A1
//          3     A2
//          4   B (collapsed)
//          5     B1
//          6 Paper Folder
//          7   C
struct SampleTree : ::testing::Test {
    void SetUp() override
    {
        doc.newDocument();
        Node* top = doc.documentNode();
        a = doc.appendNode(top, "A", KindCategory);
        a1 = doc.appendNode(a, "A1", KindMemo);
        a2 = doc.appendNode(a, "A2", KindMemo);
        b = doc.appendNode(top, "B", KindCategory);
        b1 = doc.appendNode(b, "B1", KindResult);
        c = doc.appendNode(doc.paperFolderNode(), "C", KindMemo);
        doc.setExpanded(top, true);
        doc.setExpanded(doc.paperFolderNode(), true);
        doc.setExpanded(a, true);
    }

    std::vector<std::string> titlesInOrder() const
    {
        std::vector<std::string> titles;
        for (const Node* n : doc.nodesInOrder())
            titles.push_back(n->title());
        return titles;
    }

    Document doc;
    Node *a {}, *a1 {}, *a2 {}, *b {}, *b1 {}, *c {};
};

TEST(DocumentBasics, NewDocumentHoldsTheTwoTopLevelNodes)
{
    Document doc;
    EXPECT_EQ(doc.nodeCount(), 0u);
    doc.newDocument();
    ASSERT_EQ(doc.nodeCount(), 2u);
    EXPECT_EQ(doc.documentNode()->title(), "Untitled");
    EXPECT_EQ(doc.documentNode()->imageIndex(), KindDocument);
    EXPECT_EQ(doc.documentNode()->selectedIndex(), KindDocument);
    EXPECT_EQ(doc.paperFolderNode()->title(), "Paper Folder");
    EXPECT_EQ(doc.paperFolderNode()->imageIndex(), KindPaperFolder);
    EXPECT_EQ(doc.documentNode()->data(), nullptr);
    EXPECT_FALSE(doc.hasContent());
    EXPECT_FALSE(doc.isModified());
    // Content is any node beyond the first two, wherever it hangs.
    Node* memo = doc.createUserNode(doc.paperFolderNode(), 0, KindMemo, "memo");
    EXPECT_TRUE(doc.hasContent());
    doc.removeNode(memo);
    EXPECT_FALSE(doc.hasContent());
    doc.setModified(false);
    EXPECT_FALSE(doc.hasBookmarkTable());
}

TEST(DocumentBasics, AssignCopiesEveryField)
{
    TNodeData source;
    source.MemoStr = "body\r\n";
    source.Modify = true;
    source.TopLin = 4;
    source.LinCnt = 5;
    source.SelPos = 6;
    source.SelLen = 7;
    source.TrOpen = true;
    TNodeData target;
    target.Assign(source);
    EXPECT_EQ(target, source);
    EXPECT_EQ(TNodeData {}, TNodeData {}) << "a fresh record is all zero, empty and false";
    EXPECT_FALSE(TNodeData {}.Modify);
}

TEST_F(SampleTree, AbsoluteIndexBothWays)
{
    EXPECT_EQ(titlesInOrder(),
        (std::vector<std::string> { "Untitled", "A", "A1", "A2", "B", "B1", "Paper Folder", "C" }));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(doc.absoluteIndex(doc.nodeAt(i)), i);
    EXPECT_EQ(doc.nodeAt(8), nullptr);
    EXPECT_EQ(doc.nodeAt(-1), nullptr);
    EXPECT_EQ(doc.absoluteIndex(nullptr), -1);
    EXPECT_TRUE(doc.hasContent());

    // The index follows changes of structure.
    doc.removeNode(a1);
    EXPECT_EQ(doc.absoluteIndex(a2), 2);
    EXPECT_EQ(doc.absoluteIndex(c), 6);
    doc.insertNode(doc.paperFolderNode(), 0, "Z", KindMemo);
    EXPECT_EQ(doc.nodeAt(6)->title(), "Z");
    EXPECT_EQ(doc.absoluteIndex(c), 7);
}

TEST_F(SampleTree, PreOrderSteppingBothWays)
{
    std::vector<std::string> forward;
    for (Node* n = doc.documentNode(); n; n = n->next())
        forward.push_back(n->title());
    EXPECT_EQ(forward, titlesInOrder());
    std::vector<std::string> backward;
    for (Node* n = c; n; n = n->prev())
        backward.insert(backward.begin(), n->title());
    EXPECT_EQ(backward, titlesInOrder());
    EXPECT_EQ(b1->level(), 2);
    EXPECT_EQ(doc.documentNode()->level(), 0);
    EXPECT_EQ(doc.documentNode()->subtreeSize(), 6u);
}

TEST_F(SampleTree, VisibleSteppingSkipsCollapsedSubtrees)
{
    std::vector<std::string> forward;
    for (Node* n = doc.documentNode(); n; n = Document::nextVisible(n))
        forward.push_back(n->title());
    EXPECT_EQ(forward, (std::vector<std::string> { "Untitled", "A", "A1", "A2", "B", "Paper Folder", "C" }));
    std::vector<std::string> backward;
    for (Node* n = c; n; n = Document::prevVisible(n))
        backward.insert(backward.begin(), n->title());
    EXPECT_EQ(backward, forward);
    EXPECT_FALSE(Document::isVisible(b1));
    doc.setExpanded(doc.documentNode(), false);
    EXPECT_EQ(Document::nextVisible(doc.documentNode()), doc.paperFolderNode());
    EXPECT_EQ(Document::prevVisible(doc.paperFolderNode()), doc.documentNode());
}

TEST_F(SampleTree, RemovingANodeEmptiesBookmarksIntoItsSubtree)
{
    doc.setBookmark(0, b1);
    doc.setBookmark(3, c);
    doc.setBookmark(9, b);
    doc.removeNode(b);
    ASSERT_TRUE(doc.hasBookmarkTable());
    EXPECT_EQ(doc.bookmark(0), nullptr);
    EXPECT_EQ(doc.bookmark(9), nullptr);
    EXPECT_EQ(doc.bookmark(3), c);
    // An emptied table is still a table, distinct from none at all.
    doc.removeNode(c);
    EXPECT_TRUE(doc.hasBookmarkTable());
    doc.clearDocument();
    EXPECT_FALSE(doc.hasBookmarkTable());
    EXPECT_EQ(doc.nodeCount(), 0u);
}

TEST_F(SampleTree, MovesKeepTheOutlineShape)
{
    EXPECT_FALSE(doc.moveNode(a, a1, 0)) << "into its own subtree";
    EXPECT_FALSE(doc.moveNode(a, a, 0)) << "onto itself";
    EXPECT_FALSE(doc.moveNode(a, doc.root(), 0)) << "to the top level";
    EXPECT_FALSE(doc.moveNode(doc.paperFolderNode(), a, 0)) << "a top-level node";

    EXPECT_TRUE(doc.moveNode(a, doc.paperFolderNode(), 1));
    EXPECT_EQ(titlesInOrder(),
        (std::vector<std::string> { "Untitled", "B", "B1", "Paper Folder", "C", "A", "A1", "A2" }));
    EXPECT_EQ(a->row(), 1);
    EXPECT_EQ(b->row(), 0);
    // Within one parent the row counts after the node has left its place.
    EXPECT_TRUE(doc.moveNode(a2, a, 0));
    EXPECT_EQ(a->child(0), a2);
    EXPECT_EQ(a->child(1), a1);
    EXPECT_EQ(a1->row(), 1);
}

TEST_F(SampleTree, TreeStateCaptureAndApply)
{
    doc.captureTreeState();
    EXPECT_TRUE(a->data()->TrOpen);
    EXPECT_FALSE(b->data()->TrOpen);
    doc.setExpanded(a, false);
    doc.setExpanded(b, true);
    doc.applyTreeState();
    EXPECT_TRUE(a->isExpanded());
    EXPECT_FALSE(b->isExpanded());
}

TEST(DocumentBasics, CreateUserNodeSetsModifiedAndGivesData)
{
    Document doc;
    doc.newDocument();
    Node* n = doc.createUserNode(doc.documentNode(), 0, KindMemo, "Memo");
    ASSERT_NE(n->data(), nullptr);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(n->isUserNode());
    EXPECT_EQ(n->selectedIndex(), KindMemo);
}

// Records the events a view adapter would see.
class Recorder : public NullDocumentObserver {
public:
    void nodesAboutToBeInserted(Node* p, int f, int l) override { log("insert? " + p->title(), f, l); }
    void nodesInserted(Node* p, int f, int l) override { log("insert " + p->title(), f, l); }
    void nodesAboutToBeRemoved(Node* p, int f, int l) override { log("remove? " + p->title(), f, l); }
    void nodesRemoved(Node* p, int f, int l) override { log("remove " + p->title(), f, l); }
    void nodeAboutToBeMoved(Node* n, Node* to, int row) override
    {
        log("move? " + n->title() + ">" + to->title(), row, row);
    }
    void nodeMoved(Node* n, Node* from, int row) override
    {
        log("move " + n->title() + "<" + from->title(), row, row);
    }
    void nodeChanged(Node* n, NodeChange change) override
    {
        log("change " + n->title(), static_cast<int>(change), 0);
    }
    void documentAboutToBeReset() override { events.push_back("reset?"); }
    void documentReset() override { events.push_back("reset"); }
    void modifiedChanged(bool m) override { events.push_back(m ? "modified" : "clean"); }
    void log(const std::string& what, int a, int b)
    {
        events.push_back(what + " " + std::to_string(a) + "," + std::to_string(b));
    }
    std::vector<std::string> events;
};

TEST_F(SampleTree, ObserverHearsEveryChange)
{
    Recorder recorder;
    doc.addObserver(&recorder);
    doc.createUserNode(a, 1, KindMemo, "N");
    doc.setTitle(a1, "A1x");
    doc.setTitle(a1, "A1x"); // unchanged: no event
    doc.moveNode(b1, a, 0);
    doc.removeNode(b);
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> { "insert? A 1,1", "insert A 1,1", "modified", "change A1x 0,0",
            "move? B1>A 0,0", "move B1<B 0,0", "remove? Untitled 1,1", "remove Untitled 1,1" }));
    recorder.events.clear();
    doc.clearDocument();
    doc.newDocument();
    EXPECT_EQ(recorder.events, (std::vector<std::string> { "reset?", "reset", "reset?", "clean", "reset" }));
    doc.removeObserver(&recorder);
}

TEST_F(SampleTree, TakingTheContentOfADocumentReadApart)
{
    // The reader's document, as a read on another thread leaves it.
    Document read;
    read.newDocument();
    Node* memo = read.appendNode(read.documentNode(), "read", KindMemo);
    memo->data()->MemoStr = "body\r\n";
    read.ensureBookmarkTable()[3] = memo;
    read.setOldFormat(true);
    read.setSavedCurrentIndex(1);
    doc.setReadOnly(true);
    doc.setModified(true);
    Recorder recorder;
    doc.addObserver(&recorder);
    doc.takeContentOf(read);
    EXPECT_EQ(recorder.events, (std::vector<std::string> { "reset?", "clean", "reset" }));
    doc.removeObserver(&recorder);

    EXPECT_EQ(doc.nodeCount(), 3u);
    EXPECT_EQ(doc.nodeAt(1), memo);
    EXPECT_EQ(doc.absoluteIndex(memo), 1);
    EXPECT_EQ(doc.bookmarkSlotOf(memo), 3);
    EXPECT_TRUE(doc.isOldFormat());
    EXPECT_EQ(doc.savedCurrentIndex(), 1);
    EXPECT_TRUE(doc.isReadOnly());
    // The reader's document is left empty and can be used again.
    EXPECT_EQ(read.nodeCount(), 0u);
    EXPECT_FALSE(read.hasBookmarkTable());
    read.newDocument();
    EXPECT_EQ(read.nodeCount(), 2u);
    EXPECT_EQ(read.nodeAt(1), read.paperFolderNode());
}

TEST(DocumentBasics, VeryDeepTreesAreSafe)
{
    // Releasing, walking and counting must not recurse once per level.
    Document doc;
    doc.newDocument();
    Node* n = doc.documentNode();
    for (int i = 0; i < 200000; ++i)
        n = doc.appendNode(n, "x", KindMemo);
    EXPECT_EQ(doc.nodeCount(), 200002u);
    EXPECT_EQ(doc.documentNode()->subtreeSize(), 200001u);
    int deepest = 0;
    doc.forEachInOrder([&](const Node*, int level) { deepest = std::max(deepest, level); });
    EXPECT_EQ(deepest, 200000);
    doc.clearDocument();
    EXPECT_EQ(doc.nodeCount(), 0u);
}

} // namespace
} // namespace notarium
