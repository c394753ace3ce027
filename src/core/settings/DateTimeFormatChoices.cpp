#include "core/settings/DateTimeFormatChoices.h"

#include <array>

namespace notarium {

namespace {

constexpr std::array<std::string_view, 10> kJapaneseDates = {
    "yyyy/mm/dd",
    "yyyy/m/d",
    "yy/mm/dd",
    "yyyy-mm-dd",
    "yyyy年m月d日",
    "yyyy年mm月dd日",
    "yyyy年m月d日(ddd)",
    "yyyy年m月d日 dddd",
    "m月d日",
    "m月d日(ddd)",
};

constexpr std::array<std::string_view, 9> kEnglishDates = {
    "mmm d, yyyy",
    "mmmm d, yyyy",
    "ddd, mmm d, yyyy",
    "dddd, mmmm d, yyyy",
    "mm/dd/yyyy",
    "m/d/yyyy",
    "d mmmm yyyy",
    "dd-mmm-yyyy",
    "yyyy-mm-dd",
};

constexpr std::array<std::string_view, 7> kJapaneseTimes = {
    "hh:mm",
    "hh:mm:ss",
    "h:mm",
    "h時m分",
    "h時m分s秒",
    "ampm h:mm",
    "ampm h時m分",
};

constexpr std::array<std::string_view, 6> kEnglishTimes = {
    "h:mm ampm",
    "h:mm:ss ampm",
    "hh:mm",
    "hh:mm:ss",
    "h:mm am/pm",
    "h:mm a/p",
};

} // namespace

std::span<const std::string_view> dateFormatChoices(bool english)
{
    if (english)
        return kEnglishDates;
    return kJapaneseDates;
}

std::span<const std::string_view> timeFormatChoices(bool english)
{
    if (english)
        return kEnglishTimes;
    return kJapaneseTimes;
}

} // namespace notarium
