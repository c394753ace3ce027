#pragma once

#include "app/CommandSet.h"
#include "app/RecentFiles.h"
#include "app/WindowContext.h"
#include "core/datafile/DataFile.h"
#include "platform/FileLock.h"

#include <QFont>
#include <QObject>
#include <QString>

namespace notarium {

class MenuBuilder;
class Node;

// The life of the open document: new, open, reopen, save, save as, close, exit, dropped files,
// the lock that tells other windows the file is in use, the caption and the recent files.
class FileCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    FileCommands(const WindowContext& context, const MenuBuilder& menus, QObject* parent = nullptr);
    ~FileCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    QString currentPath() const { return m_path; }
    bool isUntitled() const;
    const RecentFiles& recentFiles() const { return m_recent; }
    void setRecentFiles(const QStringList& paths);
    // The window caption ("<path> - Notarium").
    QString caption() const { return m_caption; }
    const FileLock& lock() const { return m_lock; }
    // Where the open and save dialogs start: the folder last opened from, else DefaultFolder.
    QString defaultFolder() const;

    // The commands. shift: Shift was held when the command was given.
    void newDocument(bool shift);
    void open(bool shift);
    void openInOtherWindow();
    void reopen(const QString& path, bool shift);
    bool save();
    bool saveAs();
    bool closeDocument();
    void dropFile(const QString& path);

    // Start-up: the file named on the command line. False when the person declined to open a
    // file that is in use; the start is then cancelled.
    bool openFromCommandLine(const QString& path, bool readOnly);
    // Reads the file into the window (after the checks of the caller).
    bool openDocument(const QString& path, bool readOnly);
    // Reads a recovery copy into the window as the document at documentPath ("" for an untitled
    // one) with its changes unsaved. False, with the reader's message shown, when the copy cannot
    // be read.
    bool openRecovered(const QString& copyPath, const QString& documentPath);
    void resetToUntitled();
    // Asks to save when the document has changes; false when the person cancelled.
    bool saveIfNeeded();

    // Messages built from a path.
    static QString fileMissingText(const QString& path);
    static QString inUseText(const QString& path);
    static QString saveChangesText(const QString& path);
    static QString lockLostText(const QString& path, bool modified);

    // The program itself, as started for another window.
    void setProgramPath(const QString& program) { m_program = program; }
    void setCaptionFont(const QFont& font);

    // Files from this size on are read on another thread (a smaller one takes a few milliseconds).
    static constexpr qint64 kReadOffThreadFrom = 1 << 20;

signals:
    void captionChanged(const QString& caption);
    // Another document is shown (opened, new, closed).
    void documentReplaced();

private:
    enum class OpenChoice { Normal, ReadOnly, Cancel };
    // The read-only question for a file that another window (or this one) holds.
    OpenChoice askOpenReadOnly(const QString& path);
    bool checkFileExists(const QString& path);
    // Replaces the document with the file's (an empty one when it cannot be read) and applies
    // the open rules (tree state, current node); backup: the backup copy is made when the
    // settings ask for it. A file of kReadOffThreadFrom bytes or more is read on another thread.
    ReadResult readIntoDocument(const QString& path, bool backup);
    struct OpenRules {
        bool treeState = false;
        bool currentNode = false;
        bool expandAll = false;
    };
    // Applies the open rules to doc, read with result (or replaced by an empty document when the
    // read failed), and gives the node to select. Touches nothing but doc: it runs on the
    // reader's thread for a large file.
    static Node* prepareOpened(Document& doc, const ReadResult& result, const OpenRules& rules);
    // Shows the document read, unmodified, with the node the open rules chose.
    void showOpened();
    bool writeTo(const QString& path);
    void setDocumentTitle(const QString& path);
    void setDocumentName(const QString& path);
    QString askSavePath();
    // Takes the hold on the open file again after the open dialog let go of it.
    void holdAgain();
    // Another window took the file while this one did not hold it.
    void lockLost(const QString& path);
    void rebuildReopenMenu();
    QWidget* parentWidget() const { return m_context.window; }

    WindowContext m_context;
    Document& m_doc;
    const Settings& m_settings;
    const MenuBuilder& m_menus;
    ActionRegistry* m_actions = nullptr;
    FileLock m_lock;
    RecentFiles m_recent;
    QString m_path;
    QString m_caption;
    QString m_program;
    QString m_dialogFolder;
    QFont m_captionFont;
    // The node the open rules chose, between the read and showing the document.
    Node* m_openedSelect = nullptr;
    // A large file is being read on the worker thread while the window's loop runs.
    bool m_reading = false;
};

} // namespace notarium
