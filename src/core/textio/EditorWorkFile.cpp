#include "core/textio/EditorWorkFile.h"

#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>

namespace notarium {

namespace {

constexpr std::string_view kLineMarker = "%LN%";
constexpr std::string_view kCaptionEnd = "- Notarium";
constexpr std::string_view kExternalCaptionEnd = "- [Ext] Notarium";

std::string withLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string replaceEnding(std::string_view caption, std::string_view from, std::string_view to)
{
    if (!caption.ends_with(from))
        return std::string(caption);
    std::string out(caption.substr(0, caption.size() - from.size()));
    out += to;
    return out;
}

} // namespace

std::string editorWorkFileName(std::string_view documentPath, int absoluteIndex)
{
    std::string_view name = documentPath;
    if (const std::size_t slash = name.find_last_of('/'); slash != std::string_view::npos)
        name = name.substr(slash + 1);
    if (const std::size_t dot = name.find_last_of('.'); dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    std::string out = documentPath.empty() ? std::string(kUntitledTitle) : std::string(name);
    out += '_';
    out += std::to_string(absoluteIndex);
    out += ".nmp";
    return out;
}

int hardLineAt(std::string_view text, std::size_t caretByte)
{
    int line = 1;
    const std::size_t end = std::min(caretByte, text.size());
    for (std::size_t i = 0; i < end; ++i)
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++line;
    return line;
}

std::string expandLineOption(std::string_view option, int line)
{
    const std::string number = std::to_string(line);
    std::string out;
    out.reserve(option.size());
    std::size_t from = 0;
    for (std::size_t at = option.find(kLineMarker); at != std::string_view::npos;
         at = option.find(kLineMarker, from)) {
        out.append(option.substr(from, at - from));
        out += number;
        from = at + kLineMarker.size();
    }
    out.append(option.substr(from));
    return out;
}

std::string editorWorkFileBytes(std::string_view memoText, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp932)
        return std::string(memoText);
    return cp932::toDisplayUtf8(memoText);
}

std::string memoTextFromWorkFile(std::string_view fileBytes, TextEncoding encoding, bool* replaced)
{
    const bool bom = fileBytes.starts_with(cp932::kUtf8Bom);
    if (bom)
        fileBytes.remove_prefix(cp932::kUtf8Bom.size());
    const bool utf8 = encoding == TextEncoding::Utf8 ? cp932::isValidUtf8(fileBytes) : bom;
    if (!utf8)
        return withLineEnds(fileBytes);
    return withLineEnds(cp932::fromUtf8(fileBytes, replaced));
}

std::string externalEditingCaption(std::string_view caption)
{
    return replaceEnding(caption, kCaptionEnd, kExternalCaptionEnd);
}

std::string normalCaption(std::string_view caption)
{
    return replaceEnding(caption, kExternalCaptionEnd, kCaptionEnd);
}

} // namespace notarium
