#include "core/search/SeekCollector.h"

#include "SearchTestSupport.h"
#include "core/document/Document.h"
#include "core/search/SeekReplace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace notarium {
namespace {

using enum SearchOption;

struct Row {
    std::int32_t node;
    std::int32_t offset;
    std::int32_t length;

    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row)
    {
        return out << '{' << row.node << ", " << row.offset << ", " << row.length << '}';
    }
};

std::vector<Row> rows(const std::vector<SeekHit>& hits)
{
    std::vector<Row> result;
    for (const SeekHit& hit : hits)
        result.push_back({ hit.nodeIndex, hit.offset, hit.length });
    return result;
}

// Untitled(0) > A(1) > A1(2), A2(3); B(4); Paper Folder(5) > P(6)
class SeekDocument : public testing::Test {
protected:
    void SetUp() override
    {
        m_doc.newDocument();
        Node* a = m_doc.createUserNode(m_doc.documentNode(), 0, KindCategory, "A");
        Node* a1 = m_doc.createUserNode(a, 0, KindMemo, "A1");
        Node* a2 = m_doc.createUserNode(a, 1, KindMemo, "A2");
        Node* b = m_doc.createUserNode(m_doc.documentNode(), 1, KindResult, "B");
        Node* p = m_doc.createUserNode(m_doc.paperFolderNode(), 0, KindMemo, "P");
        a->data()->MemoStr = "cat";
        a1->data()->MemoStr = "a cat and a cat";
        a2->data()->MemoStr = "";
        b->data()->MemoStr = "Cat\r\ncat";
        p->data()->MemoStr = "c a t";
        m_doc.setModified(false);
    }

    Document m_doc;
};

TEST_F(SeekDocument, WholeDocumentFromIndexOneIncludingThePaperFolder)
{
    const SeekCollector collector("cat", SkipLineBreaks | SkipSpaces);
    EXPECT_EQ(rows(collector.collectDocument(m_doc)),
        (std::vector<Row> { { 1, 0, 3 }, { 2, 2, 3 }, { 2, 12, 3 }, { 4, 0, 3 }, { 4, 5, 3 }, { 6, 0, 5 } }));
}

TEST_F(SeekDocument, OptionsReachTheEngine)
{
    EXPECT_EQ(rows(SeekCollector("cat", MatchCase).collectDocument(m_doc)),
        (std::vector<Row> { { 1, 0, 3 }, { 2, 2, 3 }, { 2, 12, 3 }, { 4, 5, 3 } }));
    // Forward is always on, even when the caller leaves it out.
    EXPECT_EQ(SeekCollector("cat", SearchOptions()).collectDocument(m_doc).size(), 5u);
}

TEST_F(SeekDocument, SubtreeIsTheNodeAndEverythingBelowIt)
{
    const SeekCollector collector("cat", SearchOptions());
    EXPECT_EQ(rows(collector.collectSubtree(m_doc, m_doc.nodeAt(1))),
        (std::vector<Row> { { 1, 0, 3 }, { 2, 2, 3 }, { 2, 12, 3 } }));
    EXPECT_EQ(rows(collector.collectSubtree(m_doc, m_doc.nodeAt(4))),
        (std::vector<Row> { { 4, 0, 3 }, { 4, 5, 3 } }));
    // The paper folder has no body of its own; its children count.
    EXPECT_EQ(rows(SeekCollector("c a", SearchOptions()).collectSubtree(m_doc, m_doc.paperFolderNode())),
        (std::vector<Row> { { 6, 0, 3 } }));
    EXPECT_TRUE(collector.collectSubtree(m_doc, nullptr).empty());
}

TEST_F(SeekDocument, OneTextIsRecordedAgainstTheGivenNode)
{
    // The memo pane's text, which may differ from what the node holds.
    EXPECT_EQ(rows(SeekCollector("cat", SearchOptions()).collectText("cat cat", 3)),
        (std::vector<Row> { { 3, 0, 3 }, { 3, 4, 3 } }));
}

TEST_F(SeekDocument, ProgressCountsEveryHit)
{
    SeekCollector collector("cat", SearchOptions());
    std::vector<std::size_t> counts;
    collector.setProgress([&](std::size_t n, std::int32_t) { counts.push_back(n); });
    collector.collectDocument(m_doc);
    EXPECT_EQ(counts, (std::vector<std::size_t> { 1, 2, 3, 4, 5 }));
}

TEST(SeekCollector, HitsNeverOverlap)
{
    EXPECT_EQ(rows(SeekCollector("aa", SearchOptions()).collectText("aaaa", 1)),
        (std::vector<Row> { { 1, 0, 2 }, { 1, 2, 2 } }));
    EXPECT_EQ(rows(SeekCollector("aa", SearchOptions()).collectText("aaaaa", 1)),
        (std::vector<Row> { { 1, 0, 2 }, { 1, 2, 2 } }));
    // The rest after a hit begins on a whole character: ＝＝＝ never gives a hit at an odd offset.
    EXPECT_EQ(rows(SeekCollector("\x81\x81", SearchOptions()).collectText("\x81\x81\x81\x81\x81\x81", 1)),
        (std::vector<Row> { { 1, 0, 2 }, { 1, 2, 2 }, { 1, 4, 2 } }));
    EXPECT_TRUE(SeekCollector("", SearchOptions()).collectText("abc", 1).empty());
}

struct ExcerptCase {
    const char* name;
    std::string text;
    std::string searchText;
    std::vector<std::string> excerpts;
};

void PrintTo(const ExcerptCase& c, std::ostream* out)
{
    *out << c.name;
}

class Excerpts : public testing::TestWithParam<ExcerptCase> { };

TEST_P(Excerpts, AreCutAroundTheHit)
{
    const ExcerptCase& c = GetParam();
    std::vector<std::string> excerpts;
    for (const SeekHit& hit : SeekCollector(c.searchText, SkipLineBreaks).collectText(c.text, 1))
        excerpts.push_back(hit.excerpt);
    EXPECT_EQ(excerpts, c.excerpts);
}

const std::string k20 = "abcdefghijklmnopqrst";
const std::string k60 = k20 + k20 + k20;

INSTANTIATE_TEST_SUITE_P(SeekCollector, Excerpts,
    testing::Values(ExcerptCase { "at the text start and end", "xyZ!", "Z", { "xyZ!" } },
        ExcerptCase {
            "11 bytes before, 49 after", k20 + "#" + k60, "#", { k20.substr(9) + "#" + k60.substr(0, 49) } },
        ExcerptCase {
            "never back into the previous hit", "0123456789#ab#", "#", { "0123456789#ab#", "ab#" } },
        // "あ" twice: byte 11 before the hit is the trail of the first, so the excerpt starts at
        // the next whole character.
        ExcerptCase { "begins after a split character",
            "xx\x82\xA0"
            "0123456789#",
            "#", { "0123456789#" } },
        ExcerptCase { "ends before a split character", "#" + std::string(48, '-') + "\x82\xA0xyz", "#",
            { "#" + std::string(48, '-') } },
        ExcerptCase { "keeps a character that ends exactly at the limit",
            "#" + std::string(47, '-') + "\x82\xA0xyz", "#", { "#" + std::string(47, '-') + "\x82\xA0" } },
        ExcerptCase { "line breaks stay as they are", "one\r\ntwo\r\n", "etw", { "one\r\ntwo\r\n" } },
        ExcerptCase { "a lead-range character at the window's start",
            "\x81\x81\x81\x81\x81\x81"
            "123456789#",
            "#",
            { "\x81\x81"
              "123456789#" } }),
    [](const testing::TestParamInfo<ExcerptCase>& info) { return "case" + std::to_string(info.index); });

class ReplaceOneHit : public SeekDocument { };

TEST_F(ReplaceOneHit, LaterHitFirstKeepsEarlierOffsets)
{
    const std::vector<SeekHit> hits
        = SeekCollector("cat", SearchOptions()).collectText(m_doc.nodeAt(2)->data()->MemoStr, 2);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_TRUE(replaceOneHit(m_doc, hits[1], "tiger"));
    EXPECT_TRUE(replaceOneHit(m_doc, hits[0], "ox"));
    EXPECT_EQ(m_doc.nodeAt(2)->data()->MemoStr, "a ox and a tiger");
    EXPECT_TRUE(m_doc.isModified());
}

TEST_F(ReplaceOneHit, AnEmptyReplacementDeletes)
{
    const std::vector<SeekHit> hits = SeekCollector("cat", SkipLineBreaks).collectDocument(m_doc);
    for (auto it = hits.rbegin(); it != hits.rend(); ++it)
        EXPECT_TRUE(replaceOneHit(m_doc, *it, ""));
    EXPECT_EQ(m_doc.nodeAt(1)->data()->MemoStr, "");
    EXPECT_EQ(m_doc.nodeAt(2)->data()->MemoStr, "a  and a ");
    EXPECT_EQ(m_doc.nodeAt(4)->data()->MemoStr, "\r\n");
}

TEST_F(ReplaceOneHit, ARecordThatNoLongerFitsTheTextIsRefused)
{
    const std::vector<SeekHit> hits
        = SeekCollector("cat", SearchOptions()).collectSubtree(m_doc, m_doc.nodeAt(2));
    ASSERT_EQ(hits.size(), 2u);
    std::string& body = m_doc.nodeAt(2)->data()->MemoStr;

    body = "a dog and a cat"; // edited since the search: other bytes at the first offset
    EXPECT_FALSE(replaceOneHit(m_doc, hits[0], "X"));
    body = "a cat"; // shortened: the second hit lies past the end
    EXPECT_FALSE(replaceOneHit(m_doc, hits[1], "X"));
    EXPECT_EQ(body, "a cat");
    EXPECT_FALSE(m_doc.isModified());

    SeekHit gone = hits[0];
    gone.nodeIndex = 99;
    EXPECT_FALSE(replaceOneHit(m_doc, gone, "X"));
    SeekHit noBody = hits[0];
    noBody.nodeIndex = 5; // the paper folder
    EXPECT_FALSE(replaceOneHit(m_doc, noBody, "X"));
    SeekHit negative = hits[0];
    negative.offset = -1;
    EXPECT_FALSE(replaceOneHit(m_doc, negative, "X"));
    SeekHit empty = hits[0]; // a range of no bytes would insert rather than replace
    empty.length = 0;
    empty.matched.clear();
    EXPECT_FALSE(replaceOneHit(m_doc, empty, "X"));
    EXPECT_FALSE(m_doc.isModified());
}

TEST_F(ReplaceOneHit, NeverSplitsACharacterWhoseTrailLooksLikeTheHit)
{
    std::string& body = m_doc.nodeAt(3)->data()->MemoStr;
    body = "x@";
    const std::vector<SeekHit> hits = SeekCollector("@", SearchOptions()).collectText(body, 3);
    ASSERT_EQ(hits.size(), 1u);
    body = "\x83\x40@"; // ァ then '@': offset 1 is now the trail of ァ
    EXPECT_FALSE(replaceOneHit(m_doc, hits[0], "?"));
    EXPECT_EQ(body, "\x83\x40@");
}

} // namespace
} // namespace notarium
