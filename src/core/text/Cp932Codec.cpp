#include "core/text/Cp932Codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace notarium::cp932 {

namespace {

#include "Cp932Table.inc"

// Byte -> row / column of kDoubleByte, kNoIndex for a byte that is no lead / no trail.
constexpr std::uint8_t kNoIndex = 0xFF;

constexpr std::array<std::uint8_t, 256> makeLeadIndex()
{
    std::array<std::uint8_t, 256> index {};
    int row = 0;
    for (int b = 0; b < 256; ++b)
        index[b] = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? std::uint8_t(row++) : kNoIndex;
    return index;
}

constexpr std::array<std::uint8_t, 256> makeTrailIndex()
{
    std::array<std::uint8_t, 256> index {};
    int column = 0;
    for (int b = 0; b < 256; ++b)
        index[b] = ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC)) ? std::uint8_t(column++) : kNoIndex;
    return index;
}

constexpr auto kLeadIndex = makeLeadIndex();
constexpr auto kTrailIndex = makeTrailIndex();
static_assert(kLeadIndex[0xFC] == kLeadCount - 1 && kTrailIndex[0xFC] == kTrailCount - 1,
    "the generated table and the byte ranges disagree");

constexpr char16_t kRawByteBase = 0xDC00;
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool isRawByte(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}
bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

std::uint64_t load8(const unsigned char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Reads the character at p (p < end) and returns how many bytes it took (1 or 2).
inline std::size_t decodeChar(const unsigned char* p, const unsigned char* end, char16_t& out)
{
    const unsigned char b = *p;
    if (b < 0x80) {
        out = b;
        return 1;
    }
    const std::uint8_t row = kLeadIndex[b];
    if (row != kNoIndex) {
        if (p + 1 < end) {
            const std::uint8_t column = kTrailIndex[p[1]];
            if (column != kNoIndex) {
                if (const std::uint16_t unit = kDoubleByte[row][column]) {
                    out = unit;
                    return 2;
                }
            }
        }
        // A lead byte without a character: only the lead byte is kept raw, the next byte is read
        // again on its own so that one bad byte does not swallow a good one.
        out = char16_t(kRawByteBase + b);
        return 1;
    }
    const std::uint16_t unit = kSingleByte[b];
    out = unit != 0 ? unit : char16_t(kRawByteBase + b);
    return 1;
}

bool isLead(unsigned char b)
{
    return kLeadIndex[b] != kNoIndex;
}

// True when lead followed by next reads as one defined character.
bool pairsWith(unsigned char lead, unsigned char next)
{
    const std::uint8_t column = kTrailIndex[next];
    return column != kNoIndex && kDoubleByte[kLeadIndex[lead]][column] != 0;
}

std::uint16_t codeOfSingle(int b)
{
    return std::uint16_t(b);
}
std::uint16_t codeOfPair(int lead, int trail)
{
    return std::uint16_t((lead << 8) | trail);
}
unsigned char firstByte(std::uint16_t code)
{
    return static_cast<unsigned char>(code < 0x100 ? code : code >> 8);
}

bool hasSeveralCodes(char16_t unit)
{
    const auto* found = std::lower_bound(std::begin(kCanonicalCodes), std::end(kCanonicalCodes), unit,
        [](const Cp932Canonical& c, char16_t u) { return c.character < u; });
    return found != std::end(kCanonicalCodes) && found->character == unit;
}

// Unicode BMP -> code (a single byte below 0x100, else lead << 8 | trail), kNoCode when CP932
// has no code for it. Only inverse mappings of the decode table are taken, so every code that is
// written reads back as the same character; of several codes for one character the one Windows
// writes wins. U+DC80-U+DCFF map back to the raw byte they stand for.
struct EncodeTable {
    struct Duplicate {
        char16_t character;
        std::uint16_t code;
        bool operator<(const Duplicate& other) const { return character < other.character; }
    };

    std::uint16_t m_codes[0x10000];
    std::vector<Duplicate> m_duplicates; // every code of each character that has several

    EncodeTable()
    {
        std::fill(std::begin(m_codes), std::end(m_codes), kNoCode);
        auto add = [this](char16_t unit, std::uint16_t code) {
            if (m_codes[unit] == kNoCode)
                m_codes[unit] = code;
            if (hasSeveralCodes(unit))
                m_duplicates.push_back({ unit, code });
        };
        for (int b = 0; b < 256; ++b) {
            if (kSingleByte[b] != 0 || b == 0)
                add(kSingleByte[b], codeOfSingle(b));
        }
        for (int lead = 0; lead < 256; ++lead) {
            if (!isLead(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0; trail < 256; ++trail) {
                if (kTrailIndex[trail] == kNoIndex)
                    continue;
                if (const std::uint16_t unit = kDoubleByte[kLeadIndex[lead]][kTrailIndex[trail]])
                    add(unit, codeOfPair(lead, trail));
            }
        }
        std::stable_sort(m_duplicates.begin(), m_duplicates.end());
        for (const Cp932Canonical& canonical : kCanonicalCodes)
            m_codes[canonical.character] = canonical.code;
        for (int b = 0x80; b <= 0xFF; ++b)
            m_codes[kRawByteBase + b] = codeOfSingle(b);
    }

    // The code for unit right after the raw lead byte rawLead. The canonical code of a duplicate
    // could pair up with that byte and read back as a different character; then another code of
    // the same character is taken. Text that was decoded always has one (the code it came from),
    // so decoding, encoding and decoding again gives the same text.
    std::uint16_t codeAfterRawLead(unsigned char rawLead, char16_t unit, std::uint16_t code) const
    {
        if (!pairsWith(rawLead, firstByte(code)))
            return code;
        const auto [first, last]
            = std::equal_range(m_duplicates.begin(), m_duplicates.end(), Duplicate { unit, 0 });
        for (auto it = first; it != last; ++it) {
            if (!pairsWith(rawLead, firstByte(it->code)))
                return it->code;
        }
        return code;
    }
};

const EncodeTable& encodeTable()
{
    static const EncodeTable table; // built on first use; thread-safe static initialisation
    return table;
}

// The lead byte a raw-byte unit stands for, 0 when the unit is no raw lead byte.
unsigned char rawLeadOf(char32_t unit)
{
    return unit >= 0xDC81 && unit <= 0xDCFC && isLead(static_cast<unsigned char>(unit - kRawByteBase))
        ? static_cast<unsigned char>(unit - kRawByteBase)
        : 0;
}

// Appends the code for one BMP unit (no high surrogate) that follows the raw lead byte rawLead
// (0 for none); false when CP932 cannot hold it.
inline bool appendUnit(const EncodeTable& table, char16_t unit, unsigned char rawLead, char*& out)
{
    std::uint16_t code = table.m_codes[unit];
    if (code == kNoCode)
        return false;
    if (rawLead != 0)
        code = table.codeAfterRawLead(rawLead, unit, code);
    if (code < 0x100) {
        *out++ = char(code);
    } else {
        *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    }
    return true;
}

inline void appendReplacement(char*& out, bool* replaced)
{
    *out++ = kReplacementBytes[0];
    *out++ = kReplacementBytes[1];
    if (replaced)
        *replaced = true;
}

// Output is written through a raw pointer into a string sized for usual text. When that runs out
// the string grows once to the most the rest of the input can need: sizing for the worst case up
// front would touch up to three times the memory, which costs more than the conversion itself.
class Output {
public:
    explicit Output(std::size_t size)
        : m_bytes(size, '\0')
    {
    }

    char* begin() { return m_bytes.data(); }
    char* limit() { return m_bytes.data() + m_bytes.size(); }

    // Makes room for at least needed bytes at out; worstRest bounds what is still to be written.
    void ensure(char*& out, char*& limit, std::size_t needed, std::size_t worstRest)
    {
        if (std::size_t(limit - out) >= needed)
            return;
        const std::size_t used = std::size_t(out - m_bytes.data());
        m_bytes.resize(used + std::max(needed, worstRest));
        out = m_bytes.data() + used;
        limit = m_bytes.data() + m_bytes.size();
    }

    std::string take(const char* out)
    {
        m_bytes.resize(std::size_t(out - m_bytes.data()));
        return std::move(m_bytes);
    }

private:
    std::string m_bytes;
};

// UTF-8 of every character, ready to store: the bytes in the low three bytes (first byte lowest)
// and the length in the top byte. Decoding Japanese text is mostly table look-ups this way.
struct Utf8Tables {
    std::array<std::uint32_t, 256> single; // a byte on its own (a lead byte here: one without a pair)
    std::array<std::uint32_t, kLeadCount * kTrailCount> pairs; // 0: the pair has no character

    static std::uint32_t pack(char16_t unit)
    {
        if (unit < 0x80)
            return (1u << 24) | unit;
        if (unit < 0x800)
            return (2u << 24) | std::uint32_t(0xC0 | (unit >> 6)) | (std::uint32_t(0x80 | (unit & 0x3F)) << 8);
        return (3u << 24) | std::uint32_t(0xE0 | (unit >> 12)) | (std::uint32_t(0x80 | ((unit >> 6) & 0x3F)) << 8)
            | (std::uint32_t(0x80 | (unit & 0x3F)) << 16);
    }

    explicit Utf8Tables(bool display)
    {
        for (int b = 0; b < 256; ++b) {
            const std::uint16_t unit = b < 0x80 ? std::uint16_t(b) : kSingleByte[b];
            const bool raw = b >= 0x80 && (unit == 0 || isLead(static_cast<unsigned char>(b)));
            single[std::size_t(b)] = pack(raw ? (display ? u'\uFFFD' : char16_t(kRawByteBase + b)) : unit);
        }
        for (std::size_t row = 0; row < kLeadCount; ++row)
            for (std::size_t column = 0; column < kTrailCount; ++column) {
                const std::uint16_t unit = kDoubleByte[row][column];
                pairs[row * kTrailCount + column] = unit != 0 ? pack(unit) : 0;
            }
    }
};

template <bool Display> const Utf8Tables& utf8Tables()
{
    static const Utf8Tables tables(Display);
    return tables;
}

// Appends the UTF-8 of bytes to target, which keeps what it held.
template <bool Display> void appendUtf8(std::string& target, std::string_view bytes)
{
    const Utf8Tables& tables = utf8Tables<Display>();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    // Japanese text takes three UTF-8 bytes for two bytes; a raw byte or a half-width katakana
    // takes three for one, the worst case, for which the room grows on the way.
    const std::size_t base = target.size();
    target.resize(base + bytes.size() + bytes.size() / 2 + 8);
    char* out = target.data() + base;
    char* limit = target.data() + target.size();
    while (p < end) {
        while (end - p >= 8 && limit - out >= 8 && (load8(p) & kHighBits) == 0) {
            std::memcpy(out, p, 8);
            out += 8;
            p += 8;
        }
        if (p == end)
            break;
        // Each step stores four bytes and keeps as many as the character needs.
        if (limit - out < 4) {
            const std::size_t used = std::size_t(out - target.data());
            target.resize(used + 3 * std::size_t(end - p) + 4);
            out = target.data() + used;
            limit = target.data() + target.size();
        }
        const unsigned char b = *p;
        std::uint32_t packed = 0;
        const std::uint8_t row = kLeadIndex[b];
        if (row != kNoIndex && p + 1 < end) {
            const std::uint8_t column = kTrailIndex[p[1]];
            if (column != kNoIndex)
                packed = tables.pairs[std::size_t(row) * kTrailCount + column];
        }
        if (packed != 0) {
            p += 2;
        } else {
            // A lead byte without a character: only the lead byte is kept raw, the next byte is
            // read again on its own so that one bad byte does not swallow a good one.
            packed = tables.single[b];
            p += 1;
        }
        std::memcpy(out, &packed, 4);
        out += packed >> 24;
    }
    target.resize(std::size_t(out - target.data()));
}

template <bool Display> std::string decodeToUtf8(std::string_view bytes)
{
    std::string result;
    appendUtf8<Display>(result, bytes);
    return result;
}

// Reads one UTF-8 sequence at p (p < end). Returns its length, with c set to the code point, or
// the negated length of the longest start of a valid sequence (at least 1) when it is malformed.
// With lenient set, the three-byte forms of surrogates are read as code points as well.
inline int readUtf8(const unsigned char* p, const unsigned char* end, char32_t& c, bool lenient)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    int length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        c = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED && !lenient)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        c = b & 0x07;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        if (p + i >= end || p[i] < low || p[i] > high)
            return -i;
        c = (c << 6) | (p[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

} // namespace

std::u16string toUtf16(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    std::u16string result(bytes.size(), u'\0');
    char16_t* out = result.data();
    while (p < end) {
        while (end - p >= 8 && (load8(p) & kHighBits) == 0) {
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            out += 8;
            p += 8;
        }
        if (p < end)
            p += decodeChar(p, end, *out++);
    }
    result.resize(std::size_t(out - result.data()));
    return result;
}

std::size_t utf16Length(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    std::size_t length = 0;
    char16_t unit = 0;
    while (p < end) {
        while (end - p >= 8 && (load8(p) & kHighBits) == 0) {
            length += 8;
            p += 8;
        }
        if (p < end) {
            p += decodeChar(p, end, unit);
            ++length;
        }
    }
    return length;
}

std::string toUtf8(std::string_view bytes)
{
    return decodeToUtf8<false>(bytes);
}

std::string toDisplayUtf8(std::string_view bytes)
{
    return decodeToUtf8<true>(bytes);
}

void appendDisplayUtf8(std::string& target, std::string_view bytes)
{
    appendUtf8<true>(target, bytes);
}

std::string fromUtf16(std::u16string_view text, bool* replaced)
{
    const EncodeTable& table = encodeTable();
    // One byte per unit to start with, two at most (a double-byte character or a replacement).
    Output result(text.size());
    char* out = result.begin();
    char* limit = result.limit();
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    while (p < end) {
        while (end - p >= 4 && limit - out >= 4) {
            std::uint64_t units;
            std::memcpy(&units, p, sizeof units);
            if ((units & 0xFF80FF80FF80FF80ULL) != 0)
                break;
            for (int i = 0; i < 4; ++i)
                out[i] = char(p[i]);
            out += 4;
            p += 4;
        }
        if (p == end)
            break;
        result.ensure(out, limit, 2, 2 * std::size_t(end - p));
        const char16_t unit = *p++;
        if (unit < 0x80) {
            *out++ = char(unit);
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            // A character beyond the BMP (or a broken half of one): one replacement for it. The
            // decoder never writes a high surrogate, so a following U+DC80-U+DCFF belongs to it.
            if (p < end && *p >= 0xDC00 && *p <= 0xDFFF)
                ++p;
            appendReplacement(out, replaced);
            continue;
        }
        // p[-2] is the unit before; it was written as a raw byte unless it ended a surrogate pair.
        const std::ptrdiff_t index = p - 1 - text.data();
        const unsigned char rawLead
            = index >= 1 && !(index >= 2 && p[-3] >= 0xD800 && p[-3] <= 0xDBFF) ? rawLeadOf(p[-2]) : 0;
        if (!appendUnit(table, unit, rawLead, out))
            appendReplacement(out, replaced);
    }
    return result.take(out);
}

std::string fromUtf8(std::string_view text, bool* replaced)
{
    const EncodeTable& table = encodeTable();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    // A valid sequence gives no more bytes than its own length, except that a raw byte or an
    // invalid byte takes two.
    Output result(text.size());
    char* out = result.begin();
    char* limit = result.limit();
    unsigned char rawLead = 0; // the lead byte just written raw, if any
    while (p < end) {
        if (end - p >= 8 && limit - out >= 8 && (load8(p) & kHighBits) == 0) {
            do {
                std::memcpy(out, p, 8);
                out += 8;
                p += 8;
            } while (end - p >= 8 && limit - out >= 8 && (load8(p) & kHighBits) == 0);
            rawLead = 0;
            if (p == end)
                break;
        }
        result.ensure(out, limit, 2, 2 * std::size_t(end - p));
        char32_t c;
        const int length = readUtf8(p, end, c, true);
        const unsigned char previousRawLead = rawLead;
        rawLead = 0;
        if (length < 0) {
            p += -length;
            appendReplacement(out, replaced);
            continue;
        }
        p += length;
        if (c < 0x80) {
            *out++ = char(c);
        } else if (c > 0xFFFF || (isSurrogate(c) && !isRawByte(char16_t(c)))
            || !appendUnit(table, char16_t(c), previousRawLead, out)) {
            appendReplacement(out, replaced);
        } else {
            rawLead = rawLeadOf(c);
        }
    }
    return result.take(out);
}

bool isValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        while (end - p >= 8 && (load8(p) & kHighBits) == 0)
            p += 8;
        if (p == end)
            break;
        char32_t c;
        const int length = readUtf8(p, end, c, false);
        if (length < 0)
            return false;
        p += length;
    }
    return true;
}

} // namespace notarium::cp932
