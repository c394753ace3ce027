#include "core/templates/TreeTemplate.h"
#include "core/document/Document.h"
#include "core/io/FileSize.h"
#include "core/templates/ApplyTemplate.h"
#include "core/templates/TemplateMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "Notarium Template File\r\nVersion 1.10\r\n";

std::string page(std::string_view level, std::string_view title, int image, std::string_view body)
{
    return "\r\n::Page::\r\n" + std::string(level) + "\r\n" + std::string(title) + "\r\n"
        + std::to_string(image) + "\r\n" + std::to_string(image) + "\r\nbegin{{\r\n" + std::string(body)
        + "}}end\r\n";
}

std::string page(int level, std::string_view title, int image = 2, std::string_view body = {})
{
    return page(std::to_string(level), title, image, body);
}

// The pages under the template root, one "level:title" per page in pre-order.
std::string shapeOf(const Document& doc)
{
    std::string shape;
    doc.forEachInOrder([&](const Node* node, int level) {
        if (level == 0)
            return;
        if (!shape.empty())
            shape += ' ';
        shape += std::to_string(level) + ':' + node->title();
    });
    return shape;
}

struct TemplateTree {
    TemplateTree() { newTemplateDocument(doc); }
    TemplateReadResult read(std::string_view bytes)
    {
        return parseTreeTemplate(bytes, doc, doc.documentNode());
    }
    Node* pageAt(int index) const { return doc.nodeAt(index); }
    Document doc;
};

TEST(TreeTemplateWrite, ExactBytesOfATemplate)
{
    TemplateTree t;
    Node* root = t.doc.documentNode();
    Node* category = t.doc.appendNode(root, "cat", 1);
    t.doc.setImageIndexes(category, 1, 1);
    Node* memo = t.doc.appendNode(category, "memo", 2);
    t.doc.setImageIndexes(memo, 2, 2);
    memo->data()->MemoStr = "abc";
    Node* result = t.doc.appendNode(root, "", 3);
    t.doc.setImageIndexes(result, 3, 5);
    result->data()->MemoStr = "x\ry\n";

    EXPECT_EQ(serializeTreeTemplate(*root),
        "Notarium Template File\r\nVersion 1.10\r\n"
        "\r\n::Page::\r\n1\r\ncat\r\n1\r\n1\r\nbegin{{\r\n}}end\r\n"
        "\r\n::Page::\r\n2\r\nmemo\r\n2\r\n2\r\nbegin{{\r\nabc\r\n}}end\r\n"
        "\r\n::Page::\r\n1\r\n\r\n3\r\n5\r\nbegin{{\r\nx\r\ny\r\n}}end\r\n");
}

TEST(TreeTemplateWrite, TemplateWithoutPagesIsTheHeaderOnly)
{
    TemplateTree t;
    EXPECT_EQ(serializeTreeTemplate(*t.doc.documentNode()), kHeader);
    TemplateTree again;
    const TemplateReadResult result = again.read(kHeader);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(result.firstPage, nullptr);
    EXPECT_EQ(again.doc.nodeCount(), 1u);
}

struct BodyCase {
    std::string_view body;
    std::string_view readBack;
};

class TreeTemplateBody : public testing::TestWithParam<BodyCase> { };

TEST_P(TreeTemplateBody, WrittenAndReadBackTwice)
{
    TemplateTree t;
    t.doc.appendNode(t.doc.documentNode(), "p", 2)->data()->MemoStr = std::string(GetParam().body);
    const std::string first = serializeTreeTemplate(*t.doc.documentNode());
    TemplateTree again;
    ASSERT_TRUE(again.read(first).ok());
    EXPECT_EQ(again.pageAt(1)->data()->MemoStr, GetParam().readBack);
    EXPECT_EQ(serializeTreeTemplate(*again.doc.documentNode()), first);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeTemplateBody,
    testing::Values(BodyCase { "abc", "abc\r\n" }, BodyCase { "abc\r\n", "abc\r\n" }, BodyCase { "", "" },
        BodyCase { "\r\n", "\r\n" }, BodyCase { "\r", "\r\n" }, BodyCase { "\n", "\r\n" },
        BodyCase { "a\rb\nc", "a\r\nb\r\nc\r\n" }, BodyCase { "a\n\rb", "a\r\nb\r\n" },
        BodyCase { "\r\n\r\nend", "\r\n\r\nend\r\n" },
        BodyCase { "begin{{\r\n::Page::\r\n", "begin{{\r\n::Page::\r\n" },
        BodyCase { "x}}end", "x}}end\r\n" }));

TEST(TreeTemplateWrite, TextTheFormatCannotHoldIsMendedAndReported)
{
    TemplateTree t;
    Node* root = t.doc.documentNode();
    Node* a = t.doc.appendNode(root, "line\r\nbreak", 2);
    a->data()->MemoStr = "}}end\r\nkeep}}end\r\n}}endtail";
    Node* b = t.doc.appendNode(root, "plain", 2);
    b->data()->MemoStr = "ok";
    Node* c = t.doc.appendNode(root, "eof\x1A", 2);
    c->data()->MemoStr = "a\x1A"
                         "b";

    std::vector<std::string> changed;
    const std::string bytes = serializeTreeTemplate(*root, &changed);
    EXPECT_EQ(changed, (std::vector<std::string> { "line\r\nbreak", "eof\x1A" }));

    TemplateTree again;
    ASSERT_TRUE(again.read(bytes).ok());
    EXPECT_EQ(shapeOf(again.doc), "1:line  break 1:plain 1:eof");
    EXPECT_EQ(again.pageAt(1)->data()->MemoStr, " }}end\r\nkeep}}end\r\n }}endtail\r\n");
    EXPECT_EQ(again.pageAt(2)->data()->MemoStr, "ok\r\n");
    EXPECT_EQ(again.pageAt(3)->data()->MemoStr, "ab\r\n");
}

TEST(TreeTemplateRead, BodyEndsAtItsEndMarker)
{
    TemplateTree t;
    // A longer line beginning with the end marker ends the body and stays its last line; the
    // lines after it up to the next page are not part of any page.
    const TemplateReadResult result = t.read(
        std::string(kHeader) + page(1, "a", 2, "x\r\n}}endmore\r\nlost\r\n") + page(1, "b", 2, "y\r\n"));
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(shapeOf(t.doc), "1:a 1:b");
    EXPECT_EQ(t.pageAt(1)->data()->MemoStr, "x\r\n}}endmore\r\n");
    EXPECT_EQ(t.pageAt(2)->data()->MemoStr, "y\r\n");
}

TEST(TreeTemplateRead, LineEndsAndTheEndOfFileByte)
{
    const std::string crlf
        = std::string(kHeader) + page(1, "a", 1, "one\r\n\r\ntwo\r\n") + page(2, "b", 2, "");
    for (std::string_view eol : { "\n", "\r" }) {
        std::string other;
        for (std::size_t i = 0; i < crlf.size(); ++i) {
            if (crlf.compare(i, 2, "\r\n") == 0) {
                other += eol;
                ++i;
            } else {
                other += crlf[i];
            }
        }
        TemplateTree t;
        ASSERT_TRUE(t.read(other).ok()) << int(eol[0]);
        EXPECT_EQ(shapeOf(t.doc), "1:a 2:b");
        EXPECT_EQ(t.pageAt(1)->data()->MemoStr, "one\r\n\r\ntwo\r\n");
    }

    // Everything after a 1Ah byte is gone: here the file ends inside the body.
    TemplateTree t;
    EXPECT_TRUE(t.read(std::string(kHeader)
                     + page(1, "a", 2,
                         "before\x1A"
                         "after\r\n")
                     + page(1, "b"))
                    .ok());
    EXPECT_EQ(shapeOf(t.doc), "1:a");
    EXPECT_EQ(t.pageAt(1)->data()->MemoStr, "before\r\n");
}

TEST(TreeTemplateRead, TextBeforeTheFirstPageAndMissingSeparatorsAreHarmless)
{
    TemplateTree t;
    std::string bytes = std::string(kHeader) + "comment\r\n::Pag\r\n" + page(1, "a");
    // Without the empty line before it, the next page must not be swallowed.
    bytes += page(2, "b").substr(2) + page(1, "c").substr(2);
    EXPECT_TRUE(t.read(bytes).ok());
    EXPECT_EQ(shapeOf(t.doc), "1:a 2:b 1:c");
}

TEST(TreeTemplateRead, ShapeUnderTheBaseNodeWithSelectionAndExpansion)
{
    TemplateTree t;
    const TemplateReadResult result = t.read(std::string(kHeader) + page(1, "a") + page(2, "b") + page(3, "c")
        + page(2, "d") + page(1, "e") + page(2, "f"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.pagesAdded, 6u);
    EXPECT_EQ(shapeOf(t.doc), "1:a 2:b 3:c 2:d 1:e 2:f");
    ASSERT_NE(result.firstPage, nullptr);
    EXPECT_EQ(result.firstPage->title(), "a");
    for (int i : { 0, 1, 2, 5 })
        EXPECT_TRUE(t.pageAt(i)->isExpanded()) << i;
    for (int i : { 3, 4, 6 })
        EXPECT_FALSE(t.pageAt(i)->isExpanded()) << i;
    EXPECT_FALSE(t.doc.isModified());
}

TEST(TreeTemplateRead, PagesDeeperThanTheFirstLevelTable)
{
    std::string bytes(kHeader);
    for (int level = 1; level <= 40; ++level)
        bytes += page(level, "L" + std::to_string(level));
    TemplateTree t;
    ASSERT_TRUE(t.read(bytes).ok());
    EXPECT_EQ(t.doc.nodeCount(), 41u);
    EXPECT_EQ(t.pageAt(40)->title(), "L40");
    EXPECT_EQ(t.pageAt(40)->level(), 40);
}

TEST(TreeTemplateRead, IntoTheDocumentUnderATopLevelOrUserNode)
{
    Document doc;
    doc.newDocument();
    Node* memo = doc.appendNode(doc.documentNode(), "existing", 2);
    const std::string bytes = std::string(kHeader) + page(1, "t1", 1, "body\r\n") + page(2, "t2", 3);

    TemplateReadResult result = parseTreeTemplate(bytes, doc, doc.paperFolderNode());
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(doc.paperFolderNode()->childCount(), 1);
    Node* added = doc.paperFolderNode()->child(0);
    ASSERT_EQ(added->childCount(), 1);
    EXPECT_EQ(result.firstPage, added);
    EXPECT_TRUE(added->isUserNode());
    EXPECT_EQ(added->data()->MemoStr, "body\r\n");
    EXPECT_EQ(added->child(0)->imageIndex(), 3);
    EXPECT_TRUE(doc.paperFolderNode()->isExpanded());

    result = parseTreeTemplate(bytes, doc, templateBaseNode(doc, TemplateTarget::TreePane, memo));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(memo->childCount(), 1);
    EXPECT_TRUE(memo->isExpanded());
    EXPECT_TRUE(doc.documentNode()->isExpanded());

    EXPECT_EQ(parseTreeTemplate(bytes, doc, nullptr).status, TemplateReadStatus::NoBaseNode);
    EXPECT_EQ(parseTreeTemplate(bytes, doc, doc.root()).status, TemplateReadStatus::NoBaseNode);
    EXPECT_EQ(doc.nodeCount(), 7u);
}

struct HeaderCase {
    std::string_view bytes;
    TemplateReadStatus status;
};

class TreeTemplateHeader : public testing::TestWithParam<HeaderCase> { };

TEST_P(TreeTemplateHeader, WrongMagicOrVersionAddsNothing)
{
    TemplateTree t;
    const TemplateReadResult result = t.read(std::string(GetParam().bytes) + page(1, "a"));
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(t.doc.nodeCount(), 1u);
    if (GetParam().status == TemplateReadStatus::NotTemplateFile) {
        EXPECT_EQ(result.message.text, "Notarium のテンプレートファイルではありません。");
        EXPECT_EQ(result.message.icon, MessageIcon::Information);
    } else {
        EXPECT_EQ(result.message.text, "テンプレートファイルのバージョンエラーです。");
        EXPECT_EQ(result.message.caption, "ファイルエラー");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeTemplateHeader,
    testing::Values(
        HeaderCase { "Notarium Data File\r\nVersion 1.10\r\n", TemplateReadStatus::NotTemplateFile },
        HeaderCase { "Notarium Template File \r\nVersion 1.10\r\n", TemplateReadStatus::NotTemplateFile },
        HeaderCase {
            "\xEF\xBB\xBFNotarium Template File\r\nVersion 1.10\r\n", TemplateReadStatus::NotTemplateFile },
        HeaderCase { "\x1A", TemplateReadStatus::NotTemplateFile },
        HeaderCase { "Notarium Template File\r\nVersion 1.1\r\n", TemplateReadStatus::BadVersion },
        HeaderCase { "Notarium Template File\r\nVersion 1.10 \r\n", TemplateReadStatus::BadVersion },
        HeaderCase { "Notarium Template File\r\nVersion 2.00\r\n", TemplateReadStatus::BadVersion },
        HeaderCase { "Notarium Template File\r\n", TemplateReadStatus::BadVersion }));

TEST(TreeTemplateRead, EmptyFileAddsNothingWithoutMessage)
{
    TemplateTree t;
    const TemplateReadResult result = t.read("");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(t.doc.nodeCount(), 1u);
}

struct CorruptCase {
    std::string_view name;
    std::string pages;
    std::string_view kept;
};

class TreeTemplateCorrupt : public testing::TestWithParam<CorruptCase> { };

TEST_P(TreeTemplateCorrupt, KeepsThePagesReadBefore)
{
    TemplateTree t;
    const TemplateReadResult result = t.read(std::string(kHeader) + GetParam().pages);
    EXPECT_EQ(result.status, TemplateReadStatus::Corrupt);
    EXPECT_EQ(result.message.text,
        "テンプレートファイルの読み込み中にエラーが発生しました。\r\nファイルが壊れている可能性があります。");
    EXPECT_EQ(result.message.icon, MessageIcon::Error);
    EXPECT_EQ(shapeOf(t.doc), GetParam().kept);
    EXPECT_EQ(result.pagesAdded, t.doc.nodeCount() - 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeTemplateCorrupt,
    testing::Values(CorruptCase { "LevelZero", page(1, "a") + page(0, "root?"), "1:a" },
        CorruptCase { "NegativeLevel", page(1, "a") + page(-1, "x"), "1:a" },
        CorruptCase { "FirstPageTooDeep", page(2, "x"), "" },
        CorruptCase { "LevelJumpOverAnEmptyEntry", page(1, "a") + page(2, "b") + page(4, "x"), "1:a 2:b" },
        CorruptCase { "HugeLevel", page(1, "a") + page(2147483647, "x"), "1:a" },
        CorruptCase { "LevelBeyond32Bits", page(1, "a") + page("4294967297", "x", 2, ""), "1:a" },
        CorruptCase { "LevelNotANumber", page(1, "a") + page("one", "x", 2, ""), "1:a" },
        CorruptCase { "ImageNotANumber",
            page(1, "a") + "\r\n::Page::\r\n1\r\nx\r\n2x\r\n2\r\nbegin{{\r\n}}end\r\n", "1:a" },
        CorruptCase { "SelectedMissing",
            page(1, "a") + "\r\n::Page::\r\n1\r\nx\r\n2\r\n\r\nbegin{{\r\n}}end\r\n", "1:a" },
        CorruptCase {
            "BeginMissing", page(1, "a") + "\r\n::Page::\r\n1\r\nx\r\n2\r\n2\r\nbegin{\r\n}}end\r\n", "1:a" },
        CorruptCase { "FileEndsInsideAPage", page(1, "a") + "\r\n::Page::\r\n1\r\nx\r\n", "1:a" },
        CorruptCase { "TrailingLinesWithoutAPage", page(1, "a") + "\r\nstray\r\n", "1:a" },
        // The end marker line cuts the body; the rest of the page is then stray lines.
        CorruptCase { "EndMarkerInsideABody", page(1, "a", 2, "x\r\n}}end\r\ny\r\n"), "1:a" }),
    [](const testing::TestParamInfo<CorruptCase>& info) { return std::string(info.param.name); });

// A file cut off inside its last page: cut in the lines before "begin{{", the page is corrupt and
// the pages before it stay; from "begin{{" on the page stands with the body lines that made it.
// Each line is cut once after its text and once after its line end.
TEST(TreeTemplateRead, PageCutOffAtEachLine)
{
    const std::string before = std::string(kHeader) + page(1, "a");
    const std::string last = page(2, "b", 3, "x\r\n");
    struct Cut {
        std::string_view line; // the last line the cut file holds
        bool ok;
        std::string_view shape;
        std::string_view body;
    };
    const Cut cuts[] = { { "", true, "1:a", "" }, { "::Page::", false, "1:a", "" }, { "2", false, "1:a", "" },
        { "b", false, "1:a", "" }, { "3", false, "1:a", "" }, { "3", false, "1:a", "" },
        { "begin{{", true, "1:a 2:b", "" }, { "x", true, "1:a 2:b", "x\r\n" },
        { "}}end", true, "1:a 2:b", "x\r\n" } };
    std::size_t at = 0;
    for (const Cut& cut : cuts) {
        ASSERT_EQ(last.compare(at, cut.line.size(), cut.line), 0) << at;
        at += cut.line.size();
        for (const std::size_t end : { at, at + 2 }) {
            SCOPED_TRACE(last.substr(0, end));
            TemplateTree t;
            const TemplateReadResult result = t.read(before + last.substr(0, end));
            EXPECT_EQ(result.status, cut.ok ? TemplateReadStatus::Ok : TemplateReadStatus::Corrupt);
            EXPECT_EQ(result.message.text, cut.ok ? "" : messages::CorruptTemplateFile.text);
            EXPECT_EQ(shapeOf(t.doc), cut.shape);
            if (t.doc.nodeCount() == 3) {
                EXPECT_EQ(t.pageAt(2)->imageIndex(), 3);
                EXPECT_EQ(t.pageAt(2)->data()->MemoStr, cut.body);
            }
        }
        at += 2;
    }
    EXPECT_EQ(at, last.size());
}

TEST(TreeTemplateRead, PageGoesUnderTheLastPageOfTheLevelAbove)
{
    // Level 3 after a new level-1 page: the level-2 entry still holds the page of the first
    // subtree, so the page goes there (no page is lost, and no parent is invented).
    TemplateTree t;
    ASSERT_TRUE(
        t.read(std::string(kHeader) + page(1, "a") + page(2, "b") + page(1, "c") + page(3, "d")).ok());
    EXPECT_EQ(shapeOf(t.doc), "1:a 2:b 3:d 1:c");
}

// Random small templates: written and read back they give the same pages, and writing those
// again gives the same bytes.
TEST(TreeTemplateRoundTrip, RandomTemplatesReadBackTheSame)
{
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<std::string> words { "", "a", "メモ", "\x82\xA0\x82\xA2", "}}", "::Page::", "begin{{",
        " x ", "1", "\x81\x5C", "end" };
    for (int round = 0; round < 200; ++round) {
        TemplateTree t;
        std::vector<Node*> pages { t.doc.documentNode() };
        const int count = pick(12);
        for (int i = 0; i < count; ++i) {
            Node* parent = pages[static_cast<std::size_t>(pick(static_cast<int>(pages.size())))];
            const int kind = 1 + pick(3);
            Node* node = t.doc.appendNode(parent, words[static_cast<std::size_t>(pick(11))], kind);
            t.doc.setImageIndexes(node, kind, pick(4) == 0 ? kind + 1 : kind);
            pages.push_back(node);
            // Lines with lone CR, lone LF or CR LF between them; an empty line keeps CR LF on both
            // sides so that no two break characters meet.
            std::vector<std::string> lines;
            for (int n = pick(5); n > 0; --n)
                lines.push_back(words[static_cast<std::size_t>(pick(11))]);
            std::string body;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                body += lines[l];
                const bool last = l + 1 == lines.size();
                if (last && pick(2) == 0)
                    break;
                const bool plain = !lines[l].empty() && (last || !lines[l + 1].empty());
                body += plain
                    ? std::vector<std::string> { "\r", "\n", "\r\n" }[static_cast<std::size_t>(pick(3))]
                    : "\r\n";
            }
            node->data()->MemoStr = body;
        }
        std::vector<std::string> bodies;
        t.doc.forEachInOrder([&](const Node* node, int level) {
            if (level > 0) {
                std::string expected;
                std::string_view b = node->data()->MemoStr;
                for (std::size_t i = 0; i < b.size(); ++i) {
                    if (b[i] == '\r' || b[i] == '\n') {
                        expected += "\r\n";
                        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
                            ++i;
                    } else {
                        expected += b[i];
                    }
                }
                if (!expected.empty() && !expected.ends_with("\r\n"))
                    expected += "\r\n";
                bodies.push_back(expected);
            }
        });

        std::vector<std::string> changed;
        const std::string bytes = serializeTreeTemplate(*t.doc.documentNode(), &changed);
        EXPECT_TRUE(changed.empty());
        TemplateTree again;
        const TemplateReadResult result = again.read(bytes);
        ASSERT_TRUE(result.ok()) << bytes;
        ASSERT_EQ(shapeOf(again.doc), shapeOf(t.doc)) << bytes;
        std::size_t i = 0;
        again.doc.forEachInOrder([&](const Node* node, int level) {
            if (level == 0)
                return;
            const Node* original = t.doc.nodeAt(static_cast<long long>(i) + 1);
            EXPECT_EQ(node->imageIndex(), original->imageIndex());
            EXPECT_EQ(node->selectedIndex(), original->selectedIndex());
            EXPECT_EQ(node->data()->MemoStr, bodies[i]) << bytes;
            ++i;
        });
        EXPECT_EQ(serializeTreeTemplate(*again.doc.documentNode()), bytes);
    }
}

class TreeTemplateOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("notarium-treetemplate-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(TreeTemplateOnDisk, WriteAndLoad)
{
    TemplateTree t;
    Node* page = t.doc.appendNode(t.doc.documentNode(), "週報", 1);
    t.doc.appendNode(page, "title\rbreak", 2)->data()->MemoStr = "本文";
    const std::string path = (m_dir / "w.nmt").string();
    const WriteResult written = writeTreeTemplate(path, t.doc);
    ASSERT_TRUE(written.ok) << written.errorText;
    EXPECT_EQ(written.changedTitles, std::vector<std::string> { "title\rbreak" });

    TemplateTree again;
    const TemplateReadResult result = loadTemplateTree(path, again.doc, again.doc.documentNode());
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(shapeOf(again.doc), "1:週報 2:title break");
    EXPECT_EQ(again.pageAt(2)->data()->MemoStr, "本文\r\n");
}

TEST_F(TreeTemplateOnDisk, FailuresAreReported)
{
    TemplateTree t;
    t.doc.appendNode(t.doc.documentNode(), "a\nb", 2);
    const WriteResult written = writeTreeTemplate((m_dir / "missing" / "w.nmt").string(), t.doc);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.message.text, messages::CannotSaveTemplate.text);
    EXPECT_TRUE(written.changedTitles.empty());

    const TemplateReadResult result
        = loadTemplateTree((m_dir / "none.nmt").string(), t.doc, t.doc.documentNode());
    EXPECT_EQ(result.status, TemplateReadStatus::CannotOpen);
    EXPECT_FALSE(result.errorText.empty());
    EXPECT_EQ(t.doc.nodeCount(), 2u);
}

TEST_F(TreeTemplateOnDisk, StreamingFromTheFileGivesWhatReadingFromMemoryGives)
{
    std::vector<std::string> inputs { "", "\x1A", std::string(kHeader), std::string(kHeader) + "\x1A" + page(1, "after") };
    for (const auto& entry : fs::directory_iterator(fs::path(NOTARIUM_FUZZ_CORPUS) / "template")) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Longer than the read buffer, bodies and all, so that lines and bodies cross its refills.
    std::string large(kHeader);
    for (int i = 0; i < 300; ++i)
        large += page(1 + i % 3, "page " + std::to_string(i), 2, std::string(static_cast<std::size_t>(10000 + i), static_cast<char>('a' + i % 26)) + "\r\n");
    inputs.push_back(large);

    const std::string path = (m_dir / "stream.nmt").string();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE("input " + std::to_string(i));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << inputs[i];
        TemplateTree fromMemory;
        const TemplateReadResult expected = fromMemory.read(inputs[i]);
        TemplateTree fromFile;
        const TemplateReadResult streamed = loadTemplateTree(path, fromFile.doc, fromFile.doc.documentNode());
        ASSERT_EQ(streamed.status, expected.status);
        EXPECT_EQ(streamed.message.text, expected.message.text);
        EXPECT_EQ(streamed.pagesAdded, expected.pagesAdded);
        EXPECT_EQ(serializeTreeTemplate(*fromFile.doc.documentNode()), serializeTreeTemplate(*fromMemory.doc.documentNode()));
    }
}

TEST_F(TreeTemplateOnDisk, AFileBeyondTheFormatsPositionsIsRefusedUnread)
{
    // Sparse: the size is there without the bytes. The valid pages at the start show that the size
    // alone decides, for the template editor's reader and for applying a template alike.
    const std::string path = (m_dir / "huge.nmt").string();
    TemplateTree t;
    t.doc.appendNode(t.doc.documentNode(), "page", 2);
    ASSERT_TRUE(writeTreeTemplate(path, t.doc).ok);
    ASSERT_EQ(::truncate(path.c_str(), kLargestReadableFile + 1), 0);

    TemplateTree editor;
    const TemplateReadResult read = loadTemplateTree(path, editor.doc, editor.doc.documentNode());
    EXPECT_EQ(read.status, TemplateReadStatus::TooLarge);
    EXPECT_EQ(read.message.text, messages::TooLargeTemplateFile.text);
    EXPECT_EQ(read.message.caption, "ファイルエラー");
    EXPECT_EQ(read.message.icon, MessageIcon::Error);
    EXPECT_EQ(read.pagesAdded, 0u);
    EXPECT_EQ(shapeOf(editor.doc), "");

    Document doc;
    doc.newDocument();
    Node* memo = doc.createUserNode(doc.documentNode(), 0, KindMemo, "memo");
    const TemplateReadResult applied = applyTreeTemplateFile(path, doc, memo);
    EXPECT_EQ(applied.status, TemplateReadStatus::TooLarge);
    EXPECT_EQ(applied.message.text, messages::TooLargeTemplateFile.text);
    EXPECT_EQ(applied.firstPage, nullptr);
    EXPECT_EQ(memo->childCount(), 0);

    // One byte less is a size the format holds.
    EXPECT_TRUE(isTooLargeToRead(path));
    ASSERT_EQ(::truncate(path.c_str(), kLargestReadableFile), 0);
    EXPECT_FALSE(isTooLargeToRead(path));
}

TEST(TemplateMessages, MissingFileNamesThePath)
{
    EXPECT_EQ(messages::templateFileMissingText("/t/週報.nmt"),
        "テンプレートファイル /t/週報.nmt が見つかりません。");
    EXPECT_EQ(messages::TemplateFileMissing.caption, "ファイルエラー");
    EXPECT_EQ(messages::TemplateFileMissing.icon, MessageIcon::Error);
}

} // namespace
} // namespace notarium
