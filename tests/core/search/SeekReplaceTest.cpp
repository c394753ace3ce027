#include "core/search/SeekReplace.h"

#include "SearchTestSupport.h"
#include "core/document/Document.h"
#include "core/search/SeekCollector.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace notarium {
namespace {

// Untitled(0) > one node per body (1..n-1); Paper Folder(n) > the last body (n+1).
void fill(Document& doc, const std::vector<std::string>& bodies)
{
    doc.newDocument();
    for (std::size_t i = 0; i + 1 < bodies.size(); ++i)
        doc.createUserNode(doc.documentNode(), static_cast<int>(i), KindMemo, "n")->data()->MemoStr = bodies[i];
    doc.createUserNode(doc.paperFolderNode(), 0, KindMemo, "p")->data()->MemoStr = bodies.back();
    doc.setModified(false);
}

std::vector<std::string> bodiesOf(const Document& doc)
{
    std::vector<std::string> bodies;
    for (const Node* node : doc.nodesInOrder())
        if (const TNodeData* data = node->data())
            bodies.push_back(data->MemoStr);
    return bodies;
}

// The reference: replaceOneHit from the last hit to the first.
std::size_t replaceOneByOne(Document& doc, const std::vector<SeekHit>& hits, std::string_view replacement)
{
    std::size_t replaced = 0;
    for (auto it = hits.rbegin(); it != hits.rend(); ++it)
        replaced += replaceOneHit(doc, *it, replacement) ? 1 : 0;
    return replaced;
}

struct DataChanges : NullDocumentObserver {
    void nodeChanged(Node* node, NodeChange change) override
    {
        if (change == NodeChange::Data)
            nodes.push_back(node);
    }
    std::vector<Node*> nodes;
};

// Collects on one document, lets edit change it after the search, and replaces all at once there
// and one by one on a twin: texts, counts and the modified flag must agree.
void expectSameAsOneByOne(const std::vector<std::string>& bodies, std::string_view searchText,
    SearchOptions options, std::string_view replacement, const std::function<void(Document&)>& edit = {})
{
    Document all;
    Document single;
    fill(all, bodies);
    fill(single, bodies);
    const std::vector<SeekHit> hits = SeekCollector(searchText, options).collectDocument(all);
    if (edit) {
        edit(all);
        edit(single);
    }
    const ReplaceAllResult result = replaceAllHits(all, hits, replacement);
    const std::size_t replaced = replaceOneByOne(single, hits, replacement);
    SCOPED_TRACE(optionNames(options) + " \"" + cp932::toUtf8(searchText) + "\" -> \""
        + cp932::toUtf8(replacement) + "\"");
    EXPECT_EQ(bodiesOf(all), bodiesOf(single));
    EXPECT_EQ(result.replaced, replaced);
    EXPECT_EQ(result.refused, hits.size() - replaced);
    EXPECT_EQ(all.isModified(), single.isModified());
}

// Words broken by line breaks and blanks, full-width and half-width letters and kana (ｶﾞ is two
// half-width bytes for one ガ), runs of lead-range bytes (＝ is 81 81) and an empty body.
const std::vector<std::string> kBodies = {
    sj("cat Cat CAT c\r\nat ca t c　at"),
    sj("ＣＡＴ（ｃａｔ）ｶﾞ ガ ｶ cat＝"),
    sj("＝＝＝=＝ == ＝\r\n＝"),
    "",
    sj("concatenate c\r\n\r\nat\tcat,cat. ガガｶﾞ"),
};

TEST(ReplaceAllHits, LeavesTheTextsThatReplacingOneByOneLeaves)
{
    const std::vector<std::string> searchTexts = { "cat", sj("ＣＡＴ"), sj("ガ"), sj("＝"), "=" };
    const std::vector<std::string> replacements = { "", "X", sj("ガガガ"), "tiger tiger" };
    std::size_t widthHits = 0; // width-blind hits of another length than the search text
    std::size_t skippingHits = 0; // hits with a passed-over line break or blank inside
    for (unsigned bits = 0; bits <= SearchOptions::kAllBits; bits += 2) {
        const SearchOptions options = SearchOptions::fromBits(bits);
        for (const std::string& searchText : searchTexts) {
            Document doc;
            fill(doc, kBodies);
            for (const SeekHit& hit : SeekCollector(searchText, options).collectDocument(doc)) {
                const bool widthOnly = options.has(SearchOption::IgnoreWidth)
                    && !options.has(SearchOption::SkipLineBreaks) && !options.has(SearchOption::SkipSpaces);
                widthHits += widthOnly && hit.matched.size() != searchText.size() ? 1 : 0;
                skippingHits += hit.matched.find_first_of("\r\n \t") != std::string::npos ? 1 : 0;
            }
            for (const std::string& replacement : replacements)
                expectSameAsOneByOne(kBodies, searchText, options, replacement);
        }
    }
    EXPECT_GT(widthHits, 0u);
    EXPECT_GT(skippingHits, 0u);
}

TEST(ReplaceAllHits, RefusesStaleHitsAndAppliesTheOthers)
{
    // Hits of "cat": node 1 at 0, 4, 8; node 2 at 0, 4; node 4 at 2 (the paper folder's child).
    const std::vector<std::string> bodies = { "cat cat cat", "cat cat", "a cat" };
    const auto edit = [](Document& doc) {
        doc.nodeAt(1)->data()->MemoStr = "cat\x83" "cat dog"; // 4: now the trail of ツ; 8: other bytes
        doc.nodeAt(2)->data()->MemoStr = "cat c"; // 4: past the end
        doc.removeNode(doc.nodeAt(4)); // the node of the last hit is gone
    };
    expectSameAsOneByOne(bodies, "cat", SearchOptions(), "lion", edit);

    Document doc;
    fill(doc, bodies);
    const std::vector<SeekHit> hits = SeekCollector("cat", SearchOptions()).collectDocument(doc);
    edit(doc);
    const ReplaceAllResult result = replaceAllHits(doc, hits, "lion");
    EXPECT_EQ(result.replaced, 2u);
    EXPECT_EQ(result.refused, 4u);
    EXPECT_EQ(bodiesOf(doc), (std::vector<std::string> { "lion\x83" "cat dog", "lion c" }));

    // Now every hit is stale: nothing changes, and the modified flag is left as it was.
    doc.setModified(false);
    EXPECT_EQ(replaceAllHits(doc, hits, "lion").replaced, 0u);
    EXPECT_FALSE(doc.isModified());
}

TEST(ReplaceAllHits, HandMadeListsNeverCorruptTheText)
{
    const std::vector<std::string> bodies = { "abcdef", "abcdef", "\x81\x81\x81\x81\x81\x81\x81\x81", "x" };
    Document doc;
    fill(doc, bodies);
    const std::string eq = "\x81\x81";
    const std::vector<SeekHit> hits = {
        { 1, 0, 3, {}, "abc" }, { 1, 2, 3, {}, "cde" }, { 1, 4, 1, {}, "e" }, // the middle one overlaps
        { 2, 4, 1, {}, "e" }, { 2, 0, 1, {}, "a" }, // out of order
        { 3, 0, 2, {}, eq }, { 3, 3, 2, {}, eq }, { 3, 6, 2, {}, eq }, // 3 is the trail of a ＝
        { 1, 5, 1, {}, "f" }, // node 1 again, after other nodes
        { 5, 0, 0, {}, "" }, // no bytes at all
    };
    DataChanges changes;
    doc.addObserver(&changes);
    const ReplaceAllResult result = replaceAllHits(doc, hits, "#");
    EXPECT_EQ(bodiesOf(doc), (std::vector<std::string> { "#d##", "abcd#f", "#\x81\x81\x81\x81#", "x" }));
    EXPECT_EQ(result.replaced, 6u);
    EXPECT_EQ(result.refused, 4u);
    // Node 1 is told once, though its hits stand apart in the list.
    EXPECT_EQ(changes.nodes, (std::vector<Node*> { doc.nodeAt(1), doc.nodeAt(2), doc.nodeAt(3) }));
    doc.removeObserver(&changes);
}

} // namespace
} // namespace notarium
