// The data file reader on any bytes: it never crashes, hangs or reads out of bounds, and whatever
// it accepts, the writer writes in a form that reads back to the same file.
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document doc;
    const ReadResult result = parseDataFile(bytes, doc);
    if (!result.ok())
        return 0;
    if (!result.oldFormat)
        doc.applyTreeState();
    const std::string first = serializeDataFile(doc, doc.savedCurrentIndex());
    Document again;
    if (!parseDataFile(first, again).ok())
        std::abort();
    again.applyTreeState();
    if (serializeDataFile(again, again.savedCurrentIndex()) != first)
        std::abort();
    return 0;
}
