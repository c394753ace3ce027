#pragma once

#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace notarium {

// The names date and time formatting uses. The program's own names are Japanese; the English
// styles of the options replace the month and day names, or the morning and afternoon markers.
struct DateTimeNames {
    std::array<std::string, 12> shortMonths;
    std::array<std::string, 12> longMonths;
    std::array<std::string, 7> shortDays; // Sunday first
    std::array<std::string, 7> longDays;
    std::string am;
    std::string pm;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";

    // EnDateStyle and EnTimeStyle.
    static DateTimeNames forStyle(bool englishDate, bool englishTime);
};

struct DateTimeValue {
    int year = 2000;
    int month = 1; // 1-12
    int day = 1;
    int dayOfWeek = 0; // 0 Sunday - 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    static DateTimeValue fromTm(const std::tm& time);
    static DateTimeValue now();
};

// Formats a date and time with the patterns people type into the date and time format boxes
// (UTF-8 in, UTF-8 out; letters are case-insensitive):
//   y yy       two-digit year         yyy yyyy   four-digit year
//   m mm       month (after h or hh: minutes)     mmm  short month name   mmmm  long month name
//   d dd       day                    ddd        short day name           dddd  long day name
//   h hh       hour (12-hour clock when the pattern holds am/pm, a/p or ampm)
//   n nn       minute                 s ss       second                   z zzz millisecond
//   am/pm a/p  the pattern's own letters for morning/afternoon, ampm the names' markers
//   / :        the date and time separators
//   "text" 'text'  as it stands; any other character as it stands
std::string FormatDateTime(std::string_view pattern, const DateTimeValue& value, const DateTimeNames& names);

} // namespace notarium
