#include "core/templates/TextTemplate.h"
#include "core/io/FileSize.h"
#include "core/templates/TemplateMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

struct TextCase {
    std::string_view name;
    std::string_view text;
    std::string_view file;
};

class TextTemplateBytes : public testing::TestWithParam<TextCase> { };

TEST_P(TextTemplateBytes, WrittenReadAndWrittenAgain)
{
    const TextCase& c = GetParam();
    const std::string file = serializeTextTemplate(c.text);
    EXPECT_EQ(file, c.file);
    // A file the program wrote is the text it gives back, byte for byte, and writing that text
    // again changes nothing.
    EXPECT_EQ(parseTextTemplate(file), file);
    EXPECT_EQ(serializeTextTemplate(parseTextTemplate(file)), file);
    // Reading a text that was never written gives the same as writing it.
    EXPECT_EQ(parseTextTemplate(c.text), c.file);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextTemplateBytes,
    testing::Values(TextCase { "Empty", "", "" }, TextCase { "NoFinalBreak", "abc", "abc\r\n" },
        TextCase { "FinalBreak", "abc\r\n", "abc\r\n" }, TextCase { "LoneCr", "\r", "\r\n" },
        TextCase { "LoneLf", "\n", "\r\n" }, TextCase { "CrLf", "\r\n", "\r\n" },
        TextCase { "LfCrIsTwoBreaks", "a\n\rb", "a\r\n\r\nb\r\n" },
        TextCase { "Mixed", "a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n" },
        TextCase { "EmptyLines", "\r\n\r\n", "\r\n\r\n" }, TextCase { "TrailingCr", "x\r", "x\r\n" },
        // Other bytes, an end-of-file byte and Shift-JIS pairs among them, are kept as they are.
        TextCase { "OtherBytes", std::string_view("\x1A\x00\x82\xA0\x81\x5C", 6),
            std::string_view("\x1A\x00\x82\xA0\x81\x5C\r\n", 8) }),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

class TextTemplateOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("notarium-texttemplate-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(TextTemplateOnDisk, WriteReplacesTheFileAndReadsBack)
{
    const std::string path = (m_dir / "t.nmt").string();
    ASSERT_TRUE(writeTextTemplate(path, "old text that is longer").ok);
    const WriteResult result = writeTextTemplate(path, "line1\nline2");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.changedTitles.empty());
    std::string text;
    ASSERT_TRUE(loadTextTemplate(path, text));
    EXPECT_EQ(text, "line1\r\nline2\r\n");

    ASSERT_TRUE(writeTextTemplate(path, "").ok);
    EXPECT_EQ(fs::file_size(path), 0u);
    ASSERT_TRUE(loadTextTemplate(path, text));
    EXPECT_EQ(text, "");
}

TEST_F(TextTemplateOnDisk, FailuresAreReported)
{
    const WriteResult result = writeTextTemplate((m_dir / "no" / "such" / "t.nmt").string(), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.text, messages::CannotSaveTemplate.text);
    EXPECT_EQ(result.message.caption, "ファイル I/O エラー");
    EXPECT_FALSE(result.errorText.empty());

    std::string text = "stale";
    std::string error;
    Message refused;
    EXPECT_FALSE(loadTextTemplate((m_dir / "missing.nmt").string(), text, &error, &refused));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(refused.empty());

    // Sparse: the size is there without the bytes; the text at the start shows that the size
    // alone decides.
    const std::string huge = (m_dir / "huge.nmt").string();
    ASSERT_TRUE(writeTextTemplate(huge, "text").ok);
    ASSERT_EQ(::truncate(huge.c_str(), kLargestReadableFile + 1), 0);
    text = "stale";
    EXPECT_FALSE(loadTextTemplate(huge, text, &error, &refused));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(refused.text, messages::TooLargeTemplateFile.text);
    EXPECT_EQ(refused.caption, "ファイルエラー");
    EXPECT_EQ(error, messages::TooLargeTemplateFile.text);
}

} // namespace
} // namespace notarium
