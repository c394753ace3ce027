#include "core/textio/TextExportWriter.h"

#include "core/document/Document.h"
#include "core/io/FileIo.h"
#include "core/text/Cp932Codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <vector>

namespace notarium {
namespace {

namespace fs = std::filesystem;

// CP932 bytes used in the documents and marks below.
const std::string kMoku = "\x96\xDA\x8E\x9F"; // 目次
const std::string kSquare = "\x81\xA1"; // ■
const std::string kCircle = "\x81\x9C"; // ●
const std::string kStar = "\x81\x9A"; // ★
const std::string kMemoTitle = "\x83\x81\x83\x82"; // メモ
const std::string kDash = "\x81\x7C"; // －

// Lines joined and each ended by CR LF, as the export writes them.
std::string lines(std::initializer_list<std::string> items)
{
    std::string text;
    for (const std::string& item : items)
        text += item + "\r\n";
    return text;
}

Node* add(Document& doc, Node* parent, int kind, const std::string& title, const std::string& body)
{
    Node* node = doc.appendNode(parent, title, kind);
    node->data()->MemoStr = body;
    return node;
}

// 0 Untitled
// 1   Plan (category)  "intro\r\nline2"
// 2     Step (memo)    ""
// 3     Done (result)  "ok\r\n"
// 4   Notes (memo)     "n"
// 5 Paper Folder
// 6   pf (memo)        "x"
void buildSample(Document& doc)
{
    doc.newDocument();
    Node* plan = add(doc, doc.documentNode(), KindCategory, "Plan", "intro\r\nline2");
    add(doc, plan, KindMemo, "Step", "");
    add(doc, plan, KindResult, "Done", "ok\r\n");
    add(doc, doc.documentNode(), KindMemo, "Notes", "n");
    add(doc, doc.paperFolderNode(), KindMemo, "pf", "x");
}

const std::string kPlainBody
    = lines({ "Plan", "intro", "line2", "Step", "", "Done", "ok", "", "Notes", "n" });
const std::string kPlainPaperFolder = lines({ "========", "", "pf", "x" });
const std::string kContentsHead = lines({ kMoku, "====", "" });

struct GoldenCase {
    const char* name;
    std::function<void(TextExportOptions&)> configure;
    ExportScope scope;
    int selected; // absolute index of the selected node
    std::string expected;
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

TextExportOptions cp932Options()
{
    TextExportOptions options;
    options.encoding = TextEncoding::Cp932;
    return options;
}

class TextExportGolden : public testing::TestWithParam<GoldenCase> { };

TEST_P(TextExportGolden, WritesExactBytes)
{
    const GoldenCase& c = GetParam();
    Document doc;
    buildSample(doc);
    TextExportOptions options = cp932Options();
    if (c.configure)
        c.configure(options);
    const TextExportWriter writer(doc, options, c.scope, doc.nodeAt(c.selected));
    EXPECT_EQ(writer.toString(), c.expected);
}

const auto noChange = [](TextExportOptions&) {};

INSTANTIATE_TEST_SUITE_P(Switches, TextExportGolden,
    testing::Values(
        GoldenCase { "Plain", noChange, ExportScope::WholeFile, 0, kPlainBody + kPlainPaperFolder },
        GoldenCase { "IgnorePaperFolderEndsBeforeIt",
            [](TextExportOptions& o) { o.ignorePaperFolder = true; }, ExportScope::WholeFile, 0, kPlainBody },
        GoldenCase { "EmptyLineOnlyBeforeNonEmptyBodies", [](TextExportOptions& o) { o.emptyLine = true; },
            ExportScope::WholeFile, 0,
            lines({ "Plan", "", "intro", "line2", "Step", "", "Done", "", "ok", "", "Notes", "", "n", "========",
                "", "pf", "", "x" }) },
        GoldenCase { "NewPageBetweenGroupsButNotBeforeTheFirst", [](TextExportOptions& o) { o.newPage = true; },
            ExportScope::WholeFile, 0,
            lines({ "Plan", "intro", "line2", "Step", "", "Done", "ok", "", "\f", "Notes", "n", "\f", "", "pf",
                "x" }) },
        GoldenCase { "NewPageWithIgnoredPaperFolder",
            [](TextExportOptions& o) {
                o.newPage = true;
                o.ignorePaperFolder = true;
            },
            ExportScope::WholeFile, 0,
            lines({ "Plan", "intro", "line2", "Step", "", "Done", "ok", "", "\f", "Notes", "n" }) },
        GoldenCase { "Contents", [](TextExportOptions& o) { o.makeContents = true; }, ExportScope::WholeFile, 0,
            kContentsHead + lines({ "\tPlan", "\t\tStep", "\t\tDone", "\tNotes", "\t====", "\tpf", "", "" })
                + kPlainBody + kPlainPaperFolder },
        GoldenCase { "ContentsWithNewPageAndIgnoredPaperFolder",
            [](TextExportOptions& o) {
                o.makeContents = true;
                o.newPage = true;
                o.ignorePaperFolder = true;
            },
            ExportScope::WholeFile, 0,
            kContentsHead + lines({ "\tPlan", "\t\tStep", "\t\tDone", "\tNotes", "", "\f" })
                + lines({ "Plan", "intro", "line2", "Step", "", "Done", "ok", "", "\f", "Notes", "n" }) },
        GoldenCase { "ContentsWithOutlineNumbers",
            [](TextExportOptions& o) {
                o.makeContents = true;
                o.marking = TitleMarking::OutlineNumbers;
                o.ignorePaperFolder = true;
            },
            ExportScope::WholeFile, 0,
            kContentsHead + lines({ "\t1. Plan", "\t\t1.1 Step", "\t\t1.2 Done", "\t2. Notes", "", "" })
                + lines({ "1. Plan", "intro", "line2", "1.1 Step", "", "1.2 Done", "ok", "", "2. Notes", "n" }) }),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Marking, TextExportGolden,
    testing::Values(
        GoldenCase { "OutlineNumbersRestartInThePaperFolder",
            [](TextExportOptions& o) { o.marking = TitleMarking::OutlineNumbers; }, ExportScope::WholeFile, 0,
            lines({ "1. Plan", "intro", "line2", "1.1 Step", "", "1.2 Done", "ok", "", "2. Notes", "n",
                "========", "", "1. pf", "x" }) },
        GoldenCase { "OutlineNumbersWithAMultiByteSeparator",
            [](TextExportOptions& o) {
                o.marking = TitleMarking::OutlineNumbers;
                o.separator = kDash;
            },
            ExportScope::SelectedTree, 1,
            lines({ "1. Plan", "intro", "line2", "1" + kDash + "1 Step", "", "1" + kDash + "2 Done", "ok",
                "" }) },
        GoldenCase { "LevelMarks",
            [](TextExportOptions& o) {
                o.marking = TitleMarking::LevelMarks;
                o.levelMarks = { kSquare, "- ", "", "", "", "", "", "", "" };
            },
            ExportScope::WholeFile, 0,
            lines({ kSquare + "Plan", "intro", "line2", "- Step", "", "- Done", "ok", "", kSquare + "Notes",
                "n", "========", "", kSquare + "pf", "x" }) },
        GoldenCase { "KindMarks",
            [](TextExportOptions& o) {
                o.marking = TitleMarking::KindMarks;
                o.categoryMark = kSquare;
                o.memoMark = kCircle;
                o.resultMark = kStar;
            },
            ExportScope::WholeFile, 0,
            lines({ kSquare + "Plan", "intro", "line2", kCircle + "Step", "", kStar + "Done", "ok", "",
                kCircle + "Notes", "n", "========", "", kCircle + "pf", "x" }) },
        GoldenCase { "KindMarksOfAnotherStyleAreNotUsed",
            [](TextExportOptions& o) {
                o.marking = TitleMarking::None;
                o.categoryMark = kSquare;
                o.levelMarks[0] = kStar;
            },
            ExportScope::SelectedMemo, 1, lines({ "Plan", "intro", "line2" }) }),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Ranges, TextExportGolden,
    testing::Values(GoldenCase { "SelectedTreeIsTheSubtree",
                        [](TextExportOptions& o) { o.makeContents = true; }, ExportScope::SelectedTree, 1,
                        kContentsHead + lines({ "\tPlan", "\t\tStep", "\t\tDone", "", "" })
                            + lines({ "Plan", "intro", "line2", "Step", "", "Done", "ok", "" }) },
        GoldenCase {
            "SelectedTreeOfTheDocumentNodeLeavesItOut", noChange, ExportScope::SelectedTree, 0, kPlainBody },
        GoldenCase { "SelectedTreeOfThePaperFolderLeavesItOut", noChange, ExportScope::SelectedTree, 5,
            lines({ "pf", "x" }) },
        GoldenCase { "SelectedTreeHasNoPaperFolderOrPageSwitches",
            [](TextExportOptions& o) {
                o.newPage = true;
                o.ignorePaperFolder = true;
            },
            ExportScope::SelectedTree, 5, lines({ "pf", "x" }) },
        GoldenCase {
            "SelectedTreeOfALeafIsTheLeaf", noChange, ExportScope::SelectedTree, 4, lines({ "Notes", "n" }) },
        GoldenCase { "SelectedMemoIsOneTitleAndBodyWithoutContents",
            [](TextExportOptions& o) {
                o.makeContents = true;
                o.newPage = true;
                o.emptyLine = true;
                o.marking = TitleMarking::OutlineNumbers;
            },
            ExportScope::SelectedMemo, 3, lines({ "1.2 Done", "", "ok", "" }) },
        GoldenCase {
            "SelectedMemoWithAnEmptyBody", noChange, ExportScope::SelectedMemo, 2, lines({ "Step", "" }) }),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

// The outline of the example users meet first: two level-1 nodes, the second with two children.
TEST(TextExportOutlineNumbers, SecondNodeWithTwoChildren)
{
    Document doc;
    doc.newDocument();
    add(doc, doc.documentNode(), KindMemo, "a", "");
    Node* b = add(doc, doc.documentNode(), KindCategory, "b", "");
    add(doc, b, KindMemo, "c", "");
    add(doc, b, KindMemo, "d", "");
    TextExportOptions options = cp932Options();
    options.marking = TitleMarking::OutlineNumbers;
    options.ignorePaperFolder = true;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(),
        lines({ "1. a", "", "2. b", "", "2.1 c", "", "2.2 d", "" }));
    options.separator = "-";
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(),
        lines({ "1. a", "", "2. b", "", "2-1 c", "", "2-2 d", "" }));
}

// A chain of 12 nested memos, numbered from level 1.
class TextExportDeepLevels : public testing::Test {
protected:
    void SetUp() override
    {
        m_doc.newDocument();
        Node* parent = m_doc.documentNode();
        for (int level = 1; level <= 12; ++level)
            parent = add(m_doc, parent, KindMemo, "n" + std::to_string(level), "");
        m_options = cp932Options();
        m_options.ignorePaperFolder = true;
    }

    std::vector<std::string> titleLines() const
    {
        const std::string text = TextExportWriter(m_doc, m_options, ExportScope::WholeFile).toString();
        std::vector<std::string> titles;
        // Every node has an empty body, so titles and empty lines alternate.
        for (std::size_t start = 0, i = 0; start < text.size(); ++i) {
            const std::size_t end = text.find("\r\n", start);
            if (i % 2 == 0)
                titles.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return titles;
    }

    Document m_doc;
    TextExportOptions m_options;
};

TEST_F(TextExportDeepLevels, LevelsBeyondNineUseTheNinthMark)
{
    m_options.marking = TitleMarking::LevelMarks;
    for (std::size_t i = 0; i < kLevelMarkCount; ++i)
        m_options.levelMarks[i] = "L" + std::to_string(i + 1) + ":";
    const std::vector<std::string> titles = titleLines();
    ASSERT_EQ(titles.size(), 12u);
    EXPECT_EQ(titles[0], "L1:n1");
    EXPECT_EQ(titles[8], "L9:n9");
    EXPECT_EQ(titles[9], "L9:n10");
    EXPECT_EQ(titles[11], "L9:n12");
}

TEST_F(TextExportDeepLevels, OutlineNumbersKeepEveryLevel)
{
    m_options.marking = TitleMarking::OutlineNumbers;
    const std::vector<std::string> titles = titleLines();
    ASSERT_EQ(titles.size(), 12u);
    EXPECT_EQ(titles[1], "1.1 n2");
    EXPECT_EQ(titles[11], "1.1.1.1.1.1.1.1.1.1.1.1 n12");
}

TEST_F(TextExportDeepLevels, ContentsIndentOneTabPerLevel)
{
    m_options.makeContents = true;
    const std::string text = TextExportWriter(m_doc, m_options, ExportScope::WholeFile).toString();
    EXPECT_NE(text.find("\r\n" + std::string(12, '\t') + "n12\r\n"), std::string::npos);
}

// The walk keeps no stack per level: a very deep outline is written like a flat one.
TEST(TextExportDepth, VeryDeepTreeIsWritten)
{
    Document doc;
    doc.newDocument();
    Node* parent = doc.documentNode();
    constexpr int kDepth = 100000;
    for (int level = 1; level <= kDepth; ++level)
        parent = doc.appendNode(parent, "t", KindMemo);
    TextExportOptions options = cp932Options();
    options.marking = TitleMarking::LevelMarks;
    options.levelMarks.fill("*");
    const std::string text
        = TextExportWriter(doc, options, ExportScope::SelectedTree, doc.nodeAt(1)).toString();
    EXPECT_TRUE(text.ends_with("*t\r\n\r\n"));
    EXPECT_EQ(
        TextExportWriter(doc, options, ExportScope::SelectedMemo, parent).toString(), lines({ "*t", "" }));
}

TEST(TextExportBody, LineBreaksAreKeptAsStored)
{
    Document doc;
    doc.newDocument();
    add(doc, doc.documentNode(), KindMemo, "no final break", "a\r\nb");
    add(doc, doc.documentNode(), KindMemo, "final break", "a\r\n");
    add(doc, doc.documentNode(), KindMemo, "only a break", "\r\n");
    add(doc, doc.documentNode(), KindMemo, "tab and form feed", "\ta\f");
    TextExportOptions options = cp932Options();
    options.ignorePaperFolder = true;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(),
        lines({ "no final break", "a", "b", "final break", "a", "", "only a break", "", "",
            "tab and form feed", "\ta\f" }));
}

// A node that a data file gave image index 0 is no paper folder: it keeps its title and body and
// does not end the export.
TEST(TextExportBody, PaperFolderIsKnownByItsPlace)
{
    Document doc;
    doc.newDocument();
    add(doc, doc.documentNode(), 0, "odd", "body");
    add(doc, doc.documentNode(), KindMemo, "after", "");
    TextExportOptions options = cp932Options();
    options.ignorePaperFolder = true;
    options.makeContents = true;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(),
        kContentsHead + lines({ "\todd", "\tafter", "", "" }) + lines({ "odd", "body", "after", "" }));
}

TEST(TextExportBody, EmptyDocument)
{
    Document doc;
    doc.newDocument();
    TextExportOptions options = cp932Options();
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(), lines({ "========", "" }));
    options.ignorePaperFolder = true;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(), "");
    options.makeContents = true;
    EXPECT_EQ(
        TextExportWriter(doc, options, ExportScope::WholeFile).toString(), kContentsHead + lines({ "", "" }));
}

struct EncodingCase {
    const char* name;
    std::string title;
    std::string body;
    std::string cp932; // the title and body lines in a CP932 file
    std::string utf8; // the same in a UTF-8 file
};

void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextExportEncoding : public testing::TestWithParam<EncodingCase> { };

TEST_P(TextExportEncoding, TitleAndBody)
{
    const EncodingCase& c = GetParam();
    Document doc;
    doc.newDocument();
    add(doc, doc.documentNode(), KindMemo, c.title, c.body);
    TextExportOptions options;
    options.ignorePaperFolder = true;
    options.marking = TitleMarking::KindMarks;
    options.memoMark = kCircle;
    options.encoding = TextEncoding::Cp932;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).toString(), c.cp932);
    options.encoding = TextEncoding::Utf8;
    const std::string utf8 = TextExportWriter(doc, options, ExportScope::WholeFile).toString();
    EXPECT_EQ(utf8, c.utf8);
    EXPECT_TRUE(cp932::isValidUtf8(utf8));
}

INSTANTIATE_TEST_SUITE_P(Bytes, TextExportEncoding,
    testing::Values(EncodingCase { "Japanese", kMemoTitle, "\x82\xA0\r\n\x82\xA2",
                        "\x81\x9C" + kMemoTitle + "\r\n\x82\xA0\r\n\x82\xA2\r\n",
                        "\xE2\x97\x8F\xE3\x83\xA1\xE3\x83\xA2\r\n\xE3\x81\x82\r\n\xE3\x81\x84\r\n" },
        // Bytes CP932 does not define go to the CP932 file as they are and become U+FFFD in UTF-8.
        EncodingCase { "UndefinedBytes", "t\x80", "\xA0\xFD\xFF", "\x81\x9Ct\x80\r\n\xA0\xFD\xFF\r\n",
            "\xE2\x97\x8Ft\xEF\xBF\xBD\r\n\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\r\n" },
        // A lone lead byte at the end of a body does not swallow the line end after it.
        EncodingCase { "LoneLeadByteAtTheEnd", "t", "a\x82", "\x81\x9Ct\r\na\x82\r\n",
            "\xE2\x97\x8Ft\r\na\xEF\xBF\xBD\r\n" },
        EncodingCase {
            "HalfWidthKatakana", "\xB1", "", "\x81\x9C\xB1\r\n\r\n", "\xE2\x97\x8F\xEF\xBD\xB1\r\n\r\n" }),
    [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST(TextExportEncodingFixed, ContentsHeadingAndFormFeedInUtf8)
{
    Document doc;
    buildSample(doc);
    TextExportOptions options;
    options.encoding = TextEncoding::Utf8;
    options.makeContents = true;
    options.newPage = true;
    options.ignorePaperFolder = true;
    const std::string text = TextExportWriter(doc, options, ExportScope::WholeFile).toString();
    EXPECT_TRUE(text.starts_with("\xE7\x9B\xAE\xE6\xAC\xA1\r\n====\r\n\r\n\tPlan\r\n")) << text;
    EXPECT_NE(text.find("\r\n\f\r\nNotes\r\n"), std::string::npos);
}

TEST(TextExportRange, Scopes)
{
    Document doc;
    buildSample(doc);
    Document other;
    buildSample(other);
    EXPECT_EQ(exportIndexRange(doc, ExportScope::WholeFile, nullptr), (ExportIndexRange { 1, 6 }));
    EXPECT_EQ(exportIndexRange(doc, ExportScope::SelectedTree, doc.nodeAt(0)), (ExportIndexRange { 1, 4 }));
    EXPECT_EQ(exportIndexRange(doc, ExportScope::SelectedTree, doc.nodeAt(1)), (ExportIndexRange { 1, 3 }));
    EXPECT_EQ(exportIndexRange(doc, ExportScope::SelectedTree, doc.nodeAt(5)), (ExportIndexRange { 6, 6 }));
    EXPECT_EQ(exportIndexRange(doc, ExportScope::SelectedMemo, doc.nodeAt(1)), (ExportIndexRange { 1, 1 }));
    EXPECT_TRUE(exportIndexRange(doc, ExportScope::SelectedMemo, nullptr).empty());
    EXPECT_TRUE(exportIndexRange(doc, ExportScope::SelectedTree, other.nodeAt(3)).empty());
    EXPECT_EQ(
        TextExportWriter(doc, cp932Options(), ExportScope::SelectedTree, other.nodeAt(3)).toString(), "");
}

TEST(TextExportRange, AvailableScopesFollowTheOptionsWindow)
{
    Document doc;
    buildSample(doc);
    EXPECT_TRUE(exportScopeAvailable(ExportScope::WholeFile, nullptr));
    EXPECT_TRUE(exportScopeAvailable(ExportScope::SelectedTree, doc.nodeAt(0)));
    EXPECT_TRUE(exportScopeAvailable(ExportScope::SelectedTree, doc.nodeAt(1)));
    EXPECT_FALSE(exportScopeAvailable(ExportScope::SelectedTree, doc.nodeAt(2)));
    EXPECT_TRUE(exportScopeAvailable(ExportScope::SelectedMemo, doc.nodeAt(2)));
    EXPECT_FALSE(exportScopeAvailable(ExportScope::SelectedMemo, doc.nodeAt(0)));
    EXPECT_FALSE(exportScopeAvailable(ExportScope::SelectedMemo, doc.nodeAt(5)));
    EXPECT_FALSE(exportScopeAvailable(ExportScope::SelectedMemo, nullptr));
}

struct ProgressCase {
    const char* name;
    bool ignorePaperFolder;
    ExportScope scope;
    int selected;
    int maximum;
    std::vector<int> positions;
};

void PrintTo(const ProgressCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextExportProgress : public testing::TestWithParam<ProgressCase> { };

TEST_P(TextExportProgress, ReportsEachNodeThenTheMaximum)
{
    const ProgressCase& c = GetParam();
    Document doc;
    buildSample(doc);
    TextExportOptions options = cp932Options();
    options.ignorePaperFolder = c.ignorePaperFolder;
    options.makeContents = true;
    TextExportWriter writer(doc, options, c.scope, doc.nodeAt(c.selected));
    EXPECT_EQ(writer.progressMaximum(), c.maximum);
    std::vector<int> positions;
    writer.setProgress([&](int position, int maximum) {
        EXPECT_EQ(maximum, c.maximum);
        positions.push_back(position);
    });
    writer.toString();
    EXPECT_EQ(positions, c.positions);
}

INSTANTIATE_TEST_SUITE_P(Ranges, TextExportProgress,
    testing::Values(
        ProgressCase { "WholeFile", false, ExportScope::WholeFile, 0, 6, { 1, 2, 3, 4, 5, 6, 6 } },
        ProgressCase { "WithoutPaperFolder", true, ExportScope::WholeFile, 0, 4, { 1, 2, 3, 4, 4 } },
        ProgressCase { "Subtree", true, ExportScope::SelectedTree, 1, 3, { 1, 2, 3, 3 } },
        ProgressCase { "NeverBelowOne", false, ExportScope::SelectedMemo, 0, 1, { 0, 1 } }),
    [](const testing::TestParamInfo<ProgressCase>& info) { return std::string(info.param.name); });

TEST(TextExportProgressEmpty, OnlyThePaperFolderLeftOut)
{
    Document doc;
    doc.newDocument();
    TextExportOptions options = cp932Options();
    options.ignorePaperFolder = true;
    EXPECT_EQ(TextExportWriter(doc, options, ExportScope::WholeFile).progressMaximum(), 1);
}

class TextExportFile : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("notarium-export-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        buildSample(m_doc);
        m_options.makeContents = true;
        m_options.marking = TitleMarking::OutlineNumbers;
        m_options.encoding = TextEncoding::Utf8;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    Document m_doc;
    TextExportOptions m_options;
};

TEST_F(TextExportFile, ChunksJoinToTheWholeText)
{
    const TextExportWriter writer(m_doc, m_options, ExportScope::WholeFile);
    const std::string whole = writer.toString();
    for (std::size_t chunk : { std::size_t(1), std::size_t(7), std::size_t(1) << 20 }) {
        std::string joined;
        std::size_t pieces = 0;
        EXPECT_TRUE(writer.write(
            [&](std::string_view bytes) {
                joined += bytes;
                ++pieces;
                return true;
            },
            chunk));
        EXPECT_EQ(joined, whole) << chunk;
        EXPECT_EQ(pieces > 1, chunk < whole.size()) << chunk;
    }
}

TEST_F(TextExportFile, RefusedPieceStopsTheExport)
{
    const TextExportWriter writer(m_doc, m_options, ExportScope::WholeFile);
    int calls = 0;
    EXPECT_FALSE(writer.write(
        [&](std::string_view) {
            ++calls;
            return false;
        },
        1));
    EXPECT_EQ(calls, 1);
}

TEST_F(TextExportFile, FileHoldsTheTextAndReplacesAnOldOne)
{
    const std::string path = (m_dir / "out.txt").string();
    ASSERT_TRUE(writeFileAtomically(path, std::string(10000, 'x')));
    const TextExportWriter writer(m_doc, m_options, ExportScope::WholeFile);
    std::string error;
    ASSERT_TRUE(writer.writeFile(path, &error)) << error;
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, writer.toString());
    // Nothing but the file is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(TextExportFile, MissingFolderFailsWithAReason)
{
    const std::string path = (m_dir / "no" / "out.txt").string();
    std::string error;
    EXPECT_FALSE(TextExportWriter(m_doc, m_options, ExportScope::WholeFile).writeFile(path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace notarium
