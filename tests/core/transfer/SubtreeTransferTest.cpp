#include "core/transfer/SubtreeTransfer.h"
#include "core/document/Document.h"
#include "core/transfer/ContainerStream.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace notarium {
namespace {

// Copy in one window, paste in another: the subtree goes through the clipboard bytes.
Node* pasteThroughStream(const Node* source, Node* target, Document& into)
{
    TCollectionContainer copied;
    CollectSubtree(source, copied);
    const ContainerReadResult r = readContainerStream(writeContainerStream(copied));
    EXPECT_TRUE(r.ok()) << r.error;
    return InsertSubtree(r.container, target, into);
}

Node* addNode(Document& doc, Node* parent, std::string title, int kind, std::string body = {})
{
    Node* n = doc.appendNode(parent, std::move(title), kind);
    n->data()->MemoStr = std::move(body);
    return n;
}

// A node as the user sees it, with its depth below some base node.
struct Seen {
    int depth;
    std::string title;
    int image;
    int selected;
    TNodeData data;

    friend bool operator==(const Seen&, const Seen&) = default;
};

std::vector<Seen> subtreeOf(const Node* top)
{
    std::vector<Seen> out;
    const int base = top->level();
    const Node* end = top->lastDescendant()->next();
    for (const Node* n = top; n != end; n = n->next()) {
        out.push_back(
            { n->level() - base, n->title(), n->imageIndex(), n->selectedIndex(), n->data() ? *n->data() : TNodeData() });
    }
    return out;
}

class SubtreeTransferDoc : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.newDocument();
        category = addNode(doc, doc.documentNode(), "Category", KindCategory);
        memo = addNode(doc, category, "Memo", KindMemo, "memo body\r\nline 2");
        child1 = addNode(doc, memo, "Child 1", KindResult, "one");
        child2 = addNode(doc, memo, "Child 2", KindMemo, "two");
        other = addNode(doc, doc.paperFolderNode(), "Other", KindCategory);
        addNode(doc, other, "Existing", KindMemo);
        doc.setModified(false);
    }

    Document doc;
    Node* category = nullptr;
    Node* memo = nullptr;
    Node* child1 = nullptr;
    Node* child2 = nullptr;
    Node* other = nullptr;
};

TEST_F(SubtreeTransferDoc, CollectGivesPreOrderWithTransferFieldsAndLeavesTheSourceAlone)
{
    memo->data()->TopLin = 4;
    memo->data()->Modify = true;
    child2->data()->TrOpen = true;
    doc.setImageIndexes(child1, 3, 1);
    const TNodeData before = *memo->data();

    TCollectionContainer c;
    CollectSubtree(memo, c);
    ASSERT_EQ(c.count(), 3u);
    const TNodeDataItem& m = c.item(0);
    EXPECT_EQ(m.Caption, "Memo");
    EXPECT_EQ(m.NodeData.MemoStr, "memo body\r\nline 2");
    EXPECT_EQ(m.Level, 2);
    EXPECT_EQ(m.iIndex, KindMemo);
    EXPECT_EQ(m.sIndex, KindMemo);
    EXPECT_EQ(m.NodeData.TopLin, 4);
    EXPECT_TRUE(m.NodeData.Modify);
    EXPECT_EQ(c.item(1).Caption, "Child 1");
    EXPECT_EQ(c.item(1).Level, 3);
    EXPECT_EQ(c.item(1).iIndex, 3);
    EXPECT_EQ(c.item(1).sIndex, 1);
    EXPECT_EQ(c.item(2).Caption, "Child 2");
    EXPECT_EQ(c.item(2).Level, 3);
    EXPECT_TRUE(c.item(2).NodeData.TrOpen);
    EXPECT_EQ(*memo->data(), before);
}

TEST_F(SubtreeTransferDoc, CollectStopsAtTheEndOfTheSubtreeAndAppends)
{
    TCollectionContainer c;
    CollectSubtree(child2, c); // a last child: the walk must not run on to the paper folder
    CollectSubtree(child1, c);
    ASSERT_EQ(c.count(), 2u);
    EXPECT_EQ(c.item(0).Caption, "Child 2");
    EXPECT_EQ(c.item(1).Caption, "Child 1");
}

TEST_F(SubtreeTransferDoc, CollectingATopLevelNodeGivesItemsWithoutNodeData)
{
    TCollectionContainer c;
    CollectSubtree(doc.documentNode(), c);
    ASSERT_EQ(c.count(), 5u);
    EXPECT_EQ(c.item(0).Caption, "Untitled");
    EXPECT_EQ(c.item(0).Level, 0);
    EXPECT_EQ(c.item(0).iIndex, KindDocument);
    EXPECT_TRUE(c.item(0).NodeData.MemoStr.empty());
    TCollectionContainer none;
    CollectSubtree(doc.root(), none);
    CollectSubtree(nullptr, none);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(SubtreeTransferDoc, MemoWithTwoChildrenPastedUnderACategoryBecomesItsLastChild)
{
    const std::vector<Seen> source = subtreeOf(memo);
    Node* first = pasteThroughStream(memo, other, doc);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, other->lastChild());
    EXPECT_EQ(other->childCount(), 2);
    EXPECT_EQ(subtreeOf(first), source);
    EXPECT_EQ(first->childCount(), 2);
    // The source is still there: this is a copy.
    EXPECT_EQ(category->childCount(), 1);
    EXPECT_EQ(subtreeOf(memo), source);
}

TEST_F(SubtreeTransferDoc, PasteIntoAnotherDocumentUnderATopLevelNode)
{
    Document into;
    into.newDocument();
    Node* first = pasteThroughStream(category, into.paperFolderNode(), into);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->level(), 1);
    EXPECT_EQ(subtreeOf(first), subtreeOf(category));
    EXPECT_EQ(into.nodeCount(), 2u + 4u);
    EXPECT_EQ(into.absoluteIndex(first), 2);
}

TEST_F(SubtreeTransferDoc, SubtreeFromLevel3UnderALevel1NodeStartsAtLevel2)
{
    Node* deep = addNode(doc, child1, "Deep", KindMemo, "d");
    addNode(doc, deep, "Deeper", KindResult);
    addNode(doc, deep, "Deeper 2", KindMemo);
    ASSERT_EQ(child1->level(), 3);
    Node* first = pasteThroughStream(child1, other, doc);
    ASSERT_EQ(other->level(), 1);
    EXPECT_EQ(first->level(), 2);
    EXPECT_EQ(first->firstChild()->level(), 3);
    EXPECT_EQ(first->firstChild()->lastChild()->level(), 4);
    EXPECT_EQ(subtreeOf(first), subtreeOf(child1));
}

TEST_F(SubtreeTransferDoc, ExpandsACollapsedTargetOneLevelAndLeavesTheModifiedFlagToTheCommand)
{
    ASSERT_FALSE(other->isExpanded());
    TCollectionContainer c;
    CollectSubtree(memo, c);
    Node* first = InsertSubtree(c, other, doc);
    EXPECT_TRUE(other->isExpanded());
    EXPECT_FALSE(first->isExpanded());
    EXPECT_FALSE(doc.isModified());

    doc.setExpanded(category, true);
    InsertSubtree(c, category, doc);
    EXPECT_TRUE(category->isExpanded());
}

TEST_F(SubtreeTransferDoc, NothingToInsertOrNowhereToInsertChangesNothing)
{
    const std::size_t count = doc.nodeCount();
    EXPECT_EQ(InsertSubtree(TCollectionContainer(), other, doc), nullptr);
    EXPECT_FALSE(other->isExpanded());
    TCollectionContainer c;
    CollectSubtree(memo, c);
    EXPECT_EQ(InsertSubtree(c, nullptr, doc), nullptr);
    EXPECT_EQ(InsertSubtree(c, doc.root(), doc), nullptr);
    EXPECT_EQ(doc.nodeCount(), count);
    EXPECT_EQ(doc.root()->childCount(), 2);
}

// Levels a stream may carry, and the parent each item must get: -1 is the target, i >= 0 the
// item i.
struct ShapeCase {
    const char* name;
    std::vector<std::int32_t> levels;
    std::vector<int> parents;
};

void PrintTo(const ShapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class SubtreeTransferShapes : public ::testing::TestWithParam<ShapeCase> { };

TEST_P(SubtreeTransferShapes, RelativeLevelsNeverClimbPastTheTarget)
{
    const ShapeCase& c = GetParam();
    Document d;
    d.newDocument();
    Node* target = d.appendNode(d.documentNode(), "target", KindCategory);
    d.appendNode(target, "before", KindMemo);
    Node* after = d.appendNode(d.documentNode(), "after", KindCategory);

    TCollectionContainer items;
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
        TNodeDataItem& item = items.add();
        item.Level = c.levels[i];
        item.Caption = "item " + std::to_string(i);
        item.iIndex = item.sIndex = KindMemo;
    }
    Node* first = InsertSubtree(items, target, d);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, target->child(1));

    std::vector<Node*> made;
    const Node* end = target->lastDescendant()->next();
    for (Node* n = first; n != end; n = n->next())
        made.push_back(n);
    ASSERT_EQ(made.size(), c.levels.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(made[i]->title(), "item " + std::to_string(i));
        const Node* expected = c.parents[i] < 0 ? target : made[static_cast<std::size_t>(c.parents[i])];
        EXPECT_EQ(made[i]->parent(), expected) << "item " << i;
    }
    // Nothing landed beside or above the target.
    EXPECT_EQ(d.documentNode()->childCount(), 2);
    EXPECT_EQ(after->childCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, SubtreeTransferShapes,
    ::testing::Values(ShapeCase { "collected", { 3, 4, 5, 4, 3, 4 }, { -1, 0, 1, 0, -1, 4 } },
        ShapeCase { "siblings", { 7, 7, 7 }, { -1, -1, -1 } },
        ShapeCase { "jump deeper", { 1, 5, 9, 6 }, { -1, 0, 1, 1 } },
        ShapeCase { "back between jumps", { 1, 5, 3, 4 }, { -1, 0, 0, 2 } },
        ShapeCase { "climb above the first", { 5, 6, 2, 3, 0 }, { -1, 0, -1, 2, -1 } },
        ShapeCase { "negative", { -4, -3, -100 }, { -1, 0, -1 } },
        ShapeCase { "extremes", { INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX }, { -1, 0, -1, 2 } }),
    [](const ::testing::TestParamInfo<ShapeCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(SubtreeTransferDeep, AHundredThousandLevelsCollectStreamAndInsertWithoutRecursion)
{
    constexpr int kDepth = 100000;
    Document from;
    from.newDocument();
    Node* top = from.appendNode(from.documentNode(), "0", KindCategory);
    Node* n = top;
    for (int i = 1; i < kDepth; ++i)
        n = from.appendNode(n, std::to_string(i), KindMemo);
    from.appendNode(top, "sibling", KindResult);

    TCollectionContainer c;
    CollectSubtree(top, c);
    ASSERT_EQ(c.count(), static_cast<std::size_t>(kDepth) + 1);
    EXPECT_EQ(c.item(kDepth - 1).Level, kDepth);
    EXPECT_EQ(c.item(kDepth).Level, 2);

    const ContainerReadResult r = readContainerStream(writeContainerStream(c));
    ASSERT_TRUE(r.ok()) << r.error;
    Document into;
    into.newDocument();
    Node* first = InsertSubtree(r.container, into.paperFolderNode(), into);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(into.nodeCount(), 2u + kDepth + 1);
    EXPECT_EQ(first->lastChild()->title(), "sibling");
    EXPECT_EQ(first->firstChild()->title(), "1");
    const Node* last = first;
    while (last->hasChildren())
        last = last->firstChild();
    EXPECT_EQ(last->title(), std::to_string(kDepth - 1));
}

// Builds a random outline with every kind of field filled, copies a random node's subtree through
// the stream into a random place of another document and compares what the user would see.
class SubtreeTransferRoundTrip : public ::testing::TestWithParam<unsigned> { };

std::string randomText(std::mt19937& random, std::size_t maxLength)
{
    static const std::vector<std::string> pieces
        = { "a", "Z", " ", "\r\n", "\x82\xA0", "\x88\x9F", "\x81\x5C", "\x83\x41", "\0", "\xFF", "\t" };
    std::string s;
    const std::size_t length = random() % (maxLength + 1);
    while (s.size() < length)
        s += pieces[random() % pieces.size()];
    return s;
}

std::int32_t randomInteger(std::mt19937& random)
{
    static const std::int32_t values[]
        = { 0, 1, -1, 127, 128, -129, 32767, 32768, -32769, INT32_MIN, INT32_MAX };
    return random() % 2 ? values[random() % std::size(values)] : static_cast<std::int32_t>(random());
}

void fillRandomTree(Document& d, std::mt19937& random, int count)
{
    std::vector<Node*> nodes = { d.documentNode(), d.paperFolderNode() };
    for (int i = 0; i < count; ++i) {
        Node* parent = nodes[random() % nodes.size()];
        Node* n = d.appendNode(parent, randomText(random, 12), KindCategory + static_cast<int>(random() % 3));
        TNodeData& data = *n->data();
        data.MemoStr = randomText(random, random() % 4 == 0 ? 600 : 40);
        data.Modify = random() % 2;
        data.TrOpen = random() % 2;
        data.TopLin = randomInteger(random);
        data.LinCnt = randomInteger(random);
        data.SelPos = randomInteger(random);
        data.SelLen = randomInteger(random);
        if (random() % 5 == 0)
            d.setImageIndexes(n, n->imageIndex(), static_cast<int>(random() % 5));
        nodes.push_back(n);
    }
}

TEST_P(SubtreeTransferRoundTrip, CopiedSubtreeArrivesUnchanged)
{
    std::mt19937 random(GetParam());
    Document from;
    from.newDocument();
    fillRandomTree(from, random, 60);
    Document into;
    into.newDocument();
    fillRandomTree(into, random, 20);

    const auto& fromNodes = from.nodesInOrder();
    const Node* source = nullptr;
    while (source == nullptr || !source->isUserNode())
        source = fromNodes[random() % fromNodes.size()];
    std::vector<Node*> targets = into.nodesInOrder();
    Node* target = targets[random() % targets.size()];
    const int targetChildren = target->childCount();
    const std::size_t before = into.nodeCount();

    Node* first = pasteThroughStream(source, target, into);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parent(), target);
    EXPECT_EQ(first->row(), targetChildren);
    EXPECT_EQ(first->level(), target->level() + 1);
    EXPECT_EQ(subtreeOf(first), subtreeOf(source));
    EXPECT_EQ(into.nodeCount(), before + source->subtreeSize());
}

INSTANTIATE_TEST_SUITE_P(Seeds, SubtreeTransferRoundTrip, ::testing::Range(1u, 41u));

} // namespace
} // namespace notarium
