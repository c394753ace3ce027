#include "core/text/HelperListFile.h"
#include "core/io/FileIo.h"
#include "core/io/FileSize.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace notarium {
namespace {

using Phrases = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string bytes;
    Phrases phrases;
};

class HelperListRead : public testing::TestWithParam<ReadCase> { };

TEST_P(HelperListRead, Reads)
{
    EXPECT_EQ(readHelperList(GetParam().bytes), GetParam().phrases);
}

INSTANTIATE_TEST_SUITE_P(HelperList, HelperListRead,
    testing::Values(ReadCase { "EmptyFile", "", {} },
        ReadCase { "CrLf", "one\r\ntwo\r\n", { "one", "two" } },
        ReadCase { "LoneCrAndLoneLf", "a\rb\nc", { "a", "b", "c" } },
        ReadCase { "LfCrIsTwoBreaks", "a\n\rb", { "a", "", "b" } },
        ReadCase { "NoBreakAtEnd", "a\r\nb", { "a", "b" } },
        ReadCase { "EmptyLinesAreItems", "\r\na\r\n\r\n\r\nb\r\n", { "", "a", "", "", "b" } },
        ReadCase { "OnlyABreak", "\r\n", { "" } },
        ReadCase { "BlanksKept", "  indented\t\r\n", { "  indented\t" } },
        ReadCase { "Utf8", "\xE3\x81\x82\xE3\x81\x84\n", { "\xE3\x81\x82\xE3\x81\x84" } },
        ReadCase { "BomDropped", "\xEF\xBB\xBFx\ny", { "x", "y" } },
        ReadCase { "BomOnly", "\xEF\xBB\xBF", {} },
        // Not UTF-8: CP932, whose second bytes may be 0x5C or letters; undefined bytes are shown
        // as U+FFFD.
        ReadCase { "Cp932", "\x82\xA0\r\n\x95\x5C\x8E\xA6\r\n", { "\xE3\x81\x82", "\xE8\xA1\xA8\xE7\xA4\xBA" } },
        ReadCase { "Cp932AfterBom", "\xEF\xBB\xBF\x82\xA0", { "\xE3\x81\x82" } },
        ReadCase { "Cp932UndefinedByte", "a\xFF\rb", { "a\xEF\xBF\xBD", "b" } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelperList, WrittenPhrasesReadBack)
{
    const Phrases phrases { "", "よろしくお願いします", "", "  two blanks", "last" };
    EXPECT_EQ(writeHelperList(phrases), "\nよろしくお願いします\n\n  two blanks\nlast\n");
    EXPECT_EQ(readHelperList(writeHelperList(phrases)), phrases);
    EXPECT_EQ(readHelperList(writeHelperList({ "" })), Phrases { "" });
    EXPECT_EQ(writeHelperList({}), "");
}

TEST(HelperList, TheFileIsReadUnlessItIsMissingOrTooLarge)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("notarium-helplist-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "HelpList.dat").string();
    Phrases phrases { "stale" };
    EXPECT_EQ(loadHelperList(path, phrases), HelperListLoad::CannotRead);
    EXPECT_TRUE(phrases.empty());

    ASSERT_TRUE(writeFileAtomically(path, "one\ntwo\n"));
    EXPECT_EQ(loadHelperList(path, phrases), HelperListLoad::Read);
    EXPECT_EQ(phrases, (Phrases { "one", "two" }));

    // Sparse: the size is there without the bytes; the phrases at the start are not read.
    ASSERT_EQ(::truncate(path.c_str(), kLargestReadableFile + 1), 0);
    EXPECT_EQ(loadHelperList(path, phrases), HelperListLoad::TooLarge);
    EXPECT_TRUE(phrases.empty());
    fs::remove_all(dir);
}

TEST(HelperList, SortsByCharacterIgnoringAsciiCase)
{
    Phrases phrases { "b", "漢字", "B2", "ア", "", "あ", "a", "A", "Ab" };
    sortHelperList(phrases);
    // "a" and "A" compare equal and keep their order.
    EXPECT_EQ(phrases, (Phrases { "", "a", "A", "Ab", "b", "B2", "あ", "ア", "漢字" }));
}

} // namespace
} // namespace notarium
