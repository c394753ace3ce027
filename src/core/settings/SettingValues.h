#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace notarium {

// A colour as the settings file stores it: $00BBGGRR for an RGB colour, $800000nn for system colour
// nn, plus the two special values clNone and clDefault.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0x80000000u;
inline constexpr Colour kColourNone = 0x1FFFFFFFu;
inline constexpr Colour kColourDefault = 0x20000000u;
inline constexpr Colour kColourWindow = 0x80000005u;
inline constexpr Colour kColourWindowText = 0x80000008u;

// Font style bits as stored in the FontStyle keys.
enum FontStyleBits : int {
    FontBold = 1,
    FontItalic = 2,
    FontUnderline = 4,
    FontStrikeOut = 8,
};
inline constexpr int kFontStyleMask = FontBold | FontItalic | FontUnderline | FontStrikeOut;

struct ColourIdentifier {
    std::string_view name;
    Colour value;
};

// Every colour that has a name in the settings file; the values are unique, so writing a colour by
// name is unambiguous.
std::span<const ColourIdentifier> colourIdentifiers();

// The functions below convert between the text of a settings value and its meaning. A text that is
// not of the expected form gives the caller's default, as a missing key does.
namespace setting_values {

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X" (also after a sign); blanks
// around the number are ignored. Hexadecimal takes up to 8 digits and wraps into 32 bits as a colour
// or shortcut value does ($FFFFFFFF is -1); a decimal number must fit into 32 bits.
std::optional<std::int32_t> parseInteger(std::string_view text);
int readInteger(std::string_view text, int fallback);
std::string writeInteger(long long value);

// Read as an integer: 0 is false, any other number true.
bool readBool(std::string_view text, bool fallback);
std::string writeBool(bool value);

std::optional<Colour> colourFromIdentifier(std::string_view name); // ASCII case ignored
std::optional<std::string_view> identifierOfColour(Colour colour);
// An identifier or an integer.
std::optional<Colour> parseColour(std::string_view text);
Colour readColour(std::string_view text, Colour fallback);
// BackColor/FontColor form: "$" and at least 6 uppercase hexadecimal digits.
std::string writeColour(Colour colour);
// CRLFColor/LineColor/IME form: the identifier when the colour has one, else "$" and 8 digits.
std::string writeColourName(Colour colour);

// A bit set of FontStyleBits; unknown bits are dropped.
int readFontStyle(std::string_view text, int fallback);
std::string writeFontStyle(int style);

// ASCII-only case folding, as the settings file's names are compared.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Strips spaces and tabs at both ends.
std::string_view trimBlanks(std::string_view text);

} // namespace setting_values
} // namespace notarium
