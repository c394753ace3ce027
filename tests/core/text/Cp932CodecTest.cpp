#include "core/text/Cp932Codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace notarium::cp932 {
namespace {

using namespace std::string_literals;

std::string bytesOf(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += char(v);
    return s;
}

// Every character that more than one code decodes to, with those codes, found by decoding every
// single byte and every byte pair.
const std::map<char16_t, std::vector<std::string>>& duplicateCodes()
{
    static const auto duplicates = [] {
        std::map<char16_t, std::vector<std::string>> codes;
        for (int a = 0; a < 256; ++a) {
            const std::string single = bytesOf({ a });
            const std::u16string one = toUtf16(single);
            if (one.size() == 1 && !(one[0] >= 0xDC80 && one[0] <= 0xDCFF))
                codes[one[0]].push_back(single);
            for (int b = 0; b < 256; ++b) {
                const std::string pair = bytesOf({ a, b });
                const std::u16string decoded = toUtf16(pair);
                if (decoded.size() == 1)
                    codes[decoded[0]].push_back(pair);
            }
        }
        std::erase_if(codes, [](const auto& entry) { return entry.second.size() < 2; });
        return codes;
    }();
    return duplicates;
}

bool holdsDuplicate(const std::u16string& text)
{
    for (char16_t c : text)
        if (duplicateCodes().contains(c))
            return true;
    return false;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class Cp932Decode : public testing::TestWithParam<DecodeCase> { };

TEST_P(Cp932Decode, DecodesAndEncodesBack)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(toUtf16(c.bytes), c.text);
    bool replaced = false;
    EXPECT_EQ(fromUtf16(c.text, &replaced), c.bytes);
    EXPECT_FALSE(replaced);
}

INSTANTIATE_TEST_SUITE_P(Cp932Codec, Cp932Decode,
    testing::Values(DecodeCase { "Ascii", "a\\b~\x7F", u"a\\b~\x7F" },
        DecodeCase { "ControlBytes", bytesOf({ 0x00, 0x1A, 0x1C, 0x0D, 0x0A }), u"\0\x1A\x1C\r\n"s },
        DecodeCase { "TrailBackslash", "\x95\x5C\x83\x5C\\", u"表ソ\\" },
        DecodeCase { "TrailTilde", "\x81\x7E", u"×" },
        DecodeCase { "HalfwidthKatakana", "\xA1\xB1\xDF", u"｡ｱﾟ" },
        DecodeCase { "Hiragana", "\x82\xA0\x82\xF1", u"あん" },
        DecodeCase { "Replacement", "\x81\xAC", u"〓" },
        DecodeCase { "UserDefinedArea", "\xF0\x40\xF9\xFC", u"\uE000\uE757" },
        DecodeCase { "UndefinedSingles", "\x80\xA0\xFD\xFE\xFF", u"\xDC80\xDCA0\xDCFD\xDCFE\xDCFF" },
        DecodeCase { "LoneLeadAtEnd", "ab\x81", u"ab\xDC81" },
        DecodeCase { "LeadBeforeBlank", "\x81 x", u"\xDC81 x" },
        DecodeCase { "LeadBeforeLead", "\x81\x81\x81", u"＝\xDC81" },
        DecodeCase { "PairWithoutCharacter", "\x85\x40\xFC\xFC", u"\xDC85@\xDCFC\xDCFC" },
        DecodeCase { "LeadBeforeUndefined", "\xE0\xFD", u"\xDCE0\xDCFD" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932Codec, EveryBytePairRoundTripsUpToCanonicalCodes)
{
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string bytes = bytesOf({ a, b });
            const std::u16string text = toUtf16(bytes);
            bool replaced = false;
            const std::string back = fromUtf16(text, &replaced);
            ASSERT_FALSE(replaced) << a << ' ' << b;
            ASSERT_EQ(fromUtf8(toUtf8(bytes)), back) << a << ' ' << b;
            if (holdsDuplicate(text)) {
                ASSERT_EQ(toUtf16(back), text) << a << ' ' << b;
                ASSERT_EQ(back.size(), bytes.size()) << a << ' ' << b;
            } else {
                ASSERT_EQ(back, bytes) << a << ' ' << b;
            }
        }
    }
}

TEST(Cp932Codec, DuplicatesComeBackAsOneCanonicalCode)
{
    std::size_t extraCodes = 0;
    for (const auto& [character, codes] : duplicateCodes()) {
        extraCodes += codes.size() - 1;
        const std::string canonical = fromUtf16(std::u16string(1, character));
        EXPECT_NE(std::find(codes.begin(), codes.end(), canonical), codes.end()) << int(character);
        for (const std::string& code : codes)
            EXPECT_EQ(fromUtf16(toUtf16(code)), canonical) << int(character);
    }
    EXPECT_EQ(extraCodes, 398u);
    // As Windows writes them: NEC row 13 over the IBM extension, the IBM extension over the
    // NEC-selected copy of it, JIS X 0208 over both.
    EXPECT_EQ(fromUtf16(toUtf16("\x87\x9A")), "\x81\xE6"); // ∵
    EXPECT_EQ(fromUtf16(toUtf16("\xFA\x5B")), "\x81\xE6"); // ∵
    EXPECT_EQ(fromUtf16(toUtf16("\xEE\xF9")), "\x81\xCA"); // ￢
    EXPECT_EQ(fromUtf16(toUtf16("\xFA\x4A")), "\x87\x54"); // Ⅰ
    EXPECT_EQ(fromUtf16(toUtf16("\xEE\xEF")), "\xFA\x40"); // ⅰ
    EXPECT_EQ(fromUtf16(toUtf16("\xED\x40")), "\xFA\x5C"); // 纊
}

TEST(Cp932Codec, EveryEncodedCharacterDecodesBackToItself)
{
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        bool replaced = false;
        const std::string bytes = fromUtf16(std::u16string(1, char16_t(c)), &replaced);
        if (replaced)
            ASSERT_EQ(bytes, kReplacementBytes) << int(c);
        else
            ASSERT_EQ(toUtf16(bytes), std::u16string(1, char16_t(c))) << int(c);
    }
}

// encoded must be bytes character by character, except that a code of a character that has several
// codes may come back as another code of the same character.
testing::AssertionResult sameUpToDuplicates(const std::string& bytes, const std::string& encoded)
{
    const std::u16string text = toUtf16(bytes);
    if (encoded.size() != bytes.size())
        return testing::AssertionFailure() << "length " << encoded.size() << " for " << bytes.size();
    std::size_t pos = 0;
    for (char16_t unit : text) {
        const std::size_t length = fromUtf16(std::u16string(1, unit)).size();
        const std::string original = bytes.substr(pos, length);
        const std::string written = encoded.substr(pos, length);
        if (written != original
            && !(duplicateCodes().contains(unit) && toUtf16(original) == toUtf16(written)
                && toUtf16(written).size() == 1))
            return testing::AssertionFailure() << "at byte " << pos;
        pos += length;
    }
    return testing::AssertionSuccess();
}

TEST(Cp932Codec, RandomBytesRoundTripThroughUtf16AndUtf8)
{
    std::mt19937 random(932);
    // Mostly bytes that make up double-byte characters, so that pairs and broken pairs are common.
    const std::string alphabet
        = "\x81\x82\x83\x87\x88\x95\x9F\xE0\xEA\xED\xEE\xF0\xFA\xFC\xFD\x80\xA0\xA1\xDF"
          "\x40\x5C\x7E\x7F\x9E\xFE\xFF\x00\x0D\x0A"
          "a "s;
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int i = length(random); i > 0; --i)
            bytes += round % 2 ? alphabet[pick(random)] : char(anyByte(random));
        const std::u16string text = toUtf16(bytes);
        ASSERT_EQ(utf16Length(bytes), text.size());
        bool replaced = false;
        const std::string viaUtf16 = fromUtf16(text, &replaced);
        const std::string viaUtf8 = fromUtf8(toUtf8(bytes), &replaced);
        ASSERT_FALSE(replaced);
        ASSERT_EQ(viaUtf8, viaUtf16);
        ASSERT_TRUE(sameUpToDuplicates(bytes, viaUtf16));
        ASSERT_EQ(toUtf16(viaUtf16), text);
    }
}

TEST(Cp932Codec, DuplicateAfterRawLeadKeepsACodeThatDoesNotPairWithIt)
{
    // 0xEE 0xED is no character, so 0xEE stays a raw byte and 0xED 0x40 is 纊 (NEC-selected copy).
    // Its canonical code 0xFA 0x5C would turn 0xEE 0xFA into a character of its own.
    const std::string bytes = "\xEE\xED\x40";
    ASSERT_EQ(toUtf16(bytes), u"\xDCEE纊");
    EXPECT_EQ(fromUtf16(toUtf16(bytes)), bytes);
    EXPECT_EQ(fromUtf8(toUtf8(bytes)), bytes);
    // Without the raw lead byte in front the canonical code is written.
    EXPECT_EQ(fromUtf16(u"x\xDCEE"
                        "a纊"),
        "x\xEE"
        "a\xFA\x5C");
}

// Long texts of each kind: ASCII runs through the word-at-a-time path, and texts that need more
// output than the first guess (kanji, half-width katakana, raw bytes) make the output grow.
class Cp932LongText : public testing::TestWithParam<std::string> { };

TEST_P(Cp932LongText, RoundTrips)
{
    std::string bytes;
    for (int i = 0; bytes.size() < 5000; ++i)
        bytes += i % 50 == 49 ? "plain ascii text, " : GetParam();
    bytes += "\x82";
    const std::u16string text = toUtf16(bytes);
    EXPECT_EQ(utf16Length(bytes), text.size());
    EXPECT_EQ(text.back(), u'\xDC82');
    EXPECT_EQ(fromUtf16(text), bytes);
    EXPECT_EQ(fromUtf8(toUtf8(bytes)), bytes);
    EXPECT_EQ(toUtf16(fromUtf8(toDisplayUtf8(bytes))).size(), text.size());
}

INSTANTIATE_TEST_SUITE_P(Cp932Codec, Cp932LongText,
    testing::Values("plain ascii text, "s, "\x95\x5C\x8E\x9A\x82\xA0"s, "\xB1\xB2\xDF"s, "\x80\xFF\xA0"s,
        "\x95\x5C\x80\x81 memo"s));

TEST(Cp932Codec, AsciiOfEveryLengthAroundTheFastPath)
{
    for (std::size_t length = 0; length <= 24; ++length) {
        const std::string ascii = std::string("The quick brown fox jumps").substr(0, length);
        const std::u16string wide(ascii.begin(), ascii.end());
        EXPECT_EQ(toUtf16(ascii), wide) << length;
        EXPECT_EQ(toUtf8(ascii), ascii) << length;
        EXPECT_EQ(toDisplayUtf8(ascii), ascii) << length;
        EXPECT_EQ(fromUtf16(wide), ascii) << length;
        EXPECT_EQ(fromUtf8(ascii), ascii) << length;
        EXPECT_EQ(fromUtf8(ascii + "\xE3\x81\x82"), ascii + "\x82\xA0") << length;
        EXPECT_TRUE(isValidUtf8(ascii)) << length;
        EXPECT_FALSE(isValidUtf8(ascii + "\xFF")) << length;
    }
}

struct ReplaceCase {
    const char* name;
    std::u16string text;
    std::string bytes;
};

class Cp932Replace : public testing::TestWithParam<ReplaceCase> { };

std::string toUtf8Reference(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

TEST_P(Cp932Replace, ReplacesWhatCp932CannotHold)
{
    const ReplaceCase& c = GetParam();
    bool replaced = false;
    EXPECT_EQ(fromUtf16(c.text, &replaced), c.bytes);
    EXPECT_TRUE(replaced);
    replaced = false;
    EXPECT_EQ(fromUtf8(toUtf8Reference(c.text), &replaced), c.bytes);
    EXPECT_TRUE(replaced);
}

INSTANTIATE_TEST_SUITE_P(Cp932Codec, Cp932Replace,
    testing::Values(ReplaceCase { "Emoji", u"a😀b",
                        "a\x81\xAC"
                        "b" },
        ReplaceCase { "Yen", u"\u00A5100",
            "\x81\xAC"
            "100" },
        ReplaceCase { "Overline", u"\u203E", "\x81\xAC" },
        ReplaceCase { "AccentedLatin", u"café", "caf\x81\xAC" },
        ReplaceCase { "Hangul", u"表한", "\x95\x5C\x81\xAC" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932Codec, NormalTextIsNotReported)
{
    bool replaced = false;
    EXPECT_EQ(fromUtf16(u"メモ 〓 ｱ\r\n", &replaced), "\x83\x81\x83\x82 \x81\xAC \xB1\r\n");
    EXPECT_EQ(fromUtf8("メモ", &replaced), "\x83\x81\x83\x82");
    EXPECT_FALSE(replaced);
    EXPECT_EQ(fromUtf16(u"", nullptr), "");
}

TEST(Cp932Codec, InvalidUtf16IsReplaced)
{
    bool replaced = false;
    EXPECT_EQ(fromUtf16(u"a\xD800"s, &replaced), "a\x81\xAC");
    EXPECT_TRUE(replaced);
    EXPECT_EQ(fromUtf16(u"\xD83Dx"s),
        "\x81\xAC"
        "x");
    EXPECT_EQ(fromUtf16(u"\xDC00\xDC41\xDC7F"s), "\x81\xAC\x81\xAC\x81\xAC");
    EXPECT_EQ(fromUtf16(u"\xDFFF\xDC80"s), "\x81\xAC\x80");
    replaced = false;
    EXPECT_EQ(fromUtf16(u"\xDC81\xDC40"s, &replaced), "\x81\x81\xAC");
    EXPECT_TRUE(replaced);
}

TEST(Cp932Codec, InvalidUtf8IsReplaced)
{
    const std::string r(kReplacementBytes);
    EXPECT_EQ(fromUtf8("\xC0\x80"), r + r); // overlong NUL
    EXPECT_EQ(fromUtf8("\xE3\x81"), r); // cut-off character
    EXPECT_EQ(fromUtf8("\xE3\x81"
                       "A"),
        r + "A"); // the byte that broke it is read again
    EXPECT_EQ(fromUtf8("\x80x\xFF"), r + "x" + r); // stray continuation and invalid byte
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), r); // high surrogate
    EXPECT_EQ(fromUtf8("\xED\xB0\x80"), r); // low surrogate that stands for no byte
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), r + r + r + r); // beyond U+10FFFF
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80"), r); // one replacement for one character
    EXPECT_EQ(fromUtf8("\xED\xB2\x80\xED\xB3\xBF"), "\x80\xFF");
}

TEST(Cp932Codec, Utf8KeepsRawBytesAndDisplayShowsThemAsReplacementCharacters)
{
    EXPECT_EQ(toUtf8("\x80\xFF\x82\xA0"), "\xED\xB2\x80\xED\xB3\xBF\xE3\x81\x82");
    EXPECT_EQ(toDisplayUtf8("\x80\xFF\x82\xA0"), "\xEF\xBF\xBD\xEF\xBF\xBD\xE3\x81\x82");
    EXPECT_EQ(toUtf8("\xB1"), "\xEF\xBD\xB1");
    EXPECT_FALSE(isValidUtf8(toUtf8("\x80")));
    EXPECT_TRUE(isValidUtf8(toDisplayUtf8("\x80\x81")));
}

class Cp932Utf8Validity : public testing::TestWithParam<std::pair<std::string, bool>> { };

TEST_P(Cp932Utf8Validity, Classifies)
{
    EXPECT_EQ(isValidUtf8(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Cp932Codec, Cp932Utf8Validity,
    testing::Values(std::pair { ""s, true }, std::pair { "plain text that is longer than eight"s, true },
        std::pair { "表\u00E9😀\uFFFF\U0010FFFF"s, true }, std::pair { "\xC0\x80"s, false },
        std::pair { "\xC1\xBF"s, false }, std::pair { "\xE0\x80\x80"s, false },
        std::pair { "\xE0\x9F\xBF"s, false }, std::pair { "\xF0\x8F\xBF\xBF"s, false },
        std::pair { "\xED\xA0\x80"s, false }, std::pair { "\xED\xB2\x80"s, false },
        std::pair { "\xF4\x90\x80\x80"s, false }, std::pair { "\xF5\x80\x80\x80"s, false },
        std::pair { "abcdefgh\xE3\x81"s, false }, std::pair { "\x80"s, false },
        std::pair { "\x82\xA0"s, false }));

} // namespace
} // namespace notarium::cp932
