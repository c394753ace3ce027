#include "core/text/ShiftJis.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace notarium {
namespace {

using B = ByteClass;

TEST(ShiftJis, LeadBytes)
{
    for (int b = 0; b < 256; ++b) {
        const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(isLeadByte(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(ShiftJis, ByteClassesPairALeadWithWhateverFollows)
{
    EXPECT_EQ(byteClasses(""), std::vector<ByteClass> {});
    EXPECT_EQ(byteClasses("a\x95\x5C"
                          "b"),
        (std::vector { B::Single, B::Lead, B::Trail, B::Single }));
    // A trail byte in the lead range is still a trail; a lead before a blank still takes it.
    EXPECT_EQ(
        byteClasses("\x81\x81\x81 \x81"), (std::vector { B::Lead, B::Trail, B::Lead, B::Trail, B::Lead }));
    EXPECT_EQ(byteClasses("\xA1\x80\xFD"), (std::vector { B::Single, B::Single, B::Single }));
}

struct CutCase {
    std::string text;
    std::size_t maxBytes;
    std::string expected;
};

class ShiftJisCut : public testing::TestWithParam<CutCase> { };

TEST_P(ShiftJisCut, NeverEndsInHalfACharacter)
{
    EXPECT_EQ(cutToBytes(GetParam().text, GetParam().maxBytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ShiftJis, ShiftJisCut,
    testing::Values(CutCase { "abcdef", 4, "abcd" }, CutCase { "abc", 10, "abc" }, CutCase { "abc", 0, "" },
        CutCase { "\x82\xA0\x82\xA2", 3, "\x82\xA0" }, CutCase { "\x82\xA0\x82\xA2", 2, "\x82\xA0" },
        CutCase { "\x82\xA0\x82\xA2", 1, "" }, CutCase { "a\x82\xA0", 2, "a" },
        // 0x81 0x81 is one character: the second 0x81 is a trail, not a lead.
        CutCase { "\x81\x81\x81\x81", 2, "\x81\x81" }, CutCase { "\x81\x81\x81\x81", 3, "\x81\x81" },
        CutCase { "\x81\x81x", 2, "\x81\x81" },
        // A lone lead byte at the end of a short text is no whole character either.
        CutCase { "ab\x81", 10, "ab" }, CutCase { "\xA1\xB1", 1, "\xA1" }));

TEST(ShiftJis, CharStartAgreesWithByteClasses)
{
    std::mt19937 random(17);
    const std::string alphabet = "\x81\x9F\xE0\xFC\x40\x5C\x80\xA1 a";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int i = round % 30; i > 0; --i)
            text += alphabet[pick(random)];
        const std::vector<ByteClass> classes = byteClasses(text);
        for (std::size_t pos = 0; pos < text.size(); ++pos) {
            const std::size_t expected = classes[pos] == ByteClass::Trail ? pos - 1 : pos;
            ASSERT_EQ(charStart(text, pos), expected) << round << ' ' << pos;
        }
        ASSERT_EQ(charStart(text, text.size()), text.size());
    }
}

} // namespace
} // namespace notarium
