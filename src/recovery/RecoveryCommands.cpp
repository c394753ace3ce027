#include "recovery/RecoveryCommands.h"

#include "app/FileCommands.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "memo/MemoBinding.h"
#include "platform/LocalPath.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

namespace notarium {

namespace {

// How often the window looks whether a copy is due.
constexpr int kTickMs = 10 * 1000;
// A slice of the copy on the window's thread: well inside one frame of typing.
constexpr qint64 kSliceMs = 6;
constexpr std::size_t kSliceBytes = 256 * 1024;
// After a change cut a copy short, or while a dialog is open.
constexpr int kRetryMs = 1000;

} // namespace

RecoveryCommands::RecoveryCommands(const WindowContext& context, FileCommands& files, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_files(files)
    , m_folder(localPath(context.recoveryFolder))
{
    m_context.document.addObserver(this);
    m_sinceCopy.start();
    m_retry.setSingleShot(true);
    QObject::connect(&m_retry, &QTimer::timeout, this, &RecoveryCommands::writeCopyNow);
    QObject::connect(&m_tick, &QTimer::timeout, this, &RecoveryCommands::tick);
    if (!m_folder.empty())
        m_tick.start(kTickMs);
}

RecoveryCommands::~RecoveryCommands()
{
    m_context.document.removeObserver(this);
    // Leaving the program normally takes the copy with it; a crash never gets here.
    if (m_worker != nullptr) {
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    m_copy.discard();
}

void RecoveryCommands::connect(ActionRegistry&) { }

void RecoveryCommands::updateActions(const ActionState&) { }

void RecoveryCommands::windowClosing()
{
    // The window closes with the person's answer to the changes (saved or thrown away).
    m_tick.stop();
    m_retry.stop();
    m_steps.reset();
    discardCopy();
}

QString RecoveryCommands::copyPath() const
{
    return m_copy.isClaimed() ? fromLocalPath(m_copy.copyPath()) : QString();
}

std::string RecoveryCommands::documentPath() const
{
    // The window keeps its document's path absolute.
    return m_files.isUntitled() ? std::string() : localPath(m_files.currentPath());
}

void RecoveryCommands::tick()
{
    const int minutes = m_context.settings.get(key::AutoSaveMinutes);
    if (minutes <= 0 || m_sinceCopy.elapsed() < qint64(minutes) * 60 * 1000)
        return;
    writeCopyNow();
}

void RecoveryCommands::writeCopyNow()
{
    if (m_folder.empty() || isCopying())
        return;
    // A dialog may be in the middle of a command: the copy waits until it is closed.
    if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
        m_retry.start(kRetryMs);
        return;
    }
    Document& doc = m_context.document;
    m_context.memo.store();
    if (!doc.isModified() || doc.isReadOnly())
        return;
    m_passClock.start();
    m_longestSlice = 0;
    // The first piece is kept for the lines that open the file, known once every page is in.
    m_pieces.assign(1, std::string());
    m_steps = std::make_unique<DataFileStepWriter>(doc, m_context.memo.node());
    step();
}

void RecoveryCommands::step()
{
    if (m_steps == nullptr)
        return;
    QElapsedTimer slice;
    slice.start();
    bool done = false;
    // Pieces of their own: one string of tens of megabytes would be copied each time it grows.
    do {
        m_pieces.emplace_back().reserve(kSliceBytes + kSliceBytes / 4);
        done = m_steps->writeSome(m_pieces.back(), kSliceBytes);
    } while (!done && slice.elapsed() < kSliceMs);
    m_longestSlice = std::max(m_longestSlice, slice.elapsed());
    if (!done) {
        // The events that came meanwhile (keys above all) go first.
        QTimer::singleShot(0, this, &RecoveryCommands::step);
        return;
    }
    m_pieces.front() = m_steps->header();
    m_steps.reset();

    const std::string path = documentPath();
    if (m_copy.isClaimed() && m_copy.documentPath() != path)
        m_copy.discard();
    if (!m_copy.isClaimed()) {
        std::string error;
        m_copy = RecoveryCopy::claim(m_folder, path, static_cast<int>(QCoreApplication::applicationPid()), &error);
        if (!m_copy.isClaimed()) {
            m_pieces.clear();
            m_sinceCopy.restart();
            reportFailure(QString::fromStdString(error));
            emit copyWritten(false);
            return;
        }
    }
    // The worker has the bytes and the copy to itself until it finishes: this thread neither
    // moves nor lets go of the copy meanwhile (a discard waits for writeFinished).
    m_worker = QThread::create([this, pieces = std::move(m_pieces)] {
        std::string error;
        m_workerOk = m_copy.write(pieces, &error);
        m_workerError = std::move(error);
    });
    m_pieces.clear();
    QObject::connect(m_worker, &QThread::finished, this, &RecoveryCommands::writeFinished);
    m_worker->start();
}

void RecoveryCommands::abandonPass()
{
    if (m_steps == nullptr)
        return;
    m_steps.reset();
    m_pieces.clear();
    m_retry.start(kRetryMs);
}

void RecoveryCommands::writeFinished()
{
    if (m_worker == nullptr)
        return;
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_lastCopyMs = m_passClock.elapsed();
    m_sinceCopy.restart();
    if (m_discardWhenWritten) {
        m_discardWhenWritten = false;
        m_copy.discard();
        emit copyWritten(false);
        return;
    }
    if (m_workerOk) {
        m_failureTold = false;
    } else {
        reportFailure(QString::fromStdString(m_workerError));
        // A half-made copy is never left: the writer removed its temporary file.
    }
    emit copyWritten(m_workerOk);
}

void RecoveryCommands::discardCopy()
{
    m_steps.reset();
    m_pieces.clear();
    if (m_worker != nullptr) {
        m_discardWhenWritten = true;
        return;
    }
    m_copy.discard();
}

void RecoveryCommands::modifiedChanged(bool modified)
{
    if (modified)
        return;
    // Saved, or replaced by another document after the person declined to save: nothing is
    // left to recover, and the next copy is due a whole interval from now.
    discardCopy();
    m_sinceCopy.restart();
}

void RecoveryCommands::reportFailure(const QString& reason)
{
    // Once until a copy succeeds again: the question would otherwise come back at every interval.
    if (m_failureTold)
        return;
    m_failureTold = true;
    m_context.prompt().tell(m_context.window,
        QStringLiteral("復元用のコピーを保存できませんでした。") + QStringLiteral("\r\n")
            + QStringLiteral("このままでは、異常終了したときに未保存の変更が失われます。文書を保存してください。")
            + QStringLiteral("\r\n")
            + QStringLiteral("（次に保存できるまで、このお知らせは表示しません。）") + QStringLiteral("\r\n\r\n(")
            + reason + QStringLiteral(")"),
        QStringLiteral("ファイル I/O エラー"), MessageIcon::Warning);
}

QString RecoveryCommands::questionText(const QString& documentPath, const QString& writtenAt)
{
    const QString which = documentPath.isEmpty() ? QStringLiteral("文書: Untitled (名前を付けていない文書)")
                                                 : QStringLiteral("文書: ") + documentPath;
    return QStringLiteral("前回の終了時に保存されていない変更があります。復元しますか？") + QStringLiteral("\r\n\r\n")
        + which + QStringLiteral("\r\n") + QStringLiteral("復元用のコピー: ") + writtenAt;
}

bool RecoveryCommands::offerAtStart(const QString& requestedPath, bool readOnly)
{
    // A document opened only to be read is not the place for unsaved changes.
    if (m_folder.empty() || readOnly)
        return false;
    const std::string wanted = requestedPath.isEmpty() ? std::string()
                                                       : localPath(QFileInfo(requestedPath).absoluteFilePath());
    // Every copy found is held until this start is done with it, so that a window starting at the
    // same moment never offers it too.
    std::vector<RecoveryCopy> left = abandonedRecoveryCopies(m_folder);
    for (RecoveryCopy& copy : left) {
        if (!wanted.empty() && copy.documentPath() != wanted)
            continue;
        const QString document = fromLocalPath(copy.documentPath());
        const QString written = QDateTime::fromSecsSinceEpoch(copy.writtenAt()).toString(QStringLiteral("yyyy/MM/dd hh:mm"));
        const PromptAnswer answer = m_context.prompt().ask(m_context.window, questionText(document, written),
            QStringLiteral("復元の確認"), MessageIcon::Question, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel)
            return false; // kept, to be offered at a later start
        if (answer == PromptAnswer::No) {
            copy.discard();
            continue;
        }
        if (!m_files.openRecovered(fromLocalPath(copy.copyPath()), document))
            return false; // the copy stays where it is; the message named the reason
        // The copy goes on as this window's own, until the document is saved.
        m_copy = std::move(copy);
        m_sinceCopy.restart();
        return true;
    }
    return false;
}

} // namespace notarium
