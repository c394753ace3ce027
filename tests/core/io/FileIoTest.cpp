#include "core/io/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

class FileErrors : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("notarium-fileio-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::vector<std::string> namesInFolder()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path m_dir;
};

TEST_F(FileErrors, TheReasonComesInThePlatformsWordsAfterTheProgramsOwn)
{
    std::string bytes;
    std::string error;
    EXPECT_FALSE(readWholeFile((m_dir / "missing.txt").string(), bytes, &error));
    EXPECT_EQ(error, "ファイルまたはフォルダーが見つかりません。 (No such file or directory)");

    EXPECT_FALSE(readWholeFile(m_dir.string(), bytes, &error));
    EXPECT_EQ(error, "ファイルではなくフォルダーです。 (Is a directory)");

    EXPECT_FALSE(writeFileAtomically((m_dir / "no" / "such" / "folder.nmd").string(), "x", &error));
    EXPECT_EQ(error, "ファイルまたはフォルダーが見つかりません。 (No such file or directory)");

    const std::string longName(300, 'n');
    EXPECT_FALSE(writeFileAtomically((m_dir / longName).string(), "x", &error));
    EXPECT_EQ(error, "ファイル名が長すぎます。 (File name too long)");

    // A failure a person rarely meets gets the platform's text alone.
    ASSERT_TRUE(writeFileAtomically((m_dir / "plain").string(), "x"));
    EXPECT_FALSE(readWholeFile((m_dir / "plain" / "below").string(), bytes, &error));
    EXPECT_EQ(error, "Not a directory");
}

TEST_F(FileErrors, AWritePastTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    const fs::path path = m_dir / "doc.nmd";
    const fs::path source = m_dir / "large.src";
    const fs::path copied = m_dir / "copy.nmd";
    const std::string larger(256 * 1024, 'x');
    ASSERT_TRUE(writeFileAtomically(path.string(), "the old document\r\n"));
    ASSERT_TRUE(writeFileAtomically(source.string(), larger));

    // As the programs' main does: past the limit a write fails with EFBIG instead of a signal.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous { };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit lowered = previous;
    lowered.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    std::string writeError;
    const bool written = writeFileAtomically(path.string(), larger, &writeError);
    std::string copyError;
    const bool copiedOk = copyFileAtomically(source.string(), copied.string(), &copyError);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(writeError, "ファイルが大きすぎて書き込めません。 (File too large)");
    EXPECT_EQ(contents(path), "the old document\r\n");
    EXPECT_FALSE(copiedOk);
    EXPECT_EQ(copyError, "ファイルが大きすぎて書き込めません。 (File too large)");
    // Neither left a file of its own behind.
    std::vector<std::string> names = namesInFolder();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> { "doc.nmd", "large.src" }));
}

} // namespace
} // namespace notarium
