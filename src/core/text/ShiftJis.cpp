#include "core/text/ShiftJis.h"

namespace notarium {

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::vector<ByteClass> byteClasses(std::string_view text)
{
    std::vector<ByteClass> classes(text.size(), ByteClass::Single);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isLeadByte(static_cast<unsigned char>(text[i])))
            continue;
        classes[i] = ByteClass::Lead;
        if (i + 1 < text.size())
            classes[++i] = ByteClass::Trail;
    }
    return classes;
}

std::string_view cutToBytes(std::string_view text, std::size_t maxBytes)
{
    text = text.substr(0, maxBytes);
    if (!text.empty() && charStart(text, text.size() - 1) == text.size() - 1
        && isLeadByte(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::size_t charStart(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return pos;
    // The byte before a run of lead-range bytes is a single byte or a trail: either way a
    // character ends there. From that boundary on, the run pairs up, so the parity of the
    // distance tells whether pos is a start or a trail. This looks back only as far as the run.
    std::size_t runStart = pos;
    while (runStart > 0 && isLeadByte(static_cast<unsigned char>(text[runStart - 1])))
        --runStart;
    return (pos - runStart) % 2 == 0 ? pos : pos - 1;
}

} // namespace notarium
