#pragma once

#include "core/io/ByteScan.h"

#include <string_view>

namespace notarium {

// How a title and a body are written into a page record, shared by the data file and the tree
// template writers. Out is anything with append(const char*, size_t), append(string_view) and
// push_back(char).
namespace page_text {

inline constexpr std::string_view kCrLf = "\r\n";
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

} // namespace page_text
} // namespace notarium
