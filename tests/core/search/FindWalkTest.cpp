#include "core/search/FindWalk.h"

#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace notarium {
namespace {

using Outcome = FindWalkResult::Outcome;

// Untitled(0) > A(1) > A1(2) [closed], A2(3); B(4); Paper Folder(5) > P(6)
class FindWalkDocument : public testing::Test {
protected:
    void SetUp() override
    {
        m_doc.newDocument();
        a = m_doc.createUserNode(m_doc.documentNode(), 0, KindCategory, "A cat title");
        a1 = m_doc.createUserNode(a, 0, KindMemo, "A1");
        a2 = m_doc.createUserNode(a, 1, KindMemo, "A2 cat");
        b = m_doc.createUserNode(m_doc.documentNode(), 1, KindResult, "B");
        p = m_doc.createUserNode(m_doc.paperFolderNode(), 0, KindMemo, "P");
        a->data()->MemoStr = "nothing";
        a1->data()->MemoStr = "a CAT\r\nhere";
        a2->data()->MemoStr = "";
        b->data()->MemoStr = "c\r\nat";
        p->data()->MemoStr = "cat";
        m_doc.setExpanded(a, false);
        m_state.text = "cat";
        m_state.bodies = true;
    }

    FindWalkResult run(Node* from, FindFrom start = FindFrom::SelectedNode)
    {
        return findNodeHit(m_doc, from, start, m_state, m_titleHit, [this](bool forward) {
            m_questions.push_back(forward);
            return m_answers.empty() ? false : (m_answers.erase(m_answers.begin()), true);
        });
    }

    Document m_doc;
    Node *a = nullptr, *a1 = nullptr, *a2 = nullptr, *b = nullptr, *p = nullptr;
    FindState m_state;
    bool m_titleHit = false;
    std::vector<bool> m_questions;
    std::vector<bool> m_answers; // one true per question to answer yes
};

TEST_F(FindWalkDocument, BodiesInDisplayOrderThroughClosedBranchesWithTheOptions)
{
    // A1 lies in a closed branch; the default options fold case and skip line breaks.
    EXPECT_EQ(run(a).node, a1);
    EXPECT_EQ(run(a1, FindFrom::NextNode).node, b); // "c\r\nat"
    EXPECT_EQ(run(b, FindFrom::NextNode).node, p); // the paper folder's children are searched
    EXPECT_EQ(run(p).outcome, Outcome::BodyHit);

    m_state.matchCase = true;
    m_state.skipBreaksAndSpaces = false;
    EXPECT_EQ(run(a).node, p);

    m_state.forward = false;
    m_state.matchCase = false;
    EXPECT_EQ(run(p, FindFrom::NextNode).node, a1);
    EXPECT_TRUE(m_questions.empty());
}

TEST_F(FindWalkDocument, AsksAtEitherEndAndGoesOnFromTheOtherOnlyWhenTold)
{
    const FindWalkResult declined = run(p, FindFrom::NextNode);
    EXPECT_EQ(declined.outcome, Outcome::Declined);
    EXPECT_EQ(m_questions, std::vector<bool> { true });

    m_answers = { true };
    const FindWalkResult wrapped = run(p, FindFrom::NextNode);
    EXPECT_EQ(wrapped.outcome, Outcome::BodyHit);
    EXPECT_EQ(wrapped.node, a1);

    // Nothing anywhere: asked at every pass over the end until the answer is no.
    m_state.text = "dog";
    m_state.forward = false;
    m_questions.clear();
    m_answers = { true, true };
    EXPECT_EQ(run(b).outcome, Outcome::Declined);
    EXPECT_EQ(m_questions, (std::vector<bool> { false, false, false }));

    EXPECT_EQ(wrapQuestion(true), "ファイルの終わりまで検索しました。 ファイルの先頭から検索を続行しますか？");
    EXPECT_EQ(wrapQuestion(false), "ファイルの先頭まで検索しました。 ファイルの終わりから検索を続行しますか？");
}

TEST_F(FindWalkDocument, TheShownPageOnlyEndsOnItWithoutAQuestion)
{
    m_state.allPages = false;
    const FindWalkResult result = run(a);
    EXPECT_EQ(result.outcome, Outcome::PageEnded);
    EXPECT_EQ(result.node, a);
    EXPECT_TRUE(m_questions.empty());
}

TEST_F(FindWalkDocument, TitlesAreAPlainCaseSensitiveTestAndATitleHitGivesWayToTheBody)
{
    m_state.titles = true;
    m_state.bodies = false;
    m_state.ignoreWidth = true; // no option applies to titles
    a2->data()->MemoStr = "cat";
    EXPECT_EQ(run(m_doc.documentNode()).node, a);
    EXPECT_TRUE(m_titleHit);
    EXPECT_EQ(run(a).node, a2); // the flag passes over a's title once
    EXPECT_EQ(run(a2).outcome, Outcome::Declined);

    m_state.bodies = true;
    m_titleHit = false;
    EXPECT_EQ(run(a2).outcome, Outcome::TitleHit);
    const FindWalkResult body = run(a2);
    EXPECT_EQ(body.outcome, Outcome::BodyHit);
    EXPECT_EQ(body.node, a2);
    EXPECT_FALSE(m_titleHit);

    m_state.text = "CAT";
    m_titleHit = false;
    m_state.bodies = false;
    EXPECT_EQ(run(a).outcome, Outcome::Declined);
    EXPECT_EQ(findInTitle("A2 cat", "cat"), 3u);
    // A byte that is the trail of a double-byte character is not a hit.
    EXPECT_EQ(findInTitle("\x83\x40", "@"), std::string_view::npos);
}

TEST(FindHistory, MostRecentFirstSixteenKeptAndCaseKeptApart)
{
    std::vector<std::string> history;
    for (int i = 0; i < 17; ++i)
        pushHistory(history, "word" + std::to_string(i));
    pushHistory(history, "word3");
    pushHistory(history, "WORD4");
    pushHistory(history, "");
    ASSERT_EQ(history.size(), 18u);
    EXPECT_EQ(history[0], "WORD4");
    EXPECT_EQ(history[1], "word3");
    EXPECT_EQ(history[2], "word16");

    IniFile ini;
    Settings settings(ini, {});
    settings.setHistory(Settings::History::Find, history);
    EXPECT_EQ(ini.readString("FindHistory", "TextF"), history[15]);
    EXPECT_FALSE(ini.valueExists("FindHistory", "Text10"));
    const std::vector<std::string> read = settings.history(Settings::History::Find);
    EXPECT_EQ(read, std::vector<std::string>(history.begin(), history.begin() + 16));
    EXPECT_TRUE(settings.history(Settings::History::Replace).empty());

    EXPECT_EQ(searchTextFromSelection(std::string(63, 'a') + "\x82\xa0"), std::string(63, 'a'));
}

} // namespace
} // namespace notarium
