// Text import on any bytes: a CP932 file is taken byte for byte, a UTF-8 file is converted with
// every character CP932 cannot hold counted as replaced, and a text without a NUL byte gives a
// memo without one.
#include "core/text/Cp932Codec.h"
#include "core/textio/TextImport.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool binary = looksBinary(bytes);
    if (binary != (std::memchr(data, 0, size) != nullptr))
        std::abort();

    const ImportedText imported = importText(bytes);
    std::string_view content = bytes;
    if (content.ends_with('\x1A'))
        content.remove_suffix(1);
    if (imported.encoding != detectImportEncoding(content))
        std::abort();

    if (imported.encoding == ImportEncoding::Cp932) {
        if (imported.cp932 != content || imported.replaced != 0)
            std::abort();
        return 0;
    }
    if (content.starts_with(cp932::kUtf8Bom))
        content.remove_prefix(cp932::kUtf8Bom.size());
    else if (!cp932::isValidUtf8(content))
        std::abort();
    if (!binary && std::memchr(imported.cp932.data(), 0, imported.cp932.size()) != nullptr)
        std::abort();

    bool replaced = false;
    if (cp932::fromUtf8(content, &replaced) != imported.cp932)
        std::abort();
    // Some characters replaced, some counted; never more than the file has characters.
    if (replaced != (imported.replaced > 0) || imported.replaced > content.size())
        std::abort();
    // A valid UTF-8 text without replacements is held whole: it converts back to itself.
    if (!replaced && cp932::isValidUtf8(content) && cp932::toUtf8(imported.cp932) != content)
        std::abort();
    return 0;
}
