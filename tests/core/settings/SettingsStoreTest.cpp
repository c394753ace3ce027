#include "TempFolder.h"
#include "core/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void writeBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ino_t inodeOf(const fs::path& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

PlatformDefaults testPlatform()
{
    PlatformDefaults platform;
    platform.documentsFolder = "/home/user/Documents";
    return platform;
}

// Open to everyone, so that a child running as another user can reach the files inside.
class TempFolder : public notarium::test::TempFolder {
public:
    TempFolder()
        : notarium::test::TempFolder("notarium-store", true)
    {
    }
};

// Permission bits do not stop root, and the tests run as root in CI. So a case that needs them
// runs body in a child process, which gives up root for the user "nobody" first. The child's exit
// status is body's answer.
constexpr int kCannotRunUnprivileged = 77;

int runUnprivileged(const std::function<int()>& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(kCannotRunUnprivileged);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

const auto setTree = [](int width) { return [width](Settings& s) { s.set(key::TreeWidth, width); }; };

// What the child finds when it updates a store that must fail: 0 when the update failed with a
// reason and the program's image took the change anyway; 1 it succeeded, 2 no reason was given,
// 3 the image lacks the change (4, used by a caller: the start-up read succeeded).
int failedUpdateFinding(SettingsStore& store)
{
    const auto result = store.update(setTree(300));
    if (result.ok)
        return 1;
    if (result.error.empty())
        return 2;
    return store.settings().get(key::TreeWidth) == 300 ? 0 : 3;
}

TEST(SettingsStoreWindows, TwoWindowsOnOneFileKeepEachOthersKeys)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    writeBytes(path, "[Window]\nWinX=80\nTree=182\n[Notarium]\nShowHint=1\n");
    SettingsStore first(path.string(), testPlatform());
    SettingsStore second(path.string(), testPlatform());
    ASSERT_TRUE(first.load());
    ASSERT_TRUE(second.load());

    // The first window's options dialog switches hints off; then the second window closes and
    // writes its placement and recent files from its start-up image, where hints are still on.
    ASSERT_TRUE(first.update([](Settings& s) { s.set(key::ShowHint, false); }).ok);
    ASSERT_TRUE(second
                    .update([](Settings& s) {
                        s.set(key::WinX, 300);
                        s.setRecentFiles({ "/home/user/b.nmd" });
                    })
                    .ok);
    // Then the first window closes.
    ASSERT_TRUE(first
                    .update([](Settings& s) {
                        s.set(key::TreeWidth, 250);
                        s.setRecentFiles({ "/home/user/a.nmd" });
                    })
                    .ok);

    EXPECT_EQ(fileBytes(path),
        "[Window]\nWinX=300\nTree=250\n[Notarium]\nShowHint=0\n\n[FileMRU]\n0=/home/user/a.nmd\n");
    EXPECT_FALSE(first.settings().get(key::ShowHint));
    EXPECT_EQ(first.settings().get(key::TreeWidth), 250);
    EXPECT_EQ(second.settings().get(key::WinX), 300);
    EXPECT_EQ(second.settings().recentFiles(), std::vector<std::string> { "/home/user/b.nmd" });
}

TEST(SettingsStoreWindows, HandEditBetweenLoadAndUpdateSurvives)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    writeBytes(path, "[Window]\nTree=182\n");
    SettingsStore store(path.string(), testPlatform());
    ASSERT_TRUE(store.load());

    writeBytes(path, "; my editor\n[Notarium]\nTextEditor=kate --block\n[Window]\nTree=200\nWinY=5\n");
    ASSERT_TRUE(store.update(setTree(220)).ok);
    EXPECT_EQ(
        fileBytes(path), "; my editor\n[Notarium]\nTextEditor=kate --block\n[Window]\nTree=220\nWinY=5\n");
    EXPECT_EQ(store.settings().get(key::TreeWidth), 220);
}

TEST(SettingsStoreWindows, StartupKeysAreWrittenOnceAndNoOtherKeyIsAdded)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    SettingsStore store(path.string(), testPlatform());
    ASSERT_TRUE(store.load());
    EXPECT_EQ(store.settings().get(key::TreeWidth), 182);
    const auto startup = [](Settings& s) { s.writeMissingStartupKeys(); };

    ASSERT_TRUE(store.update(startup).ok);
    EXPECT_EQ(fileBytes(path), "[Notarium]\nPrintTool=lp\nPrintOption=\n");
    EXPECT_EQ(store.settings().get(key::PrintTool), "lp");

    // The next start finds them and leaves the file as it is: not even rewritten.
    const ino_t before = inodeOf(path);
    ASSERT_TRUE(store.update(startup).ok);
    EXPECT_EQ(inodeOf(path), before);
}

TEST(SettingsStoreWindows, UnchangedUpdateKeepsAWindowsFileByteForByte)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    // Shift-JIS with CR LF, as brought over from Windows: left alone until something changes.
    const std::string windowsFile = "[TreePane]\r\nFontName=\x82\x6c\x82\x72\r\n[Window]\r\nTree=182\r\n";
    writeBytes(path, windowsFile);
    SettingsStore store(path.string(), testPlatform());
    ASSERT_TRUE(store.load());
    ASSERT_TRUE(store.update(setTree(182)).ok);
    EXPECT_EQ(fileBytes(path), windowsFile);

    ASSERT_TRUE(store.update(setTree(190)).ok);
    EXPECT_EQ(fileBytes(path), "[TreePane]\nFontName=ＭＳ\n[Window]\nTree=190\n");
}

TEST(SettingsStoreFolder, MissingFolderIsCreated)
{
    TempFolder folder;
    const fs::path path = folder.path() / "config" / "notarium" / "notarium.ini";
    SettingsStore store(path.string(), testPlatform());
    std::string error;
    ASSERT_TRUE(store.load(&error)) << error;
    EXPECT_FALSE(fs::exists(path.parent_path())) << "reading alone creates nothing";

    const auto result = store.update(setTree(300));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(fileBytes(path), "[Window]\nTree=300\n");
}

TEST(SettingsStoreFolder, FileInPlaceOfTheFolderIsReported)
{
    TempFolder folder;
    writeBytes(folder.path() / "config", "a file where the folder should be");
    SettingsStore store((folder.path() / "config" / "notarium.ini").string(), testPlatform());
    const auto result = store.update(setTree(300));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(fileBytes(folder.path() / "config"), "a file where the folder should be");
    EXPECT_EQ(store.settings().get(key::TreeWidth), 300);
}

TEST(SettingsStoreFolder, WithoutAPathOnlyTheImageChanges)
{
    SettingsStore store({}, testPlatform());
    EXPECT_TRUE(store.load());
    EXPECT_TRUE(store.update(setTree(123)).ok);
    EXPECT_EQ(store.settings().get(key::TreeWidth), 123);
}

TEST(SettingsStoreFolder, UpdateUsesTheProgramsCurrentPlatformDefaults)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    SettingsStore store(path.string(), testPlatform());
    store.settings().platformDefaults().printTool = "lpr";
    store.settings().platformDefaults().tabSize = 8;
    ASSERT_TRUE(store
                    .update([](Settings& s) {
                        s.writeMissingStartupKeys();
                        s.set(key::TabSize, s.get(key::TabSize) * 2);
                    })
                    .ok);
    EXPECT_EQ(fileBytes(path), "[Notarium]\nPrintTool=lpr\nPrintOption=\n\n[MemoPane]\nTabSize=16\n");
    EXPECT_EQ(store.settings().get(key::TabSize), 16);
}

TEST(SettingsStoreUnreadable, FolderInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    fs::create_directory(path);
    writeBytes(path / "inside", "kept");
    SettingsStore store(path.string(), testPlatform());

    std::string error;
    EXPECT_FALSE(store.load(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(store.settings().get(key::TreeWidth), 182) << "the defaults";

    const auto result = store.update(setTree(300));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(fileBytes(path / "inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(store.settings().get(key::TreeWidth), 300);
}

TEST(SettingsStoreUnreadable, FileWithoutReadPermissionIsNotOverwritten)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    const std::string content = "[Window]\nTree=182\n[Notarium]\nShowHint=0\n";
    writeBytes(path, content);
    fs::permissions(path, fs::perms::none);

    const int finding = runUnprivileged([&] {
        if (::access(folder.path().c_str(), X_OK) != 0)
            return kCannotRunUnprivileged;
        SettingsStore store(path.string(), testPlatform());
        return store.load() ? 4 : failedUpdateFinding(store);
    });
    if (finding == kCannotRunUnprivileged)
        GTEST_SKIP() << "no unprivileged user can reach " << folder.path();
    EXPECT_EQ(finding, 0);
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(fileBytes(path), content);
}

TEST(SettingsStoreSave, FailedSaveIsReportedAndTheImageTakesTheChange)
{
    TempFolder folder;
    const fs::path path = folder.path() / "notarium.ini";
    const std::string content = "[Window]\nTree=182\n";
    writeBytes(path, content);
    fs::permissions(path,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    // Readable, but nothing new can be put into the folder.
    fs::permissions(folder.path(),
        fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec
            | fs::perms::others_read | fs::perms::others_exec);

    const int finding = runUnprivileged([&] {
        if (::access(path.c_str(), R_OK) != 0)
            return kCannotRunUnprivileged;
        SettingsStore store(path.string(), testPlatform());
        return store.load() ? failedUpdateFinding(store) : kCannotRunUnprivileged;
    });
    if (finding == kCannotRunUnprivileged)
        GTEST_SKIP() << "no unprivileged user can read " << path;
    EXPECT_EQ(finding, 0);
    EXPECT_EQ(fileBytes(path), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

} // namespace
} // namespace notarium
