// Comma text and the CP932 codec read whatever a settings file or a document holds.
// Comma text: writing what was read and reading it again gives the same items.
// Codec: decoding then encoding gives as many bytes, which decode to the same text (only duplicate
// codes may change), through UTF-16 and UTF-8 alike, and never reports a replacement.
#include "core/text/CommaText.h"
#include "core/text/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace notarium;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> items = fromCommaText(input);
    if (fromCommaText(toCommaText(items)) != items)
        std::abort();

    bool replaced = false;
    const std::u16string text = cp932::toUtf16(input);
    const std::string once = cp932::fromUtf16(text, &replaced);
    if (replaced || once.size() != size || cp932::toUtf16(once) != text)
        std::abort();
    if (cp932::fromUtf8(cp932::toUtf8(input), &replaced) != once || replaced)
        std::abort();
    if (!cp932::isValidUtf8(cp932::toDisplayUtf8(input)))
        std::abort();

    // Any bytes read as UTF-8 or as UTF-16 encode without running past their buffers.
    cp932::fromUtf8(input);
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    cp932::fromUtf16(units);
    return 0;
}
