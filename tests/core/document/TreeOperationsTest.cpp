#include "core/document/TreeOperations.h"

#include "core/document/MemoWizard.h"

#include "MirrorObserver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace notarium {
namespace {

const std::vector<std::string> kTitles { "Category", "Memo", "Result" };

// Trees are written as outlines: "D+(A+(A1 A2) B) P(C)" is the document node D (expanded) with the
// children A (expanded, holding A1 and A2) and B, then the paper folder P with the child C. Every
// user node is a memo unless a test says otherwise.
void build(Document& doc, const std::string& text)
{
    doc.newDocument();
    std::vector<Node*> parents { doc.root() };
    Node* last = nullptr;
    int topLevel = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '(') {
            parents.push_back(last);
            ++i;
        } else if (c == ')') {
            parents.pop_back();
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])))
                ++end;
            const std::string title = text.substr(i, end - i);
            if (parents.back()->isRoot()) {
                last = topLevel++ == 0 ? doc.documentNode() : doc.paperFolderNode();
                doc.setTitle(last, title);
            } else {
                last = doc.appendNode(parents.back(), title, KindMemo);
            }
            i = end;
            if (i < text.size() && text[i] == '+') {
                doc.setExpanded(last, true);
                ++i;
            }
        }
    }
    doc.setModified(false);
}

// The tree in the notation of build(); '+' marks only when asked for.
std::string outline(const Document& doc, bool withExpansion = false)
{
    std::string out;
    int previous = -1;
    doc.forEachInOrder([&](const Node* node, int level) {
        if (level > previous && previous >= 0)
            out += '(';
        for (int l = previous; l > level; --l)
            out += ')';
        if (level <= previous)
            out += ' ';
        out += node->title();
        if (withExpansion && node->isExpanded())
            out += '+';
        previous = level;
    });
    for (int l = previous; l > 0; --l)
        out += ')';
    return out;
}

class TreeOps : public ::testing::Test {
protected:
    void load(const std::string& text)
    {
        doc.removeObserver(&mirror);
        build(doc, text);
        mirror.reset(doc);
        doc.addObserver(&mirror);
    }

    Node* n(const std::string& title) const
    {
        for (Node* node : doc.nodesInOrder())
            if (node->title() == title)
                return node;
        ADD_FAILURE() << "no node " << title;
        return nullptr;
    }

    // What every command must keep: the cached absolute index equals a fresh pre-order walk, the
    // parent and row links agree, the two top-level nodes are the only ones, and a view that only
    // listens to events still shows the same tree.
    void expectConsistent() const
    {
        std::vector<const Node*> walk;
        std::vector<const Node*> pending;
        const Node* root = doc.root();
        ASSERT_EQ(root->childCount(), 2);
        EXPECT_EQ(root->child(0)->imageIndex(), KindDocument);
        EXPECT_EQ(root->child(1)->imageIndex(), KindPaperFolder);
        for (int row = root->childCount() - 1; row >= 0; --row)
            pending.push_back(root->child(row));
        while (!pending.empty()) {
            const Node* node = pending.back();
            pending.pop_back();
            walk.push_back(node);
            ASSERT_EQ(node->parent()->child(node->row()), node);
            EXPECT_EQ(node->data() != nullptr, node->isUserNode());
            for (int row = node->childCount() - 1; row >= 0; --row)
                pending.push_back(node->child(row));
        }
        ASSERT_EQ(doc.nodeCount(), walk.size());
        for (std::size_t i = 0; i < walk.size(); ++i) {
            ASSERT_EQ(doc.nodeAt(static_cast<long long>(i)), walk[i]) << "index " << i;
            ASSERT_EQ(doc.absoluteIndex(walk[i]), static_cast<int>(i));
        }
        EXPECT_EQ(doc.nodeAt(static_cast<long long>(walk.size())), nullptr);
        EXPECT_EQ(mirror.mismatch(doc), "");
    }

    void TearDown() override
    {
        expectConsistent();
        doc.removeObserver(&mirror);
    }

    Document doc;
    TreeOperations ops { doc };
    testing::MirrorObserver mirror;
};

// ---- Moves, driven by tables -------------------------------------------------------------------

struct MoveCase {
    const char* name;
    const char* tree;
    const char* target;
    bool skipClosedTree;
    const char* expected; // null: refused
};

void PrintTo(const MoveCase& c, std::ostream* os)
{
    *os << c.name;
}

class TreeOpsMove : public TreeOps, public ::testing::WithParamInterface<MoveCase> {
protected:
    void runMove(bool (TreeOperations::*move)(Node*, bool))
    {
        const MoveCase& c = GetParam();
        load(c.tree);
        const std::string before = outline(doc, true);
        Node* target = n(c.target);
        const bool acted = (ops.*move)(target, c.skipClosedTree);
        if (c.expected == nullptr) {
            EXPECT_FALSE(acted);
            EXPECT_EQ(outline(doc, true), before) << "a refused move changes nothing";
            EXPECT_FALSE(doc.isModified());
            EXPECT_EQ(mirror.events, 0);
            return;
        }
        EXPECT_TRUE(acted);
        EXPECT_EQ(outline(doc), c.expected);
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(target->title(), c.target);
        EXPECT_FALSE(target->isExpanded()) << "a moved node comes out collapsed";
        EXPECT_TRUE(target->parent()->isExpanded()) << "its new parent shows it";
    }
};

class TreeOpsMoveDown : public TreeOpsMove { };
class TreeOpsMoveUp : public TreeOpsMove { };

TEST_P(TreeOpsMoveDown, Shape)
{
    runMove(&TreeOperations::moveDown);
}

TEST_P(TreeOpsMoveUp, Shape)
{
    runMove(&TreeOperations::moveUp);
}

std::string caseName(const ::testing::TestParamInfo<MoveCase>& info)
{
    return std::string(info.param.name) + (info.param.skipClosedTree ? "_Skip" : "_NoSkip");
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeOpsMoveDown,
    ::testing::Values(MoveCase { "SwapsWithLeafSibling", "D+(A B C) P", "A", true, "D(B A C) P" },
        MoveCase { "SwapsWithLeafSibling", "D+(A B C) P", "A", false, "D(B A C) P" },
        MoveCase { "StepsOverCollapsedSibling", "D+(A B(B1)) P", "A", true, "D(B(B1) A) P" },
        MoveCase { "EntersCollapsedSibling", "D+(A B(B1)) P", "A", false, "D(B(A B1)) P" },
        MoveCase { "EntersExpandedSibling", "D+(A B+(B1)) P", "A", true, "D(B(A B1)) P" },
        MoveCase { "LastChildIntoFollowingLeaf", "D+(A+(A1 A2) B) P", "A2", true, "D(A(A1) B(A2)) P" },
        MoveCase { "LastChildStepsOverCollapsedUncle", "D+(A+(A1) B(B1)) P", "A1", true, "D(A B(B1) A1) P" },
        MoveCase { "LastChildIntoCollapsedUncle", "D+(A+(A1) B(B1)) P", "A1", false, "D(A B(A1 B1)) P" },
        MoveCase { "ExpandedTargetMovesWithItsSubtree", "D+(A+(A1) B) P", "A", true, "D(B A(A1)) P" },
        MoveCase { "IntoExpandedPaperFolder", "D+(A) P+(C)", "A", true, "D P(A C)" },
        MoveCase { "IntoEmptyPaperFolder", "D+(A) P", "A", true, "D P(A)" },
        MoveCase { "PastCollapsedPaperFolder", "D+(A) P(C)", "A", true, nullptr },
        MoveCase { "IntoCollapsedPaperFolder", "D+(A) P(C)", "A", false, "D P(A C)" },
        MoveCase { "LastVisibleNode", "D+(A) P+(C)", "C", true, nullptr },
        MoveCase { "LastVisibleNode", "D+(A) P+(C)", "C", false, nullptr },
        MoveCase { "LastNodeWithOpenSubtree", "D+(A) P+(C+(C1))", "C", true, nullptr },
        MoveCase { "HiddenNode", "D+(A(A1) B) P", "A1", false, nullptr }),
    caseName);

INSTANTIATE_TEST_SUITE_P(Cases, TreeOpsMoveUp,
    ::testing::Values(MoveCase { "SwapsWithLeafSibling", "D+(A B) P", "B", true, "D(B A) P" },
        MoveCase { "SwapsWithLeafSibling", "D+(A B) P", "B", false, "D(B A) P" },
        MoveCase { "StepsOverCollapsedSibling", "D+(A(A1) B) P", "B", true, "D(B A(A1)) P" },
        MoveCase { "EntersCollapsedSibling", "D+(A(A1) B) P", "B", false, "D(A(B A1)) P" },
        MoveCase { "EntersExpandedSiblingBeforeItsLast", "D+(A+(A1 A2) B) P", "B", true, "D(A(A1 B A2)) P" },
        MoveCase { "EntersDeepestLastNode", "D+(A+(A1+(A11)) B) P", "B", false, "D(A(A1(B A11))) P" },
        MoveCase { "FirstChildLeavesItsParent", "D+(A+(A1 A2)) P", "A1", true, "D(A1 A(A2)) P" },
        MoveCase { "PaperFolderFirstAfterLastVisible", "D+(A+(A1)) P+(C)", "C", true, "D(A(A1 C)) P" },
        MoveCase { "PaperFolderFirstAfterCollapsedBranch", "D+(A(A1)) P+(C)", "C", true, "D(A(A1) C) P" },
        MoveCase { "PaperFolderFirstAfterLastInOrder", "D+(A(A1)) P+(C)", "C", false, "D(A(A1 C)) P" },
        MoveCase { "PaperFolderFirstUnderCollapsedDocument", "D(A) P+(C)", "C", true, nullptr },
        MoveCase { "PaperFolderFirstUnderCollapsedDocument", "D(A) P+(C)", "C", false, "D(A C) P" },
        MoveCase { "PaperFolderFirstEmptyDocument", "D P+(C)", "C", true, nullptr },
        MoveCase { "PaperFolderFirstEmptyDocument", "D P+(C)", "C", false, nullptr },
        MoveCase { "FirstUserNode", "D+(A B) P", "A", true, nullptr },
        MoveCase { "FirstUserNode", "D+(A B) P", "A", false, nullptr }),
    caseName);

TEST_F(TreeOps, MovedNodeComesOutCollapsedThroughout)
{
    // B holds an open subtree that the pane does not show; stepping over it collapses B's subtree
    // too, and A (moved) loses its open descendants.
    load("D+(A+(A1+(A11)) B(B1+(B11))) P");
    ASSERT_TRUE(ops.moveDown(n("A"), true));
    EXPECT_EQ(outline(doc, true), "D+(B(B1(B11)) A(A1(A11))) P");
}

TEST_F(TreeOps, OldParentLeftEmptyLosesItsExpandedState)
{
    load("D+(A+(A1) B) P");
    ASSERT_TRUE(ops.moveDown(n("A1"), true));
    EXPECT_EQ(outline(doc, true), "D+(A B+(A1)) P");
    // A new child under A does not appear open just because A once was.
    ops.addChildNode(n("A"), KindMemo, "X");
    EXPECT_FALSE(n("A")->isExpanded());
}

// ---- Dropping a dragged node -------------------------------------------------------------------

TEST_F(TreeOps, DropPlacesTheNodeWithItsSubtree)
{
    using Place = TreeOperations::DropPlace;
    load("D+(A+(A1 A2) B+(B1)) P(C)");
    ASSERT_TRUE(ops.dropNode(n("A"), n("B"), Place::FirstChild));
    EXPECT_EQ(outline(doc), "D(B(A(A1 A2) B1)) P(C)");
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(ops.dropNode(n("C"), n("B"), Place::LastChild));
    EXPECT_EQ(outline(doc), "D(B(A(A1 A2) B1 C)) P");
    ASSERT_TRUE(ops.dropNode(n("B1"), n("A1"), Place::PreviousSibling));
    EXPECT_EQ(outline(doc), "D(B(A(B1 A1 A2) C)) P");
    // A top-level node takes dragged nodes as children.
    ASSERT_TRUE(ops.dropNode(n("A2"), n("P"), Place::FirstChild));
    EXPECT_EQ(outline(doc), "D(B(A(B1 A1) C)) P(A2)");
    expectConsistent();
}

TEST_F(TreeOps, DropRefusesWhatWouldBreakTheTree)
{
    using Place = TreeOperations::DropPlace;
    load("D+(A+(A1+(A11)) B) P");
    const std::string before = outline(doc, true);
    for (const Place place : { Place::FirstChild, Place::LastChild, Place::PreviousSibling }) {
        EXPECT_FALSE(ops.dropNode(n("A"), n("A"), place));
        EXPECT_FALSE(ops.dropNode(n("A"), n("A11"), place));
        EXPECT_FALSE(ops.dropNode(n("D"), n("B"), place));
        EXPECT_FALSE(ops.dropNode(nullptr, n("B"), place));
        EXPECT_FALSE(ops.dropNode(n("B"), nullptr, place));
    }
    // Beside a top-level node the dragged node would be a third top-level node.
    EXPECT_FALSE(ops.dropNode(n("B"), n("P"), Place::PreviousSibling));
    doc.setReadOnly(true);
    EXPECT_FALSE(ops.dropNode(n("B"), n("A1"), Place::FirstChild));
    EXPECT_EQ(outline(doc, true), before);
    EXPECT_FALSE(doc.isModified());
}

// ---- Levels ------------------------------------------------------------------------------------

TEST_F(TreeOps, LevelUpKeepsChildrenAndLeavesFollowingSiblings)
{
    load("D+(A+(A1 A2+(X) A3)) P");
    ASSERT_TRUE(ops.levelUp(n("A2")));
    EXPECT_EQ(outline(doc, true), "D+(A+(A1 A3) A2+(X)) P");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(TreeOps, LevelUpOfCollapsedOnlyChild)
{
    load("D+(A+(A1(X))) P");
    ASSERT_TRUE(ops.levelUp(n("A1")));
    EXPECT_EQ(outline(doc, true), "D+(A A1(X)) P");
}

TEST_F(TreeOps, LevelDownBecomesLastChildAndStaysOpen)
{
    load("D+(A(A1) B+(B1)) P");
    ASSERT_TRUE(ops.levelDown(n("B")));
    EXPECT_EQ(outline(doc, true), "D+(A+(A1 B+(B1))) P");
}

TEST_F(TreeOps, LevelUpChildrenThenLevelDownSiblingsGivesTheShapeBack)
{
    load("D+(X A+(A1 A2+(A21) A3)) P+(C)");
    const std::string shape = outline(doc);
    ASSERT_TRUE(ops.levelUpChildren(n("A")));
    EXPECT_EQ(outline(doc, true), "D+(X A A1 A2(A21) A3) P+(C)");
    ASSERT_TRUE(ops.levelDownSiblings(n("A")));
    EXPECT_EQ(outline(doc, true), "D+(X A+(A1 A2(A21) A3)) P+(C)");
    EXPECT_EQ(outline(doc), shape);
}

TEST_F(TreeOps, LevelDownSiblingsTakesEveryFollowingSibling)
{
    load("D+(X A B(B1) C) P");
    ASSERT_TRUE(ops.levelDownSiblings(n("A")));
    EXPECT_EQ(outline(doc), "D(X A(B(B1) C)) P");
}

// ---- Delete ------------------------------------------------------------------------------------

TEST_F(TreeOps, DeleteRemovesTheSubtreeAndItsBookmarks)
{
    load("D+(A+(A1 A2+(A21)) B) P");
    doc.setBookmark(0, n("A21"));
    doc.setBookmark(1, n("B"));
    EXPECT_EQ(ops.deleteSubtree(n("A"), n("A21")), n("B"));
    EXPECT_EQ(outline(doc), "D(B) P");
    EXPECT_EQ(doc.bookmark(0), nullptr);
    EXPECT_EQ(doc.bookmark(1), n("B"));
    EXPECT_TRUE(doc.isModified());
}

struct DeleteCase {
    const char* target;
    const char* selected;
    const char* expectedSelection;
    const char* expectedTree;
};

class TreeOpsDelete : public TreeOps, public ::testing::WithParamInterface<DeleteCase> { };

TEST_P(TreeOpsDelete, SelectsWhatTheViewWould)
{
    const DeleteCase& c = GetParam();
    load("D+(A+(A1 A2) B+(B1)) P+(C)");
    Node* selection = ops.deleteSubtree(n(c.target), n(c.selected));
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->title(), c.expectedSelection);
    EXPECT_EQ(outline(doc, true), c.expectedTree);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeOpsDelete,
    ::testing::Values(DeleteCase { "A1", "A1", "A2", "D+(A+(A2) B+(B1)) P+(C)" },
        DeleteCase { "A2", "A2", "A1", "D+(A+(A1) B+(B1)) P+(C)" },
        DeleteCase { "B1", "B1", "B", "D+(A+(A1 A2) B) P+(C)" },
        DeleteCase { "C", "C", "P", "D+(A+(A1 A2) B+(B1)) P" },
        DeleteCase { "A", "C", "C", "D+(B+(B1)) P+(C)" }));

// ---- New nodes ---------------------------------------------------------------------------------

TEST_F(TreeOps, NewNodeStandsDirectlyAfterTheTarget)
{
    load("D+(A+(A1) B) P");
    Node* memo = ops.newMemo(n("A"), kTitles);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(outline(doc, true), "D+(A+(A1) Memo B) P");
    EXPECT_EQ(memo->imageIndex(), KindMemo);
    EXPECT_EQ(memo->selectedIndex(), KindMemo);
    ASSERT_NE(memo->data(), nullptr);
    EXPECT_EQ(*memo->data(), TNodeData {});
    EXPECT_TRUE(doc.isModified());
    Node* category = ops.newCategory(n("B"), kTitles);
    EXPECT_EQ(category->imageIndex(), KindCategory);
    EXPECT_EQ(outline(doc), "D(A(A1) Memo B Category) P");
}

TEST_F(TreeOps, NewNodeUnderATopLevelTargetIsItsLastChild)
{
    load("D+(A) P");
    EXPECT_EQ(ops.newCategory(doc.documentNode(), kTitles)->parent(), doc.documentNode());
    EXPECT_EQ(ops.newMemo(doc.paperFolderNode(), kTitles)->parent(), doc.paperFolderNode());
    EXPECT_EQ(outline(doc), "D(A Category) P(Memo)");
}

TEST_F(TreeOps, ResultIsAlwaysALastChild)
{
    load("D+(A(A1) B) P");
    Node* result = ops.newResult(n("A"), kTitles);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->imageIndex(), KindResult);
    EXPECT_EQ(outline(doc), "D(A(A1 Result) B) P");
    EXPECT_EQ(ops.newResult(doc.documentNode(), kTitles), nullptr);
}

TEST_F(TreeOps, ChildCommandsAppendUnderAnyNode)
{
    load("D+(A(A1)) P");
    ops.newChildMemo(n("A"), kTitles);
    ops.newChildCategory(doc.paperFolderNode(), kTitles);
    EXPECT_EQ(outline(doc), "D(A(A1 Memo)) P(Category)");
}

TEST_F(TreeOps, RepeatedInsertAfterTheNewNodeKeepsTypingOrder)
{
    load("D+(M X) P");
    Node* target = n("M");
    for (const char* title : { "T1", "T2", "T3" })
        target = ops.insertNodeAfter(target, KindMemo, title);
    EXPECT_EQ(outline(doc), "D(M T1 T2 T3 X) P");
}

TEST_F(TreeOps, AppendSiblingLeavesTheTargetInPlace)
{
    load("D+(A+(A1) B C) P");
    ops.appendSiblingNode(n("A"), KindMemo, "T1");
    ops.appendSiblingNode(n("A"), KindCategory, "T2");
    EXPECT_EQ(outline(doc, true), "D+(A+(A1) B C T1 T2) P");
    EXPECT_EQ(n("T2")->imageIndex(), KindCategory);
    EXPECT_EQ(ops.appendSiblingNode(doc.paperFolderNode(), KindMemo, "T3"), nullptr);
}

TEST_F(TreeOps, WizardPlacesEachChoiceAndFallsBackBelowATopLevelTarget)
{
    load("D+(A+(A1) B) P");
    // Each new node after the one before: the series stands in typing order after A.
    Node* target = n("A");
    for (const char* title : { "W1", "W2" })
        target = createWizardNode(ops, target, WizardPlacement::Memo, false, title);
    EXPECT_EQ(outline(doc), "D(A(A1) W1 W2 B) P");
    // Kept selection: same-level nodes go to the end of the siblings, the target stays.
    createWizardNode(ops, n("A"), WizardPlacement::Category, true, "E1");
    createWizardNode(ops, n("A"), WizardPlacement::Memo, true, "E2");
    EXPECT_EQ(outline(doc), "D(A(A1) W1 W2 B E1 E2) P");
    EXPECT_EQ(n("E1")->imageIndex(), KindCategory);
    createWizardNode(ops, n("B"), WizardPlacement::ChildCategory, false, "C1");
    createWizardNode(ops, n("B"), WizardPlacement::Result, false, "R1");
    EXPECT_EQ(outline(doc), "D(A(A1) W1 W2 B(C1 R1) E1 E2) P");
    EXPECT_EQ(n("R1")->imageIndex(), KindResult);
    // A top-level target: the same level becomes the last child, and no result.
    createWizardNode(ops, doc.paperFolderNode(), WizardPlacement::Memo, true, "P1");
    createWizardNode(ops, doc.paperFolderNode(), WizardPlacement::Category, false, "P2");
    EXPECT_EQ(createWizardNode(ops, doc.paperFolderNode(), WizardPlacement::Result, false, "X"), nullptr);
    EXPECT_EQ(outline(doc), "D(A(A1) W1 W2 B(C1 R1) E1 E2) P(P1 P2)");
}

TEST_F(TreeOps, ShortTitleListGivesEmptyTitles)
{
    load("D+(A) P");
    const std::vector<std::string> oneTitle { "Only" };
    EXPECT_EQ(ops.newCategory(n("A"), oneTitle)->title(), "Only");
    EXPECT_EQ(ops.newMemo(n("A"), oneTitle)->title(), "");
    EXPECT_EQ(ops.newResult(n("A"), {})->title(), "");
}

// ---- Exchange ----------------------------------------------------------------------------------

struct ExchangeCase {
    bool memoResult; // else category <-> memo
    int from;
    int to;
};

class TreeOpsExchange : public TreeOps, public ::testing::WithParamInterface<ExchangeCase> { };

TEST_P(TreeOpsExchange, SwapsOnlyItsPair)
{
    const ExchangeCase& c = GetParam();
    load("D+(A) P");
    doc.setKind(n("A"), c.from);
    doc.setModified(false);
    const bool acted = c.memoResult ? ops.exchangeMemoResult(n("A")) : ops.exchangeCategoryMemo(n("A"));
    EXPECT_EQ(acted, c.from != c.to);
    EXPECT_EQ(doc.isModified(), acted);
    EXPECT_EQ(n("A")->imageIndex(), c.to);
    EXPECT_EQ(n("A")->selectedIndex(), c.to);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeOpsExchange,
    ::testing::Values(ExchangeCase { false, KindCategory, KindMemo },
        ExchangeCase { false, KindMemo, KindCategory }, ExchangeCase { false, KindResult, KindResult },
        ExchangeCase { true, KindMemo, KindResult }, ExchangeCase { true, KindResult, KindMemo },
        ExchangeCase { true, KindCategory, KindCategory }));

TEST_F(TreeOps, ExchangeRepairsAStraySelectedIndex)
{
    load("D+(A) P");
    doc.setImageIndexes(n("A"), KindResult, KindMemo);
    EXPECT_TRUE(ops.exchangeCategoryMemo(n("A")));
    EXPECT_EQ(n("A")->selectedIndex(), KindResult);
}

// ---- View commands -----------------------------------------------------------------------------

TEST_F(TreeOps, ExpandAllThenRestore)
{
    load("D+(A(A1+(A11)) B+(B1)) P(C)");
    const std::string before = outline(doc, true);
    ASSERT_TRUE(ops.expandAll(n("A"), n("B")));
    EXPECT_EQ(outline(doc, true), "D+(A+(A1+(A11)) B+(B1)) P+(C)");
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.savedCurrentIndex(), doc.absoluteIndex(n("A")));
    EXPECT_EQ(doc.savedTopIndex(), doc.absoluteIndex(n("B")));

    const TreeStateRestore restore = ops.restoreTreeState();
    EXPECT_EQ(restore.selection, n("A"));
    EXPECT_EQ(restore.topVisible, n("B"));
    // The top-level nodes keep their current state; every user node gets its captured one back.
    EXPECT_EQ(outline(doc, true), "D+(A(A1+(A11)) B+(B1)) P+(C)");
    EXPECT_NE(outline(doc, true), before);
}

TEST_F(TreeOps, CollapseAllKeepsTheTopLevelOpenAndSelectsTheLevelOneAncestor)
{
    load("D+(A+(A1+(A11))) P+(C+(C1))");
    EXPECT_EQ(ops.collapseAll(n("A11"), n("A")), n("A"));
    EXPECT_EQ(outline(doc, true), "D+(A(A1(A11))) P+(C(C1))");
    EXPECT_EQ(doc.savedCurrentIndex(), doc.absoluteIndex(n("A11")));
    ops.restoreTreeState();
    EXPECT_EQ(outline(doc, true), "D+(A+(A1+(A11))) P+(C+(C1))");
    EXPECT_EQ(ops.collapseAll(doc.paperFolderNode(), nullptr), doc.paperFolderNode());
}

TEST_F(TreeOps, RestoreWithIndexesPastTheEndGivesNoNodes)
{
    load("D+(A B C) P");
    ASSERT_NE(ops.collapseAll(n("C"), n("C")), nullptr);
    ops.deleteSubtree(n("A"), nullptr);
    ops.deleteSubtree(n("B"), nullptr);
    const TreeStateRestore restore = ops.restoreTreeState();
    EXPECT_EQ(restore.selection, nullptr);
    EXPECT_EQ(restore.topVisible, nullptr);
}

TEST_F(TreeOps, ViewCommandsNeedContent)
{
    load("D P");
    EXPECT_FALSE(ops.expandAll(doc.documentNode(), doc.documentNode()));
    EXPECT_EQ(ops.collapseAll(doc.documentNode(), doc.documentNode()), nullptr);
    EXPECT_EQ(mirror.events, 0);
}

struct BranchCase {
    const char* selected;
    const char* expectedSelection; // null: refused
    const char* expectedTree;
};

class TreeOpsCollapseBranch : public TreeOps, public ::testing::WithParamInterface<BranchCase> { };

TEST_P(TreeOpsCollapseBranch, CollapsesAroundTheSelection)
{
    const BranchCase& c = GetParam();
    load("D+(A+(A1+(A11+(X)) A2) B) P");
    Node* selection = ops.collapseBranch(n(c.selected));
    if (c.expectedSelection == nullptr)
        EXPECT_EQ(selection, nullptr);
    else
        EXPECT_EQ(selection, n(c.expectedSelection));
    EXPECT_EQ(outline(doc, true), c.expectedTree);
    EXPECT_FALSE(doc.isModified());
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeOpsCollapseBranch,
    ::testing::Values(BranchCase { "A1", "A1", "D+(A+(A1(A11(X)) A2) B) P" },
        BranchCase { "A2", "A", "D+(A(A1(A11(X)) A2) B) P" },
        BranchCase { "X", "A11", "D+(A+(A1+(A11(X)) A2) B) P" },
        BranchCase { "A", "A", "D+(A(A1(A11(X)) A2) B) P" },
        BranchCase { "B", nullptr, "D+(A+(A1+(A11+(X)) A2) B) P" },
        BranchCase { "D", nullptr, "D+(A+(A1+(A11+(X)) A2) B) P" }));

// ---- Every command: acted or refused, and what that means ---------------------------------------

struct CommandCase {
    const char* name;
    std::function<bool(TreeOperations&, Document&, const std::function<Node*(const char*)>&)> run;
    bool acts;
    bool changesTree; // sets the modified flag when it acts
};

void PrintTo(const CommandCase& c, std::ostream* os)
{
    *os << c.name;
}

class TreeOpsCommand : public TreeOps, public ::testing::WithParamInterface<CommandCase> { };

TEST_P(TreeOpsCommand, ModifiedAndEventsFollowWhetherItActed)
{
    const CommandCase& c = GetParam();
    load("D+(A+(A1 A2+(A21) A3) B(B1) C) P+(E(E1) F)");
    const std::string before = outline(doc, true);
    const bool acted = c.run(ops, doc, [this](const char* title) { return n(title); });
    EXPECT_EQ(acted, c.acts);
    EXPECT_EQ(doc.isModified(), c.acts && c.changesTree);
    if (!c.acts) {
        EXPECT_EQ(outline(doc, true), before);
        EXPECT_EQ(mirror.events, 0);
    } else {
        EXPECT_GT(mirror.events, 0);
    }
}

using Find = std::function<Node*(const char*)>;

std::vector<CommandCase> commandCases()
{
    const auto skip = [](bool (TreeOperations::*move)(Node*, bool), const char* t, bool s) {
        return [=](TreeOperations& o, Document&, const Find& n) { return (o.*move)(n(t), s); };
    };
    const auto plain = [](bool (TreeOperations::*op)(Node*), const char* t) {
        return [=](TreeOperations& o, Document&, const Find& n) { return (o.*op)(n(t)); };
    };
    const auto create = [](Node* (TreeOperations::*op)(Node*, const std::vector<std::string>&),
                            const char* t) {
        return [=](TreeOperations& o, Document&, const Find& n) { return (o.*op)(n(t), kTitles) != nullptr; };
    };
    return {
        { "NewCategory", create(&TreeOperations::newCategory, "A21"), true, true },
        { "NewMemoTopLevel", create(&TreeOperations::newMemo, "P"), true, true },
        { "NewChildMemo", create(&TreeOperations::newChildMemo, "B1"), true, true },
        { "NewResult", create(&TreeOperations::newResult, "E"), true, true },
        { "NewResultTopLevel", create(&TreeOperations::newResult, "D"), false, true },
        { "AppendSibling",
            [](TreeOperations& o, Document&, const Find& n) {
                return o.appendSiblingNode(n("A1"), KindMemo, "x") != nullptr;
            },
            true, true },
        { "ExchangeTopLevel", plain(&TreeOperations::exchangeCategoryMemo, "P"), false, true },
        { "Exchange", plain(&TreeOperations::exchangeMemoResult, "F"), true, true },
        { "MoveDown", skip(&TreeOperations::moveDown, "A2", true), true, true },
        { "MoveDownTopLevel", skip(&TreeOperations::moveDown, "D", true), false, true },
        { "MoveDownLast", skip(&TreeOperations::moveDown, "F", false), false, true },
        { "MoveUp", skip(&TreeOperations::moveUp, "E", true), true, true },
        { "MoveUpFirst", skip(&TreeOperations::moveUp, "A", false), false, true },
        { "LevelUp", plain(&TreeOperations::levelUp, "A21"), true, true },
        { "LevelUpLevelOne", plain(&TreeOperations::levelUp, "B"), false, true },
        { "LevelDown", plain(&TreeOperations::levelDown, "C"), true, true },
        { "LevelDownFirstChild", plain(&TreeOperations::levelDown, "A1"), false, true },
        { "LevelUpChildren", plain(&TreeOperations::levelUpChildren, "A"), true, true },
        { "LevelUpChildrenLeaf", plain(&TreeOperations::levelUpChildren, "C"), false, true },
        { "LevelDownSiblings", plain(&TreeOperations::levelDownSiblings, "A1"), true, true },
        { "LevelDownSiblingsLast", plain(&TreeOperations::levelDownSiblings, "F"), false, true },
        { "Delete",
            [](TreeOperations& o, Document&, const Find& n) {
                return o.deleteSubtree(n("A"), n("A")) != nullptr;
            },
            true, true },
        { "DeleteTopLevel",
            [](TreeOperations& o, Document&, const Find& n) {
                return o.deleteSubtree(n("P"), n("P")) != nullptr;
            },
            false, true },
        { "ExpandAll",
            [](TreeOperations& o, Document&, const Find& n) { return o.expandAll(n("A"), n("D")); }, true,
            false },
        { "CollapseAll",
            [](TreeOperations& o, Document&, const Find& n) {
                return o.collapseAll(n("A21"), n("D")) != nullptr;
            },
            true, false },
        { "CollapseBranch",
            [](TreeOperations& o, Document&, const Find& n) { return o.collapseBranch(n("A21")) != nullptr; },
            true, false },
        { "RestoreTreeState",
            [](TreeOperations& o, Document& d, const Find&) {
                d.captureTreeState();
                d.setAllExpanded(false);
                d.setModified(false);
                return o.restoreTreeState().selection != nullptr;
            },
            true, false },
        { "ReadOnlyRefusesEdits",
            [](TreeOperations& o, Document& d, const Find& n) {
                d.setReadOnly(true);
                return o.newMemo(n("A"), kTitles) || o.addChildNode(n("D"), KindMemo, "x")
                    || o.moveDown(n("A"), true) || o.levelUp(n("A21")) || o.exchangeCategoryMemo(n("A"))
                    || o.deleteSubtree(n("A"), nullptr);
            },
            false, true },
    };
}

INSTANTIATE_TEST_SUITE_P(All, TreeOpsCommand, ::testing::ValuesIn(commandCases()),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

// ---- Depth -------------------------------------------------------------------------------------

TEST_F(TreeOps, DeepTreesAreWalkedWithoutRecursion)
{
    load("D+(B A) P+(C)");
    Node* deepest = n("A");
    for (int i = 0; i < 100000; ++i) {
        deepest = doc.appendNode(deepest, "x", KindMemo);
        doc.setExpanded(deepest->parent(), true);
    }
    mirror.reset(doc);
    ASSERT_TRUE(ops.levelDown(n("A"))); // collapses 100,000 levels on the way
    EXPECT_FALSE(deepest->parent()->isExpanded());
    ASSERT_TRUE(ops.expandAll(deepest, deepest));
    EXPECT_TRUE(deepest->parent()->isExpanded());
    EXPECT_EQ(ops.collapseAll(deepest, nullptr), n("B"));
    ASSERT_TRUE(ops.levelUp(deepest));
    EXPECT_EQ(ops.collapseBranch(deepest), deepest->parent());
    ASSERT_TRUE(ops.moveUp(n("C"), false));
    EXPECT_EQ(deepest->nextSibling(), n("C"));
    EXPECT_EQ(ops.deleteSubtree(n("B"), deepest), doc.documentNode());
    EXPECT_EQ(outline(doc), "D P");
}

} // namespace
} // namespace notarium
