#pragma once

#include "editor/LineBreakRules.h"

#include <QString>
#include <array>
#include <functional>

namespace notarium {

enum class TPunctuationMode { wbfCustom, wbfLevel1, wbfLevel2 };

// TWordWrapModes is a set of these bits.
enum TWordWrapMode : int { wbfWordWrap = 1, wbfWordBreak = 2, wbfOverFlow = 4 };

// The line-breaking rules of a memo: three sets of four strings (custom, level 1, level 2), the
// punctuation mode that picks one set, and the word-wrap switches, kept as one flag word.
class TWordWrapOption {
public:
    // Bits of the flag word.
    static constexpr unsigned kWordWrap = 0x010;
    static constexpr unsigned kWordBreak = 0x020;
    static constexpr unsigned kOverFlow = 0x040;
    static constexpr unsigned kLevel1 = 0x080;
    static constexpr unsigned kLevel2 = 0x100;
    static constexpr unsigned kCustom = 0x200;

    // Index of each string in a set, as the settings and the rules use it.
    enum Index { Following = 0, Leading = 1, OverFlowChars = 2, Delimiter = 3 };

    TWordWrapOption();
    TWordWrapOption(const TWordWrapOption&) = delete;
    TWordWrapOption& operator=(const TWordWrapOption&) = delete;

    // The string of the set PunctuationMode selects.
    QString pcFollowing() const { return active(Following); }
    QString pcLeading() const { return active(Leading); }
    QString pcOverFlow() const { return active(OverFlowChars); }
    QString pcDelimiter() const { return active(Delimiter); }
    // Writing one switches to the custom set (even when the string is unchanged) and stores it
    // there. A string holding a line break is refused: the custom string becomes empty.
    void setPcFollowing(const QString& value) { setCustom(Following, value); }
    void setPcLeading(const QString& value) { setCustom(Leading, value); }
    void setPcOverFlow(const QString& value) { setCustom(OverFlowChars, value); }
    void setPcDelimiter(const QString& value) { setCustom(Delimiter, value); }
    QString customString(Index index) const { return m_custom[index]; }

    TPunctuationMode PunctuationMode() const;
    void setPunctuationMode(TPunctuationMode mode);
    // A set of TWordWrapMode bits.
    int WordWrapMode() const { return static_cast<int>((m_flags >> 4) & 7); }
    void setWordWrapMode(int modes);
    unsigned flagWord() const { return m_flags; }

    void assign(const TWordWrapOption& other);

    // The rules in force: wbfWordWrap applies the not-begin and not-end sets, wbfWordBreak keeps
    // Latin words whole, wbfOverFlow lets the overflow set hang. With none of the three the memo
    // breaks lines by the toolkit's own rules alone (see LineBreakRules::enabled).
    LineBreakRules rules() const;

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    // The two fixed sets this program supplies.
    static const std::array<QString, 4>& level1Strings();
    static const std::array<QString, 4>& level2Strings();

private:
    QString active(Index index) const;
    void setCustom(Index index, const QString& value);
    void setFlags(unsigned flags);
    void changed();

    std::array<QString, 4> m_custom;
    std::array<QString, 4> m_level1;
    std::array<QString, 4> m_level2;
    unsigned m_flags = 0;
    std::function<void()> m_onChange;
};

} // namespace notarium
