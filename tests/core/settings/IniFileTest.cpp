#include "TempFolder.h"
#include "core/settings/IniFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

IniFile parsed(std::string_view text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

using notarium::test::TempFolder;

TEST(IniFileRewrite, KeepsOrderCommentsAndUnknownLines)
{
    IniFile ini = parsed("; written by hand\n"
                         "Loose=1\n"
                         "[Window]\n"
                         "WinX=80\n"
                         "# keep me\n"
                         "WinY=60\n"
                         "\n"
                         "; about Notarium\n"
                         "[Notarium]\n"
                         "garbage line\n"
                         "ShowHint=1\n");
    ini.writeString("window", "winy", "70");
    ini.writeString("Window", "WinW", "800");
    ini.writeString("Notarium", "HotKey", "0");
    ini.writeString("TreePane", "FontSize", "9");
    EXPECT_EQ(ini.serialize(),
        "; written by hand\n"
        "Loose=1\n"
        "[Window]\n"
        "WinX=80\n"
        "# keep me\n"
        "WinY=70\n"
        "WinW=800\n"
        "\n"
        "; about Notarium\n"
        "[Notarium]\n"
        "garbage line\n"
        "ShowHint=1\n"
        "HotKey=0\n"
        "\n"
        "[TreePane]\n"
        "FontSize=9\n");
}

TEST(IniFileRewrite, SectionWithoutKeysTakesNewKeyAfterItsComment)
{
    IniFile ini = parsed("[A]\n; only a comment\n\n[B]\n");
    ini.writeString("A", "k", "v");
    EXPECT_EQ(ini.serialize(), "[A]\n; only a comment\nk=v\n\n[B]\n");
}

TEST(IniFileRewrite, ErasingAndAddingASectionAgainDoesNotPileUpBlankLines)
{
    IniFile ini = parsed("[Window]\nWinX=1\n");
    for (int exit = 0; exit < 3; ++exit) {
        ini.eraseSection("FileMRU");
        ini.writeString("FileMRU", "0", "/a.nmd");
    }
    EXPECT_EQ(ini.serialize(), "[Window]\nWinX=1\n\n[FileMRU]\n0=/a.nmd\n");
}

TEST(IniFileLookup, IgnoresAsciiCaseAndKeepsFirstSpelling)
{
    IniFile ini = parsed("[MemoPane]\nLineColor=clBlue\n");
    EXPECT_TRUE(ini.sectionExists("MEMOPANE"));
    EXPECT_TRUE(ini.valueExists("memopane", "LINECOLOR"));
    EXPECT_EQ(ini.readString("mEmOpAnE", "linecolor"), "clBlue");
    ini.writeString("MEMOPANE", "LINECOLOR", "clRed");
    EXPECT_EQ(ini.serialize(), "[MemoPane]\nLineColor=clRed\n");
    EXPECT_EQ(ini.sections(), std::vector<std::string> { "MemoPane" });
}

TEST(IniFileLookup, JapaneseKeysAreComparedExactly)
{
    IniFile ini = parsed("[S]\nＡ=1\n");
    EXPECT_TRUE(ini.valueExists("s", "Ａ"));
    EXPECT_FALSE(ini.valueExists("s", "ａ"));
}

TEST(IniFileLookup, TrimsBlanksAroundKeysAndValues)
{
    IniFile ini = parsed("  [ Notarium ]  \n\t DateFormat \t=  yyyy/mm/dd \t\nEmpty=\n");
    EXPECT_EQ(ini.readString("Notarium", "DateFormat"), "yyyy/mm/dd");
    // An empty value is a value: the default is for missing keys only.
    EXPECT_EQ(ini.readString("Notarium", "Empty", "x"), "");
    EXPECT_EQ(ini.readString("Notarium", "Missing", "x"), "x");
}

TEST(IniFileLookup, ValueKeepsEqualsSigns)
{
    EXPECT_EQ(parsed("[S]\nk = a=b \n").readString("S", "k"), "a=b");
}

TEST(IniFileLookup, RepeatedKeyReadsFirstAndDeleteRemovesAll)
{
    IniFile ini = parsed("[S]\nk=1\nK=2\nother=3\n");
    EXPECT_EQ(ini.readString("S", "k"), "1");
    EXPECT_EQ(ini.keys("S"), (std::vector<std::string> { "k", "other" }));
    ini.deleteKey("S", "K");
    EXPECT_FALSE(ini.valueExists("S", "k"));
    EXPECT_EQ(ini.serialize(), "[S]\nother=3\n");
}

TEST(IniFileLookup, RepeatedSectionContinuesTheFirst)
{
    IniFile ini = parsed("[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    EXPECT_EQ(ini.sections(), (std::vector<std::string> { "A", "B" }));
    EXPECT_EQ(ini.values("A"), (IniFile::KeyValues { { "x", "1" }, { "z", "3" } }));
}

TEST(IniFileLookup, KeysBeforeAnySectionBelongToTheUnnamedPart)
{
    IniFile ini = parsed("Top=1\n[S]\nk=2\n");
    EXPECT_EQ(ini.readString("", "Top"), "1");
    EXPECT_FALSE(ini.valueExists("S", "Top"));
    EXPECT_EQ(ini.sections(), std::vector<std::string> { "S" });
}

TEST(IniFileEdit, EraseSectionRemovesItsCommentsButNotOthers)
{
    IniFile ini = parsed("[A]\na=1\n; of A\n[FileMRU]\n0=x\n; of MRU\n[B]\nb=2\n");
    ini.eraseSection("filemru");
    EXPECT_FALSE(ini.sectionExists("FileMRU"));
    EXPECT_EQ(ini.serialize(), "[A]\na=1\n; of A\n[B]\nb=2\n");
    ini.eraseSection("NoSuchSection");
    EXPECT_EQ(ini.sections(), (std::vector<std::string> { "A", "B" }));
}

TEST(IniFileEdit, RefusesNamesTheFileCannotHold)
{
    IniFile ini;
    EXPECT_FALSE(ini.writeString("S", "", "v"));
    EXPECT_FALSE(ini.writeString("S", "a=b", "v"));
    EXPECT_FALSE(ini.writeString("S", "[x", "y]"));
    EXPECT_FALSE(ini.writeString("S", ";k", "v"));
    EXPECT_FALSE(ini.writeString("S", "k\nx", "v"));
    EXPECT_FALSE(ini.writeString("S\n[T]", "k", "v"));
    EXPECT_TRUE(ini.sections().empty());
}

TEST(IniFileEdit, LineBreaksInValuesBecomeSpacesSoTheFileStaysWhole)
{
    IniFile ini;
    ini.writeString("S", "k", " one\r\ntwo\n");
    EXPECT_EQ(ini.readString("S", "k"), "one  two");
    EXPECT_EQ(parsed(ini.serialize()).values("S"), ini.values("S"));
}

class IniFileLineEnds : public testing::TestWithParam<std::string_view> { };

TEST_P(IniFileLineEnds, AllReadAlikeAndAreWrittenAsLf)
{
    std::string text;
    for (std::string_view line : { "[A]", "k=1", "", "[B]", "m=2" })
        text += std::string(line) + std::string(GetParam());
    IniFile ini = parsed(text);
    EXPECT_EQ(ini.values("A"), (IniFile::KeyValues { { "k", "1" } }));
    EXPECT_EQ(ini.values("B"), (IniFile::KeyValues { { "m", "2" } }));
    EXPECT_EQ(ini.serialize(), "[A]\nk=1\n\n[B]\nm=2\n");
}

INSTANTIATE_TEST_SUITE_P(IniFile, IniFileLineEnds, testing::Values("\r\n", "\n", "\r"));

TEST(IniFileLineEnds, LastLineNeedsNoLineEnd)
{
    EXPECT_EQ(parsed("[A]\r\nk=1").readString("A", "k"), "1");
}

TEST(IniFileEncoding, SkipsUtf8Bom)
{
    IniFile ini = parsed("\xEF\xBB\xBF[Notarium]\nk=メモ\n");
    EXPECT_EQ(ini.sections(), std::vector<std::string> { "Notarium" });
    EXPECT_EQ(ini.readString("Notarium", "k"), "メモ");
    EXPECT_EQ(ini.serialize().substr(0, 3), "[No");
}

TEST(IniFileEncoding, ReadsCp932WhenTheFileIsNotUtf8)
{
    IniFile ini = parsed("[TreePane]\r\nTitle=\x83\x81\x83\x82\r\n");
    EXPECT_EQ(ini.readString("TreePane", "Title"), "メモ");
    EXPECT_EQ(ini.serialize(), "[TreePane]\nTitle=メモ\n");
}

TEST(IniFileEncoding, Cp932FileIsWrittenAsUtf8ThatReadsBackTheSame)
{
    // 0x80 and 0xFF are no CP932 characters: they must not make the rewritten file invalid UTF-8.
    IniFile ini = parsed("[S]\nk=\x83\x81\x80\xFF\nj=\x82\xA0\n");
    const std::string written = ini.serialize();
    IniFile again = parsed(written);
    EXPECT_EQ(again.values("S"), ini.values("S"));
    EXPECT_EQ(again.readString("S", "j"), "あ");
}

TEST(IniFileDisk, MissingFileGivesAnEmptyImageAndNoError)
{
    TempFolder folder;
    IniFile ini = parsed("[Old]\nk=1\n");
    std::string error;
    EXPECT_TRUE(ini.load((folder.path() / "none.ini").string(), &error));
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(ini.sections().empty());
}

TEST(IniFileDisk, SaveAndLoadRoundTrip)
{
    TempFolder folder;
    const std::string path = (folder.path() / "notarium.ini").string();
    IniFile ini;
    ini.writeString("TreePane", "FontName", "ＭＳ Ｐゴシック");
    ini.writeString("FileMRU", "0", "/home/user/plan.nmd");
    std::string error;
    ASSERT_TRUE(ini.save(path, &error)) << error;
    EXPECT_EQ(fileBytes(path), "[TreePane]\nFontName=ＭＳ Ｐゴシック\n\n[FileMRU]\n0=/home/user/plan.nmd\n");
    IniFile loaded;
    ASSERT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.readString("treepane", "fontname"), "ＭＳ Ｐゴシック");
}

TEST(IniFileDisk, SaveFailureKeepsTheOldFileAndReportsWhy)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    {
        std::ofstream(path) << "[Old]\nk=1\n";
    }
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    IniFile ini = parsed("[New]\nk=2\n");
    std::string error;
    EXPECT_FALSE(ini.save(path.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(fileBytes(path), "[Old]\nk=1\n");
}

TEST(IniFileDisk, SaveOverAFolderFailsAndLeavesItAlone)
{
    // Runs as root too, where a read-only folder would not stop the write.
    TempFolder folder;
    const fs::path target = folder.path() / "notarium.ini";
    fs::create_directory(target);
    std::ofstream(target / "inside") << "kept";
    std::string error;
    EXPECT_FALSE(parsed("[S]\nk=1\n").save(target.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(fileBytes(target / "inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(IniFileDisk, SaveIntoMissingFolderFails)
{
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(IniFile().save((folder.path() / "no" / "such.ini").string(), &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace notarium
