#include "core/templates/TemplateStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace notarium {
namespace {

namespace fs = std::filesystem;

struct ValueCase {
    std::string_view value;
    bool usable;
    int flag;
    std::string_view path;
};

class TemplateStoreValue : public testing::TestWithParam<ValueCase> { };

TEST_P(TemplateStoreValue, FirstCharacterIsTheFlagAndThePathStartsAtTheThird)
{
    const ValueCase& c = GetParam();
    const auto entry = TemplateStore::parseEntry("Name", c.value);
    ASSERT_EQ(entry.has_value(), c.usable);
    if (!entry)
        return;
    EXPECT_EQ(entry->name, "Name");
    EXPECT_EQ(entry->includeTree, c.flag);
    EXPECT_EQ(entry->path, c.path);
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateStoreValue,
    testing::Values(ValueCase { "1^C:\\Data\\weekly.nmt", true, 1, "C:\\Data\\weekly.nmt" },
        ValueCase { "0^/home/u/text.nmt", true, 0, "/home/u/text.nmt" },
        // The second character is skipped whatever it is.
        ValueCase { "1|/x.nmt", true, 1, "/x.nmt" }, ValueCase { "12^/x.nmt", true, 1, "^/x.nmt" },
        ValueCase { "1^^x", true, 1, "^x" }, ValueCase { "1", true, 1, "" }, ValueCase { "0^", true, 0, "" },
        ValueCase { "7^/p", true, 7, "/p" }, ValueCase { "", false, 0, "" },
        ValueCase { "x^/p", false, 0, "" }, ValueCase { "-1^/p", false, 0, "" }));

TEST(TemplateStore, ReadsTheSectionInFileOrder)
{
    TemplateStore store;
    store.parse("[Other]\nWeekly=9\n[Templates]\nWeekly=1^/t/weekly.nmt\nDaily=0^/t/daily.nmt\n"
                "Broken=\nAgenda=1^/t/agenda.nmt\n");
    const std::vector<TemplateEntry> expected { { "Weekly", 1, "/t/weekly.nmt" },
        { "Daily", 0, "/t/daily.nmt" }, { "Agenda", 1, "/t/agenda.nmt" } };
    EXPECT_EQ(store.entries(), expected);
    EXPECT_EQ(store.rejectedNames(), std::vector<std::string> { "Broken" });
}

TEST(TemplateStore, MissingOrEmptySectionGivesNoEntries)
{
    for (std::string_view bytes : { "", "[Notarium]\nA=1^/x\n", "[Templates]\n; nothing yet\n" }) {
        TemplateStore store;
        store.parse(bytes);
        EXPECT_TRUE(store.entries().empty()) << bytes;
    }
}

TEST(TemplateStore, StoreFromWindowsIsReadAsCp932)
{
    TemplateStore store;
    // "週報" in CP932, and a Windows path.
    store.parse("[Templates]\r\n\x8F\x54\x95\xF1=1^C:\\Data\\w.nmt\r\n");
    ASSERT_EQ(store.entries().size(), 1u);
    EXPECT_EQ(store.entries()[0].name, "週報");
    EXPECT_EQ(store.entries()[0].path, "C:\\Data\\w.nmt");
}

TEST(TemplateStore, RewriteFollowsTheListOrderAndKeepsTheRestOfTheFile)
{
    TemplateStore store;
    store.parse("; my templates\n[Templates]\nA=1^/a\nB=0^/b\nC=1^/c\n[Keep]\nX=1\n");
    EXPECT_TRUE(store.setEntries({ { "C", 1, "/c" }, { "A", 1, "/a" }, { "New", 0, "/n" } }).empty());
    EXPECT_EQ(store.serialize(), "; my templates\n[Keep]\nX=1\n\n[Templates]\nC=1^/c\nA=1^/a\nNew=0^/n\n");

    TemplateStore again;
    again.parse(store.serialize());
    EXPECT_EQ(again.entries(), store.entries());
    ASSERT_EQ(again.entries().size(), 3u);
    EXPECT_EQ(again.entries()[0].name, "C");
}

TEST(TemplateStore, DuplicateNameKeepsThePlaceOfTheFirstAndTheValueOfTheLast)
{
    TemplateStore store;
    store.setEntries({ { "Same", 1, "/first" }, { "Other", 0, "/o" }, { "Same", 0, "/last" } });
    EXPECT_EQ(store.serialize(), "[Templates]\nSame=0^/last\nOther=0^/o\n");
    const std::vector<TemplateEntry> expected { { "Same", 0, "/last" }, { "Other", 0, "/o" } };
    EXPECT_EQ(store.entries(), expected);
}

TEST(TemplateStore, NamesTheFileCannotHoldAreRefusedAndTheRestIsStored)
{
    TemplateStore store;
    const auto refused
        = store.setEntries({ { "", 0, "/e" }, { "a=b", 1, "/x" }, { "[x", 0, "/y" }, { "Good", 1, "/g" } });
    EXPECT_EQ(refused, (std::vector<std::string> { "", "a=b", "[x" }));
    EXPECT_EQ(store.entries(), (std::vector<TemplateEntry> { { "Good", 1, "/g" } }));
}

TEST(TemplateStore, FlagOutsideOneDigitIsWrittenAsATreeTemplate)
{
    EXPECT_EQ(TemplateStore::formatValue({ "n", 1, "C:\\Data\\weekly.nmt" }), "1^C:\\Data\\weekly.nmt");
    EXPECT_EQ(TemplateStore::formatValue({ "n", 0, "" }), "0^");
    EXPECT_EQ(TemplateStore::formatValue({ "n", 10, "/p" }), "1^/p");
    EXPECT_EQ(TemplateStore::formatValue({ "n", -3, "/p" }), "1^/p");
}

TEST(TemplateStore, SavedAndLoadedFromDisk)
{
    const fs::path dir = fs::temp_directory_path() / ("notarium-store-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / kTemplateStoreFileName).string();

    TemplateStore missing;
    std::string error;
    EXPECT_TRUE(missing.load(path, &error));
    EXPECT_TRUE(missing.entries().empty());

    TemplateStore store;
    store.setEntries({ { "週報", 1, "/ホーム/週報.nmt" }, { "memo", 0, "/m.nmt" } });
    ASSERT_TRUE(store.save(path, &error)) << error;
    TemplateStore loaded;
    ASSERT_TRUE(loaded.load(path, &error)) << error;
    EXPECT_EQ(loaded.entries(), store.entries());
    fs::remove_all(dir);
}

} // namespace
} // namespace notarium
