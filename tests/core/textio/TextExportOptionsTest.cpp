#include "core/textio/TextExportOptions.h"

#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"

#include <gtest/gtest.h>

namespace notarium {
namespace {

class TextExportSettings : public testing::Test {
protected:
    TextExportOptions read() const { return TextExportOptions::fromSettings(m_settings); }

    IniFile m_ini;
    Settings m_settings { m_ini, PlatformDefaults {} };
};

// Missing keys mean no marks at all, although the options dialog proposes numbers and ■●★.
TEST_F(TextExportSettings, MissingKeysGiveThePlainExport)
{
    const TextExportOptions options = read();
    EXPECT_EQ(options.marking, TitleMarking::None);
    EXPECT_FALSE(options.makeContents);
    EXPECT_FALSE(options.emptyLine);
    EXPECT_FALSE(options.ignorePaperFolder);
    EXPECT_FALSE(options.newPage);
    EXPECT_EQ(options.separator, ".");
    EXPECT_EQ(options.categoryMark, "");
    EXPECT_EQ(options.encoding, TextEncoding::Utf8);
}

TEST_F(TextExportSettings, SwitchesAndEncoding)
{
    m_settings.set(key::MakeContents, true);
    m_settings.set(key::SetEmptyLine, true);
    m_settings.set(key::IgnorePFolder, true);
    m_settings.set(key::ForceNewPage, true);
    m_settings.set(key::ExchangeEncoding, std::string("cp932"));
    const TextExportOptions options = read();
    EXPECT_TRUE(options.makeContents);
    EXPECT_TRUE(options.emptyLine);
    EXPECT_TRUE(options.ignorePaperFolder);
    EXPECT_TRUE(options.newPage);
    EXPECT_EQ(options.encoding, TextEncoding::Cp932);

    m_settings.set(key::ExchangeEncoding, std::string("EBCDIC"));
    EXPECT_EQ(read().encoding, TextEncoding::Utf8);
}

TEST_F(TextExportSettings, OutlineNumbersWinOverMarks)
{
    m_settings.set(key::SetOutlineNumber, true);
    m_settings.set(key::SetLevelMark, true);
    m_settings.set(key::SetIconMark, true);
    m_settings.set(key::SeparateChar, std::string("－"));
    const TextExportOptions options = read();
    EXPECT_EQ(options.marking, TitleMarking::OutlineNumbers);
    EXPECT_EQ(options.separator, "\x81\x7C");
}

TEST_F(TextExportSettings, LevelMarksAreReadOnlyWhenOn)
{
    m_settings.set(key::LevelMark1, std::string("■"));
    m_settings.set(key::LevelMark9, std::string("9"));
    EXPECT_EQ(read().levelMarks[0], "");

    m_settings.set(key::SetLevelMark, true);
    m_settings.set(key::SetIconMark, true);
    const TextExportOptions options = read();
    EXPECT_EQ(options.marking, TitleMarking::LevelMarks);
    EXPECT_EQ(options.levelMarks[0], "\x81\xA1");
    EXPECT_EQ(options.levelMarks[1], "");
    EXPECT_EQ(options.levelMarks[8], "9");
}

TEST_F(TextExportSettings, KindMarksAreEmptyUnlessIconMarksAreOn)
{
    m_settings.set(key::CategoryMark, std::string("■"));
    m_settings.set(key::MemoMark, std::string("●"));
    m_settings.set(key::ResultMark, std::string("😀"));
    EXPECT_EQ(read().categoryMark, "");
    EXPECT_EQ(read().marking, TitleMarking::None);

    m_settings.set(key::SetIconMark, true);
    const TextExportOptions options = read();
    EXPECT_EQ(options.marking, TitleMarking::KindMarks);
    EXPECT_EQ(options.categoryMark, "\x81\xA1");
    EXPECT_EQ(options.memoMark, "\x81\x9C");
    // A character CP932 cannot hold shows as 〓 rather than vanishing.
    EXPECT_EQ(options.resultMark, "\x81\xAC");
}

TEST(TextExportScopeSwitches, DisabledSwitchesCountAsOff)
{
    TextExportOptions options;
    options.makeContents = options.emptyLine = options.ignorePaperFolder = options.newPage = true;
    const auto whole = options.effectiveFor(ExportScope::WholeFile);
    EXPECT_TRUE(whole.makeContents && whole.emptyLine && whole.ignorePaperFolder && whole.newPage);
    const auto tree = options.effectiveFor(ExportScope::SelectedTree);
    EXPECT_TRUE(tree.makeContents && tree.emptyLine);
    EXPECT_FALSE(tree.ignorePaperFolder || tree.newPage);
    const auto memo = options.effectiveFor(ExportScope::SelectedMemo);
    EXPECT_TRUE(memo.emptyLine);
    EXPECT_FALSE(memo.makeContents || memo.ignorePaperFolder || memo.newPage);
}

TEST(TextEncodingNames, ParseAndName)
{
    EXPECT_EQ(parseTextEncoding("UTF-8"), TextEncoding::Utf8);
    EXPECT_EQ(parseTextEncoding("utf8"), TextEncoding::Utf8);
    EXPECT_EQ(parseTextEncoding("CP932"), TextEncoding::Cp932);
    EXPECT_EQ(parseTextEncoding("Shift_JIS"), TextEncoding::Cp932);
    EXPECT_EQ(parseTextEncoding("latin1"), std::nullopt);
    EXPECT_EQ(parseTextEncoding(""), std::nullopt);
    EXPECT_EQ(parseTextEncoding(textEncodingName(TextEncoding::Cp932)), TextEncoding::Cp932);
    EXPECT_EQ(parseTextEncoding(textEncodingName(TextEncoding::Utf8)), TextEncoding::Utf8);
}

} // namespace
} // namespace notarium
