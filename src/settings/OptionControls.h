#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>

namespace notarium::option_controls {

// Controls of the options pages, named as the settings code finds them.
inline QCheckBox* check(const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

inline QSpinBox* spin(const char* name, int minimum, int maximum, int step, int digits)
{
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    // As wide as the digits it takes, and a little for the arrows.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QString(digits + 1, QLatin1Char('0'))) + 36);
    return box;
}

inline QLineEdit* edit(const char* name)
{
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

inline QPushButton* button(const char* name, const QString& caption)
{
    auto* pushButton = new QPushButton(caption);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

// A label that focuses buddy on its accelerator.
inline QLabel* label(const QString& caption, QWidget* buddy)
{
    auto* text = new QLabel(caption);
    text->setBuddy(buddy);
    return text;
}

} // namespace notarium::option_controls
