#include "core/textio/TextImport.h"

#include <gtest/gtest.h>

#include <string>

namespace notarium {
namespace {

using namespace std::string_literals;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kAUtf8 = "\xE3\x81\x82"; // あ
const std::string kACp932 = "\x82\xA0";
const std::string kGetaUtf8 = "\xE3\x80\x93"; // 〓
const std::string kGetaCp932 = "\x81\xAC";
const std::string kEmoji = "\xF0\x9F\x98\x80"; // U+1F600
const std::string kEAcute = "\xC3\xA9"; // é, which CP932 lacks

TEST(TextImport, DetectsUtf8ByItsMarkOrByValidNonAsciiText)
{
    EXPECT_EQ(detectImportEncoding(kBom + "plain"), ImportEncoding::Utf8);
    EXPECT_EQ(detectImportEncoding("memo " + kAUtf8 + "\r\n"), ImportEncoding::Utf8);
    // Plain ASCII reads the same either way; Shift-JIS bytes are no valid UTF-8.
    EXPECT_EQ(detectImportEncoding("plain text\n"), ImportEncoding::Cp932);
    EXPECT_EQ(detectImportEncoding("\x83\x81\x83\x82"), ImportEncoding::Cp932); // メモ
    // Valid UTF-8 that ends in half a character is not UTF-8.
    EXPECT_EQ(detectImportEncoding(kAUtf8 + "\xE3\x81"), ImportEncoding::Cp932);
}

TEST(TextImport, Cp932IsTakenByteForByte)
{
    // Bytes CP932 does not define and LF-only line ends stay as they are.
    const std::string bytes = "a\n\x83\x81\x80\xFF\n\x1A mid";
    const ImportedText text = importText(bytes);
    EXPECT_EQ(text.encoding, ImportEncoding::Cp932);
    EXPECT_EQ(text.cp932, bytes);
    EXPECT_EQ(text.replaced, 0u);
}

TEST(TextImport, OneTrailingEndOfFileMarkIsDropped)
{
    EXPECT_EQ(importText("line\r\n\x1A").cp932, "line\r\n");
    EXPECT_EQ(importText("\x1A\x1A").cp932, "\x1A");
    EXPECT_EQ(importText("\x1A").cp932, "");
    EXPECT_EQ(importText(kBom + kAUtf8 + "\x1A").cp932, kACp932);
    EXPECT_EQ(importText("").cp932, "");
}

TEST(TextImport, Utf8IsConvertedAndCountsWhatCp932CannotHold)
{
    const ImportedText plain = importText(kBom + kAUtf8 + "\r\nx");
    EXPECT_EQ(plain.encoding, ImportEncoding::Utf8);
    EXPECT_EQ(plain.cp932, kACp932 + "\r\nx");
    EXPECT_EQ(plain.replaced, 0u);

    // The file's own 〓 is no replacement; an emoji and an accented letter are one each.
    const ImportedText mixed = importText(kGetaUtf8 + kEmoji + "a" + kEAcute + kAUtf8);
    EXPECT_EQ(mixed.cp932, kGetaCp932 + kGetaCp932 + "a" + kGetaCp932 + kACp932);
    EXPECT_EQ(mixed.replaced, 2u);

    // ＝ (0x81 0x81) followed by ｬ (0xAC) holds the bytes of 〓 across two characters.
    const ImportedText across = importText("\xEF\xBC\x9D\xEF\xBD\xAC");
    EXPECT_EQ(across.cp932, "\x81\x81\xAC");
    EXPECT_EQ(across.replaced, 0u);
}

TEST(TextImport, BinaryFilesAndTheSizeLimit)
{
    EXPECT_TRUE(looksBinary("text\0more"s));
    EXPECT_TRUE(looksBinary("\xFF\xFEm\0"s)); // UTF-16
    EXPECT_FALSE(looksBinary("text\x1A\x01\x7F"));
    EXPECT_FALSE(importNeedsConfirmation(kImportConfirmBytes));
    EXPECT_TRUE(importNeedsConfirmation(kImportConfirmBytes + 1));
    // The memo goes into the data file, whose positions end at 2 GiB - 1 bytes.
    EXPECT_FALSE(importTooLarge(2147483647ull));
    EXPECT_TRUE(importTooLarge(2147483648ull));
}

} // namespace
} // namespace notarium
