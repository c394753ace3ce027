#include "core/text/CommaText.h"

namespace notarium {

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

bool needsQuotes(std::string_view item)
{
    for (char c : item) {
        if (isBlank(c) || c == ',' || c == '"')
            return true;
    }
    return false;
}

void appendQuoted(std::string& out, std::string_view item)
{
    out += '"';
    for (char c : item) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::string toCommaText(const std::vector<std::string>& items)
{
    if (items.size() == 1 && items.front().empty())
        return "\"\"";
    std::string result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            result += ',';
        if (needsQuotes(items[i]))
            appendQuoted(result, items[i]);
        else
            result += items[i];
    }
    return result;
}

std::vector<std::string> fromCommaText(std::string_view text)
{
    text = text.substr(0, text.find('\0')); // the text ends at a NUL byte
    std::vector<std::string> items;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < n && !isBlank(text[i]) && text[i] != ',')
                ++i;
            item.assign(text.substr(start, i - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (i < n && text[i] == ',') {
            if (i + 1 == n)
                items.emplace_back();
            ++i;
            skipBlanks();
        }
    }
    return items;
}

} // namespace notarium
