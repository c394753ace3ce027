#pragma once

#include "core/io/ByteScan.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace notarium {

// How a title and a body are written into a page record, shared by the data file and the tree
// template writers, and how its numbers are read (PageRecordReader reads the records). Out is
// anything with append(const char*, size_t), append(string_view) and push_back(char).
namespace page_text {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kPageHeader = "::Page::";
inline constexpr std::string_view kBodyBegin = "begin{{";
inline constexpr std::string_view kBodyEnd = "}}end";
inline constexpr char kEndOfFile = '\x1A';

// The body in the form the reader gives back: every line break (CR LF, LF CR, lone CR, lone LF)
// as CR LF, and a final one when the text does not end with a line break. Lines the format cannot
// hold are mended and changed reports it: a line beginning with "}}end" gets a leading blank (the
// reader would end the body there) and a 1Ah byte is left out (the reader would end the file).
template <typename Out> void appendBody(Out& out, std::string_view body, bool& changed)
{
    const char* p = body.data();
    const char* const end = p + body.size();
    bool lineStart = true;
    bool wroteText = false;
    bool endsWithBreak = false;
    while (p < end) {
        if (lineStart && std::string_view(p, static_cast<std::size_t>(end - p)).starts_with(kBodyEnd)) {
            out.push_back(' ');
            changed = true;
        }
        const char* stop = findFirstOf(p, end, '\r', '\n', kEndOfFile);
        if (stop != p) {
            out.append(p, static_cast<std::size_t>(stop - p));
            wroteText = true;
            endsWithBreak = false;
            lineStart = false;
        }
        if (stop == end)
            break;
        if (*stop == kEndOfFile) {
            changed = true;
            p = stop + 1;
            continue;
        }
        const char other = *stop == '\r' ? '\n' : '\r';
        p = stop + 1;
        if (p < end && *p == other)
            ++p;
        out.append(kCrLf);
        wroteText = true;
        endsWithBreak = true;
        lineStart = true;
    }
    if (wroteText && !endsWithBreak)
        out.append(kCrLf);
}

// A title is one line of the file: a line break in it becomes a blank, a 1Ah byte is left out.
template <typename Out> void appendTitle(Out& out, std::string_view title, bool& changed)
{
    if (title.find_first_of("\r\n\x1A") == std::string_view::npos) {
        out.append(title);
        return;
    }
    changed = true;
    for (char c : title)
        if (c != kEndOfFile)
            out.push_back(c == '\r' || c == '\n' ? ' ' : c);
}

template <typename Out> void appendLine(Out& out, std::string_view line)
{
    out.append(line);
    out.append(kCrLf);
}

template <typename Out> void appendNumber(Out& out, long long value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

// One page record, after the empty line that parts it from what comes before: its level, title,
// image indexes, the expanded-state line when there is one (the data file has it, a tree
// template does not) and the body between its markers. changed as for appendTitle and appendBody.
template <typename Out>
void appendPage(Out& out, int level, std::string_view title, int imageIndex, int selectedIndex,
    std::optional<bool> expanded, std::string_view body, bool& changed)
{
    out.append(kCrLf);
    appendLine(out, kPageHeader);
    appendNumber(out, level);
    out.append(kCrLf);
    appendTitle(out, title, changed);
    out.append(kCrLf);
    appendNumber(out, imageIndex);
    out.append(kCrLf);
    appendNumber(out, selectedIndex);
    out.append(kCrLf);
    if (expanded)
        appendLine(out, *expanded ? "TRUE" : "FALSE");
    appendLine(out, kBodyBegin);
    appendBody(out, body, changed);
    appendLine(out, kBodyEnd);
}

// A number of a page record: blanks before it are allowed, as are the "$" and "0x" hexadecimal
// forms older writers may have used. Anything else does not convert.
inline std::optional<long long> parseNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

// The same, for values that must fit into 32 bits (levels, image indexes).
inline std::optional<int> parseInt32(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace page_text
} // namespace notarium
