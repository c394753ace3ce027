#include "core/search/SearchTables.h"
#include "core/text/Cp932Codec.h"

#include <gtest/gtest.h>

#include <string>

namespace notarium {
namespace {

std::string formBytes(const FullWidthForm& form)
{
    return std::string(reinterpret_cast<const char*>(form.bytes), form.length);
}

TEST(SearchTables, FullWidthOfAsciiIsTheCodePagesFullWidthFormExceptTheFourJapaneseChoices)
{
    for (unsigned b = 0x21; b <= 0x7E; ++b) {
        std::u16string wide(1, static_cast<char16_t>(0xFF01 + b - 0x21));
        std::string expected = cp932::fromUtf16(wide);
        switch (b) {
        case 0x22:
            expected = "\x81\x68"; // ”
            break;
        case 0x27:
            expected = "\x81\x66"; // ’
            break;
        case 0x5C:
            expected = "\x81\x8F"; // ￥
            break;
        case 0x7E:
            expected = "\x81\x50"; // ￣
            break;
        default:
            break;
        }
        EXPECT_EQ(formBytes(FullWidthTable[b]), expected) << std::hex << b;
    }
    EXPECT_EQ(formBytes(FullWidthTable[0x20]), "\x81\x40");
}

TEST(SearchTables, HalfWidthKatakanaMapToTheirFullWidthKana)
{
    // Decoded through the codec, so the table is checked against the code page and not against
    // its own arithmetic.
    const std::u16string expected = u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテ"
                                    u"トナニヌネノハヒフヘホマミム"
                                    u"メモヤユヨラリルレロワン゛゜";
    ASSERT_EQ(expected.size(), 0xDF - 0xA1 + 1u);
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        EXPECT_EQ(cp932::toUtf16(formBytes(FullWidthTable[b])), expected.substr(b - 0xA1, 1))
            << std::hex << b;
}

TEST(SearchTables, VoicingFlagsAndJoinedFormsMatchTheVoicedKana)
{
    for (unsigned b = kKanaJisFirst; b <= kKanaJisLast; ++b) {
        const auto kana = static_cast<unsigned char>(b);
        const bool voices = (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
        EXPECT_EQ(KanaJisTable[b - kKanaJisFirst].takesVoicing, voices) << std::hex << b;
        if (!voices)
            continue;
        // In Unicode as in JIS the voiced kana directly follows the plain one.
        const std::u16string plain = cp932::toUtf16(formBytes(FullWidthTable[b]));
        EXPECT_EQ(
            cp932::toUtf16(formBytes(joinedKanaForm(kana, kVoicedMark))), std::u16string(1, plain[0] + 1));
        if (b >= 0xCA) {
            EXPECT_EQ(cp932::toUtf16(formBytes(joinedKanaForm(kana, kSemiVoicedMark))),
                std::u16string(1, plain[0] + 2));
        }
    }
    EXPECT_EQ(formBytes(joinedKanaForm(0xB3, kVoicedMark)), "\x83\x94"); // ヴ
    EXPECT_FALSE(joinsWithMark(0xB3, kSemiVoicedMark));
    EXPECT_FALSE(joinsWithMark(0xB6, kSemiVoicedMark)); // ｶﾟ is two characters
    EXPECT_FALSE(joinsWithMark(0xC5, kVoicedMark)); // ﾅ takes no mark
}

TEST(SearchTables, BytesWithoutFullWidthFormMapToThemselves)
{
    for (unsigned b :
        { 0x00u, 0x0Du, 0x1Fu, 0x7Fu, 0x80u, 0x81u, 0x9Fu, 0xA0u, 0xE0u, 0xFCu, 0xFDu, 0xFFu }) {
        EXPECT_EQ(FullWidthTable[b].length, 1) << std::hex << b;
        EXPECT_EQ(FullWidthTable[b].bytes[0], b) << std::hex << b;
    }
}

TEST(SearchTables, CaseMapsAndWordBreaks)
{
    for (unsigned b = 0; b < 256; ++b) {
        EXPECT_EQ(CaseMap[b], (b >= 'a' && b <= 'z') ? b - 32 : b) << b;
        EXPECT_EQ(WideCaseMap[b], (b >= 0x81 && b <= 0x9A) ? b - 0x21 : b) << b;
        const bool wordChar = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')
            || (b >= 0x81 && b <= 0x9F) || (b >= 0xA6 && b <= 0xFC);
        EXPECT_EQ(WordBreakChars[b], !wordChar) << b;
    }
}

} // namespace
} // namespace notarium
