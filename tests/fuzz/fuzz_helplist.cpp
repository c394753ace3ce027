// The input helper list ("HelpList.dat") on any bytes: the phrases it reads are valid UTF-8 without
// line breaks, writing them and reading the file again gives the same phrases, and sorting keeps
// every phrase.
#include "core/text/Cp932Codec.h"
#include "core/text/HelperListFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> phrases = readHelperList(bytes);
    for (const std::string& phrase : phrases)
        if (phrase.find_first_of("\r\n") != std::string::npos || !cp932::isValidUtf8(phrase))
            std::abort();
    // A file of line breaks only holds empty phrases; only a file of nothing but byte-order marks
    // holds none.
    std::string_view text = bytes;
    while (text.starts_with(cp932::kUtf8Bom))
        text.remove_prefix(cp932::kUtf8Bom.size());
    if (phrases.empty() != text.empty())
        std::abort();

    const std::string file = writeHelperList(phrases);
    if (readHelperList(file) != phrases || writeHelperList(readHelperList(file)) != file)
        std::abort();

    std::vector<std::string> sorted = phrases;
    sortHelperList(sorted);
    std::vector<std::string> a = sorted;
    std::vector<std::string> b = phrases;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a != b)
        std::abort();
    std::vector<std::string> twice = sorted;
    sortHelperList(twice);
    if (twice != sorted)
        std::abort();
    return 0;
}
