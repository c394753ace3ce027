#include "core/settings/DateTimeFormatChoices.h"
#include "core/settings/DateTimeFormat.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace notarium {
namespace {

TEST(DateTimeFormatChoices, JapaneseListsStartWithTheFormatsUsedWhenNoneIsSet)
{
    // A fresh options dialog shows the default format as a chosen entry, not as a typed text.
    IniFile ini;
    const Settings settings(ini, PlatformDefaults {});
    EXPECT_EQ(dateFormatChoices(false).front(), settings.getForDialog(key::DateFormat));
    EXPECT_EQ(timeFormatChoices(false).front(), settings.getForDialog(key::TimeFormat));
}

TEST(DateTimeFormatChoices, EveryEntryShowsItsStyleAndFollowsTheClock)
{
    // Two moments at which every field differs.
    const DateTimeValue first { 2025, 1, 4, 6, 1, 2, 3, 0 };
    const DateTimeValue second { 2026, 11, 25, 3, 22, 48, 59, 0 };
    for (const bool english : { false, true }) {
        const DateTimeNames names = DateTimeNames::forStyle(english, english);
        for (const auto list : { dateFormatChoices(english), timeFormatChoices(english) }) {
            std::set<std::string> samples;
            for (const std::string_view pattern : list) {
                const std::string a = FormatDateTime(pattern, first, names);
                // A letter mistyped into a literal would read the same at both moments, and two
                // entries that read alike offer no choice.
                EXPECT_NE(a, FormatDateTime(pattern, second, names)) << pattern;
                EXPECT_TRUE(samples.insert(a).second) << pattern;
                const bool ascii = std::all_of(a.begin(), a.end(), [](char c) { return (c & 0x80) == 0; });
                EXPECT_TRUE(ascii || !english) << pattern << " gives " << a;
            }
        }
    }
}

} // namespace
} // namespace notarium
