#include "editor/TWordWrapOption.h"

namespace notarium {

namespace {

constexpr unsigned kModeBits = TWordWrapOption::kLevel1 | TWordWrapOption::kLevel2 | TWordWrapOption::kCustom;
constexpr unsigned kSwitchBits
    = TWordWrapOption::kWordWrap | TWordWrapOption::kWordBreak | TWordWrapOption::kOverFlow;

} // namespace

// Level 1 keeps closing brackets and sentence punctuation off the start of a line and opening
// brackets off its end; level 2 adds small kana, the prolonged sound mark, iteration marks and
// unit signs. Both let the full stop and the comma hang.
const std::array<QString, 4>& TWordWrapOption::level1Strings()
{
    static const std::array<QString, 4> strings
        = { QStringLiteral("!%),.:;?]}¢°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ"),
              QStringLiteral("$([\\{£¥‘“〈《「『【〔＄（［｛｢￥"), QStringLiteral("、。，．,.｡､"),
              QStringLiteral(" \t　,.;:!?、。，．") };
    return strings;
}

const std::array<QString, 4>& TWordWrapOption::level2Strings()
{
    static const std::array<QString, 4> strings
        = { QStringLiteral("!%),.:;?]}"
                           "¢°’”‰′″℃、。々〉》」』】〕ぁぃぅぇぉっゃゅょゎ゛゜ゝゞァィゥェォッャュョヮヵヶ・"
                           "ーヽヾ！％），．：；？］｝｡｣､･ｧｨｩｪｫｬｭｮｯｰﾞﾟ"),
              QStringLiteral("$([\\{£¥‘“〈《「『【〔＄（［｛｢￡￥"), QStringLiteral("、。，．,.｡､"),
              QStringLiteral(" \t　,.;:!?、。，．") };
    return strings;
}

TWordWrapOption::TWordWrapOption()
    : m_level1(level1Strings())
    , m_level2(level2Strings())
{
}

QString TWordWrapOption::active(Index index) const
{
    switch (PunctuationMode()) {
    case TPunctuationMode::wbfLevel1:
        return m_level1[index];
    case TPunctuationMode::wbfLevel2:
        return m_level2[index];
    case TPunctuationMode::wbfCustom:
        break;
    }
    return m_custom[index];
}

TPunctuationMode TWordWrapOption::PunctuationMode() const
{
    if (m_flags & kLevel1)
        return TPunctuationMode::wbfLevel1;
    if (m_flags & kLevel2)
        return TPunctuationMode::wbfLevel2;
    return TPunctuationMode::wbfCustom;
}

void TWordWrapOption::setPunctuationMode(TPunctuationMode mode)
{
    const unsigned bits = mode == TPunctuationMode::wbfLevel1 ? kLevel1
        : mode == TPunctuationMode::wbfLevel2                 ? kLevel2
                                                              : kCustom;
    setFlags((m_flags & ~kModeBits) | bits);
}

void TWordWrapOption::setWordWrapMode(int modes)
{
    unsigned flags = m_flags;
    if (flags == 0)
        flags = kCustom;
    flags = (flags & ~kSwitchBits) | ((static_cast<unsigned>(modes) & 7u) << 4);
    setFlags(flags);
}

void TWordWrapOption::setCustom(Index index, const QString& value)
{
    setPunctuationMode(TPunctuationMode::wbfCustom);
    if (value == m_custom[index])
        return;
    const bool refused
        = value.contains(u'\n') || value.contains(u'\r') || value.contains(QChar::ParagraphSeparator);
    m_custom[index] = refused ? QString() : value;
    changed();
}

void TWordWrapOption::setFlags(unsigned flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    changed();
}

void TWordWrapOption::assign(const TWordWrapOption& other)
{
    m_custom = other.m_custom;
    m_level1 = other.m_level1;
    m_level2 = other.m_level2;
    m_flags = other.m_flags;
    changed();
}

LineBreakRules TWordWrapOption::rules() const
{
    LineBreakRules rules;
    rules.notBegin = pcFollowing();
    rules.notEnd = pcLeading();
    rules.hang = pcOverFlow();
    rules.delimiters = pcDelimiter();
    rules.kinsoku = (m_flags & kWordWrap) != 0;
    rules.wordBreak = (m_flags & kWordBreak) != 0;
    rules.hanging = (m_flags & kOverFlow) != 0;
    return rules;
}

void TWordWrapOption::changed()
{
    if (m_onChange)
        m_onChange();
}

} // namespace notarium
