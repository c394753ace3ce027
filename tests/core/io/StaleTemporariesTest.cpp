// The leftovers of killed saves: only the writer's own names beside the saved file, only old ones,
// never a person's file that merely looks alike.
#include "core/io/StaleTemporaries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace notarium;

TEST(StaleTemporaries, OnlyTheWritersNamesForTheTarget)
{
    EXPECT_TRUE(isTemporaryNameOf("plan.nmd.Ab3xYz", "plan.nmd"));
    EXPECT_FALSE(isTemporaryNameOf("plan.nmd.Ab3xY", "plan.nmd"));   // five
    EXPECT_FALSE(isTemporaryNameOf("plan.nmd.Ab3xYz1", "plan.nmd")); // seven
    EXPECT_FALSE(isTemporaryNameOf("plan.nmd.bak~~~", "plan.nmd"));
    EXPECT_FALSE(isTemporaryNameOf("plan.nmd_Ab3xYz", "plan.nmd"));
    EXPECT_FALSE(isTemporaryNameOf("other.nmd.Ab3xYz", "plan.nmd"));
    EXPECT_FALSE(isTemporaryNameOf("plan.nmd", "plan.nmd"));
    EXPECT_FALSE(isTemporaryNameOf(".Ab3xYz", ""));
}

TEST(StaleTemporaries, FindsOldLeftoversBesideTheTarget)
{
    char pattern[] = "/tmp/stale-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const auto make = [&](const std::string& name, int daysOld) {
        const std::string path = folder + '/' + name;
        std::ofstream(path) << "x";
        const time_t when = ::time(nullptr) - daysOld * 24 * 60 * 60 - 60;
        const utimbuf times { when, when };
        ::utime(path.c_str(), &times);
        return path;
    };
    const std::string target = make("plan.nmd", 3);
    const std::string old = make("plan.nmd.Ab3xYz", 2);
    make("plan.nmd.Cd4wVu", 0);      // a save that may still be running
    make("plan.nmd.bak", 5);         // not the writer's name
    make("other.nmd.Ab3xYz", 5);     // another document's
    ::mkdir((folder + "/plan.nmd.Folder").c_str(), 0700);
    const std::vector<std::string> found = leftoverTemporaries(target, ::time(nullptr) - 24 * 60 * 60);
    EXPECT_EQ(found, std::vector<std::string> { old });
    EXPECT_TRUE(leftoverTemporaries(folder + "/missing/plan.nmd", ::time(nullptr)).empty());
    std::system(("rm -rf " + folder).c_str());
}
