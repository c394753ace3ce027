#pragma once

#include "core/document/CharacterCount.h"

#include <QDialog>

class QLabel;

namespace notarium {

// The small window that shows the three character counts.
class TCountResult : public QDialog {
    Q_OBJECT

public:
    TCountResult(const CharacterCounts& counts, QWidget* mainWindow);

    // A count as the window shows it: no decimals, the locale's thousands separators,
    // right-aligned in ten places.
    static QString formatCount(std::int64_t count, const QLocale& locale);
};

} // namespace notarium
