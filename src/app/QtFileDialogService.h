#pragma once

#include "app/Services.h"

namespace notarium {

// The open and save dialogs, shown with Qt.
class QtFileDialogService : public FileDialogService {
public:
    QString openFileName(
        QWidget* parent, const QString& title, const QString& folder, const QString& filter,
        bool* readOnly = nullptr) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
        const QString& filter, const QString& defaultSuffix) override;
    QString folderName(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, QList<QColor>& customColours) override;

    // The program writes its filters as pairs "description|pattern|description|pattern" (patterns
    // separated by ";"); Qt wants "description (patterns);;…". A filter already in Qt's form passes
    // through.
    static QString qtFilter(const QString& filter);
};

} // namespace notarium
