#pragma once

#include "editor/TEditMargin.h"

#include <functional>

namespace notarium {

// The formatting rectangle of the memo: text wraps Width pixels right of Margin.Left, and
// characters that may hang use OverFlow pixels more. Every change calls the owner to re-apply.
class TEditArea {
public:
    TEditArea();
    TEditArea(const TEditArea&) = delete;
    TEditArea& operator=(const TEditArea&) = delete;

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    TEditMargin& Margin() { return m_margin; }
    const TEditMargin& Margin() const { return m_margin; }
    int Width() const { return m_width; }
    void setWidth(int width);
    int OverFlow() const { return m_overFlow; }
    void setOverFlow(int overFlow);

    // Copies margins, Width and OverFlow, not Enabled, then re-applies once.
    void assign(const TEditArea& other);

    void setOnChange(std::function<void()> onChange);
    // How often the owner was asked to re-apply (tests check that ignored values do not).
    int applyCount() const { return m_applyCount; }

private:
    void changed();

    bool m_enabled = false;
    TEditMargin m_margin;
    int m_width = 0;
    int m_overFlow = 0;
    int m_applyCount = 0;
    bool m_assigning = false;
    std::function<void()> m_onChange;
};

} // namespace notarium
