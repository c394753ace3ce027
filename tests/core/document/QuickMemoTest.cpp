#include "core/document/QuickMemo.h"

#include <gtest/gtest.h>

#include <string>

namespace notarium {
namespace {

TEST(QuickMemoTitle, FirstLineTrimmedAndCutWithinEightyBytes)
{
    EXPECT_EQ(titleFromText(" \t first line \r\nsecond\r\n"), "first line");
    EXPECT_EQ(titleFromText("lone LF\nnext"), "lone LF");
    EXPECT_EQ(titleFromText("lone CR\rnext"), "lone CR");
    EXPECT_EQ(titleFromText("\r\nsecond"), "");
    EXPECT_EQ(titleFromText("\x01no break\x1A"), "no break");
    // A full-width space is text, not a blank.
    EXPECT_EQ(titleFromText("\x81\x40x\x81\x40 "), "\x81\x40x\x81\x40");

    const std::string ascii(100, 'a');
    EXPECT_EQ(titleFromText(ascii + "\r\n"), std::string(80, 'a'));
    // 79 single bytes, then "表" (95 5C): byte 80 is a lead byte, so the cut comes before it.
    const std::string cutBefore = std::string(79, 'a') + "\x95\x5C" + "tail";
    EXPECT_EQ(titleFromText(cutBefore), std::string(79, 'a'));
    // 40 double-byte characters fill exactly 80 bytes and stay whole.
    std::string wide;
    for (int i = 0; i < 41; ++i)
        wide += "\x82\xA0";
    EXPECT_EQ(titleFromText(wide), wide.substr(0, 80));
    // The blanks are trimmed first: a long indentation does not eat the title.
    EXPECT_EQ(titleFromText(std::string(90, ' ') + "x"), "x");
}

TEST(QuickMemoClip, EndOfFileMarkGoesAndLineBreaksBecomeCrLf)
{
    EXPECT_EQ(clipText("abc\x1A"), "abc");
    EXPECT_EQ(clipText("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    // Only a final mark is the end of the text.
    const std::string inner = std::string("a\x1A") + "b";
    EXPECT_EQ(clipText(inner), inner);
    EXPECT_EQ(clipText("\x1A"), "");
}

TEST(QuickMemoInsert, InstantMemoEndsTheLineAndShowsTheStart)
{
    ClipInsertion r = insertInstantMemo("", 0, 0, "abc");
    EXPECT_EQ(r.text, "abc\r\n");
    EXPECT_EQ(r.caret, 0u);
    r = insertInstantMemo("", 0, 0, "abc\r\n");
    EXPECT_EQ(r.text, "abc\r\n");
    // The clip replaces the selection; the line break goes where the clip ended.
    r = insertInstantMemo("xSELy", 1, 3, "abc");
    EXPECT_EQ(r.text, "xabc\r\ny");
}

TEST(QuickMemoInsert, SingleMemoKeepsClipsApartByAnEmptyLine)
{
    std::string memo;
    std::size_t caret = 0;
    for (const char* clip : { "abc", "def\r\n", "g\r\nh" }) {
        const ClipInsertion r = insertCollectedClip(memo, caret, 0, clip, CollectMode::Single);
        memo = r.text;
        caret = r.caret;
    }
    EXPECT_EQ(memo, "abc\r\n\r\ndef\r\n\r\ng\r\nh\r\n\r\n");
    EXPECT_EQ(caret, memo.size());

    // A clip that ends with an empty line of its own gets no second one.
    ClipInsertion r = insertCollectedClip("", 0, 0, "abc\r\n\r\n", CollectMode::Single);
    EXPECT_EQ(r.text, "abc\r\n\r\n");
    EXPECT_EQ(r.caret, 7u);
    // Into the middle of a line: the rest of the line follows after the empty line.
    r = insertCollectedClip("hello", 2, 0, "abc", CollectMode::Single);
    EXPECT_EQ(r.text, "heabc\r\n\r\nllo");
    EXPECT_EQ(r.caret, 9u);
    // An old text's lone LF ends a line too: an empty clip line after it is the empty line.
    r = insertCollectedClip("x\n", 2, 0, "\r\n", CollectMode::Single);
    EXPECT_EQ(r.text, "x\n\r\n");
}

TEST(QuickMemoInsert, MultiMemoStoresTheClipEndedByALineBreak)
{
    ClipInsertion r = insertCollectedClip("", 0, 0, "abc", CollectMode::Multi);
    EXPECT_EQ(r.text, "abc\r\n");
    EXPECT_EQ(r.caret, 0u);
    r = insertCollectedClip("", 0, 0, "abc\r\n", CollectMode::Multi);
    EXPECT_EQ(r.text, "abc\r\n");
}

TEST(QuickMemoRepeat, TheSameTextWithinOneSecondIsOneClip)
{
    LastClip last;
    EXPECT_FALSE(isRepeatedClip(last, "", 0)); // nothing accounted for yet
    last = LastClip { "abc", 5000, true };
    EXPECT_TRUE(isRepeatedClip(last, "abc", 5000));
    EXPECT_TRUE(isRepeatedClip(last, "abc", 5999));
    EXPECT_FALSE(isRepeatedClip(last, "abc", 6000));
    EXPECT_FALSE(isRepeatedClip(last, "abd", 5001));
    // A clock that went back is no proof of a repeat.
    EXPECT_FALSE(isRepeatedClip(last, "abc", 4000));
}

} // namespace
} // namespace notarium
