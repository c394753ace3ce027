#include "core/settings/Settings.h"
#include "core/settings/IniFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace notarium {
namespace {

using namespace setting_values;

PlatformDefaults testPlatform()
{
    PlatformDefaults platform;
    platform.documentsFolder = "/home/user/Documents";
    return platform;
}

class SettingsTest : public testing::Test {
protected:
    IniFile m_ini;
    Settings m_settings { m_ini, testPlatform() };
};

// Keys with the same name in two sections are different settings; within a section, a key that
// differs only in case would be the same line of the file.
TEST(SettingsTable, KeysAreUniquePerSectionIgnoringCase)
{
    std::set<std::string> seen;
    for (const SettingRow& row : settingRows()) {
        std::string folded = std::string(row.section) + '/' + std::string(row.key);
        for (char& c : folded)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(folded).second) << row.section << '/' << row.key;
    }
}

TEST(SettingsTable, RowsAreInIdOrder)
{
    for (std::size_t i = 0; i < kSettingCount; ++i)
        EXPECT_EQ(static_cast<std::size_t>(settingRows()[i].id), i) << settingRows()[i].key;
}

TEST(SettingsTable, EveryDefaultParsesWithItsOwnType)
{
    IniFile ini;
    const Settings settings(ini, testPlatform());
    for (const SettingRow& row : settingRows()) {
        for (const std::string& text : { settings.defaultText(row.id), settings.dialogDefaultText(row.id) }) {
            switch (row.type) {
            case SettingType::Bool:
                EXPECT_TRUE(text == "0" || text == "1") << row.key << '=' << text;
                break;
            case SettingType::Integer:
            case SettingType::FontStyle:
                EXPECT_TRUE(parseInteger(text).has_value()) << row.key << '=' << text;
                break;
            case SettingType::Colour:
            case SettingType::ColourName:
                EXPECT_TRUE(parseColour(text).has_value()) << row.key << '=' << text;
                break;
            case SettingType::String:
                break;
            }
        }
    }
}

TEST(SettingsTable, HoldsTheNamedKeyFamilies)
{
    int levelMarks = 0;
    int imeKeys = 0;
    for (const SettingRow& row : settingRows()) {
        if (row.section == "MemoPane" && row.key.starts_with("LevelMark"))
            ++levelMarks;
        if (row.section == "MemoPane" && row.key.starts_with("ic"))
            ++imeKeys;
    }
    EXPECT_EQ(levelMarks, 9);
    EXPECT_EQ(imeKeys, 12);
}

TEST_F(SettingsTest, MissingFileGivesTheDefaults)
{
    EXPECT_TRUE(m_ini.load("/nonexistent/notarium.ini"));
    EXPECT_TRUE(m_settings.get(key::ShowHint));
    EXPECT_EQ(m_settings.get(key::HintPauseTime), 300);
    EXPECT_EQ(m_settings.get(key::TreeWidth), 182);
    EXPECT_EQ(m_settings.get(key::WinX), 80);
    EXPECT_EQ(m_settings.get(key::WinH), 600);
    EXPECT_EQ(m_settings.get(key::TreeFontName), "ＭＳ Ｐゴシック");
    EXPECT_EQ(m_settings.get(key::MemoFontName), "Terminal");
    EXPECT_EQ(m_settings.get(key::MemoFontSize), 14);
    EXPECT_EQ(m_settings.get(key::TreeBackColor), kColourWindow);
    EXPECT_EQ(m_settings.get(key::TitleFontColor), kColourWindowText);
    EXPECT_EQ(m_settings.get(key::CRLFColor), 0x808000u);
    EXPECT_EQ(m_settings.get(key::ImeWTBack), 0xFFFF00u);
    EXPECT_TRUE(m_settings.get(key::ImeTFLine));
    EXPECT_FALSE(m_settings.get(key::ImeWULine));
    EXPECT_EQ(m_settings.get(key::DateFormat), "yyyy/mm/dd");
    EXPECT_EQ(m_settings.get(key::DefaultFolder), "/home/user/Documents");
    EXPECT_EQ(m_settings.get(key::TabSize), 2);
    EXPECT_EQ(m_settings.get(key::ExchangeEncoding), "UTF-8");
    EXPECT_EQ(m_settings.currentDefaultTitles().commaText(), "Category,Memo,Result");
    EXPECT_TRUE(m_settings.recentFiles().empty());
    EXPECT_EQ(m_ini.serialize(), "") << "reading must not write";
}

TEST_F(SettingsTest, WritesEachTypeInItsForm)
{
    m_settings.set(key::ShowHint, false);
    m_settings.set(key::TreeFontSize, 10);
    m_settings.set(key::MemoFontName, "IPAGothic");
    m_settings.set(key::MemoBackColor, Colour { 0x00F0FBFF });
    m_settings.set(key::LineColor, Colour { 0x00F0FBFF });
    m_settings.set(key::CRLFColor, Colour { 0x00123456 });
    m_settings.set(key::TitleFontStyle, FontBold | FontItalic);
    EXPECT_EQ(m_ini.serialize(),
        "[Notarium]\nShowHint=0\n\n[TreePane]\nFontSize=10\n\n[MemoPane]\nFontName=IPAGothic\n"
        "BackColor=$F0FBFF\nLineColor=clCream\nCRLFColor=$00123456\n\n[TitleEdit]\nFontStyle=3\n");
    EXPECT_FALSE(m_settings.get(key::ShowHint));
    EXPECT_EQ(m_settings.get(key::TreeFontSize), 10);
    EXPECT_EQ(m_settings.get(key::TitleFontStyle), FontBold | FontItalic);
}

TEST_F(SettingsTest, BadStoredValueGivesTheDefault)
{
    m_ini.parse("[Notarium]\nShowHint=abc\nHintPauseTime=$64\n[MemoPane]\nLineColor=purple\nTabSize=\n");
    EXPECT_TRUE(m_settings.get(key::ShowHint));
    EXPECT_EQ(m_settings.get(key::HintPauseTime), 100);
    EXPECT_EQ(m_settings.get(key::LineColor), 0xFF0000u);
    EXPECT_EQ(m_settings.get(key::TabSize), 2);
}

TEST_F(SettingsTest, StoredEmptyStringIsNotReplacedByTheDefault)
{
    m_ini.parse("[Notarium]\nDateFormat=\n");
    EXPECT_EQ(m_settings.get(key::DateFormat), "");
}

TEST_F(SettingsTest, DialogDefaultsDifferWhereTheDialogProposesOtherValues)
{
    EXPECT_TRUE(m_settings.get(key::BSUnindent));
    EXPECT_FALSE(m_settings.dialogDefault(key::BSUnindent));
    EXPECT_FALSE(m_settings.get(key::SetOutlineNumber));
    EXPECT_TRUE(m_settings.dialogDefault(key::SetOutlineNumber));
    EXPECT_EQ(m_settings.get(key::CategoryMark), "");
    EXPECT_EQ(m_settings.getForDialog(key::CategoryMark), "■");
    EXPECT_EQ(m_settings.getForDialog(key::MemoMark), "●");
    EXPECT_EQ(m_settings.getForDialog(key::ResultMark), "★");
    EXPECT_EQ(m_settings.dialogDefault(key::ShowHint), m_settings.defaultValue(key::ShowHint));
    // A stored value wins over either default.
    m_settings.set(key::CategoryMark, "◆");
    EXPECT_EQ(m_settings.getForDialog(key::CategoryMark), "◆");
}

TEST_F(SettingsTest, BackupFolderFollowsDefaultFolderOnlyInTheDialog)
{
    m_settings.set(key::DefaultFolder, "/data/notes");
    EXPECT_EQ(m_settings.get(key::BackupFolder), "/home/user/Documents");
    EXPECT_EQ(m_settings.getForDialog(key::BackupFolder), "/data/notes");
    EXPECT_EQ(m_settings.getForDialog(key::TemplateFolder), "/home/user/Documents");
}

TEST_F(SettingsTest, StartupWritesOnlyMissingPrintKeys)
{
    m_ini.parse("[Notarium]\nTextEditor=kate --block\n");
    m_settings.writeMissingStartupKeys();
    EXPECT_EQ(m_settings.get(key::TextEditor), "kate --block");
    EXPECT_EQ(m_settings.get(key::PrintTool), "lp");
    EXPECT_TRUE(m_settings.contains(key::PrintOption));
    EXPECT_EQ(m_settings.get(key::PrintOption), "");
    EXPECT_EQ(
        m_ini.keys("Notarium"), (std::vector<std::string> { "TextEditor", "PrintTool", "PrintOption" }));
}

TEST_F(SettingsTest, StartupLeavesTheTextEditorToTheProbe)
{
    m_ini.parse("[Notarium]\nPrintTool=\n");
    m_settings.writeMissingStartupKeys();
    EXPECT_FALSE(m_settings.contains(key::TextEditor));
    EXPECT_EQ(m_ini.serialize(), "[Notarium]\nPrintTool=\nPrintOption=\n");
}

TEST_F(SettingsTest, ToolKeysReadEmptyWhenMissing)
{
    EXPECT_EQ(m_settings.get(key::TextEditor), "");
    EXPECT_EQ(m_settings.get(key::PrintTool), "");
}

TEST(TextEditorRule, EmptyAndTheFormerDefaultAskForTheProbe)
{
    EXPECT_TRUE(textEditorNeedsProbe(""));
    EXPECT_TRUE(textEditorNeedsProbe("  "));
    EXPECT_TRUE(textEditorNeedsProbe("xdg-open"));
    EXPECT_TRUE(textEditorNeedsProbe(" xdg-open\t"));
    // Only the exact value earlier versions wrote; anything a person chose is kept.
    EXPECT_FALSE(textEditorNeedsProbe("xdg-open --verbose"));
    EXPECT_FALSE(textEditorNeedsProbe("/usr/bin/xdg-open"));
    EXPECT_FALSE(textEditorNeedsProbe("XDG-OPEN"));
    EXPECT_FALSE(textEditorNeedsProbe("mousepad"));
}

TEST(TextEditorRule, ProbeIsAskedOnlyWhenNeeded)
{
    int probes = 0;
    const auto probe = [&probes] {
        ++probes;
        return std::string("gedit --wait");
    };
    EXPECT_EQ(resolveTextEditor("kate --block", probe), "kate --block");
    EXPECT_EQ(probes, 0);
    EXPECT_EQ(resolveTextEditor("", probe), "gedit --wait");
    EXPECT_EQ(resolveTextEditor("xdg-open", probe), "gedit --wait");
    EXPECT_EQ(probes, 2);
    EXPECT_EQ(resolveTextEditor("", nullptr), "xdg-open");
}

TEST_F(SettingsTest, TextEditorFromTheFile)
{
    const auto probe = [] { return std::string("mousepad"); };
    EXPECT_EQ(m_settings.textEditor(probe), "mousepad") << "missing key";
    m_ini.parse("[Notarium]\nTextEditor=\n");
    EXPECT_EQ(m_settings.textEditor(probe), "mousepad") << "empty key";
    m_ini.parse("[Notarium]\nTextEditor=xdg-open\n");
    EXPECT_EQ(m_settings.textEditor(probe), "mousepad") << "written by an earlier version";
    m_ini.parse("[notarium]\ntexteditor=emacsclient -c\n");
    EXPECT_EQ(m_settings.textEditor(probe), "emacsclient -c");
}

TEST_F(SettingsTest, PlatformValuesAreReadWhenUsed)
{
    m_settings.platformDefaults().tabSize = 4;
    EXPECT_EQ(m_settings.get(key::TabSize), 4);
    m_settings.platformDefaults().useScreen(600, 0, 0, 1024, 570);
    EXPECT_EQ(m_settings.get(key::WinX), 0);
    EXPECT_EQ(m_settings.get(key::WinW), 1024);
    EXPECT_EQ(m_settings.get(key::WinH), 570);
    m_settings.platformDefaults().useScreen(601, 0, 0, 1024, 570);
    EXPECT_EQ(m_settings.get(key::WinX), 80);
    EXPECT_EQ(m_settings.get(key::WinH), 600);
}

TEST_F(SettingsTest, RemoveBringsTheDefaultBack)
{
    m_settings.set(key::WaitTime, 500);
    EXPECT_TRUE(m_settings.contains(key::WaitTime));
    m_settings.remove(key::WaitTime);
    EXPECT_FALSE(m_settings.contains(key::WaitTime));
    EXPECT_EQ(m_settings.get(key::WaitTime), 2000);
}

TEST_F(SettingsTest, RecentFilesKeepNineAndRewriteFromZero)
{
    m_ini.parse("[FileMRU]\n5=/old/stale.nmd\n[Window]\nTree=200\n");
    std::vector<std::string> files;
    for (int i = 0; i < 11; ++i)
        files.push_back("/home/user/" + std::to_string(i) + ".nmd");
    m_settings.setRecentFiles(files);
    EXPECT_EQ(
        m_ini.keys("FileMRU"), (std::vector<std::string> { "0", "1", "2", "3", "4", "5", "6", "7", "8" }));
    EXPECT_EQ(m_ini.readString("FileMRU", "5"), "/home/user/5.nmd");
    EXPECT_EQ(m_settings.recentFiles(), std::vector<std::string>(files.begin(), files.begin() + 9));
    EXPECT_EQ(m_ini.sections(), (std::vector<std::string> { "Window", "FileMRU" }));
}

TEST_F(SettingsTest, RecentFilesReadEveryNumberedKeyInNumberOrder)
{
    // A gap (no "2") loses nothing; the file's order does not matter, the numbers do.
    m_ini.parse("[FileMRU]\n1=/b.nmd\n0=/a.nmd\n3=/d.nmd\n10=/k.nmd\n");
    EXPECT_EQ(
        m_settings.recentFiles(), (std::vector<std::string> { "/a.nmd", "/b.nmd", "/d.nmd", "/k.nmd" }));
}

TEST_F(SettingsTest, RecentFilesSkipOtherKeysAndEmptyValues)
{
    m_ini.parse("[FileMRU]\nCount=2\n-1=/neg.nmd\n+2=/plus.nmd\n 4 =/four.nmd\n0=\n1x=/mixed.nmd\n"
                "99999999999999999999999=/huge.nmd\n7=/seven.nmd\n");
    EXPECT_EQ(m_settings.recentFiles(), (std::vector<std::string> { "/four.nmd", "/seven.nmd" }));
}

TEST_F(SettingsTest, RecentFilesTakeTheFirstOfKeysWithOneNumber)
{
    m_ini.parse("[FileMRU]\n01=/first.nmd\n0=/zero.nmd\n1=/second.nmd\n");
    EXPECT_EQ(m_settings.recentFiles(), (std::vector<std::string> { "/zero.nmd", "/first.nmd" }));
}

TEST_F(SettingsTest, RecentFilesWrittenAfterAGapReadBackWhole)
{
    m_ini.parse("[FileMRU]\n0=/a.nmd\n2=/c.nmd\n5=/f.nmd\n");
    m_settings.setRecentFiles(m_settings.recentFiles());
    EXPECT_EQ(m_ini.serialize(), "[FileMRU]\n0=/a.nmd\n1=/c.nmd\n2=/f.nmd\n");
}

TEST_F(SettingsTest, ShortcutsDefaultToNone)
{
    EXPECT_FALSE(m_settings.hasShortcuts());
    m_settings.setShortcut("NewMemo", 0x4000 + 'N');
    EXPECT_TRUE(m_settings.hasShortcuts());
    EXPECT_EQ(m_settings.shortcut("newmemo"), 0x4000 + 'N');
    EXPECT_EQ(m_settings.shortcut("Exit1"), 0);
}

TEST_F(SettingsTest, CustomColoursAreBareHexWithWhiteDefault)
{
    EXPECT_EQ(m_settings.customColours()[0], 0x00FFFFFFu);
    m_ini.parse("[CustomColors]\nColorA=00123456\nColorB=nonsense\nColorP=ff\n");
    const auto colours = m_settings.customColours();
    EXPECT_EQ(colours[0], 0x00123456u);
    EXPECT_EQ(colours[1], 0x00FFFFFFu);
    EXPECT_EQ(colours[15], 0xFFu);
    Settings::CustomColours written {};
    written[2] = 0x80000005;
    m_settings.setCustomColours(written);
    EXPECT_EQ(m_ini.keys("CustomColors").size(), 16u);
    EXPECT_EQ(m_ini.readString("CustomColors", "ColorA"), "00000000");
    EXPECT_EQ(m_ini.readString("CustomColors", "ColorC"), "80000005");
    EXPECT_EQ(m_settings.customColours(), written);
}

TEST_F(SettingsTest, ToolBarPositionRoundTripsAndIsAbsentWithoutSection)
{
    EXPECT_FALSE(m_settings.toolBarPosition("ToolBar1").has_value());
    const ToolBarPosition position { 6, 0, 1, 1, 2, 340, 100, 120 };
    m_settings.setToolBarPosition("ToolBar1", position);
    EXPECT_EQ(m_settings.toolBarPosition("toolbar1"), position);
    m_ini.parse("[ToolBar2]\nDockRow=1\n");
    const auto partial = m_settings.toolBarPosition("ToolBar2");
    ASSERT_TRUE(partial.has_value());
    EXPECT_EQ(partial->dockRow, 1);
    EXPECT_EQ(partial->visible, 1);
}

TEST_F(SettingsTest, DefaultTitleSets)
{
    const auto builtIn = m_settings.defaultTitleSets();
    EXPECT_EQ(builtIn.sets, std::vector<std::string> { "Category,Memo,Result" });
    EXPECT_EQ(builtIn.checkIndex, 0);

    m_ini.parse("[DefaultTitles]\nstale=1\n");
    m_settings.setDefaultTitleSets({ { "A,B,C", "\"x y\",M,R" }, 1 });
    EXPECT_EQ(m_ini.serialize(), "[DefaultTitles]\nTitleCount=2\n0=A,B,C\n1=\"x y\",M,R\nCheckIndex=1\n");
    EXPECT_EQ(m_settings.currentDefaultTitles().titleFor(1), "x y");
    const auto read = m_settings.defaultTitleSets();
    EXPECT_EQ(read.sets, (std::vector<std::string> { "A,B,C", "\"x y\",M,R" }));
    EXPECT_EQ(read.checkIndex, 1);
}

TEST_F(SettingsTest, HugeTitleCountDoesNotInventSets)
{
    m_ini.parse("[DefaultTitles]\nTitleCount=2000000000\n0=A,B,C\n");
    EXPECT_LE(m_settings.defaultTitleSets().sets.size(), 2u);
}

TEST(SettingsPlatform, DocumentsFolderFromEnvironment)
{
    const char* savedDocs = std::getenv("XDG_DOCUMENTS_DIR");
    const char* savedHome = std::getenv("HOME");
    const std::string docs = savedDocs ? savedDocs : "";
    const std::string home = savedHome ? savedHome : "";

    ::setenv("XDG_DOCUMENTS_DIR", "/srv/docs/", 1);
    ::setenv("HOME", "/home/tester", 1);
    EXPECT_EQ(PlatformDefaults::fromEnvironment().documentsFolder, "/srv/docs");
    ::unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(PlatformDefaults::fromEnvironment().documentsFolder, "/home/tester");
    const auto defaults = PlatformDefaults::fromEnvironment();
    EXPECT_EQ(defaults.printTool, "lp");
    EXPECT_EQ(defaults.printOption, "");

    if (savedDocs)
        ::setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
    if (savedHome)
        ::setenv("HOME", home.c_str(), 1);
    else
        ::unsetenv("HOME");
}

} // namespace
} // namespace notarium
