#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/io/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "Notarium Data File\r\nVersion 1.10\r\n\r\n::CurrentNode::\r\n";

std::string page(
    int level, std::string_view title, int image, std::string_view expanded, std::string_view body)
{
    std::string s = "\r\n::Page::\r\n" + std::to_string(level) + "\r\n" + std::string(title) + "\r\n"
        + std::to_string(image) + "\r\n" + std::to_string(image) + "\r\n";
    if (!expanded.empty())
        s += std::string(expanded) + "\r\n";
    return s + "begin{{\r\n" + std::string(body) + "}}end\r\n";
}

// A file as the writer makes it: current node, bookmark lines, then pages.
std::string file(int current, std::string_view bookmarks, const std::string& pages)
{
    return std::string(kHeader) + std::to_string(current) + "\r\n\r\n::Bookmarks::\r\n"
        + std::string(bookmarks) + pages;
}

std::string topPages()
{
    return page(0, "Untitled", 4, "TRUE", "") + page(0, "Paper Folder", 0, "TRUE", "");
}

ReadResult parse(std::string_view bytes, Document& doc)
{
    return parseDataFile(bytes, doc);
}

std::string bodyOf(const Document& doc, int index)
{
    return doc.nodeAt(index)->data()->MemoStr;
}

TEST(DataFileWrite, NewDocumentIsWrittenExactlyAndReadsBack)
{
    Document doc;
    doc.newDocument();
    doc.setExpanded(doc.documentNode(), true);
    doc.setExpanded(doc.paperFolderNode(), true);
    const std::string bytes = serializeDataFile(doc, 0);
    EXPECT_EQ(bytes, file(0, "nil\r\n", topPages()));

    Document back;
    const ReadResult result = parse(bytes, back);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(back.nodeCount(), 2u);
    EXPECT_EQ(back.documentNode()->title(), "Untitled");
    EXPECT_EQ(back.paperFolderNode()->title(), "Paper Folder");
    EXPECT_FALSE(back.hasBookmarkTable());
    EXPECT_EQ(serializeDataFile(back, 0), bytes);
}

struct BodyCase {
    const char* name;
    std::string stored; // MemoStr before writing
    std::string lines; // what stands between "begin{{" and "}}end"
    std::string readBack; // MemoStr after reading
};

void PrintTo(const BodyCase& c, std::ostream* os)
{
    *os << c.name;
}

class DataFileBody : public ::testing::TestWithParam<BodyCase> { };

TEST_P(DataFileBody, WrittenAndReadBack)
{
    const BodyCase& c = GetParam();
    Document doc;
    doc.newDocument();
    Node* memo = doc.appendNode(doc.documentNode(), "m", KindMemo);
    memo->data()->MemoStr = c.stored;
    std::vector<std::string> changed;
    const std::string bytes = serializeDataFile(doc, 2, &changed);
    EXPECT_NE(bytes.find("begin{{\r\n" + c.lines + "}}end\r\n\r\n::Page::\r\n0\r\nPaper"), std::string::npos)
        << bytes;
    Document back;
    ASSERT_TRUE(parse(bytes, back).ok());
    EXPECT_EQ(bodyOf(back, 1), c.readBack);
    // What was read back is written the same way again.
    EXPECT_EQ(serializeDataFile(back, 2), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataFileBody,
    ::testing::Values(BodyCase { "NoFinalBreak", "abc", "abc\r\n", "abc\r\n" },
        BodyCase { "FinalBreak", "abc\r\n", "abc\r\n", "abc\r\n" }, BodyCase { "Empty", "", "", "" },
        BodyCase { "OneBreak", "\r\n", "\r\n", "\r\n" },
        BodyCase { "LoneBreaks", "a\rb\nc\n\rd", "a\r\nb\r\nc\r\nd\r\n", "a\r\nb\r\nc\r\nd\r\n" },
        BodyCase { "BlankLines", "\r\n\r\nx\r\n\r\n", "\r\n\r\nx\r\n\r\n", "\r\n\r\nx\r\n\r\n" },
        BodyCase { "ShiftJisTrailBytes", "\x95\x5C\x83\x5C", "\x95\x5C\x83\x5C\r\n", "\x95\x5C\x83\x5C\r\n" },
        // Lines the format cannot hold are mended instead of cutting the body short.
        BodyCase { "EndMarkerLine", "a\r\n}}end\r\nb", "a\r\n }}end\r\nb\r\n", "a\r\n }}end\r\nb\r\n" },
        BodyCase { "EndMarkerPrefix", "}}ending", " }}ending\r\n", " }}ending\r\n" },
        BodyCase { "EndOfFileByte",
            "a\x1A"
            "b\r\n\x1A}}end",
            "ab\r\n }}end\r\n", "ab\r\n }}end\r\n" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFileWrite, ReportsTheNodesItHadToChange)
{
    Document doc;
    doc.newDocument();
    doc.appendNode(doc.documentNode(), "plain", KindMemo)->data()->MemoStr = "}}endless\r\n";
    doc.appendNode(doc.documentNode(), "fine", KindMemo)->data()->MemoStr = "text }}end\r\n";
    doc.appendNode(doc.documentNode(), "two\r\nlines", KindMemo);
    std::vector<std::string> changed;
    const std::string bytes = serializeDataFile(doc, 0, &changed);
    EXPECT_EQ(changed, (std::vector<std::string> { "plain", "two\r\nlines" }));
    Document back;
    ASSERT_TRUE(parse(bytes, back).ok());
    EXPECT_EQ(back.nodeCount(), 5u);
    EXPECT_EQ(back.nodeAt(3)->title(), "two  lines");
}

TEST(DataFileRead, LineEndingsAndTheEndOfFileByte)
{
    std::string crlf = file(1, "nil\r\n",
        page(0, "D", 4, "TRUE", "") + page(1, "m", 2, "FALSE", "x\r\ny\r\n") + page(0, "P", 0, "TRUE", ""));
    for (const std::string& ending : { std::string("\n"), std::string("\r") }) {
        std::string other;
        for (std::size_t i = 0; i < crlf.size(); ++i) {
            if (crlf.compare(i, 2, "\r\n") == 0) {
                other += ending;
                ++i;
            } else {
                other += crlf[i];
            }
        }
        Document doc;
        ASSERT_TRUE(parse(other, doc).ok());
        EXPECT_EQ(bodyOf(doc, 1), "x\r\ny\r\n");
    }
    // 1Ah ends the file: the paper folder page after it is not read.
    Document doc;
    std::string cut = crlf;
    cut.insert(cut.find("\r\n::Page::\r\n0\r\nP"), "\x1A");
    EXPECT_EQ(parse(cut, doc).status, ReadStatus::Malformed);
    EXPECT_EQ(doc.nodeCount(), 2u);
}

TEST(DataFileRead, LevelZeroBodiesAreDropped)
{
    Document doc;
    ASSERT_TRUE(
        parse(file(0, "nil\r\n", page(0, "D", 4, "TRUE", "stray\r\n") + page(0, "P", 0, "TRUE", "")), doc)
            .ok());
    EXPECT_EQ(doc.documentNode()->data(), nullptr);
    EXPECT_EQ(serializeDataFile(doc, 0).find("stray"), std::string::npos);
}

TEST(DataFileRead, OldFormatHasNoRecordsAndNoExpandedLines)
{
    const std::string old = "Notarium Data File\r\nVersion 0.90\r\n" + page(0, "D", 4, "", "")
        + page(1, "m", 2, "", "b\r\n") + page(0, "P", 0, "", "");
    Document doc;
    const ReadResult result = parse(old, doc);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.oldFormat);
    EXPECT_TRUE(doc.isOldFormat());
    EXPECT_EQ(bodyOf(doc, 1), "b\r\n");
    EXPECT_EQ(doc.nodeCount(), 3u);
    // Opening an old file selects node 1 and ignores the saved index.
    EXPECT_EQ(applyOpenRules(doc, result, true, true), doc.nodeAt(1));
    // It is written in the current format.
    EXPECT_EQ(serializeDataFile(doc, 1).substr(0, kHeader.size()), kHeader);
}

TEST(DataFileRead, PagesAreAttachedThroughTheLevelTable)
{
    // 1 A, 3 X (no level-2 node yet: goes under A), 2 B, 3 Y (under B), 1 C, 3 Z (under B: the
    // most recent level-2 node), 25 deep levels grow the table.
    std::string pages = page(0, "D", 4, "TRUE", "") + page(1, "A", 1, "TRUE", "")
        + page(3, "X", 2, "FALSE", "") + page(2, "B", 2, "FALSE", "") + page(3, "Y", 2, "FALSE", "")
        + page(1, "C", 1, "FALSE", "") + page(3, "Z", 2, "FALSE", "");
    for (int level = 2; level <= 25; ++level)
        pages += page(level, "L" + std::to_string(level), 2, "FALSE", "");
    pages += page(0, "P", 0, "TRUE", "");
    Document doc;
    ASSERT_TRUE(parse(file(0, "nil\r\n", pages), doc).ok());
    Node* a = doc.documentNode()->child(0);
    EXPECT_EQ(a->title(), "A");
    ASSERT_EQ(a->childCount(), 2);
    EXPECT_EQ(a->child(0)->title(), "X");
    Node* b = a->child(1);
    EXPECT_EQ(b->title(), "B");
    ASSERT_EQ(b->childCount(), 2);
    EXPECT_EQ(b->child(0)->title(), "Y");
    EXPECT_EQ(b->child(1)->title(), "Z");
    EXPECT_EQ(doc.documentNode()->child(1)->title(), "C");
    EXPECT_EQ(doc.nodeAt(static_cast<long long>(doc.nodeCount()) - 2)->level(), 25);
}

TEST(DataFileRead, CurrentNodeAndBookmarkRecords)
{
    const std::string pages = topPages().insert(topPages().find("\r\n::Page::\r\n0\r\nPaper"),
        page(1, "a", 2, "FALSE", "") + page(1, "b", 2, "TRUE", ""));
    struct Case {
        std::string current;
        std::string bookmarks;
        int savedCurrent; // -1: names no node
        std::string slots; // "nil" or ten entries
    };
    const Case cases[] = {
        { "2", "nil\r\n", 2, "nil" },
        { "", "\r\n", 0, "nil" },
        { "99", "nil\r\n", -1, "nil" },
        { "-1", "nil\r\n", -1, "nil" },
        { "1", "2\r\nNone\r\n1\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\n", 1,
            "2,-,1,-,-,-,-,-,-,-" },
        { "1", "None\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\n", 1,
            "-,-,-,-,-,-,-,-,-,-" },
        // Bad lines leave their slot empty; lines after the tenth are not read.
        { "1", "x\r\n77\r\n2\r\n", 1, "-,-,2,-,-,-,-,-,-,-" },
        { "1", "None\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\nNone\r\n3\r\n", 1,
            "-,-,-,-,-,-,-,-,-,-" },
        // A record that names nothing usable is no table.
        { "1", "junk\r\n500\r\n", 1, "nil" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current + " / " + c.bookmarks);
        Document doc;
        const ReadResult result
            = parse(file(0, c.bookmarks, pages).replace(kHeader.size(), 1, c.current), doc);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.savedCurrentIndex, c.savedCurrent);
        const Node* selected = applyOpenRules(doc, result, true, true);
        EXPECT_EQ(doc.absoluteIndex(selected), c.savedCurrent < 0 ? 1 : c.savedCurrent);
        std::string slots = "nil";
        if (doc.hasBookmarkTable()) {
            slots.clear();
            for (const Node* n : *doc.bookmarkTable())
                slots += (slots.empty() ? "" : ",")
                    + (n ? std::to_string(doc.absoluteIndex(n)) : std::string("-"));
        }
        EXPECT_EQ(slots, c.slots);
    }
    // With bookmarks not restored, none are.
    Document doc;
    ReadOptions options;
    options.restoreBookmarks = false;
    ASSERT_TRUE(parseDataFile(file(0, "2\r\n", pages), doc, options).ok());
    EXPECT_FALSE(doc.hasBookmarkTable());
}

TEST(DataFileRead, BadFilesGiveTheirMessages)
{
    struct Case {
        std::string bytes;
        ReadStatus status;
    };
    const std::string good = file(0, "nil\r\n", topPages());
    auto replaced = [&](std::string_view from, std::string_view to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const Case cases[] = {
        { "", ReadStatus::Empty },
        { "\x1A", ReadStatus::NotDataFile },
        { "Notarium Data File \r\n", ReadStatus::NotDataFile },
        { "notarium data file\r\nVersion 1.10\r\n", ReadStatus::NotDataFile },
        { "Notarium Data File\r\n", ReadStatus::Malformed },
        { replaced("Version 1.10", "Version x.10"), ReadStatus::Malformed },
        { replaced("Version 1.10", "Version"), ReadStatus::Malformed },
        { replaced("::CurrentNode::\r\n0", "::CurrentNode::\r\nzero"), ReadStatus::Malformed },
        { replaced("::Page::\r\n0\r\nPaper", "::Page::\r\nx\r\nPaper"), ReadStatus::Malformed },
        { replaced("::Page::\r\n0\r\nPaper", "::Page::\r\n-1\r\nPaper"), ReadStatus::Malformed },
        { replaced("Paper Folder\r\n0\r\n0", "Paper Folder\r\n0\r\nA"), ReadStatus::Malformed },
        { replaced("Paper Folder\r\n0\r\n0\r\nTRUE\r\nbegin{{", "Paper Folder\r\n0\r\n0\r\nTRUE\r\nbegin"),
            ReadStatus::Malformed },
        // The tree must hold exactly the two top-level nodes, the document node first.
        { file(0, "nil\r\n", page(0, "D", 4, "TRUE", "")), ReadStatus::Malformed },
        { file(0, "nil\r\n", topPages() + page(0, "X", 0, "TRUE", "")), ReadStatus::Malformed },
        { file(0, "nil\r\n", page(1, "m", 2, "TRUE", "") + topPages()), ReadStatus::Malformed },
        { file(0, "nil\r\n", ""), ReadStatus::Malformed },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Document doc;
        const ReadResult result = parse(c.bytes, doc);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.message.empty());
    }
    Document doc;
    EXPECT_EQ(parse(good, doc).message.text, "");
    EXPECT_EQ(parse("", doc).message.text, messages::EmptyFile.text);
    EXPECT_EQ(messages::MalformedFile.caption, "ファイルエラー");
}

TEST(DataFileRead, TrailingLinesAndBodiesRunningToTheEnd)
{
    Document doc;
    ASSERT_TRUE(parse(file(0, "nil\r\n", topPages()) + "\r\n\r\n", doc).ok());
    // A page whose body has no end marker keeps what stands up to the end of the file.
    std::string cut = file(0, "nil\r\n", topPages() + page(1, "m", 2, "FALSE", "x\r\ny"));
    cut.erase(cut.size() - std::string_view("}}end\r\n").size());
    Document doc2;
    // The memo is attached under the paper folder, the last level-0 node.
    ASSERT_TRUE(parse(cut, doc2).ok());
    EXPECT_EQ(bodyOf(doc2, 2), "x\r\ny\r\n");
    // A page header right after "}}end", with no blank line between, is still a page.
    std::string tight = file(0, "nil\r\n", topPages() + page(1, "m", 2, "FALSE", "x\r\n"));
    tight.erase(tight.rfind("\r\n::Page::"), 2);
    Document doc3;
    ASSERT_TRUE(parse(tight, doc3).ok());
    EXPECT_EQ(doc3.nodeCount(), 3u);
}

// A file cut off inside its last page, as a full disk or a crash leaves it: cut in the lines
// before "begin{{", the page cannot be read and the file is malformed; from "begin{{" on the page
// stands with the body lines that made it. Each line is cut once after its text and once after
// its line end.
TEST(DataFileRead, PageCutOffAtEachLine)
{
    const std::string before = file(0, "nil\r\n", topPages());
    const std::string last = page(1, "m", 2, "TRUE", "x\r\n");
    struct Cut {
        std::string_view line; // the last line the cut file holds
        bool ok;
        std::size_t nodes;
        std::string_view body;
    };
    const Cut cuts[] = { { "", true, 2, "" }, { "::Page::", false, 0, "" }, { "1", false, 0, "" },
        { "m", false, 0, "" }, { "2", false, 0, "" }, { "2", false, 0, "" }, { "TRUE", false, 0, "" },
        { "begin{{", true, 3, "" }, { "x", true, 3, "x\r\n" }, { "}}end", true, 3, "x\r\n" } };
    std::size_t at = 0;
    for (const Cut& cut : cuts) {
        ASSERT_EQ(last.compare(at, cut.line.size(), cut.line), 0) << at;
        at += cut.line.size();
        for (const std::size_t end : { at, at + 2 }) {
            const std::string bytes = before + last.substr(0, end);
            SCOPED_TRACE(bytes.substr(before.size()));
            Document doc;
            const ReadResult result = parse(bytes, doc);
            ASSERT_EQ(result.ok(), cut.ok);
            if (!cut.ok) {
                EXPECT_EQ(result.status, ReadStatus::Malformed);
                EXPECT_EQ(result.message.text, messages::MalformedFile.text);
                continue;
            }
            ASSERT_EQ(doc.nodeCount(), cut.nodes);
            if (cut.nodes == 3) {
                EXPECT_EQ(doc.nodeAt(2)->title(), "m");
                EXPECT_TRUE(doc.nodeAt(2)->data()->TrOpen);
                EXPECT_EQ(bodyOf(doc, 2), cut.body);
            }
        }
        at += 2;
    }
    EXPECT_EQ(at, last.size());
}

// Builds a random document with every kind of body and title.
void fillRandom(Document& doc, std::mt19937& rng, int nodes)
{
    doc.newDocument();
    const std::string pieces[]
        = { "abc", "\x95\x5C", "\x83\x5C", "\r\n", "\r", "\n", " ", "\x81\x40", "}}end", "\t", "\x82\xA0" };
    std::vector<Node*> candidates { doc.documentNode(), doc.paperFolderNode() };
    for (int i = 0; i < nodes; ++i) {
        Node* parent = candidates[rng() % candidates.size()];
        std::string title = "t" + std::to_string(i) + pieces[rng() % 3];
        Node* n = doc.appendNode(parent, title, 1 + static_cast<int>(rng() % 3));
        std::string body;
        for (unsigned k = rng() % 12; k > 0; --k)
            body += pieces[rng() % std::size(pieces)];
        n->data()->MemoStr = body;
        doc.setExpanded(n, rng() % 2);
        candidates.push_back(n);
    }
    if (rng() % 2)
        doc.setBookmark(static_cast<int>(rng() % 10), candidates.back());
}

TEST(DataFileRoundTrip, RandomDocumentsReadBackTheSame)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        Document doc;
        fillRandom(doc, rng, 1 + round * 3);
        const int current = static_cast<int>(rng() % doc.nodeCount());
        const std::string bytes = serializeDataFile(doc, current);
        Document back;
        const ReadResult result = parse(bytes, back);
        ASSERT_TRUE(result.ok());
        back.applyTreeState();
        ASSERT_EQ(back.nodeCount(), doc.nodeCount());
        for (std::size_t i = 0; i < doc.nodeCount(); ++i) {
            const Node* a = doc.nodeAt(static_cast<long long>(i));
            const Node* b = back.nodeAt(static_cast<long long>(i));
            EXPECT_EQ(a->title(), b->title());
            EXPECT_EQ(a->level(), b->level());
            EXPECT_EQ(a->imageIndex(), b->imageIndex());
            EXPECT_EQ(a->isExpanded(), b->isExpanded());
        }
        EXPECT_EQ(result.savedCurrentIndex, current);
        // A file the program wrote is reproduced byte for byte.
        EXPECT_EQ(serializeDataFile(back, current), bytes);
    }
}

class DataFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path()
            / ("notarium-test-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    std::string contents(const fs::path& path)
    {
        std::string bytes;
        readWholeFile(path.string(), bytes);
        return bytes;
    }
    fs::path folder;
};

TEST_F(DataFileOnDisk, SaveReplacesTheFileKeepingItsPermissions)
{
    Document doc;
    doc.newDocument();
    Node* n = doc.appendNode(doc.documentNode(), "m", KindMemo);
    n->data()->Modify = true;
    const fs::path path = folder / "plan.nmd";
    ASSERT_TRUE(writeFileAtomically(path.string(), "old"));
    ::chmod(path.c_str(), 0640);
    const WriteResult result = writeDataFile(path.string(), doc, 1);
    ASSERT_TRUE(result.ok) << result.errorText;
    EXPECT_FALSE(n->data()->Modify);
    EXPECT_EQ(contents(path), serializeDataFile(doc, 1));
    struct stat st { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(DataFileOnDisk, FailedSaveKeepsTheOldFile)
{
    Document doc;
    doc.newDocument();
    Node* n = doc.appendNode(doc.documentNode(), "m", KindMemo);
    n->data()->Modify = true;
    // The target is a folder: the rename fails after the temporary file was written.
    const fs::path blocked = folder / "blocked.nmd";
    fs::create_directory(blocked);
    WriteResult result = writeDataFile(blocked.string(), doc, 1);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.errorText.empty());
    EXPECT_EQ(result.message.text, messages::CannotSaveFile.text);
    EXPECT_TRUE(n->data()->Modify) << "a failed save leaves the edits marked unsaved";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    result = writeDataFile((folder / "missing" / "x.nmd").string(), doc, 1);
    EXPECT_FALSE(result.ok);

    // A folder the user may not write to. Root may write anywhere, so as root the save runs in a
    // child process that has given up its rights.
    const fs::path path = folder / "plan.nmd";
    ASSERT_TRUE(writeFileAtomically(path.string(), "old"));
    fs::permissions(folder,
        fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec
            | fs::perms::others_read | fs::perms::others_exec);
    auto saveFails = [&] {
        const WriteResult r = writeDataFile(path.string(), doc, 1);
        return !r.ok && !r.errorText.empty();
    };
    if (::geteuid() == 0) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped && saveFails() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
        EXPECT_TRUE(saveFails());
    }
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "no temporary file left";
}

TEST_F(DataFileOnDisk, ReadingAndBackup)
{
    Document doc;
    EXPECT_EQ(readDataFile((folder / "none.nmd").string(), doc).status, ReadStatus::CannotOpen);
    EXPECT_EQ(readDataFile(folder.string(), doc).status, ReadStatus::CannotOpen);
    ASSERT_TRUE(writeFileAtomically((folder / "empty.nmd").string(), ""));
    EXPECT_EQ(readDataFile((folder / "empty.nmd").string(), doc).status, ReadStatus::Empty);

    const std::string bytes = file(0, "nil\r\n", topPages());
    const fs::path path = folder / "plan.v2.nmd";
    ASSERT_TRUE(writeFileAtomically(path.string(), bytes));
    fs::create_directory(folder / "backup");
    ReadOptions options;
    options.backup = true;
    options.backupFolder = (folder / "backup").string();
    Document doc2;
    ReadResult result = readDataFile(path.string(), doc2, options);
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.backupFailed);
    EXPECT_EQ(contents(folder / "backup" / "plan.v2.~nm"), bytes);
    // A backup folder that does not exist changes nothing but the flag.
    options.backupFolder = (folder / "nowhere").string();
    Document doc3;
    result = readDataFile(path.string(), doc3, options);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.backupFailed);
    EXPECT_EQ(backupPathFor("/a/b/notes", "/c/"), "/c/notes.~nm");
}

} // namespace
} // namespace notarium

namespace notarium {
namespace {

TEST(AtomicWrite, SavingThroughALinkReplacesItsTarget)
{
    const fs::path folder = fs::temp_directory_path() / ("notarium-link-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "real");
    ASSERT_TRUE(writeFileAtomically((folder / "real" / "plan.nmd").string(), "old"));
    fs::create_symlink(folder / "real" / "plan.nmd", folder / "link.nmd");
    ASSERT_TRUE(writeFileAtomically((folder / "link.nmd").string(), "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.nmd"));
    std::string bytes;
    ASSERT_TRUE(readWholeFile((folder / "real" / "plan.nmd").string(), bytes));
    EXPECT_EQ(bytes, "new");
    fs::remove_all(folder);
}

} // namespace
} // namespace notarium

namespace notarium {
namespace {

// Reading from a file streams it through a buffer; whatever the buffer's size, the result is the
// one reading the same bytes from memory gives.
TEST_F(DataFileOnDisk, StreamingGivesTheSameDocumentAsReadingFromMemory)
{
    std::mt19937 rng(11);
    std::vector<std::string> inputs;
    for (const auto& entry : fs::directory_iterator(fs::path(NOTARIUM_FUZZ_CORPUS) / "datafile"))
        inputs.push_back(contents(entry.path()));
    for (int round = 0; round < 6; ++round) {
        Document doc;
        fillRandom(doc, rng, 40 + round * 40);
        std::string bytes = serializeDataFile(doc, 1);
        // Mixed line ends and a long line that outgrows any small buffer.
        if (round % 2)
            for (std::size_t i = 0; (i = bytes.find("\r\n", i + 1)) != std::string::npos; i += 1)
                if (rng() % 3 == 0)
                    bytes.erase(i + (rng() % 2), 1);
        if (round == 3)
            doc.nodeAt(2)->data()->MemoStr = std::string(5000, 'x') + "\r\n" + std::string(3000, 'y');
        inputs.push_back(bytes);
        inputs.push_back(serializeDataFile(doc, 2));
    }
    inputs.push_back(inputs.back() + "\x1A" + inputs.front());

    const fs::path path = folder / "stream.nmd";
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        ASSERT_TRUE(writeFileAtomically(path.string(), inputs[i]));
        Document expected;
        const ReadResult fromMemory = parseDataFile(inputs[i], expected);
        for (std::size_t bufferSize : { 2u, 3u, 7u, 16u, 61u, 1024u, 1u << 20 }) {
            SCOPED_TRACE("input " + std::to_string(i) + ", buffer " + std::to_string(bufferSize));
            ReadOptions options;
            options.bufferSize = bufferSize;
            std::uint64_t lastProgress = 0;
            options.progress = [&](std::uint64_t done, std::uint64_t total) {
                EXPECT_GE(done, lastProgress);
                EXPECT_LE(done, total);
                lastProgress = done;
            };
            Document streamed;
            const ReadResult fromFile = readDataFile(path.string(), streamed, options);
            ASSERT_EQ(fromFile.status, fromMemory.status);
            ASSERT_EQ(streamed.nodeCount(), expected.nodeCount());
            EXPECT_EQ(fromFile.savedCurrentIndex, fromMemory.savedCurrentIndex);
            if (fromMemory.ok()) {
                EXPECT_EQ(serializeDataFile(streamed, 0), serializeDataFile(expected, 0));
            }
        }
    }
}

TEST_F(DataFileOnDisk, AFileBeyondTheFormatsPositionsIsRefusedUnread)
{
    // Sparse: the size is there without the bytes. The valid start shows that the size alone decides.
    const fs::path path = folder / "huge.nmd";
    Document small;
    small.newDocument();
    ASSERT_TRUE(writeFileAtomically(path.string(), serializeDataFile(small, 0)));
    ASSERT_EQ(::truncate(path.c_str(), kLargestDataFile + 1), 0);
    Document doc;
    const ReadResult result = readDataFile(path.string(), doc);
    EXPECT_EQ(result.status, ReadStatus::TooLarge);
    EXPECT_EQ(result.message.text, messages::TooLargeFile.text);
    EXPECT_EQ(result.message.caption, "ファイルエラー");
    EXPECT_EQ(doc.nodeCount(), 0u);
}


TEST(DataFileSteps, StepsGiveTheBytesOfTheWholeWrite)
{
    std::mt19937 rng(11);
    for (const std::size_t budget : { std::size_t { 0 }, std::size_t { 1 }, std::size_t { 300 }, std::size_t { 1 } << 30 }) {
        Document doc;
        fillRandom(doc, rng, 60);
        doc.setBookmark(3, doc.nodeAt(5));
        doc.setBookmark(0, doc.nodeAt(static_cast<long long>(doc.nodeCount() - 1)));
        const int current = static_cast<int>(rng() % doc.nodeCount());
        DataFileStepWriter steps(doc, doc.nodeAt(current));
        std::string pages;
        int calls = 0;
        while (!steps.writeSome(pages, budget))
            ASSERT_LT(++calls, 10000);
        EXPECT_EQ(steps.header() + pages, serializeDataFile(doc, current)) << "budget " << budget;
        EXPECT_EQ(steps.written(), pages.size());
        // A small budget still moves on: one page a step.
        if (budget <= 1) {
            EXPECT_EQ(calls + 1, static_cast<int>(doc.nodeCount()));
        }
    }
}

TEST_F(DataFileOnDisk, ADocumentTooLargeToReadBackIsNotWritten)
{
    Document doc;
    doc.newDocument();
    Node* n = doc.appendNode(doc.documentNode(), "m", KindMemo);
    n->data()->MemoStr = std::string(4000, 'x');
    n->data()->Modify = true;
    const fs::path path = folder / "plan.nmd";
    ASSERT_TRUE(writeFileAtomically(path.string(), "old"));
    const WriteResult refused = writeDataFile(path.string(), doc, 1, {}, 4000);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message.text, messages::TooLargeToSave.text);
    EXPECT_TRUE(n->data()->Modify);
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    // Right at the limit the file is written.
    const std::size_t size = serializeDataFile(doc, 1).size();
    EXPECT_TRUE(writeDataFile(path.string(), doc, 1, {}, size).ok);
    EXPECT_EQ(contents(path).size(), size);
}

} // namespace
} // namespace notarium
