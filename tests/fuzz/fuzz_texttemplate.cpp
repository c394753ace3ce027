// The text template reader on any bytes: every line of the file comes back ended by CR LF, with
// its bytes untouched (1Ah and NUL included), and the text written and read again gives the same
// bytes, so a template saved by the program reads back as itself.
#include "core/templates/TextTemplate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string withoutBreaks(std::string_view text)
{
    std::string rest;
    for (char c : text)
        if (c != '\r' && c != '\n')
            rest += c;
    return rest;
}

// CR LF, a lone CR and a lone LF are one line break each.
std::size_t lineBreaks(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++count;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            ++count;
        }
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = parseTextTemplate(bytes);

    if (text.empty() != bytes.empty())
        std::abort();
    // Only CR LF pairs, and the text ends with one.
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            std::abort();
        if (text[i] == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n')
                std::abort();
            ++pairs;
            ++i;
        }
    }
    if (!text.empty() && !text.ends_with("\r\n"))
        std::abort();
    // One CR LF per line break of the file, plus one for an unended last line.
    const bool unendedLast = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    if (pairs != lineBreaks(bytes) + (unendedLast ? 1 : 0))
        std::abort();
    if (withoutBreaks(text) != withoutBreaks(bytes))
        std::abort();

    const std::string file = serializeTextTemplate(text);
    if (file != text || parseTextTemplate(file) != text)
        std::abort();
    return 0;
}
