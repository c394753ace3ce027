#pragma once

#include "core/settings/SettingValues.h"

#include <QFont>
#include <QString>

namespace notarium {

// A font as the settings keep it: a face name (Windows names are mapped by the program's font
// substitutions when painted), a size in points (none given: 9) and the FontStyle bits.
inline QFont fontFromSettings(const QString& name, int pointSize, int style)
{
    QFont font(name);
    font.setPointSize(pointSize > 0 ? pointSize : 9);
    font.setBold(style & FontBold);
    font.setItalic(style & FontItalic);
    font.setUnderline(style & FontUnderline);
    font.setStrikeOut(style & FontStrikeOut);
    return font;
}

inline int fontStyleOf(const QFont& font)
{
    return (font.bold() ? FontBold : 0) | (font.italic() ? FontItalic : 0) | (font.underline() ? FontUnderline : 0)
        | (font.strikeOut() ? FontStrikeOut : 0);
}

} // namespace notarium
