#include "core/settings/DateTimeFormat.h"
#include "core/settings/DefaultTitles.h"

#include <gtest/gtest.h>

namespace notarium {
namespace {

// Sunday 2026-03-08 09:05:07.042 and the same day 21:45:30.
DateTimeValue morning()
{
    DateTimeValue v;
    v.year = 2026;
    v.month = 3;
    v.day = 8;
    v.dayOfWeek = 0;
    v.hour = 9;
    v.minute = 5;
    v.second = 7;
    v.millisecond = 42;
    return v;
}

DateTimeValue evening()
{
    DateTimeValue v = morning();
    v.hour = 21;
    v.minute = 45;
    v.second = 30;
    return v;
}

struct FormatCase {
    const char* pattern;
    bool englishDate;
    bool englishTime;
    bool atEvening;
    const char* expected;
};

class DateTimeFormatting : public ::testing::TestWithParam<FormatCase> { };

TEST_P(DateTimeFormatting, GivesTheExpectedText)
{
    const FormatCase& c = GetParam();
    const DateTimeNames names = DateTimeNames::forStyle(c.englishDate, c.englishTime);
    EXPECT_EQ(FormatDateTime(c.pattern, c.atEvening ? evening() : morning(), names), c.expected) << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(Patterns, DateTimeFormatting,
    ::testing::Values(
        // The defaults of the date and time boxes; "mm" after an hour means minutes.
        FormatCase { "yyyy/mm/dd", false, false, false, "2026/03/08" },
        FormatCase { "hh:mm", false, false, false, "09:05" },
        FormatCase { "hh:mm", false, false, true, "21:45" },
        FormatCase { "y/m/d", false, false, false, "26/3/8" },
        FormatCase { "yy.mm.dd", false, false, false, "26.03.08" },
        FormatCase { "YYYY-MM-DD", false, false, false, "2026-03-08" },
        FormatCase { "mmm mmmm", false, false, false, "3月 3月" },
        FormatCase { "mmm mmmm", true, false, false, "Mar March" },
        FormatCase { "ddd dddd", false, false, false, "日 日曜日" },
        FormatCase { "ddd, mmmm d, yyyy", true, false, false, "Sun, March 8, 2026" },
        FormatCase { "h:n:s", false, false, false, "9:5:7" },
        FormatCase { "hh:nn:ss.zzz", false, false, false, "09:05:07.042" },
        // A month right after the hour but as a name stays a month.
        FormatCase { "h mmm", true, false, false, "9 Mar" },
        // Morning and afternoon: the pattern's own letters, or the names' markers.
        FormatCase { "h:nn am/pm", false, false, true, "9:45 pm" },
        FormatCase { "h:nn AM/PM", false, false, false, "9:05 AM" },
        FormatCase { "hh:nn a/p", false, false, true, "09:45 p" },
        FormatCase { "ampm h:nn", false, false, true, "午後 9:45" },
        FormatCase { "ampm h:nn", false, true, false, "AM 9:05" },
        // A marker anywhere outside quotes puts the hours on the 12-hour clock.
        FormatCase { "hh ampm hh", false, true, true, "09 PM 09" },
        FormatCase { "hh 'ampm'", false, true, true, "21 ampm" },
        // Quoted text stands as it is, letters and all; Japanese text too.
        FormatCase { "yyyy\"年\"m\"月\"d\"日\" 'at' h", false, false, false, "2026年3月8日 at 9" },
        FormatCase { "yyyy年m月d日(ddd)", false, false, false, "2026年3月8日(日)" },
        FormatCase { "'unclosed", false, false, false, "unclosed" },
        FormatCase { "", false, false, false, "" }, FormatCase { "abc", false, false, false, "abc" }),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DateTimeFormattingNames, MidnightAndNoonOnTheTwelveHourClock)
{
    DateTimeValue v = morning();
    const DateTimeNames names = DateTimeNames::forStyle(false, true);
    v.hour = 0;
    EXPECT_EQ(FormatDateTime("h ampm", v, names), "12 AM");
    v.hour = 12;
    EXPECT_EQ(FormatDateTime("h ampm", v, names), "12 PM");
    EXPECT_EQ(FormatDateTime("h", v, names), "12");
    v.hour = 13;
    EXPECT_EQ(FormatDateTime("h", v, names), "13");
}

TEST(DefaultTitleSets, ItemsAreTakenByPosition)
{
    EXPECT_EQ(DefaultTitles().titleFor(2), "Memo");
    const DefaultTitles quoted("\"New idea\",Memo,Result");
    EXPECT_EQ(quoted.titleFor(1), "New idea");
    EXPECT_EQ(quoted.titleFor(2), "Memo");
    EXPECT_EQ(quoted.titleFor(3), "Result");
    // Without its quotes the set reads as four items and the titles shift.
    const DefaultTitles unquoted("New idea,Memo,Result");
    EXPECT_EQ(unquoted.items().size(), 4u);
    EXPECT_EQ(unquoted.titleFor(2), "idea");
    EXPECT_EQ(unquoted.titleFor(3), "Memo");
    // A set written from three titles quotes the one that needs it and reads back the same.
    const DefaultTitles written("New idea", "メモ", "Result");
    EXPECT_EQ(written.commaText(), "\"New idea\",メモ,Result");
    EXPECT_EQ(DefaultTitles(written.commaText()).titleFor(1), "New idea");
    // Missing items take the built-in titles; other kinds have none.
    const DefaultTitles short_("A");
    EXPECT_EQ(short_.titleFor(1), "A");
    EXPECT_EQ(short_.titleFor(3), "Result");
    EXPECT_EQ(short_.titleFor(0), "");
}

} // namespace
} // namespace notarium
