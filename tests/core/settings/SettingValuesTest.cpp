#include "core/settings/SettingValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace notarium {
namespace {

using namespace setting_values;

struct IntegerCase {
    std::string_view text;
    std::optional<std::int32_t> value;
};

class SettingValuesInteger : public testing::TestWithParam<IntegerCase> { };

TEST_P(SettingValuesInteger, Parses)
{
    EXPECT_EQ(parseInteger(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(SettingValues, SettingValuesInteger,
    testing::Values(IntegerCase { "0", 0 }, IntegerCase { "182", 182 }, IntegerCase { " -12 ", -12 },
        IntegerCase { "+7", 7 }, IntegerCase { "\t300\t", 300 }, IntegerCase { "$10", 16 },
        IntegerCase { "0x1F", 31 }, IntegerCase { "0X1f", 31 }, IntegerCase { "$ff", 255 },
        IntegerCase { "-$10", -16 }, IntegerCase { "$80000005", static_cast<std::int32_t>(0x80000005u) },
        IntegerCase { "$FFFFFFFF", -1 }, IntegerCase { "$000000000001", 1 },
        IntegerCase { "2147483647", 2147483647 }, IntegerCase { "-2147483648", INT32_MIN },
        IntegerCase { "2147483648", std::nullopt }, IntegerCase { "$100000000", std::nullopt },
        IntegerCase { "99999999999999999999", std::nullopt }, IntegerCase { "", std::nullopt },
        IntegerCase { "  ", std::nullopt }, IntegerCase { "$", std::nullopt },
        IntegerCase { "0x", std::nullopt }, IntegerCase { "-", std::nullopt },
        IntegerCase { "12abc", std::nullopt }, IntegerCase { "1 2", std::nullopt },
        IntegerCase { "abc", std::nullopt }, IntegerCase { "$G1", std::nullopt },
        IntegerCase { "1.5", std::nullopt }));

struct BoolCase {
    std::string_view text;
    bool fallback;
    bool value;
};

class SettingValuesBool : public testing::TestWithParam<BoolCase> { };

TEST_P(SettingValuesBool, ReadsAsInteger)
{
    EXPECT_EQ(readBool(GetParam().text, GetParam().fallback), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(SettingValues, SettingValuesBool,
    testing::Values(BoolCase { "1", false, true }, BoolCase { "0", true, false },
        BoolCase { "2", false, true }, BoolCase { "-1", false, true }, BoolCase { "$0", true, false },
        BoolCase { " 0 ", true, false }, BoolCase { "abc", true, true }, BoolCase { "abc", false, false },
        BoolCase { "", true, true }, BoolCase { "true", false, false }));

TEST(SettingValuesWrite, BoolsAndIntegers)
{
    EXPECT_EQ(writeBool(true), "1");
    EXPECT_EQ(writeBool(false), "0");
    EXPECT_EQ(writeInteger(-300), "-300");
    EXPECT_EQ(readInteger("x", 42), 42);
}

TEST(SettingValuesColour, EveryIdentifierReadsAndWritesBack)
{
    std::set<Colour> seen;
    for (const auto& entry : colourIdentifiers()) {
        EXPECT_TRUE(seen.insert(entry.value).second) << "two names for " << entry.name;
        EXPECT_EQ(parseColour(entry.name), entry.value) << entry.name;
        EXPECT_EQ(writeColourName(entry.value), entry.name);
    }
    EXPECT_EQ(seen.size(), 47u);
}

TEST(SettingValuesColour, IdentifiersIgnoreCase)
{
    EXPECT_EQ(parseColour("CLTEAL"), 0x808000u);
    EXPECT_EQ(parseColour(" clwindow "), kColourWindow);
    EXPECT_EQ(parseColour("cl3ddkshadow"), 0x80000015u);
    EXPECT_EQ(parseColour("clTeals"), std::nullopt);
}

TEST(SettingValuesColour, SystemWindowColourBothWays)
{
    EXPECT_EQ(readColour("$80000005", 0), kColourWindow);
    EXPECT_EQ(writeColourName(kColourWindow), "clWindow");
    EXPECT_EQ(writeColour(kColourWindow), "$80000005");
    EXPECT_EQ(readColour("-2147483643", 0), kColourWindow);
}

struct ColourWriteCase {
    Colour colour;
    std::string_view colourForm;
    std::string_view nameForm;
};

class SettingValuesColourWrite : public testing::TestWithParam<ColourWriteCase> { };

TEST_P(SettingValuesColourWrite, BothForms)
{
    const auto& c = GetParam();
    EXPECT_EQ(writeColour(c.colour), c.colourForm);
    EXPECT_EQ(writeColourName(c.colour), c.nameForm);
    EXPECT_EQ(readColour(writeColour(c.colour), 1), c.colour);
    EXPECT_EQ(readColour(writeColourName(c.colour), 1), c.colour);
}

INSTANTIATE_TEST_SUITE_P(SettingValues, SettingValuesColourWrite,
    testing::Values(ColourWriteCase { 0x000000, "$000000", "clBlack" },
        ColourWriteCase { 0x808000, "$808000", "clTeal" },
        ColourWriteCase { 0x123456, "$123456", "$00123456" },
        ColourWriteCase { 0x00ABCDEF, "$ABCDEF", "$00ABCDEF" },
        ColourWriteCase { 0x80000008, "$80000008", "clWindowText" },
        ColourWriteCase { 0x80000019, "$80000019", "$80000019" },
        ColourWriteCase { kColourNone, "$1FFFFFFF", "clNone" },
        ColourWriteCase { 0x02000001, "$2000001", "$02000001" }));

TEST(SettingValuesColour, NotAColourGivesTheDefault)
{
    EXPECT_EQ(readColour("blue", 7), 7u);
    EXPECT_EQ(readColour("", 7), 7u);
}

TEST(SettingValuesFontStyle, KeepsTheFourBits)
{
    EXPECT_EQ(readFontStyle("5", 0), FontBold | FontUnderline);
    EXPECT_EQ(readFontStyle("255", 0), 15);
    EXPECT_EQ(readFontStyle("x", FontItalic), FontItalic);
    EXPECT_EQ(writeFontStyle(FontBold | FontStrikeOut), "9");
}

} // namespace
} // namespace notarium
