#include "core/settings/SettingValues.h"

#include <array>
#include <cstdio>

namespace notarium {

namespace {

constexpr std::array<ColourIdentifier, 47> kColourIdentifiers = { {
    { "clBlack", 0x000000 },
    { "clMaroon", 0x000080 },
    { "clGreen", 0x008000 },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", 0x808080 },
    { "clSilver", 0xC0C0C0 },
    { "clRed", 0x0000FF },
    { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF },
    { "clMoneyGreen", 0xC0DCC0 },
    { "clSkyBlue", 0xF0CAA6 },
    { "clCream", 0xF0FBFF },
    { "clMedGray", 0xA4A0A0 },
    { "clNone", kColourNone },
    { "clDefault", kColourDefault },
    { "clScrollBar", 0x80000000 },
    { "clBackground", 0x80000001 },
    { "clActiveCaption", 0x80000002 },
    { "clInactiveCaption", 0x80000003 },
    { "clMenu", 0x80000004 },
    { "clWindow", 0x80000005 },
    { "clWindowFrame", 0x80000006 },
    { "clMenuText", 0x80000007 },
    { "clWindowText", 0x80000008 },
    { "clCaptionText", 0x80000009 },
    { "clActiveBorder", 0x8000000A },
    { "clInactiveBorder", 0x8000000B },
    { "clAppWorkSpace", 0x8000000C },
    { "clHighlight", 0x8000000D },
    { "clHighlightText", 0x8000000E },
    { "clBtnFace", 0x8000000F },
    { "clBtnShadow", 0x80000010 },
    { "clGrayText", 0x80000011 },
    { "clBtnText", 0x80000012 },
    { "clInactiveCaptionText", 0x80000013 },
    { "clBtnHighlight", 0x80000014 },
    { "cl3DDkShadow", 0x80000015 },
    { "cl3DLight", 0x80000016 },
    { "clInfoText", 0x80000017 },
    { "clInfoBk", 0x80000018 },
} };

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string hexText(Colour value, int minDigits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%0*X", minDigits, static_cast<unsigned>(value));
    return buffer;
}

} // namespace

std::span<const ColourIdentifier> colourIdentifiers()
{
    return kColourIdentifiers;
}

namespace setting_values {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::string_view trimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && text.front() == '$') {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;

    std::uint64_t magnitude = 0;
    if (hex) {
        int significant = 0;
        for (char c : text) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            if (magnitude != 0 || digit != 0)
                ++significant;
            if (significant > 8)
                return std::nullopt;
            magnitude = magnitude * 16 + static_cast<unsigned>(digit);
        }
        // Hexadecimal is a bit pattern: $80000005 is a system colour, not an overflow.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
        if (magnitude > 0x80000000ull)
            return std::nullopt;
    }
    if (!negative && magnitude > 0x7FFFFFFFull)
        return std::nullopt;
    const long long value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return static_cast<std::int32_t>(value);
}

int readInteger(std::string_view text, int fallback)
{
    return parseInteger(text).value_or(fallback);
}

std::string writeInteger(long long value)
{
    return std::to_string(value);
}

bool readBool(std::string_view text, bool fallback)
{
    const auto value = parseInteger(text);
    return value ? *value != 0 : fallback;
}

std::string writeBool(bool value)
{
    return value ? "1" : "0";
}

std::optional<Colour> colourFromIdentifier(std::string_view name)
{
    name = trimBlanks(name);
    for (const auto& entry : kColourIdentifiers)
        if (equalsIgnoringAsciiCase(entry.name, name))
            return entry.value;
    return std::nullopt;
}

std::optional<std::string_view> identifierOfColour(Colour colour)
{
    for (const auto& entry : kColourIdentifiers)
        if (entry.value == colour)
            return entry.name;
    return std::nullopt;
}

std::optional<Colour> parseColour(std::string_view text)
{
    if (const auto named = colourFromIdentifier(text))
        return named;
    if (const auto number = parseInteger(text))
        return static_cast<Colour>(*number);
    return std::nullopt;
}

Colour readColour(std::string_view text, Colour fallback)
{
    return parseColour(text).value_or(fallback);
}

std::string writeColour(Colour colour)
{
    return hexText(colour, 6);
}

std::string writeColourName(Colour colour)
{
    if (const auto name = identifierOfColour(colour))
        return std::string(*name);
    return hexText(colour, 8);
}

int readFontStyle(std::string_view text, int fallback)
{
    return readInteger(text, fallback) & kFontStyleMask;
}

std::string writeFontStyle(int style)
{
    return writeInteger(style & kFontStyleMask);
}

} // namespace setting_values
} // namespace notarium
