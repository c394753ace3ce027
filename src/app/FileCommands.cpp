#include "app/FileCommands.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "platform/FileAttributes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>

namespace notarium {

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kFilter = QStringLiteral("Notarium File (*.nmd)");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

FileCommands::FileCommands(
    Document& document, Settings& settings, const Services& services, FileCommandsHost& host, QObject* parent)
    : QObject(parent)
    , m_doc(document)
    , m_settings(settings)
    , m_services(services)
    , m_host(host)
    , m_path(kUntitled)
{
    m_program = QCoreApplication::applicationFilePath();
}

FileCommands::~FileCommands() = default;

bool FileCommands::isUntitled() const
{
    return m_path == kUntitled;
}

void FileCommands::setCaptionFont(const QFont& font)
{
    m_captionFont = font;
    setDocumentName(m_path);
}

QString FileCommands::fileMissingText(const QString& path)
{
    return QStringLiteral("指定されたファイル ") + path + QStringLiteral(" を開けませんでした。")
        + QStringLiteral("\r\n") + QStringLiteral("ファイルが存在しないか、ファイル名が無効です。");
}

QString FileCommands::inUseText(const QString& path)
{
    return QStringLiteral("ファイル ") + path + QStringLiteral(" は") + QStringLiteral("\r\n")
        + QStringLiteral("別の Notarium または他のユーザーによって編集されています。")
        + QStringLiteral("\r\n") + QStringLiteral("このファイルを読み取り専用で開きますか？");
}

QString FileCommands::saveChangesText(const QString& path)
{
    return QStringLiteral("ファイル ") + path + QStringLiteral(" の内容が変更されています。")
        + QStringLiteral("\r\n") + QStringLiteral("変更を保存しますか？");
}

QString FileCommands::defaultFolder() const
{
    if (!m_dialogFolder.isEmpty())
        return m_dialogFolder;
    return QString::fromStdString(m_settings.get(key::DefaultFolder));
}

bool FileCommands::checkFileExists(const QString& path)
{
    if (QFileInfo(path).isFile())
        return true;
    m_services.prompt->tell(m_host.dialogParent(), fileMissingText(path), QStringLiteral("ファイルエラー"),
        MessageIcon::Information);
    return false;
}

FileCommands::OpenChoice FileCommands::askOpenReadOnly(const QString& path)
{
    if (FileLock::canOpenForWriting(path))
        return OpenChoice::Normal;
    const PromptAnswer answer = m_services.prompt->ask(m_host.dialogParent(), inUseText(path),
        QStringLiteral("ファイルは使用中です..."), MessageIcon::Warning, PromptButtons::YesNo);
    return answer == PromptAnswer::Yes ? OpenChoice::ReadOnly : OpenChoice::Cancel;
}

void FileCommands::unlock()
{
    m_lock.unlock();
}

bool FileCommands::saveIfNeeded()
{
    m_host.storeMemo();
    if (!m_doc.isModified())
        return true;
    if (m_settings.get(key::NoConfirm))
        return save();
    const PromptAnswer answer = m_services.prompt->ask(m_host.dialogParent(), saveChangesText(m_path),
        QStringLiteral("ファイル保存の確認"), MessageIcon::Warning, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel)
        return false;
    // A save that failed stops the command, or the changes would be thrown away after all.
    return answer == PromptAnswer::No || save();
}

void FileCommands::setDocumentName(const QString& path)
{
    const bool untitled = path == kUntitled || path.isEmpty();
    m_path = untitled ? kUntitled : QFileInfo(path).absoluteFilePath();
    if (Node* documentNode = m_doc.documentNode()) {
        const QString name = untitled ? kUntitled : QFileInfo(m_path).completeBaseName();
        m_doc.setTitle(documentNode, cp932::fromUtf16(name.toStdU16String()));
    }
    const QFontMetrics metrics(m_captionFont);
    const QString shown = m_doc.isReadOnly()
        ? metrics.elidedText(m_path, Qt::ElideMiddle, 280) + QStringLiteral(" [ReadOnly]")
        : metrics.elidedText(m_path, Qt::ElideMiddle, 320);
    m_caption = shown + QStringLiteral(" - Notarium");
    m_recent.add(m_path);
    emit captionChanged(m_caption);
    emit recentFilesChanged();
}

bool FileCommands::openDocument(const QString& path, bool readOnly)
{
    ReadOptions options;
    options.restoreBookmarks = m_settings.get(key::SaveBookmark);
    options.backup = m_settings.get(key::BackupFile);
    options.backupFolder = m_settings.get(key::BackupFolder);
    options.progress = [this](std::uint64_t done, std::uint64_t total) { m_host.showProgress(done, total); };
    ReadResult result;
    {
        Document::ResetScope reset(m_doc);
        m_doc.clearDocument();
        result = readDataFile(localPath(path), m_doc, options);
        m_host.showProgress(0, 0);
        if (!result.ok()) {
            m_doc.clearDocument();
            m_doc.newDocument();
        }
    }
    if (!result.ok()) {
        m_recent.remove(QFileInfo(path).absoluteFilePath());
        m_services.prompt->tell(m_host.dialogParent(), result.message);
        // The window no longer shows the file it held, so it no longer holds it either.
        unlock();
        m_doc.setReadOnly(false);
        setDocumentName(kUntitled);
    } else {
        if (!readOnly) {
            readOnly = isReadOnlyFile(path);
            if (readOnly && !m_settings.get(key::NoConfirm))
                m_services.prompt->tell(m_host.dialogParent(),
                    QStringLiteral("選択されたファイルは読み取り専用です。"), QStringLiteral("お知らせ"),
                    MessageIcon::Information);
        }
        unlock();
        // Another window may have taken the file between the question and now: then it is only
        // shown, never written over.
        if (!readOnly && m_lock.lock(path) != FileLock::Result::Locked)
            readOnly = true;
        m_doc.setReadOnly(readOnly);
        setDocumentName(path);
    }
    Node* select = applyOpenRules(
        m_doc, result, m_settings.get(key::SaveTreeState), m_settings.get(key::SaveCurrentNode));
    if (m_settings.get(key::ExpandAll)) {
        TreeOperations operations(m_doc);
        for (int i = 0; i < m_doc.root()->childCount(); ++i)
            operations.expandSubtree(m_doc.root()->child(i));
    }
    m_doc.setModified(false);
    m_host.showDocument(select);
    emit documentStateChanged();
    return result.ok();
}

void FileCommands::resetToUntitled()
{
    {
        Document::ResetScope reset(m_doc);
        m_doc.clearDocument();
        m_doc.newDocument();
    }
    unlock();
    m_doc.setReadOnly(false);
    setDocumentName(kUntitled);
    m_doc.setModified(false);
    m_host.showDocument(m_doc.documentNode());
    emit documentStateChanged();
}

bool FileCommands::closeDocument()
{
    m_host.restorePanes();
    if (!saveIfNeeded())
        return false;
    resetToUntitled();
    return true;
}

void FileCommands::newDocument(bool shift)
{
    if (shift) {
        m_services.launcher->startDetached(m_program, { QStringLiteral("-N") });
        return;
    }
    closeDocument();
}

void FileCommands::open(bool shift)
{
    if (shift) {
        openInOtherWindow();
        return;
    }
    if (!saveIfNeeded())
        return;
    // The file is let go while the dialog is open, so that it can be picked again (and is not
    // reported as in use by this very window).
    const bool wasLocked = m_lock.isLocked();
    unlock();
    bool readOnlyTicked = false;
    const QString path = m_services.files->openFileName(
        m_host.dialogParent(), QStringLiteral("Notarium文書を開く"), defaultFolder(), kFilter, &readOnlyTicked);
    auto keepCurrent = [&] {
        if (wasLocked)
            m_lock.relock();
    };
    if (path.isEmpty()) {
        keepCurrent();
        return;
    }
    // A file marked read-only opens read-only with a notice (in openDocument); only a file others
    // may be writing to needs the question.
    bool readOnly = readOnlyTicked;
    if (!readOnly && !isReadOnlyFile(path)) {
        const OpenChoice choice = askOpenReadOnly(path);
        if (choice == OpenChoice::Cancel) {
            keepCurrent();
            return;
        }
        readOnly = choice == OpenChoice::ReadOnly;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (folder != defaultFolder())
        m_dialogFolder = folder;
    openDocument(path, readOnly);
}

void FileCommands::openInOtherWindow()
{
    bool readOnly = false;
    const QString path = m_services.files->openFileName(m_host.dialogParent(),
        QStringLiteral("別ウィンドウでファイルを開く"), defaultFolder(), kFilter, &readOnly);
    if (path.isEmpty())
        return;
    QStringList arguments { QStringLiteral("-N"), path };
    if (readOnly)
        arguments.prepend(QStringLiteral("-R"));
    m_services.launcher->startDetached(m_program, arguments);
}

void FileCommands::reopen(const QString& path, bool shift)
{
    if (!saveIfNeeded())
        return;
    if (!checkFileExists(path)) {
        m_recent.remove(path);
        emit recentFilesChanged();
        return;
    }
    bool readOnly = shift;
    if (!readOnly && !isReadOnlyFile(path)) {
        // This window's own hold on the file counts as in use too.
        const bool own = m_lock.isLocked() && m_lock.path() == QFileInfo(path).absoluteFilePath();
        if (own)
            unlock();
        const OpenChoice choice = askOpenReadOnly(path);
        if (choice == OpenChoice::Cancel) {
            if (own)
                m_lock.relock();
            return;
        }
        readOnly = choice == OpenChoice::ReadOnly;
    }
    openDocument(path, readOnly);
}

QString FileCommands::askSavePath()
{
    const QString initial = isUntitled() ? defaultFolder() : m_path;
    return m_services.files->saveFileName(m_host.dialogParent(),
        QStringLiteral("Notarium文書に名前を付けて保存"), initial, kFilter, QStringLiteral("nmd"));
}

bool FileCommands::writeTo(const QString& path)
{
    const WriteResult result = writeDataFile(localPath(path), m_doc, m_host.selectedIndex(),
        [this](std::uint64_t done, std::uint64_t total) { m_host.showProgress(done, total); });
    m_host.showProgress(0, 0);
    if (!result.ok) {
        QString text = fromUtf8(result.message.text);
        if (!result.errorText.empty())
            text += QStringLiteral("\r\n\r\n(") + QString::fromStdString(result.errorText)
                + QStringLiteral(")");
        m_services.prompt->tell(
            m_host.dialogParent(), text, fromUtf8(result.message.caption), result.message.icon);
        return false;
    }
    if (m_lock.lock(path) == FileLock::Result::Locked && m_lock.path() == QFileInfo(path).absoluteFilePath())
        m_lock.relock();
    m_doc.setModified(false);
    if (!result.changedTitles.empty()) {
        QString text
            = QStringLiteral("次のメモには、データファイルにそのままでは保存できない行がありました。")
            + QStringLiteral("\r\n")
            + QStringLiteral("行頭の「}}end」の前に空白を入れるなどして保存しました。")
            + QStringLiteral("\r\n");
        for (const std::string& title : result.changedTitles)
            text += QStringLiteral("\r\n・") + QString::fromStdU16String(cp932::toUtf16(title));
        m_services.prompt->tell(
            m_host.dialogParent(), text, QStringLiteral("お知らせ"), MessageIcon::Information);
    }
    emit documentStateChanged();
    return true;
}

bool FileCommands::save()
{
    m_host.storeMemo();
    if (!isUntitled())
        return writeTo(m_path);
    return saveAs();
}

bool FileCommands::saveAs()
{
    m_host.storeMemo();
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    // The name changes only once the file is written, so a failed save leaves the caption and the
    // lock on the file the document came from.
    if (!writeTo(path))
        return false;
    setDocumentName(path);
    return true;
}

void FileCommands::dropFile(const QString& path)
{
    m_host.storeMemo();
    if (m_doc.isModified()) {
        if (m_settings.get(key::NoConfirm)) {
            if (!save())
                return;
        } else {
            const PromptAnswer answer = m_services.prompt->ask(m_host.dialogParent(), saveChangesText(m_path),
                QStringLiteral("ファイル保存の確認"), MessageIcon::Warning, PromptButtons::YesNo);
            if (answer == PromptAnswer::Yes && !save())
                return;
        }
    }
    if (isReadOnlyFile(path)) {
        openDocument(path, false);
        return;
    }
    const OpenChoice choice = askOpenReadOnly(path);
    if (choice != OpenChoice::Cancel)
        openDocument(path, choice == OpenChoice::ReadOnly);
}

} // namespace notarium
