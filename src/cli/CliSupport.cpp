#include "cli/CliSupport.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"

#include <charconv>

namespace notarium::cli {

std::optional<long long> parseIndex(std::string_view text)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

void printMessage(std::FILE* err, const std::string& path, std::string_view text)
{
    std::string line;
    for (char c : text) {
        if (c != '\r')
            line.push_back(c == '\n' ? ' ' : c);
    }
    std::fprintf(err, "%s: %s\n", path.c_str(), line.c_str());
}

bool loadDocument(const std::string& path, Document& doc, ReadResult& result, std::FILE* err)
{
    result = readDataFile(path, doc);
    if (!result.ok()) {
        printMessage(err, path, result.message.text);
        return false;
    }
    return true;
}

bool writeDocument(const std::string& path, Document& doc, const ReadResult& result, std::FILE* err)
{
    // The nodes keep the expanded states the file stored; nothing else is applied.
    if (!result.oldFormat)
        doc.applyTreeState();
    const WriteResult written = writeDataFile(path, doc, doc.savedCurrentIndex());
    if (!written.ok) {
        printMessage(err, path, std::string(written.message.text) + " (" + written.errorText + ")");
        return false;
    }
    for (const std::string& title : written.changedTitles)
        std::fprintf(err, "%s: changed to fit the file format: %s\n", path.c_str(),
            cp932::toDisplayUtf8(title).c_str());
    return true;
}

} // namespace notarium::cli
