#include "editor/Cp932Chars.h"

#include "core/text/Cp932Codec.h"

#include <array>
#include <cstdint>

namespace notarium {

namespace {

// One entry per UTF-16 unit, built once by encoding each unit alone.
const std::array<std::uint8_t, 65536>& lengthTable()
{
    static const std::array<std::uint8_t, 65536> table = [] {
        std::array<std::uint8_t, 65536> t {};
        for (std::uint32_t u = 0; u < 65536; ++u) {
            if (u < 0x80 || (u >= 0xDC80 && u <= 0xDCFF)) {
                t[u] = 1;
                continue;
            }
            const char16_t unit = static_cast<char16_t>(u);
            bool replaced = false;
            const std::string bytes = cp932::fromUtf16(std::u16string_view(&unit, 1), &replaced);
            t[u] = replaced ? 0 : static_cast<std::uint8_t>(bytes.size());
        }
        t[0x2029] = 2; // the editor's paragraph separator is stored as CR LF
        return t;
    }();
    return table;
}

bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

int Cp932Chars::byteLength(char16_t unit)
{
    return lengthTable()[unit];
}

qsizetype Cp932Chars::byteLength(QStringView text)
{
    const auto& table = lengthTable();
    qsizetype total = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        if (isHighSurrogate(u) && i + 1 < size && isLowSurrogate(text[i + 1].unicode())) {
            total += 2; // one 〓
            ++i;
            continue;
        }
        const int n = table[u];
        total += n == 0 ? 2 : n;
    }
    return total;
}

QString Cp932Chars::decode(std::string_view bytes)
{
    return QString::fromStdU16String(cp932::toUtf16(bytes));
}

std::string Cp932Chars::encode(QStringView text)
{
    return cp932::fromUtf16(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

QString Cp932Chars::filterInput(const QString& text, bool* replaced)
{
    const auto& table = lengthTable();
    QString out;
    bool any = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2029 || u == 0x2028) {
            // Line breaks stay line breaks whatever form they came in.
            out.append(u == 0x2028 ? QChar(u'\n') : text[i]);
            continue;
        }
        // A raw-byte surrogate (U+DC80-U+DCFF) passes: it comes from a copy within the program
        // and stands for the byte it was decoded from.
        if (table[u] != 0) {
            out.append(text[i]);
            continue;
        }
        if (isHighSurrogate(u) && i + 1 < size && isLowSurrogate(text[i + 1].unicode()))
            ++i;
        out.append(QChar(cp932::kReplacementChar));
        any = true;
    }
    if (replaced && any)
        *replaced = true;
    return out;
}

} // namespace notarium
