#include "core/search/SearchTables.h"

namespace notarium {

namespace {

constexpr FullWidthForm twoBytes(std::uint16_t code)
{
    FullWidthForm form;
    form.length = 2;
    form.bytes[0] = static_cast<unsigned char>(code >> 8);
    form.bytes[1] = static_cast<unsigned char>(code & 0xFF);
    return form;
}

constexpr std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1> buildKanaJis()
{
    // Columns of ｦ ｧ ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ (ｰ) ｱ ... ﾝ in row 5 (ヲ ァ ィ ゥ ェ ォ ャ ュ ョ ッ, ア ... ン).
    constexpr unsigned char columns[] = {
        0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, // ｦ-ｯ
        0x00, // ｰ is not a kana of row 5
        0x22, 0x24, 0x26, 0x28, 0x2A, // ｱ-ｵ
        0x2B, 0x2D, 0x2F, 0x31, 0x33, // ｶ-ｺ
        0x35, 0x37, 0x39, 0x3B, 0x3D, // ｻ-ｿ
        0x3F, 0x41, 0x44, 0x46, 0x48, // ﾀ-ﾄ
        0x4A, 0x4B, 0x4C, 0x4D, 0x4E, // ﾅ-ﾉ
        0x4F, 0x52, 0x55, 0x58, 0x5B, // ﾊ-ﾎ
        0x5E, 0x5F, 0x60, 0x61, 0x62, // ﾏ-ﾓ
        0x64, 0x66, 0x68, // ﾔ-ﾖ
        0x69, 0x6A, 0x6B, 0x6C, 0x6D, // ﾗ-ﾛ
        0x6F, 0x73, // ﾜ ﾝ
    };
    static_assert(sizeof columns == kKanaJisLast - kKanaJisFirst + 1);
    std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1> table {};
    for (unsigned i = 0; i < table.size(); ++i) {
        const unsigned byte = kKanaJisFirst + i;
        table[i].column = columns[i];
        table[i].takesVoicing = (byte >= 0xB6 && byte <= 0xC4) || (byte >= 0xCA && byte <= 0xCE);
    }
    return table;
}

constexpr std::array<FullWidthForm, 256> buildFullWidth(
    const std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1>& kana)
{
    // Full-width forms of 0x21-0x7E; 0x22, 0x27, 0x5C and 0x7E take the characters a Japanese
    // keyboard user means by them (” ’ ￥ ￣) rather than the strict counterparts.
    constexpr std::uint16_t ascii[] = {
        0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, // ! " # $ % & ' (
        0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E, // ) * + , - . /
        0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258, // 0-9
        0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, // : ; < = > ? @
        0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B,
        0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277,
        0x8278, 0x8279, // A-Z
        0x816D, 0x818F, 0x816E, 0x814F, 0x8151, 0x814D, // [ \ ] ^ _ `
        0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288, 0x8289, 0x828A, 0x828B, 0x828C,
        0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, 0x8298,
        0x8299, 0x829A, // a-z
        0x816F, 0x8162, 0x8170, 0x8150, // { | } ~
    };
    static_assert(sizeof ascii / sizeof ascii[0] == 0x7E - 0x21 + 1);

    std::array<FullWidthForm, 256> table {};
    for (unsigned b = 0; b < 256; ++b) {
        table[b].length = 1;
        table[b].bytes[0] = static_cast<unsigned char>(b);
    }
    table[0x20] = twoBytes(0x8140);
    for (unsigned b = 0x21; b <= 0x7E; ++b)
        table[b] = twoBytes(ascii[b - 0x21]);
    table[0xA1] = twoBytes(0x8142); // 。
    table[0xA2] = twoBytes(0x8175); // 「
    table[0xA3] = twoBytes(0x8176); // 」
    table[0xA4] = twoBytes(0x8141); // 、
    table[0xA5] = twoBytes(0x8145); // ・
    for (unsigned b = kKanaJisFirst; b <= kKanaJisLast; ++b) {
        const KanaJis entry = kana[b - kKanaJisFirst];
        if (entry.column != 0)
            table[b] = twoBytes(jisToShiftJis(static_cast<std::uint16_t>(0x2500 | entry.column)));
    }
    table[0xB0] = twoBytes(0x815B); // ー
    table[0xDE] = twoBytes(0x814A); // ゛
    table[0xDF] = twoBytes(0x814B); // ゜
    return table;
}

constexpr std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1> kKanaJis = buildKanaJis();

constexpr ByteMap buildCaseMap()
{
    ByteMap map {};
    for (unsigned b = 0; b < 256; ++b)
        map[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 0x20 : b);
    return map;
}

constexpr ByteMap buildWideCaseMap()
{
    ByteMap map {};
    for (unsigned b = 0; b < 256; ++b)
        map[b] = static_cast<unsigned char>(b >= 0x81 && b <= 0x9A ? b - 0x21 : b);
    return map;
}

constexpr std::array<bool, 256> buildWordBreaks()
{
    std::array<bool, 256> set {};
    for (unsigned b = 0; b < 256; ++b)
        set[b] = b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) || (b >= 0x7B && b <= 0x80)
            || (b >= 0xA0 && b <= 0xA5) || b >= 0xFD;
    return set;
}

} // namespace

const ByteMap CaseMap = buildCaseMap();
const ByteMap WideCaseMap = buildWideCaseMap();
const std::array<bool, 256> WordBreakChars = buildWordBreaks();
const std::array<KanaJis, kKanaJisLast - kKanaJisFirst + 1> KanaJisTable = kKanaJis;
const std::array<FullWidthForm, 256> FullWidthTable = buildFullWidth(kKanaJis);

FullWidthForm joinedKanaForm(unsigned char kana, unsigned char mark)
{
    if (kana == 0xB3) // ｳﾞ: ヴ lies outside the kana's own voicing arithmetic
        return twoBytes(0x8394);
    const unsigned column = KanaJisTable[kana - kKanaJisFirst].column + (mark == kVoicedMark ? 1u : 2u);
    return twoBytes(jisToShiftJis(static_cast<std::uint16_t>(0x2500 | column)));
}

} // namespace notarium
