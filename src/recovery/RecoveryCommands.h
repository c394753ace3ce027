#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/document/DocumentObserver.h"
#include "core/io/RecoveryStore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QThread;

namespace notarium {

class DataFileStepWriter;
class FileCommands;

// The recovery copy of the window's unsaved document, and the offer of copies that earlier
// sessions left when they ended without saving.
//
// While the document is modified, a copy in the data file format is written every AutoSaveMinutes
// minutes into the recovery folder; the document's own file is never touched. The copy is made
// between keystrokes: the pages are put together in slices of a few milliseconds on this thread,
// and a worker thread writes the finished bytes to disk, so typing never waits for the disk. A
// change of the document during the slices starts the copy again a moment later. Saving, closing
// without saving and leaving the program remove the copy; a crash leaves it for the next start.
class RecoveryCommands : public QObject, public CommandSet, private NullDocumentObserver {
    Q_OBJECT

public:
    RecoveryCommands(const WindowContext& context, FileCommands& files, QObject* parent = nullptr);
    ~RecoveryCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;
    void windowClosing() override;

    // Start-up: offers the copies that sessions which are gone left behind, one at a time, newest
    // first; with a file named on the command line only that file's. True when one was opened
    // (the caller then opens nothing else).
    bool offerAtStart(const QString& requestedPath, bool readOnly);

    // Makes the copy now, as the timer does when it is due (nothing when the document is not
    // modified). copyWritten tells when it is on disk.
    void writeCopyNow();
    bool isCopying() const { return m_steps != nullptr || m_worker != nullptr; }
    // The copy the window holds ("" when none).
    QString copyPath() const;
    // The longest slice of the last copy on this thread, and the whole copy until it was on disk
    // (milliseconds; for the benchmark).
    qint64 longestSliceMs() const { return m_longestSlice; }
    qint64 lastCopyMs() const { return m_lastCopyMs; }

    // The question at start-up for a copy of documentPath ("" for an untitled document).
    static QString questionText(const QString& documentPath, const QString& writtenAt);

signals:
    void copyWritten(bool ok);

private:
    void tick();
    void step();
    void abandonPass();
    void writeFinished();
    void discardCopy();
    void reportFailure(const QString& reason);
    std::string documentPath() const;

    // DocumentObserver: any change while the slices run starts the copy again.
    void nodesAboutToBeInserted(Node*, int, int) override { abandonPass(); }
    void nodesAboutToBeRemoved(Node*, int, int) override { abandonPass(); }
    void nodeAboutToBeMoved(Node*, Node*, int) override { abandonPass(); }
    void nodeChanged(Node*, NodeChange) override { abandonPass(); }
    void expansionReset() override { abandonPass(); }
    void documentAboutToBeReset() override { abandonPass(); }
    void modifiedChanged(bool modified) override;

    WindowContext m_context;
    FileCommands& m_files;
    std::string m_folder;
    QTimer m_tick;
    QTimer m_retry;
    QElapsedTimer m_sinceCopy;
    QElapsedTimer m_passClock;
    RecoveryCopy m_copy;
    std::unique_ptr<DataFileStepWriter> m_steps;
    std::vector<std::string> m_pieces;
    // The worker that writes the finished bytes, and what it found.
    QThread* m_worker = nullptr;
    bool m_workerOk = false;
    std::string m_workerError;
    bool m_discardWhenWritten = false;
    bool m_failureTold = false;
    qint64 m_longestSlice = 0;
    qint64 m_lastCopyMs = 0;
};

} // namespace notarium
