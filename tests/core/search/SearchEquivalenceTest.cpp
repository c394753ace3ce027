#include "SearchReference.h"
#include "SearchTestSupport.h"
#include "core/search/HTSearch.h"
#include "core/search/SearchPattern.h"
#include "core/search/SeekCollector.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace notarium {
namespace {

// Characters chosen for their traps: letters of both widths and cases, blanks and line breaks,
// kana that join with voicing marks and the marks alone, double-byte characters whose trail byte
// is a letter, '@', '[' or a lead-range byte, and the odd bytes CP932 leaves unassigned.
const std::vector<std::string> kPieces = {
    "a",
    "A",
    "b",
    "c",
    "1",
    " ",
    "\t",
    "\r",
    "\n",
    "\r\n",
    ".",
    "@",
    "[",
    "\\",
    "\xB6",
    "\xCA",
    "\xB3",
    "\xB1",
    "\xDE",
    "\xDF",
    "\xA5",
    "\xA1",
    "\xB0", // ｶ ﾊ ｳ ｱ ﾞ ﾟ ･ ｡ ｰ
    "\x82\x81",
    "\x82\x60",
    "\x82\x82",
    "\x82\x61", // ａ Ａ ｂ Ｂ
    "\x83\x41",
    "\x83\x61",
    "\x83\x40",
    "\x81\x5B",
    "\x81\x40", // ア (trail 'A'), 83 61, ァ, ー, ideographic space
    "\x83\x4A",
    "\x83\x4B",
    "\x83\x6E",
    "\x83\x70",
    "\x83\x94",
    "\x83\x45", // カ ガ ハ パ ヴ ウ
    "\x81\x45",
    "\x81\x97",
    "\x81\x81",
    "\x82\xA0",
    "\x8C\x9F",
    "\xE0\x40", // ・ ＠ ＝ あ 検 E040
    "\x80",
    "\xA0",
    "\xFD",
};

std::string randomText(std::mt19937& random, std::size_t pieces)
{
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i)
        text += kPieces[pick(random)];
    // Now and then a lone lead byte at the very end.
    if (random() % 8 == 0)
        text += '\x82';
    return text;
}

// A pattern that often occurs: a piece of the text widened, folded or cut at any byte, or a few
// random pieces.
std::string randomPattern(std::mt19937& random, const std::string& text)
{
    if (text.empty() || random() % 3 == 0)
        return randomText(random, 1 + random() % 3);
    const std::size_t start = random() % text.size();
    std::string pattern = text.substr(start, 1 + random() % 4);
    switch (random() % 4) {
    case 0:
        return ToFullWidth(pattern);
    case 1:
        for (char& c : pattern)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        return pattern;
    default:
        return pattern;
    }
}

class SearchEquivalence : public testing::TestWithParam<unsigned> { };

// The fast scan must give the hits of the position-by-position definition, for every option
// combination, from selections anywhere in the text (inside characters too).
TEST_P(SearchEquivalence, FastScanEqualsTheReference)
{
    const SearchOptions options = SearchOptions::fromBits(GetParam());
    std::mt19937 random(1234 + GetParam());
    int hits = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string text = randomText(random, random() % 40);
        const std::string pattern = randomPattern(random, text);
        for (int s = 0; s < 4; ++s) {
            SelectionPair selection;
            if (s > 0 && !text.empty()) {
                selection.start = static_cast<std::int32_t>(random() % (text.size() + 1));
                selection.length = static_cast<std::int32_t>(random() % 3);
            } else if (!options.has(SearchOption::Forward)) {
                selection.start = static_cast<std::int32_t>(text.size());
            }
            SelectionPair fast = selection;
            SelectionPair reference = selection;
            const auto fastHit = SearchBuffer(text, fast, pattern, options);
            const auto referenceHit = SearchBufferReference(text, reference, pattern, options);
            ASSERT_EQ(fastHit, referenceHit)
                << optionNames(options) << " text " << testing::PrintToString(text) << " pattern "
                << testing::PrintToString(pattern) << " from " << selection;
            if (fastHit) {
                ASSERT_EQ(fast.length, reference.length) << testing::PrintToString(text);
                ASSERT_GT(fast.length, 0);
                ASSERT_LE(*fastHit + fast.length, static_cast<std::int32_t>(text.size()));
                // Never on the second byte of a character.
                ASSERT_EQ(
                    charStart(text, static_cast<std::size_t>(*fastHit)), static_cast<std::size_t>(*fastHit));
                ++hits;
            }
        }
    }
    // The comparison only means something when the random cases hit often enough; whole words are
    // rarer in these short texts full of breaks.
    EXPECT_GT(hits, options.has(SearchOption::WholeWord) ? 8 : 150) << optionNames(options);
}

// The collector's running scan gives the rows of the plain definition: FindInText from (0, 0) on
// the rest of the text after each hit.
TEST_P(SearchEquivalence, CollectorEqualsRepeatedSearchesOnTheRest)
{
    const SearchOptions options = SearchOptions::fromBits(GetParam()).with(SearchOption::Forward);
    std::mt19937 random(99 + GetParam());
    for (int round = 0; round < 150; ++round) {
        const std::string text = randomText(random, random() % 60);
        const std::string pattern = randomPattern(random, text);
        std::vector<SeekHit> expected;
        std::size_t restStart = 0;
        for (;;) {
            const std::string_view rest = std::string_view(text).substr(restStart);
            SelectionPair pair;
            if (pattern.empty() || rest.empty())
                break;
            const auto position = SearchBufferReference(rest, pair, pattern, options);
            if (!position)
                break;
            SeekHit hit;
            hit.nodeIndex = 7;
            hit.offset = static_cast<std::int32_t>(restStart) + *position;
            hit.length = pair.length;
            expected.push_back(hit);
            restStart = static_cast<std::size_t>(hit.offset + hit.length);
        }
        const std::vector<SeekHit> rows = SeekCollector(pattern, options).collectText(text, 7);
        ASSERT_EQ(rows.size(), expected.size())
            << optionNames(options) << testing::PrintToString(text) << ' ' << testing::PrintToString(pattern);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].nodeIndex, 7);
            EXPECT_EQ(rows[i].offset, expected[i].offset) << testing::PrintToString(text);
            EXPECT_EQ(rows[i].length, expected[i].length);
            EXPECT_EQ(rows[i].matched, text.substr(rows[i].offset, rows[i].length));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllOptions, SearchEquivalence, testing::Range(0u, SearchOptions::kAllBits + 1),
    [](const testing::TestParamInfo<unsigned>& info) {
        std::string name = optionNames(SearchOptions::fromBits(info.param));
        for (char& c : name)
            if (c == '|')
                c = '_';
        return name;
    });

} // namespace
} // namespace notarium
