#include "editor/TEditArea.h"

namespace notarium {

TEditArea::TEditArea()
{
    m_margin.setOnChange([this] { changed(); });
}

void TEditArea::setEnabled(bool enabled)
{
    const bool was = m_enabled;
    m_enabled = enabled;
    // Switching off re-applies too, so that the memo wraps at the window width again at once.
    if (was != enabled)
        changed();
}

void TEditArea::setWidth(int width)
{
    if (width < 0 || width == m_width)
        return;
    m_width = width;
    changed();
}

void TEditArea::setOverFlow(int overFlow)
{
    if (overFlow < 0 || overFlow == m_overFlow)
        return;
    m_overFlow = overFlow;
    changed();
}

void TEditArea::assign(const TEditArea& other)
{
    m_assigning = true;
    m_margin.assign(other.m_margin);
    m_width = other.m_width;
    m_overFlow = other.m_overFlow;
    m_assigning = false;
    changed();
}

void TEditArea::setOnChange(std::function<void()> onChange)
{
    m_onChange = std::move(onChange);
}

void TEditArea::changed()
{
    if (m_assigning)
        return;
    ++m_applyCount;
    if (m_onChange)
        m_onChange();
}

} // namespace notarium
