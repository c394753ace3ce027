#pragma once

namespace notarium {

// The ways a search can change the comparison; a search combines any of them.
enum class SearchOption : unsigned {
    Forward = 1u << 0, // towards the end of the text; absent: towards the beginning
    MatchCase = 1u << 1, // upper and lower case differ; absent: letters fold to upper case
    WholeWord = 1u << 2, // a hit begins at a word start and is followed by a word-break character
    IgnoreWidth = 1u << 3, // a half-width character equals its full-width form
    SkipLineBreaks = 1u << 4, // CR and LF inside a hit are passed over
    SkipSpaces = 1u << 5, // blank, tab and the ideographic space inside a hit are passed over
};

// A set of SearchOption values.
class SearchOptions {
public:
    static constexpr unsigned kAllBits = (1u << 6) - 1;

    constexpr SearchOptions() = default;
    constexpr SearchOptions(SearchOption option)
        : m_bits(static_cast<unsigned>(option))
    {
    }
    static constexpr SearchOptions fromBits(unsigned bits)
    {
        SearchOptions options;
        options.m_bits = bits & kAllBits;
        return options;
    }

    constexpr bool has(SearchOption option) const { return (m_bits & static_cast<unsigned>(option)) != 0; }
    constexpr SearchOptions with(SearchOption option, bool on = true) const
    {
        return fromBits(
            on ? (m_bits | static_cast<unsigned>(option)) : (m_bits & ~static_cast<unsigned>(option)));
    }
    constexpr unsigned bits() const { return m_bits; }

    friend constexpr SearchOptions operator|(SearchOptions a, SearchOptions b)
    {
        return fromBits(a.m_bits | b.m_bits);
    }
    friend constexpr bool operator==(SearchOptions, SearchOptions) = default;

private:
    unsigned m_bits = 0;
};

constexpr SearchOptions operator|(SearchOption a, SearchOption b)
{
    return SearchOptions(a) | SearchOptions(b);
}

} // namespace notarium
