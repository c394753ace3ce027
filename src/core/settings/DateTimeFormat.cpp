#include "core/settings/DateTimeFormat.h"

#include <chrono>

namespace notarium {

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (upper(text[i]) != upper(prefix[i]))
            return false;
    return true;
}

void appendNumber(std::string& out, int value, int width)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0)
        out.push_back('-');
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

// A morning/afternoon specifier at the start of text: its length, 0 when there is none.
std::size_t amPmLength(std::string_view text)
{
    if (startsWithIgnoringCase(text, "am/pm"))
        return 5;
    if (startsWithIgnoringCase(text, "ampm"))
        return 4;
    if (startsWithIgnoringCase(text, "a/p"))
        return 3;
    return 0;
}

// Hours are on the 12-hour clock when the pattern holds a morning/afternoon specifier outside
// quoted text, before or after the hour ("ampm h:nn" is how Japanese times are written).
bool usesTwelveHourClock(std::string_view pattern)
{
    char quote = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        else if (amPmLength(pattern.substr(i)) != 0)
            return true;
    }
    return false;
}

} // namespace

DateTimeNames DateTimeNames::forStyle(bool englishDate, bool englishTime)
{
    static constexpr const char* kEnglishMonths[12] = { "January", "February", "March", "April", "May",
        "June", "July", "August", "September", "October", "November", "December" };
    static constexpr const char* kEnglishDays[7]
        = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
    static constexpr const char* kJapaneseDays[7] = { "日", "月", "火", "水", "木", "金", "土" };
    DateTimeNames names;
    for (int i = 0; i < 12; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (englishDate) {
            names.longMonths[index] = kEnglishMonths[i];
            names.shortMonths[index] = names.longMonths[index].substr(0, 3);
        } else {
            names.longMonths[index] = std::to_string(i + 1) + "月";
            names.shortMonths[index] = names.longMonths[index];
        }
    }
    for (std::size_t i = 0; i < 7; ++i) {
        if (englishDate) {
            names.longDays[i] = kEnglishDays[i];
            names.shortDays[i] = names.longDays[i].substr(0, 3);
        } else {
            names.shortDays[i] = kJapaneseDays[i];
            names.longDays[i] = std::string(kJapaneseDays[i]) + "曜日";
        }
    }
    names.am = englishTime ? "AM" : "午前";
    names.pm = englishTime ? "PM" : "午後";
    return names;
}

DateTimeValue DateTimeValue::fromTm(const std::tm& time)
{
    DateTimeValue value;
    value.year = time.tm_year + 1900;
    value.month = time.tm_mon + 1;
    value.day = time.tm_mday;
    value.dayOfWeek = time.tm_wday;
    value.hour = time.tm_hour;
    value.minute = time.tm_min;
    value.second = time.tm_sec;
    return value;
}

DateTimeValue DateTimeValue::now()
{
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    std::tm local {};
    localtime_r(&seconds, &local);
    DateTimeValue value = fromTm(local);
    value.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() % 1000);
    return value;
}

std::string FormatDateTime(std::string_view pattern, const DateTimeValue& value, const DateTimeNames& names)
{
    std::string out;
    // Minutes are written "m" or "mm" right after an hour; only date and time letters count here.
    char lastToken = 0;
    const auto month = static_cast<std::size_t>((value.month + 11) % 12);
    const auto weekday = static_cast<std::size_t>(((value.dayOfWeek % 7) + 7) % 7);
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char token = upper(c);
        std::size_t count = 1;
        if (token == 'Y' || token == 'M' || token == 'D' || token == 'H' || token == 'N' || token == 'S'
            || token == 'Z')
            while (i + count < pattern.size() && upper(pattern[i + count]) == token)
                ++count;
        switch (token) {
        case '"':
        case '\'': {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = end == pattern.size() ? end : end + 1;
            continue;
        }
        case 'Y':
            if (count <= 2)
                appendNumber(out, value.year % 100, 2);
            else
                appendNumber(out, value.year, 4);
            break;
        case 'M':
            if (lastToken == 'H' && count <= 2)
                appendNumber(out, value.minute, count == 1 ? 0 : 2);
            else if (count <= 2)
                appendNumber(out, value.month, count == 1 ? 0 : 2);
            else
                out += count == 3 ? names.shortMonths[month] : names.longMonths[month];
            break;
        case 'D':
            if (count <= 2)
                appendNumber(out, value.day, count == 1 ? 0 : 2);
            else
                out += count == 3 ? names.shortDays[weekday] : names.longDays[weekday];
            break;
        case 'H': {
            int hour = value.hour;
            if (usesTwelveHourClock(pattern)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            appendNumber(out, hour, count == 1 ? 0 : 2);
            break;
        }
        case 'N':
            appendNumber(out, value.minute, count == 1 ? 0 : 2);
            break;
        case 'S':
            appendNumber(out, value.second, count == 1 ? 0 : 2);
            break;
        case 'Z':
            appendNumber(out, value.millisecond, count == 1 ? 0 : 3);
            break;
        case 'A': {
            const std::size_t length = amPmLength(pattern.substr(i));
            const bool afternoon = value.hour >= 12;
            if (length == 5)
                out.append(pattern.substr(afternoon ? i + 3 : i, 2)); // the pattern's own letters
            else if (length == 4)
                out += afternoon ? names.pm : names.am;
            else if (length == 3)
                out.push_back(pattern[afternoon ? i + 2 : i]);
            else
                out.push_back(c);
            i += length == 0 ? 1 : length;
            continue;
        }
        case '/':
            out += names.dateSeparator;
            break;
        case ':':
            out += names.timeSeparator;
            break;
        default:
            out.push_back(c);
            break;
        }
        if (token == 'Y' || token == 'M' || token == 'D' || token == 'H' || token == 'N' || token == 'S')
            lastToken = token;
        i += count;
    }
    return out;
}

} // namespace notarium
