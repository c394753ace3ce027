#include "core/textio/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace notarium {

std::optional<TextEncoding> parseTextEncoding(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(),
        [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (folded == "CP932" || folded == "SHIFT_JIS" || folded == "SJIS")
        return TextEncoding::Cp932;
    if (folded == "UTF-8" || folded == "UTF8")
        return TextEncoding::Utf8;
    return std::nullopt;
}

std::string_view textEncodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Cp932 ? "CP932" : "UTF-8";
}

} // namespace notarium
