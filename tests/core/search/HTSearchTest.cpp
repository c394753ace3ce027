#include "core/search/HTSearch.h"
#include "SearchReference.h"
#include "SearchTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace notarium {
namespace {

using enum SearchOption;

constexpr SearchOptions kForward = SearchOptions(Forward);
constexpr SearchOptions kBackward = SearchOptions();

// One search and the hit it must give (none: no hit).
struct HitCase {
    const char* name;
    std::string text; // UTF-8, converted to CP932
    std::string searchText; // UTF-8
    SearchOptions options;
    std::optional<SelectionPair> expected;
    SelectionPair from = {};
};

void PrintTo(const HitCase& c, std::ostream* out)
{
    *out << c.name;
}

class FindInTextHits : public testing::TestWithParam<HitCase> { };

TEST_P(FindInTextHits, GiveExactlyTheExpectedHit)
{
    const HitCase& c = GetParam();
    const std::string text = sj(c.text);
    const std::optional<SelectionPair> hit = findHit(text, sj(c.searchText), c.options, c.from);
    EXPECT_EQ(hit, c.expected) << optionNames(c.options);
    // The reference definition agrees on every listed case.
    SelectionPair pair = c.from;
    const std::optional<std::int32_t> reference
        = SearchBufferReference(text, pair, sj(c.searchText), c.options);
    EXPECT_EQ(reference.has_value(), c.expected.has_value());
    if (reference && c.expected) {
        EXPECT_EQ((SelectionPair { *reference, pair.length }), *c.expected);
    }
}

std::optional<SelectionPair> at(std::int32_t start, std::int32_t length)
{
    return SelectionPair { start, length };
}

const std::optional<SelectionPair> kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(Basics, FindInTextHits,
    testing::Values(HitCase { "forward from (0,0) finds offset 0", "abcabc", "abc", kForward, at(0, 3) },
        HitCase { "forward from a selection begins after it", "abcabc", "abc", kForward, at(3, 3), { 0, 3 } },
        HitCase {
            "backward from the end finds the last hit", "abcabc", "abc", kBackward, at(3, 3), { 6, 0 } },
        HitCase {
            "backward never begins at the selection start", "abcabc", "abc", kBackward, at(0, 3), { 3, 3 } },
        HitCase {
            "backward finds nothing before the first hit", "abcabc", "abc", kBackward, kNone, { 2, 0 } },
        HitCase { "empty search text", "abc", "", kForward, kNone },
        HitCase { "empty text", "", "a", kForward, kNone },
        HitCase { "start past the text", "abc", "a", kForward, kNone, { 4, 0 } },
        HitCase { "negative start", "abc", "a", kForward, kNone, { -1, 0 } },
        HitCase { "negative length", "abc", "a", kForward, kNone, { 0, -1 } },
        HitCase { "a selection ending inside a character resumes after it", "アアa", "ア", kForward, at(2, 2),
            { 0, 1 } },
        HitCase { "pattern longer than the rest", "abc", "bcd", kForward, kNone }),
    [](const testing::TestParamInfo<HitCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Case, FindInTextHits,
    testing::Values(HitCase { "abc finds ABC", "xABC", "abc", kForward, at(1, 3) },
        HitCase { "ａｂｃ finds ＡＢＣ", "xＡＢＣ", "ａｂｃ", kForward, at(1, 6) },
        HitCase { "ＡＢＣ finds ａｂｃ", "ａｂｃ", "ＡＢＣ", kForward, at(0, 6) },
        HitCase { "match case: abc misses ABC", "xABC", "abc", kForward | MatchCase, kNone },
        HitCase { "match case: ａｂｃ misses ＡＢＣ", "ＡＢＣ", "ａｂｃ", kForward | MatchCase, kNone },
        // ツ is 83 63 and イ is 83 43: folding the trail byte 'c' to 'C' would make them equal.
        HitCase { "a trail byte 'c' is not folded in the text", "ツ", "イ", kForward, kNone },
        HitCase { "a trail byte 'c' is not folded in the pattern", "ツ", "ツ", kForward, at(0, 2) },
        HitCase { "Greek letters do not fold", "α", "Α", kForward, kNone },
        HitCase { "Greek letters do not fold in the pattern", "Α", "α", kForward, kNone }),
    [](const testing::TestParamInfo<HitCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Width, FindInTextHits,
    testing::Values(HitCase { "ABC finds ＡＢＣ", "ＡＢＣ", "ABC", kForward | IgnoreWidth, at(0, 6) },
        HitCase { "ＡＢＣ finds abc when folding", "-abc", "ＡＢＣ", kForward | IgnoreWidth, at(1, 3) },
        HitCase { "match case and width: abc misses ＡＢＣ", "ＡＢＣ", "abc",
            kForward | IgnoreWidth | MatchCase, kNone },
        HitCase { "without ignore width ABC misses ＡＢＣ", "ＡＢＣ", "ABC", kForward, kNone },
        HitCase { "ガ finds ｶﾞ", "xｶﾞy", "ガ", kForward | IgnoreWidth, at(1, 2) },
        HitCase { "ｶﾞ finds ガ", "xガy", "ｶﾞ", kForward | IgnoreWidth, at(1, 2) },
        HitCase { "ヴ finds ｳﾞ", "ｳﾞ", "ヴ", kForward | IgnoreWidth, at(0, 2) },
        HitCase { "パ finds ﾊﾟ", "ﾊﾟ", "パ", kForward | IgnoreWidth, at(0, 2) },
        HitCase { "バ does not find ﾊﾟ", "ﾊﾟ", "バ", kForward | IgnoreWidth, kNone },
        HitCase { "・ finds the half-width middle dot", "a･b", "・", kForward | IgnoreWidth, at(1, 1) },
        HitCase { "ｶﾟ finds itself (two characters, not one)", "ｶﾟ", "ｶﾟ", kForward | IgnoreWidth, at(0, 2) },
        HitCase { "カ takes only the ｶ of ｶﾟ", "ｶﾟ", "カ", kForward | IgnoreWidth, at(0, 1) },
        HitCase { "カ does not take the ｶ of ｶﾞ", "ｶﾞ", "カ", kForward | IgnoreWidth, kNone },
        HitCase { "゛ finds a lone voiced mark", "ｱﾞ", "゛", kForward | IgnoreWidth, at(1, 1) },
        HitCase {
            "backward: ガ before the selection", "xｶﾞ", "ガ", kBackward | IgnoreWidth, at(1, 2), { 3, 0 } },
        HitCase { "backward: ABC before the selection", "ＡＢＣABC", "ABC",
            kBackward | IgnoreWidth | MatchCase, at(6, 3), { 9, 0 } },
        HitCase { "full-width space finds a blank", "a b", "a　b", kForward | IgnoreWidth, at(0, 3) }),
    [](const testing::TestParamInfo<HitCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Skip, FindInTextHits,
    testing::Values(
        HitCase { "CR LF inside a hit", "abc\r\ndef", "abcdef", kForward | SkipLineBreaks, at(0, 8) },
        HitCase {
            "CR LF not skipped without the option", "abc\r\ndef", "abcdef", kForward | SkipSpaces, kNone },
        HitCase { "ideographic space inside a hit", "abc　def", "abcdef", kForward | SkipSpaces, at(0, 8) },
        HitCase { "blanks and tabs inside a hit", "ab \tc", "abc", kForward | SkipSpaces, at(0, 5) },
        HitCase {
            "blanks not skipped for line breaks only", "ab c", "abc", kForward | SkipLineBreaks, kNone },
        HitCase { "a hit neither begins nor ends on a skipped byte", " \r\nabc \r\n", "abc",
            kForward | SkipLineBreaks | SkipSpaces, at(3, 3) },
        HitCase {
            "a blank in the pattern must match one in the text", "ab", "a b", kForward | SkipSpaces, kNone },
        HitCase {
            "skips mixed with width", "ａ\r\nｂ", "ab", kForward | SkipLineBreaks | IgnoreWidth, at(0, 6) },
        HitCase { "a skipped run before the text end is no hit", "ab\r\n", "abc", kForward | SkipLineBreaks,
            kNone },
        HitCase { "backward with skips", "abc\r\ndefabc", "abcdef", kBackward | SkipLineBreaks, at(0, 8),
            { 11, 0 } }),
    [](const testing::TestParamInfo<HitCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(WholeWord, FindInTextHits,
    testing::Values(HitCase { "not inside concatenate", "concatenate", "cat", kForward | WholeWord, kNone },
        HitCase { "before a full stop", "a cat.", "cat", kForward | WholeWord, at(2, 3) },
        HitCase { "at the text start", "cat is", "cat", kForward | WholeWord, at(0, 3) },
        HitCase { "at the text end", "a cat", "cat", kForward | WholeWord, at(2, 3) },
        HitCase { "not at the end of a word that ends the text", "xcat", "cat", kForward | WholeWord, kNone },
        HitCase { "not in the tail of a word near the end", "xcat", "at", kForward | WholeWord, kNone },
        HitCase { "not at the start of a longer word", "cats", "cat", kForward | WholeWord, kNone },
        HitCase { "backward: not at the start of a longer word", "catalog", "cat", kBackward | WholeWord,
            kNone, { 7, 0 } },
        HitCase { "backward: the previous whole word", "cat cats cat x", "cat", kBackward | WholeWord,
            at(9, 3), { 14, 0 } },
        HitCase { "backward: mid-word positions are passed", "a cat", "cat", kBackward | WholeWord, at(2, 3),
            { 5, 0 } },
        HitCase { "after a double-byte character whose trail is a break byte", "あcat", "cat",
            kForward | WholeWord, kNone },
        HitCase { "after a double-byte character whose trail is a letter", "ツcat", "cat",
            kForward | WholeWord, kNone },
        HitCase { "after an ideographic space", "　cat", "cat", kForward | WholeWord, kNone },
        HitCase { "before a double-byte character", "catあ", "cat", kForward | WholeWord, kNone },
        HitCase { "after half-width 。 (a break)", "｡cat", "cat", kForward | WholeWord, at(1, 3) },
        HitCase { "digits belong to words", "cat1 cat", "cat", kForward | WholeWord, at(5, 3) },
        HitCase { "half-width kana belong to words", "ｱcat cat", "cat", kForward | WholeWord, at(5, 3) },
        HitCase { "ignore width keeps word ends", "ＣＡＴs cat", "cat", kForward | WholeWord | IgnoreWidth,
            at(8, 3) },
        HitCase { "a word that is the whole text", "cat", "cat", kBackward | WholeWord, at(0, 3), { 3, 0 } }),
    [](const testing::TestParamInfo<HitCase>& info) { return "case" + std::to_string(info.index); });

// A byte that is the trail of a double-byte character is never a hit of that single byte, in any
// mode and either direction.
class TrailBytes : public testing::TestWithParam<unsigned> { };

TEST_P(TrailBytes, NeverMatchTheAsciiByteTheyEqual)
{
    const SearchOptions options = SearchOptions::fromBits(GetParam());
    // ァ (83 40) holds '@', ー (81 5B) '[', ソ (83 5C) a backslash, ツ (83 63) a 'c'; each is followed
    // by the plain byte, which must be the only hit. ＝ (81 81) is all lead-range bytes.
    const struct {
        std::string text;
        std::string searchText;
    } cases[] = {
        { "\x83\x40@", "@" },
        { "\x81\x5B[", "[" },
        { "\x83\x5C\\", "\\" },
        { "\x83\x63"
          "c",
            "c" },
        { "\x81\x81\x81\x81\x81", "\x81\x81" },
    };
    for (const auto& c : cases) {
        const bool wordPattern = c.searchText == "c";
        const bool findable = !options.has(WholeWord) || wordPattern;
        SelectionPair from
            = options.has(Forward) ? SelectionPair {} : SelectionPair { int(c.text.size()), 0 };
        const std::optional<SelectionPair> hit = findHit(c.text, c.searchText, options, from);
        if (c.searchText == "\x81\x81") {
            // The fifth byte is a lone lead: 81 81 can only be one of the two whole characters.
            if (hit) {
                EXPECT_TRUE(hit->start == 0 || hit->start == 2) << hit->start << ' ' << optionNames(options);
            }
            EXPECT_EQ(hit.has_value(), !options.has(WholeWord)) << optionNames(options);
            continue;
        }
        if (!findable) {
            EXPECT_EQ(hit, std::nullopt) << optionNames(options);
            continue;
        }
        if (options.has(WholeWord)) {
            // "ツc": the 'c' follows a double-byte character, so it starts no word.
            EXPECT_EQ(hit, std::nullopt) << optionNames(options);
            continue;
        }
        EXPECT_EQ(hit, at(2, 1)) << optionNames(options) << " in " << testing::PrintToString(c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(AllOptions, TrailBytes, testing::Range(0u, SearchOptions::kAllBits + 1));

TEST(FindInText, ALoneLeadByteAtTheEndIsOneByteLong)
{
    const std::string text = "ab\x82";
    EXPECT_EQ(findHit(text, "\x82", kForward), at(2, 1));
    EXPECT_EQ(findHit(text, "\x82", kForward | IgnoreWidth), at(2, 1));
    // A double-byte pattern never reaches past the text's end.
    EXPECT_EQ(findHit(text, "\x82\xA0", kForward), std::nullopt);
    EXPECT_EQ(findHit(text, "b\x82\xA0", kForward | SkipLineBreaks | SkipSpaces), std::nullopt);
}

TEST(FindInText, TheSelectionIsLeftToTheCallerOnAMiss)
{
    SelectionPair pair { 1, 1 };
    EXPECT_FALSE(FindInText("abc", pair, "x", kForward));
    pair = { 0, 0 };
    ASSERT_TRUE(FindInText("xxabc", pair, "ABC", kForward));
    EXPECT_EQ(pair, (SelectionPair { 2, 3 }));
}

struct WidthCase {
    const char* text;
    const char* expected;
};

class ToFullWidthForms : public testing::TestWithParam<WidthCase> { };

TEST_P(ToFullWidthForms, Convert)
{
    EXPECT_EQ(ToFullWidth(sj(GetParam().text)), sj(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Search, ToFullWidthForms,
    testing::Values(WidthCase { "abc XYZ 09", "ａｂｃ　ＸＹＺ　０９" }, WidthCase { "\"'\\~", "”’￥￣" },
        WidthCase { "ｶﾞｷﾞﾊﾟﾎﾞｳﾞｱ", "ガギパボヴア" }, WidthCase { "ｶﾟｳﾟﾅﾞ", "カ゜ウ゜ナ゛" },
        WidthCase { "ｰｯｧｦﾝ｡｢｣､･", "ーッァヲン。「」、・" }, WidthCase { "ﾞﾟ", "゛゜" },
        WidthCase { "日本ガ", "日本ガ" }, WidthCase { "a\tb\r\n", "ａ\tｂ\r\n" }));

TEST(ToFullWidth, KeepsBytesWithoutAForm)
{
    EXPECT_EQ(
        ToFullWidth(std::string("\x01\x7F\x80\xA0\xFD\xFF", 6)), std::string("\x01\x7F\x80\xA0\xFD\xFF", 6));
    EXPECT_EQ(ToFullWidth("a\x82"), "\x82\x81\x82"); // a lone lead byte at the end stays
}

} // namespace
} // namespace notarium
