#include "core/templates/TemplateList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

// Text, tree, text.
TemplateList threeRows()
{
    return TemplateList(
        { { "Daily", 0, "/t/daily.nmt" }, { "Weekly", 1, "/t/weekly.nmt" }, { "Note", 0, "/t/note.nmt" } });
}

struct CommandCase {
    const char* what;
    std::optional<std::size_t> selected;
    bool topLevel;
    TemplateListCommands expected; // edit, remove, up, down, insert
};

class TemplateListCommandsFor : public testing::TestWithParam<CommandCase> { };

TEST_P(TemplateListCommandsFor, SelectedRowAndMainSelection)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(threeRows().commands(c.selected, c.topLevel), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateListCommandsFor,
    testing::Values(CommandCase { "nothing selected", std::nullopt, false, {} },
        CommandCase { "a row past the end", 3, false, {} },
        CommandCase { "first row", 0, false, { true, true, false, true, true } },
        CommandCase { "middle row", 1, false, { true, true, true, true, true } },
        CommandCase { "last row", 2, false, { true, true, true, false, true } },
        // A text-only template needs a memo pane to go into.
        CommandCase { "text template, top-level node", 0, true, { true, true, false, true, false } },
        CommandCase { "tree template, top-level node", 1, true, { true, true, true, true, true } }));

TEST(TemplateList, MovesSwapNeighboursAndMarkTheListChanged)
{
    TemplateList list = threeRows();
    EXPECT_FALSE(list.moveUp(0));
    EXPECT_FALSE(list.moveDown(2));
    EXPECT_FALSE(list.moveDown(7));
    TemplateList one({ { "Only", 1, "/t/only.nmt" } });
    EXPECT_FALSE(one.moveUp(0) || one.moveDown(0));
    EXPECT_FALSE(list.changed() || one.changed()) << "a move that did not happen is no change";

    EXPECT_EQ(list.moveDown(0), 1u);
    EXPECT_TRUE(list.changed());
    EXPECT_EQ(list.moveUp(2), 1u);
    const std::vector<TemplateEntry> expected { { "Weekly", 1, "/t/weekly.nmt" },
        { "Note", 0, "/t/note.nmt" }, { "Daily", 0, "/t/daily.nmt" } };
    EXPECT_EQ(list.entries(), expected);
}

TEST(TemplateList, AddUpdateAndRemoveMarkTheListChanged)
{
    TemplateList added = threeRows();
    EXPECT_EQ(added.add({ "Agenda", 1, "/t/agenda.nmt" }), 3u);
    EXPECT_TRUE(added.changed());
    EXPECT_EQ(added.at(3).path, "/t/agenda.nmt");

    // An edit renames and moves the file; the kind stays.
    TemplateList updated = threeRows();
    updated.update(1, "Week", "/u/week.nmt");
    EXPECT_TRUE(updated.changed());
    EXPECT_EQ(updated.at(1), (TemplateEntry { "Week", 1, "/u/week.nmt" }));

    TemplateList removed = threeRows();
    removed.remove(0);
    EXPECT_TRUE(removed.changed());
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed.at(0).name, "Weekly");
}

TEST(TemplateList, FileUsedByAnotherRow)
{
    TemplateList list({ { "A", 0, "/t/a.nmt" }, { "B", 1, "/t/b.nmt" }, { "C", 0, "/t/a.nmt" } });
    EXPECT_TRUE(list.fileUsedByOther(0));
    EXPECT_FALSE(list.fileUsedByOther(1));
    EXPECT_TRUE(list.fileUsedByOther(2));
}

struct CheckCase {
    const char* what;
    TemplateEntry candidate;
    std::optional<std::size_t> replacing;
    TemplateEntryProblem expected;
};

class TemplateListCheck : public testing::TestWithParam<CheckCase> { };

TEST_P(TemplateListCheck, EntryReadsBackFromTheStore)
{
    const CheckCase& c = GetParam();
    EXPECT_EQ(threeRows().check(c.candidate, c.replacing), c.expected) << c.what;
}

using P = TemplateEntryProblem;
INSTANTIATE_TEST_SUITE_P(Cases, TemplateListCheck,
    testing::Values(CheckCase { "new name", { "Agenda", 1, "/t/agenda.nmt" }, std::nullopt, P::None },
        CheckCase { "Japanese name and path", { "週報", 1, "/home/利用者/週報.nmt" }, std::nullopt, P::None },
        CheckCase { "inner blanks and signs", { "a ^ b;c", 0, "/t/x.nmt" }, std::nullopt, P::None },
        CheckCase { "taken", { "Weekly", 0, "/t/other.nmt" }, std::nullopt, P::NameTaken },
        CheckCase { "taken, other case", { "wEEKLY", 0, "/t/other.nmt" }, std::nullopt, P::NameTaken },
        CheckCase { "own name while editing", { "Weekly", 1, "/t/new.nmt" }, 1, P::None },
        CheckCase { "another row's name while editing", { "Daily", 1, "/t/new.nmt" }, 1, P::NameTaken },
        CheckCase { "empty", { "", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "equals sign", { "a=b", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "section bracket", { "[Notarium]", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "comment mark", { "; note", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "line break", { "a\nb", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "blank around", { " Agenda", 0, "/t/x.nmt" }, std::nullopt, P::NameNotStorable },
        CheckCase { "line break in path", { "Agenda", 0, "/t/a\nb.nmt" }, std::nullopt, P::PathNotStorable },
        CheckCase { "blank after path", { "Agenda", 0, "/t/a.nmt " }, std::nullopt, P::PathNotStorable }));

class TemplateFileDeletion : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("notarium-tpl-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(TemplateFileDeletion, DeletesTheFileAndToleratesAMissingOne)
{
    const fs::path file = m_dir / "a.nmt";
    std::ofstream(file) << "x";
    std::string error;
    EXPECT_TRUE(deleteTemplateFile(file.string(), &error));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(deleteTemplateFile(file.string(), &error)) << "already gone is no failure";
    EXPECT_TRUE(error.empty());
}

TEST_F(TemplateFileDeletion, RefusesAFolderAndSaysWhy)
{
    const fs::path folder = m_dir / "sub.nmt";
    fs::create_directories(folder);
    std::string error;
    EXPECT_FALSE(deleteTemplateFile(folder.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(folder));
}

} // namespace
} // namespace notarium
