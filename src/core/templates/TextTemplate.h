#pragma once

#include "core/datafile/DataFile.h"

#include <string>
#include <string_view>

namespace notarium {

// A text-only template file is the template text itself: CP932 lines, each ended by CR LF.
//
// Both directions split the text into lines at CR LF, a lone CR or a lone LF (so LF CR is two line
// breaks) and end every line with CR LF: the text inserted from a template always ends with a line
// break, an empty text is an empty file, and a file the program wrote reads back as its own bytes.
// Every other byte is kept as it is, 1Ah included: the file is read whole, not as a text stream.
std::string normalizeTextTemplate(std::string_view text);

// The text of a text-only template file's bytes.
inline std::string parseTextTemplate(std::string_view bytes)
{
    return normalizeTextTemplate(bytes);
}
// The bytes of the file for text.
inline std::string serializeTextTemplate(std::string_view text)
{
    return normalizeTextTemplate(text);
}

// Reads the file at path into text; false and the platform's error text when it cannot be read
// (the window reports that as any other input failure). A file longer than kLargestReadableFile
// is refused unread: false, refused gets the message the window shows for it
// (messages::TooLargeTemplateFile) and error its text; refused stays empty for any other failure.
bool loadTextTemplate(const std::string& path, std::string& text, std::string* error = nullptr,
    Message* refused = nullptr);
// Replaces the file at path through a temporary file; the old file is left as it was on failure,
// which gives the cannot-save message and the platform's text.
WriteResult writeTextTemplate(const std::string& path, std::string_view text);

} // namespace notarium
