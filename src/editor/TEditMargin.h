#pragma once

#include <functional>

namespace notarium {

// The margins of the edit area in pixels. A negative value or the current value is ignored;
// anything else is stored and the owner re-applies its edit area.
class TEditMargin {
public:
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Bottom() const { return m_bottom; }
    void setLeft(int value) { set(m_left, value); }
    void setTop(int value) { set(m_top, value); }
    void setBottom(int value) { set(m_bottom, value); }

    void assign(const TEditMargin& other)
    {
        m_left = other.m_left;
        m_top = other.m_top;
        m_bottom = other.m_bottom;
        changed();
    }

    // Stores without re-applying: for the owner's own corrections.
    void storeLeft(int value) { m_left = value; }
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void set(int& field, int value)
    {
        if (value < 0 || value == field)
            return;
        field = value;
        changed();
    }
    void changed()
    {
        if (m_onChange)
            m_onChange();
    }

    int m_left = 0;
    int m_top = 0;
    int m_bottom = 0;
    std::function<void()> m_onChange;
};

} // namespace notarium
