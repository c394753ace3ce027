#include "core/shell/DesktopFiles.h"

#include <string_view>

namespace notarium::desktop {

namespace {

// The characters the desktop's parser of Exec lines reserves: an argument holding one is quoted.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool isGroupHeader(std::string_view line)
{
    line = trimmed(line);
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The key of a "key=value" line, or empty for a comment, a blank or a header.
std::string_view keyOf(std::string_view line)
{
    const std::string_view clean = trimmed(line);
    if (clean.empty() || clean.front() == '#' || isGroupHeader(clean))
        return {};
    const size_t equals = clean.find('=');
    if (equals == std::string_view::npos)
        return {};
    return trimmed(clean.substr(0, equals));
}

// Where a group's lines are: [first, end) after its header; nothing when it is absent.
struct GroupSpan {
    size_t header;
    size_t end;
};

std::optional<GroupSpan> findGroup(const std::vector<std::string_view>& lines, const std::string& group)
{
    const std::string header = '[' + group + ']';
    for (size_t i = 0; i < lines.size(); ++i) {
        if (trimmed(lines[i]) != header)
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !isGroupHeader(lines[end]))
            ++end;
        return GroupSpan { i, end };
    }
    return std::nullopt;
}

std::optional<size_t> findKey(
    const std::vector<std::string_view>& lines, const GroupSpan& span, const std::string& key)
{
    for (size_t i = span.header + 1; i < span.end; ++i)
        if (keyOf(lines[i]) == key)
            return i;
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

std::vector<std::string> owned(const std::vector<std::string_view>& lines)
{
    return std::vector<std::string>(lines.begin(), lines.end());
}

} // namespace

std::string execArgument(const std::string& argument)
{
    std::string percentSafe;
    for (const char c : argument) {
        percentSafe += c;
        if (c == '%')
            percentSafe += '%';
    }
    if (!argument.empty() && percentSafe.find_first_of(kReserved) == std::string::npos)
        return percentSafe;
    std::string quoted = "\"";
    for (const char c : percentSafe) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string escapeValue(const std::string& value)
{
    std::string escaped;
    for (const char c : value) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string shortcutEntry(const Shortcut& shortcut)
{
    std::string exec = execArgument(shortcut.program);
    for (const std::string& argument : shortcut.arguments)
        exec += ' ' + execArgument(argument);
    std::vector<std::string> lines {
        "[Desktop Entry]",
        "Type=Application",
        "Version=1.0",
        "Name=" + escapeValue(shortcut.name),
    };
    if (!shortcut.comment.empty())
        lines.push_back("Comment=" + escapeValue(shortcut.comment));
    lines.push_back("Exec=" + escapeValue(exec));
    if (!shortcut.workingFolder.empty())
        lines.push_back("Path=" + escapeValue(shortcut.workingFolder));
    if (!shortcut.icon.empty())
        lines.push_back("Icon=" + escapeValue(shortcut.icon));
    lines.push_back("Terminal=false");
    return joined(lines);
}

std::string withKey(const std::string& text, const std::string& group, const std::string& key, const std::string& value)
{
    const std::vector<std::string_view> views = linesOf(text);
    std::vector<std::string> lines = owned(views);
    const std::string line = key + '=' + value;
    const std::optional<GroupSpan> span = findGroup(views, group);
    if (!span) {
        if (!lines.empty() && !trimmed(lines.back()).empty())
            lines.emplace_back();
        lines.push_back('[' + group + ']');
        lines.push_back(line);
        return joined(lines);
    }
    if (const std::optional<size_t> at = findKey(views, *span, key)) {
        lines[*at] = line;
        return joined(lines);
    }
    // At the end of the group, before the blank lines that part it from the next.
    size_t insertAt = span->end;
    while (insertAt > span->header + 1 && trimmed(views[insertAt - 1]).empty())
        --insertAt;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    return joined(lines);
}

std::optional<std::string> keyValue(const std::string& text, const std::string& group, const std::string& key)
{
    const std::vector<std::string_view> lines = linesOf(text);
    const std::optional<GroupSpan> span = findGroup(lines, group);
    if (!span)
        return std::nullopt;
    const std::optional<size_t> at = findKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    const std::string_view clean = trimmed(lines[*at]);
    return std::string(trimmed(clean.substr(clean.find('=') + 1)));
}

std::string withoutKey(const std::string& text, const std::string& group, const std::string& key)
{
    const std::vector<std::string_view> views = linesOf(text);
    const std::optional<GroupSpan> span = findGroup(views, group);
    if (!span)
        return text;
    const std::optional<size_t> at = findKey(views, *span, key);
    if (!at)
        return text;
    std::vector<std::string> lines = owned(views);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
    return joined(lines);
}

std::optional<std::string> singleTypePackage(const std::string& package, const std::string& type)
{
    const std::string open = "<mime-type type=\"" + type + "\"";
    const size_t start = package.find(open);
    const size_t root = package.find("<mime-info");
    if (start == std::string::npos || root == std::string::npos || root > start)
        return std::nullopt;
    const std::string close = "</mime-type>";
    const size_t end = package.find(close, start);
    if (end == std::string::npos)
        return std::nullopt;
    const size_t rootEnd = package.find('>', root);
    // The element's own indentation goes with it.
    size_t lineStart = start;
    while (lineStart > 0 && (package[lineStart - 1] == ' ' || package[lineStart - 1] == '\t'))
        --lineStart;
    return package.substr(0, rootEnd + 1) + '\n' + package.substr(lineStart, end + close.size() - lineStart)
        + "\n</mime-info>\n";
}

bool packageDefinesType(const std::string& package, const std::string& type)
{
    return package.find("<mime-type type=\"" + type + "\"") != std::string::npos;
}

bool typeListNames(const std::string& types, const std::string& type)
{
    for (const std::string_view line : linesOf(types))
        if (trimmed(line) == type)
            return true;
    return false;
}

} // namespace notarium::desktop
