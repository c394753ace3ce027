#include "core/io/FileIo.h"
#include "core/io/RecoveryStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

class RecoveryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = fs::temp_directory_path()
            / ("notarium-recovery-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        folder = (base / "state" / "recovery").string();
    }
    void TearDown() override
    {
        fs::permissions(base, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(base);
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        if (fs::exists(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string contents(const std::string& path)
    {
        std::string bytes;
        readWholeFile(path, bytes);
        return bytes;
    }
    fs::path base;
    std::string folder;
};

TEST_F(RecoveryStore, ACopyIsOfferedOnlyOnceItsWriterHasLetGo)
{
    RecoveryCopy copy = RecoveryCopy::claim(folder, "/home/a/予定.nmd", 4242);
    ASSERT_TRUE(copy.isClaimed());
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    ASSERT_TRUE(copy.write("first"));
    ASSERT_TRUE(copy.write("second"));
    // Held by its writer: no one else offers it, not even another look from this process.
    EXPECT_TRUE(abandonedRecoveryCopies(folder).empty());
    copy.release();

    std::vector<RecoveryCopy> left = abandonedRecoveryCopies(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].documentPath(), "/home/a/予定.nmd");
    EXPECT_EQ(contents(left[0].copyPath()), "second");
    EXPECT_GT(left[0].writtenAt(), 0);
    // The one who found it holds it now.
    EXPECT_TRUE(abandonedRecoveryCopies(folder).empty());
    left[0].discard();
    EXPECT_TRUE(files().empty());
}

TEST_F(RecoveryStore, AKeptCopyIsNeverWrittenOver)
{
    RecoveryCopy old = RecoveryCopy::claim(folder, "/doc.nmd", 100);
    ASSERT_TRUE(old.write("kept"));
    const std::string keptPath = old.copyPath();
    old.release();

    // A new window on the same document, and a second one while the first still lives.
    RecoveryCopy next = RecoveryCopy::claim(folder, "/doc.nmd", 200);
    RecoveryCopy third = RecoveryCopy::claim(folder, "/doc.nmd", 200);
    ASSERT_TRUE(next.isClaimed());
    ASSERT_TRUE(third.isClaimed());
    EXPECT_NE(next.copyPath(), keptPath);
    EXPECT_NE(third.copyPath(), keptPath);
    EXPECT_NE(third.copyPath(), next.copyPath());
    ASSERT_TRUE(next.write("new"));
    ASSERT_TRUE(third.write("newer"));
    EXPECT_EQ(contents(keptPath), "kept");
    next.discard();
    third.discard();
    EXPECT_EQ(files().size(), 2u); // the kept copy and its record
}

TEST_F(RecoveryStore, NewestFirstAndLeftoverRecordsRemoved)
{
    RecoveryCopy older = RecoveryCopy::claim(folder, "/older.nmd", 1);
    RecoveryCopy untitled = RecoveryCopy::claim(folder, "", 2);
    RecoveryCopy neverWritten = RecoveryCopy::claim(folder, "/nothing.nmd", 3);
    ASSERT_TRUE(older.write("o"));
    ASSERT_TRUE(untitled.write("u"));
    const std::string olderPath = older.copyPath();
    const struct timespec times[2] = { { 1000, 0 }, { 1000, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, olderPath.c_str(), times, 0), 0);
    EXPECT_NE(untitled.copyPath().find("untitled-2"), std::string::npos);
    older.release();
    untitled.release();
    neverWritten.release();

    const std::vector<RecoveryCopy> left = abandonedRecoveryCopies(folder);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].documentPath(), "");
    EXPECT_EQ(left[1].documentPath(), "/older.nmd");
    EXPECT_EQ(files().size(), 4u); // the record without a copy is gone
}

TEST_F(RecoveryStore, ACopyOfAKilledProcessIsOffered)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecoveryCopy copy = RecoveryCopy::claim(folder, "/work/notes.nmd", ::getpid());
        const bool written = copy.write("unsaved lines");
        const char state = written ? 'y' : 'n';
        (void)!::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ASSERT_EQ(state, 'y');
    EXPECT_TRUE(abandonedRecoveryCopies(folder).empty()); // its writer lives
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    const std::vector<RecoveryCopy> left = abandonedRecoveryCopies(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].documentPath(), "/work/notes.nmd");
    EXPECT_EQ(contents(left[0].copyPath()), "unsaved lines");
}

TEST_F(RecoveryStore, AFolderThatCannotBeWrittenIsReported)
{
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running as a user whom permissions do not stop";
    std::string error;
    const RecoveryCopy copy = RecoveryCopy::claim(folder, "/doc.nmd", 1, &error);
    EXPECT_FALSE(copy.isClaimed());
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(copy.write("x"));
}

TEST(RecoveryRecord, NamesAndRecords)
{
    EXPECT_EQ(recoveryName("/a.nmd", 7), recoveryName("/a.nmd", 8));
    EXPECT_NE(recoveryName("/a.nmd", 7), recoveryName("/b.nmd", 7));
    EXPECT_EQ(recoveryName("/a.nmd", 7).size(), 16u);
    EXPECT_EQ(recoveryName("", 7), "untitled-7");

    std::string path;
    ASSERT_TRUE(parseRecoveryRecord(recoveryRecordText("/with\nnew line.nmd"), path));
    EXPECT_EQ(path, "/with\nnew line.nmd");
    ASSERT_TRUE(parseRecoveryRecord(recoveryRecordText(""), path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(parseRecoveryRecord("Notarium Recovery 1\nrelative.nmd", path));
    EXPECT_FALSE(parseRecoveryRecord("something else", path));
    EXPECT_FALSE(parseRecoveryRecord(std::string("Notarium Recovery 1\n/a\0b", 23), path));
}

} // namespace
} // namespace notarium
