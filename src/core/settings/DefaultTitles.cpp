#include "core/settings/DefaultTitles.h"

#include "core/text/CommaText.h"

namespace notarium {

DefaultTitles::DefaultTitles()
    : DefaultTitles(kBuiltIn)
{
}

DefaultTitles::DefaultTitles(std::string_view commaText)
    : m_items(fromCommaText(commaText))
{
}

DefaultTitles::DefaultTitles(std::string category, std::string memo, std::string result)
    : m_items { std::move(category), std::move(memo), std::move(result) }
{
}

std::string DefaultTitles::titleFor(int kind) const
{
    if (kind < 1 || kind > 3)
        return {};
    const auto index = static_cast<std::size_t>(kind - 1);
    if (index < m_items.size())
        return m_items[index];
    return fromCommaText(kBuiltIn)[index];
}

std::string DefaultTitles::commaText() const
{
    return toCommaText(m_items);
}

} // namespace notarium
