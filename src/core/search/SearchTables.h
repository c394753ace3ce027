#pragma once

#include <array>
#include <cstdint>

namespace notarium {

// The constant tables of the text search. They are computed at compile time, so every search sees
// the same contents and nothing needs building at start-up.

using ByteMap = std::array<unsigned char, 256>;

// a-z to A-Z, every other byte to itself (the ANSI upper-case conversion of code page 932 on
// single bytes).
extern const ByteMap CaseMap;
// Applied to the trail byte of a character with lead byte 0x82: folds the full-width letters
// 0x8281-0x829A to 0x8260-0x8279, identity elsewhere.
extern const ByteMap WideCaseMap;
// Single bytes that end a word: 0x00-0x2F, 0x3A-0x40, 0x5B-0x60, 0x7B-0x80, 0xA0-0xA5, 0xFD-0xFF.
extern const std::array<bool, 256> WordBreakChars;

// One or two CP932 bytes.
struct FullWidthForm {
    unsigned char length = 1;
    unsigned char bytes[2] = { 0, 0 };
};
// The full-width form of each single byte; bytes without one (controls, 0x7F, 0x80, 0xA0,
// 0xFD-0xFF and the lead-byte values) map to themselves.
extern const std::array<FullWidthForm, 256> FullWidthTable;

// For each half-width katakana 0xA6-0xDD (index byte - 0xA6; 0xB0 has no entry): the column of
// its full-width katakana in row 5 of JIS X 0208, and whether the kana takes a voicing mark.
struct KanaJis {
    unsigned char column = 0;
    bool takesVoicing = false;
};
inline constexpr unsigned char kKanaJisFirst = 0xA6;
inline constexpr unsigned char kKanaJisLast = 0xDD;
extern const std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1> KanaJisTable;

inline constexpr unsigned char kVoicedMark = 0xDE; // ﾞ
inline constexpr unsigned char kSemiVoicedMark = 0xDF; // ﾟ

// JIS X 0208 code (row byte, column byte) to its two Shift-JIS bytes, high byte first.
constexpr std::uint16_t jisToShiftJis(std::uint16_t jis)
{
    const unsigned row = jis >> 8;
    const unsigned column = jis & 0xFF;
    const unsigned lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
    unsigned trail = 0;
    if (row & 1)
        trail = column + (column >= 0x60 ? 0x20 : 0x1F);
    else
        trail = column + 0x7E;
    return static_cast<std::uint16_t>((lead << 8) | trail);
}

// True for ｳ, ｶ-ﾄ and ﾊ-ﾎ followed by the mark that makes one voiced or semi-voiced kana of the
// two bytes (ｳﾞ, ｶﾞ, ﾊﾟ ...). Only these pairs are joined, on both sides of a comparison, so a text
// always finds itself.
constexpr bool joinsWithMark(unsigned char kana, unsigned char mark)
{
    if (mark == kVoicedMark)
        return kana == 0xB3 || (kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE);
    if (mark == kSemiVoicedMark)
        return kana >= 0xCA && kana <= 0xCE;
    return false;
}

// The full-width form of a joined pair (see joinsWithMark).
FullWidthForm joinedKanaForm(unsigned char kana, unsigned char mark);

} // namespace notarium
