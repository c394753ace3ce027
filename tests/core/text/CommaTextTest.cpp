#include "core/text/CommaText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace notarium {
namespace {

using namespace std::string_literals;
using Items = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string text;
    Items items;
};

class CommaTextRead : public testing::TestWithParam<ReadCase> { };

TEST_P(CommaTextRead, Reads)
{
    EXPECT_EQ(fromCommaText(GetParam().text), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(CommaText, CommaTextRead,
    testing::Values(ReadCase { "Empty", "", {} }, ReadCase { "OnlyBlanks", " \t\r\n", {} },
        ReadCase { "Default", "Category,Memo,Result", { "Category", "Memo", "Result" } },
        ReadCase { "BlankAfterComma", "a, b", { "a", "b" } },
        ReadCase { "BlanksAroundItems", "  a  ,\tb  ", { "a", "b" } },
        ReadCase { "BlankSeparates", "New idea,Memo,Result", { "New", "idea", "Memo", "Result" } },
        ReadCase { "QuotedBlank", "\"New idea\",Memo,Result", { "New idea", "Memo", "Result" } },
        ReadCase { "DoubledQuote", "\"say \"\"hi\"\"\",x", { "say \"hi\"", "x" } },
        ReadCase { "QuotedComma", "\"a,b\",c", { "a,b", "c" } },
        ReadCase { "EmptyBetween", "a,,b", { "a", "", "b" } }, ReadCase { "EmptyAtEnd", "a,", { "a", "" } },
        ReadCase { "EmptyAtStart", ",a", { "", "a" } }, ReadCase { "OnlyComma", ",", { "", "" } },
        ReadCase { "CommaThenBlankAtEnd", "a, ", { "a" } }, ReadCase { "QuotedEmpty", "\"\"", { "" } },
        ReadCase { "Unterminated", "a,\"b c", { "a", "b c" } },
        ReadCase { "TextAfterQuote", "\"ab\"cd,e", { "ab", "cd", "e" } },
        ReadCase { "NulEndsText", "a,b\0c,d"s, { "a", "b" } },
        ReadCase { "NulInQuotes", "\"a\0b\",c"s, { "a" } },
        ReadCase { "ShiftJis", "\x95\x5C,\x83\x5C\x81\x40", { "\x95\x5C", "\x83\x5C\x81\x40" } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommaText, Writes)
{
    EXPECT_EQ(toCommaText({}), "");
    EXPECT_EQ(toCommaText({ "" }), "\"\"");
    EXPECT_EQ(toCommaText({ "Category", "Memo", "Result" }), "Category,Memo,Result");
    EXPECT_EQ(toCommaText({ "New idea", "a,b", "say \"hi\"", "tab\there" }),
        "\"New idea\",\"a,b\",\"say \"\"hi\"\"\",\"tab\there\"");
    EXPECT_EQ(toCommaText({ "a", "", "b" }), "a,,b");
    EXPECT_EQ(toCommaText({ "", "" }), ",");
    // Bytes from 0x80 up are never blanks, even where they would be in Unicode (0xA0).
    EXPECT_EQ(toCommaText({ "\x81\x40\xA0" }), "\x81\x40\xA0");
    EXPECT_EQ(toCommaText({ "\x7F" }), "\x7F");
}

TEST(CommaText, RandomListsWithoutNulRoundTrip)
{
    std::mt19937 random(20);
    const std::string alphabet = "ab \t\r\n,\"\x01\x20\x7F\x81\x95\x5C\xA0\xFF";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> itemCount(0, 5);
    std::uniform_int_distribution<int> itemLength(0, 6);
    for (int round = 0; round < 20000; ++round) {
        Items items(static_cast<std::size_t>(itemCount(random)));
        for (std::string& item : items)
            for (int i = itemLength(random); i > 0; --i)
                item += alphabet[pick(random)];
        const std::string text = toCommaText(items);
        ASSERT_EQ(fromCommaText(text), items) << text;
    }
}

} // namespace
} // namespace notarium
