#pragma once

#include "app/Services.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace notarium {

// Stands in for the open and save dialogs in tests: returns scripted paths and keeps what each
// dialog was shown with. With its script used up a dialog is cancelled (empty path).
class ScriptedFileDialogService : public FileDialogService {
public:
    struct Request {
        bool save = false;
        QString title;
        QString folder; // the open dialog's folder, or the save dialog's initial path
        QString filter;
        QString defaultSuffix;
        bool readOnlyBoxShown = false;
    };

    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
        bool* readOnly = nullptr) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
        const QString& filter, const QString& defaultSuffix) override;
    // The folder, font and colour dialogs are recorded as requests too (title = the caption or
    // "font" / "colour"; folder = the folder shown) and answered from their own scripts.
    QString folderName(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, QList<QColor>& customColours) override;
    void scriptFolder(const QString& folder) { m_folders.enqueue(folder); }
    void scriptFont(const FontChoice& font) { m_fonts.enqueue(font); }
    void scriptColour(const QColor& colour) { m_colours.enqueue(colour); }
    // What the last font and colour dialogs were preset with.
    FontChoice lastFont;
    QColor lastColour;
    QList<QColor> lastCustomColours;

    // The next open dialog returns path, with its read-only box ticked when readOnly is set.
    void scriptOpen(const QString& path, bool readOnly = false)
    {
        m_openPaths.enqueue(path);
        m_openReadOnly.enqueue(readOnly);
    }
    void scriptSave(const QString& path) { m_savePaths.enqueue(path); }

    const QList<Request>& requests() const { return m_requests; }
    int count() const { return static_cast<int>(m_requests.size()); }
    const Request& last() const { return m_requests.constLast(); }
    void clear() { m_requests.clear(); }

    // Runs while each dialog is "shown", so a test can look at the window or act meanwhile.
    std::function<void()> whileShown;

private:
    QQueue<QString> m_openPaths;
    QQueue<bool> m_openReadOnly;
    QQueue<QString> m_savePaths;
    QQueue<QString> m_folders;
    QQueue<FontChoice> m_fonts;
    QQueue<QColor> m_colours;
    QList<Request> m_requests;
};

} // namespace notarium
