#include "cli/CliSupport.h"

#include "core/datafile/DataFile.h"

namespace notarium::cli {

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

} // namespace notarium::cli
