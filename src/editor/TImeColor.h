#pragma once

#include <QColor>
#include <QTextCharFormat>

namespace notarium {

// Font style bits as the settings file writes them.
enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// One colour state of an input method composition.
class TImeColor {
public:
    QColor icText() const { return m_text; }
    QColor icBackground() const { return m_background; }
    int Style() const { return m_style; }
    void setIcText(const QColor& color) { m_text = color; }
    void setIcBackground(const QColor& color) { m_background = color; }
    void setStyle(int style) { m_style = style & (fsBold | fsItalic | fsUnderline | fsStrikeOut); }

    bool operator==(const TImeColor& other) const = default;

    QTextCharFormat charFormat() const
    {
        QTextCharFormat format;
        format.setForeground(m_text);
        format.setBackground(m_background);
        if (m_style & fsBold)
            format.setFontWeight(QFont::Bold);
        if (m_style & fsItalic)
            format.setFontItalic(true);
        if (m_style & fsUnderline)
            format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        if (m_style & fsStrikeOut)
            format.setFontStrikeOut(true);
        return format;
    }

private:
    QColor m_text = QColor(0, 0, 0);
    QColor m_background = QColor(0, 0, 0);
    int m_style = 0;
};

} // namespace notarium
