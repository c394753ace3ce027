#include "core/textio/EditorWorkFile.h"

#include <gtest/gtest.h>

namespace notarium {
namespace {

TEST(EditorWorkFile, NameFollowsTheDocumentAndTheNode)
{
    EXPECT_EQ(editorWorkFileName("/home/me/plan.nmd", 12), "plan_12.nmp");
    EXPECT_EQ(editorWorkFileName("/home/me/my.plan.nmd", 3), "my.plan_3.nmp");
    EXPECT_EQ(editorWorkFileName("/home/me.d/plan", 1), "plan_1.nmp");
    EXPECT_EQ(editorWorkFileName("/home/me/.notes", 2), ".notes_2.nmp");
    EXPECT_EQ(editorWorkFileName("", 7), "Untitled_7.nmp");
}

// Hard lines only: a lone LF or CR (which the memo pane never stores) is no CR LF pair, and the
// pair right at the caret is not before it.
TEST(EditorWorkFile, CaretLineCountsTheLineBreaksBeforeTheCaret)
{
    const std::string text = "one\r\ntwo\r\nthree";
    EXPECT_EQ(hardLineAt(text, 0), 1);
    EXPECT_EQ(hardLineAt(text, 3), 1);
    EXPECT_EQ(hardLineAt(text, 5), 2);
    EXPECT_EQ(hardLineAt(text, 10), 3);
    EXPECT_EQ(hardLineAt(text, 15), 3);
    EXPECT_EQ(hardLineAt(text, 999), 3);
    EXPECT_EQ(hardLineAt("a\nb\rc\r\nd", 8), 2);
}

TEST(EditorWorkFile, LineOptionReplacesEveryMarker)
{
    EXPECT_EQ(expandLineOption("-n%LN%", 3), "-n3");
    EXPECT_EQ(expandLineOption("+%LN% --line=%LN%", 12), "+12 --line=12");
    EXPECT_EQ(expandLineOption("--wait", 3), "--wait");
    EXPECT_EQ(expandLineOption("%LN", 3), "%LN");
    EXPECT_EQ(expandLineOption("", 3), "");
}

// What goes out comes back unchanged, whatever the encoding; a byte CP932 does not define goes out
// as U+FFFD in UTF-8 so that the editor accepts the file.
TEST(EditorWorkFile, TextGoesOutAndComesBack)
{
    const std::string memo = "\x93\xfa\x96\x7b\r\nline 2\r\n"; // 日本, CR LF, no line end added
    const std::string utf8 = editorWorkFileBytes(memo, TextEncoding::Utf8);
    EXPECT_EQ(utf8, "\xE6\x97\xA5\xE6\x9C\xAC\r\nline 2\r\n");
    EXPECT_EQ(memoTextFromWorkFile(utf8, TextEncoding::Utf8), memo);
    EXPECT_EQ(editorWorkFileBytes(memo, TextEncoding::Cp932), memo);
    EXPECT_EQ(memoTextFromWorkFile(memo, TextEncoding::Cp932), memo);
    EXPECT_EQ(editorWorkFileBytes("a\x80z", TextEncoding::Utf8), "a\xEF\xBF\xBDz");
}

TEST(EditorWorkFile, EditedFileIsReadAsTheMemoWouldHoldIt)
{
    bool replaced = false;
    const std::string bom = "\xEF\xBB\xBF";
    // LF and CR line ends, a byte order mark.
    EXPECT_EQ(memoTextFromWorkFile(bom + "a\nb\rc\r\n", TextEncoding::Utf8, &replaced), "a\r\nb\r\nc\r\n");
    EXPECT_FALSE(replaced);
    // An editor that saved CP932 although the file went out as UTF-8.
    EXPECT_EQ(memoTextFromWorkFile("\x93\xfa\n", TextEncoding::Utf8, &replaced), "\x93\xfa\r\n");
    // One that saved UTF-8 (with its mark) although the file went out as CP932.
    EXPECT_EQ(memoTextFromWorkFile(bom + "\xE6\x97\xA5", TextEncoding::Cp932, &replaced), "\x93\xfa");
    EXPECT_FALSE(replaced);
    // An emoji has no CP932 code.
    EXPECT_EQ(memoTextFromWorkFile("x\xF0\x9F\x98\x80", TextEncoding::Utf8, &replaced), "x\x81\xAC");
    EXPECT_TRUE(replaced);
}

TEST(EditorWorkFile, CaptionShowsTheExternalEditing)
{
    EXPECT_EQ(externalEditingCaption("/tmp/plan.nmd - Notarium"), "/tmp/plan.nmd - [Ext] Notarium");
    EXPECT_EQ(normalCaption("/tmp/plan.nmd - [Ext] Notarium"), "/tmp/plan.nmd - Notarium");
    // Only the caption's ending: a path may hold the same words.
    EXPECT_EQ(externalEditingCaption("/tmp/a - Notarium b.nmd - Notarium"),
        "/tmp/a - Notarium b.nmd - [Ext] Notarium");
    EXPECT_EQ(normalCaption("/tmp/plan.nmd - Notarium"), "/tmp/plan.nmd - Notarium");
    EXPECT_EQ(externalEditingCaption("Other"), "Other");
}

} // namespace
} // namespace notarium
