// Holds the committed CP932 table against the iconv of the machine the tests run on, so that a
// regenerated table or a changed glibc cannot drift apart from it unnoticed.
#include "core/text/Cp932Codec.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <map>
#include <optional>
#include <string>

namespace notarium::cp932 {
namespace {

class LiveIconv {
public:
    LiveIconv()
        : m_toUnicode(iconv_open("UTF-16LE", "CP932"))
        , m_fromUnicode(iconv_open("CP932", "UTF-16LE"))
    {
    }
    ~LiveIconv()
    {
        if (available()) {
            iconv_close(m_toUnicode);
            iconv_close(m_fromUnicode);
        }
    }
    LiveIconv(const LiveIconv&) = delete;
    LiveIconv& operator=(const LiveIconv&) = delete;

    bool available() const { return m_toUnicode != iconv_t(-1) && m_fromUnicode != iconv_t(-1); }

    // The one UTF-16 unit iconv reads from all of bytes, or nothing.
    std::optional<char16_t> decodeOne(const std::string& bytes) const
    {
        const std::string out = convert(m_toUnicode, bytes);
        if (out.size() != 2)
            return std::nullopt;
        return char16_t(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
    }

    std::string encode(char16_t unit) const
    {
        return convert(m_fromUnicode, { char(unit & 0xFF), char(unit >> 8) });
    }

private:
    // Empty when iconv does not convert all of the input.
    static std::string convert(iconv_t cd, std::string in)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* inPtr = in.data();
        char* outPtr = out;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof out;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1) || inLeft != 0)
            return {};
        return std::string(out, sizeof out - outLeft);
    }

    iconv_t m_toUnicode;
    iconv_t m_fromUnicode;
};

bool isLead(int b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TEST(Cp932Table, MatchesLiveIconv)
{
    const LiveIconv live;
    if (!live.available())
        GTEST_SKIP() << "iconv has no CP932 here";

    std::map<char16_t, int> codeCount;
    for (int a = 0; a < 256; ++a) {
        const std::string single(1, char(a));
        const std::u16string own = toUtf16(single);
        const std::optional<char16_t> expected = isLead(a) ? std::nullopt : live.decodeOne(single);
        ASSERT_EQ(own, std::u16string(1, expected.value_or(char16_t(0xDC00 + a)))) << "byte " << a;
        if (expected)
            ++codeCount[*expected];
        if (!isLead(a))
            continue;
        for (int b = 0; b < 256; ++b) {
            const std::string pair { char(a), char(b) };
            const std::optional<char16_t> character = live.decodeOne(pair);
            if (character && !(*character >= 0xD800 && *character <= 0xDFFF)) {
                ASSERT_EQ(toUtf16(pair), std::u16string(1, *character)) << "pair " << a << ' ' << b;
                ++codeCount[*character];
            } else {
                ASSERT_EQ(toUtf16(pair), char16_t(0xDC00 + a) + toUtf16(std::string(1, char(b))))
                    << "pair " << a << ' ' << b;
            }
        }
    }
    for (const auto& [character, count] : codeCount) {
        if (count > 1) {
            EXPECT_EQ(fromUtf16(std::u16string(1, character)), live.encode(character)) << int(character);
        }
    }
}

} // namespace
} // namespace notarium::cp932
