#pragma once

#include "app/RecentFiles.h"
#include "app/Services.h"
#include "platform/FileLock.h"

#include <QFont>
#include <QObject>
#include <QString>

namespace notarium {

class Document;
class Node;
class Settings;

// What the file commands need of the window that shows the document.
class FileCommandsHost {
public:
    virtual ~FileCommandsHost() = default;
    virtual QWidget* dialogParent() = 0;
    // Stores the memo pane's text and view state into the selected node (as before a selection
    // change) and clears the memo pane's modified mark.
    virtual void storeMemo() = 0;
    // The document was replaced (opened, new, closed): show it and select node.
    virtual void showDocument(Node* select) = 0;
    // Undoes a maximised pane before the document changes.
    virtual void restorePanes() = 0;
    // Reading and writing report their progress (done out of total); total 0 ends it.
    virtual void showProgress(quint64 done, quint64 total) = 0;
    // The absolute index of the selected node, written as the current node.
    virtual int selectedIndex() = 0;
};

// The life of the open document: new, open, reopen, save, save as, close, dropped files, the
// lock that tells other windows the file is in use, the caption and the recent files.
class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(Document& document, Settings& settings, const Services& services, FileCommandsHost& host,
        QObject* parent = nullptr);
    ~FileCommands() override;

    QString currentPath() const { return m_path; }
    bool isUntitled() const;
    RecentFiles& recentFiles() { return m_recent; }
    // The window caption ("<path> - Notarium").
    QString caption() const { return m_caption; }
    const FileLock& lock() const { return m_lock; }

    // The commands. shift: Shift was held when the command was given.
    void newDocument(bool shift);
    void open(bool shift);
    void openInOtherWindow();
    void reopen(const QString& path, bool shift);
    bool save();
    bool saveAs();
    bool closeDocument();
    void dropFile(const QString& path);

    // Start-up: the document named on the command line (after the checks of the caller).
    bool openDocument(const QString& path, bool readOnly);
    void resetToUntitled();
    // Asks to save when the document has changes; false when the person cancelled.
    bool saveIfNeeded();

    // Messages built from a path.
    static QString fileMissingText(const QString& path);
    static QString inUseText(const QString& path);
    static QString saveChangesText(const QString& path);

    // The program itself, as started for another window.
    void setProgramPath(const QString& program) { m_program = program; }
    void setCaptionFont(const QFont& font);

signals:
    void captionChanged(const QString& caption);
    void recentFilesChanged();
    void documentStateChanged();

private:
    enum class OpenChoice { Normal, ReadOnly, Cancel };
    // The read-only question for a file that another window (or this one) holds.
    OpenChoice askOpenReadOnly(const QString& path);
    bool checkFileExists(const QString& path);
    bool writeTo(const QString& path);
    void setDocumentName(const QString& path);
    QString askSavePath();
    QString defaultFolder() const;
    void unlock();

    Document& m_doc;
    Settings& m_settings;
    Services m_services;
    FileCommandsHost& m_host;
    FileLock m_lock;
    RecentFiles m_recent;
    QString m_path;
    QString m_caption;
    QString m_program;
    QString m_dialogFolder;
    QFont m_captionFont;
};

} // namespace notarium
