#include "core/templates/TextTemplate.h"

#include "core/io/ByteScan.h"
#include "core/io/FileIo.h"
#include "core/io/FileSize.h"
#include "core/templates/TemplateMessages.h"

namespace notarium {

std::string normalizeTextTemplate(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 2);
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* stop = findLineBreak(p, end);
        out.append(p, static_cast<std::size_t>(stop - p));
        out += "\r\n";
        if (stop == end)
            break;
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n')
            ++p;
    }
    return out;
}

bool loadTextTemplate(const std::string& path, std::string& text, std::string* error, Message* refused)
{
    if (refused)
        *refused = Message {};
    if (isTooLargeToRead(path)) {
        text.clear();
        if (refused)
            *refused = messages::TooLargeTemplateFile;
        if (error)
            *error = std::string(messages::TooLargeTemplateFile.text);
        return false;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes, error)) {
        text.clear();
        return false;
    }
    text = parseTextTemplate(bytes);
    return true;
}

WriteResult writeTextTemplate(const std::string& path, std::string_view text)
{
    WriteResult result;
    if (!writeFileAtomically(path, serializeTextTemplate(text), &result.errorText)) {
        result.ok = false;
        result.message = messages::CannotSaveTemplate;
    }
    return result;
}

} // namespace notarium
