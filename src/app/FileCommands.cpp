#include "app/FileCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/MenuBuilder.h"
#include "app/OffThread.h"
#include "app/PaintingSuspended.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "core/io/StaleTemporaries.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "memo/MemoBinding.h"
#include "platform/FileAttributes.h"
#include "platform/LocalPath.h"
#include "platform/OpenFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QScopedValueRollback>

#include <atomic>
#include <ctime>
#include <memory>

namespace notarium {

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kFilter = QStringLiteral("Notarium File (*.nmd)");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool shiftHeld()
{
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
}

// The temporary files killed saves left beside target a day ago or more, which no process holds
// open any longer: removed, and counted.
int removeLeftoverTemporaries(const QString& target)
{
    constexpr std::time_t kDay = 24 * 60 * 60;
    int removed = 0;
    for (const std::string& path : leftoverTemporaries(localPath(target), std::time(nullptr) - kDay)) {
        const QString file = fromLocalPath(path);
        if (processesHoldingOpen(file).isEmpty() && QFile::remove(file))
            ++removed;
    }
    return removed;
}

} // namespace

FileCommands::FileCommands(const WindowContext& context, const MenuBuilder& menus, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_doc(context.document)
    , m_settings(context.settings)
    , m_menus(menus)
    , m_path(kUntitled)
{
    m_program = QCoreApplication::applicationFilePath();
}

FileCommands::~FileCommands() = default;

void FileCommands::connect(ActionRegistry& a)
{
    m_actions = &a;
    a.connectEvent(QStringLiteral("tbNewClick"), this, [this](QAction*) { newDocument(shiftHeld()); });
    a.connectEvent(QStringLiteral("tbOpenClick"), this, [this](QAction*) { open(shiftHeld()); });
    a.connectEvent(QStringLiteral("Open2Click"), this, [this](QAction*) { openInOtherWindow(); });
    a.connectEvent(QStringLiteral("tbSaveClick"), this, [this](QAction*) { save(); });
    a.connectEvent(QStringLiteral("SaveAs1Click"), this, [this](QAction*) { saveAs(); });
    a.connectEvent(QStringLiteral("tbCloseClick"), this, [this](QAction*) { closeDocument(); });
    a.connectEvent(QStringLiteral("Exit1Click"), this, [this](QAction*) { parentWidget()->close(); });
    rebuildReopenMenu();
}

void FileCommands::updateActions(const ActionState& state)
{
    const bool savable = state.hasContent && !state.readOnly;
    m_actions->setEventEnabled(QStringLiteral("tbSaveClick"), savable);
    m_actions->setEventEnabled(QStringLiteral("SaveAs1Click"), savable);
}

void FileCommands::setRecentFiles(const QStringList& paths)
{
    m_recent = RecentFiles(paths);
    rebuildReopenMenu();
}

void FileCommands::rebuildReopenMenu()
{
    QMenu* reopenMenu = m_menus.menu(QStringLiteral("Reopen1"));
    if (reopenMenu == nullptr)
        return;
    reopenMenu->clear();
    int number = 1;
    for (const QString& path : m_recent.menuEntries()) {
        QAction* item = reopenMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(path));
        item->setStatusTip(QStringLiteral("ファイル ") + path + QStringLiteral(" を開きます"));
        QObject::connect(item, &QAction::triggered, this, [this, path] { reopen(path, shiftHeld()); });
    }
    reopenMenu->setEnabled(!reopenMenu->isEmpty());
    if (QAction* menuAction = reopenMenu->menuAction())
        menuAction->setEnabled(!reopenMenu->isEmpty());
    if (QMenu* dropDown = m_menus.menu(QStringLiteral("tbpmOpen"))) {
        dropDown->clear();
        dropDown->addActions(reopenMenu->actions());
    }
}

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

namespace {

QString heldElsewhereText(const QString& path)
{
    return QStringLiteral("ファイル ") + path + QStringLiteral(" は") + QStringLiteral("\r\n")
        + QStringLiteral("別の Notarium または他のユーザーによって編集されています。") + QStringLiteral("\r\n");
}

} // namespace

QString FileCommands::inUseText(const QString& path)
{
    return heldElsewhereText(path) + QStringLiteral("このファイルを読み取り専用で開きますか？");
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
    m_context.prompt().tell(parentWidget(), fileMissingText(path), QStringLiteral("ファイルエラー"),
        MessageIcon::Information);
    return false;
}

FileCommands::OpenChoice FileCommands::askOpenReadOnly(const QString& path)
{
    if (FileLock::canOpenForWriting(path))
        return OpenChoice::Normal;
    const PromptAnswer answer = m_context.prompt().ask(parentWidget(), inUseText(path),
        QStringLiteral("ファイルは使用中です..."), MessageIcon::Warning, PromptButtons::YesNo);
    return answer == PromptAnswer::Yes ? OpenChoice::ReadOnly : OpenChoice::Cancel;
}

void FileCommands::holdAgain()
{
    if (m_lock.relock() != FileLock::Result::Locked)
        lockLost(m_lock.path());
}

QString FileCommands::lockLostText(const QString& path, bool modified)
{
    const QString text = heldElsewhereText(path);
    if (modified)
        return text
            + QStringLiteral("このファイルには上書き保存できません。変更は「名前を付けて保存」で別のファイルに保存してください。");
    return text + QStringLiteral("このウィンドウでは読み取り専用で表示します。");
}

void FileCommands::lockLost(const QString& path)
{
    // Two windows must never both write the file. Unsaved changes stay editable, to be saved
    // under another name (a save over the held file is refused); without changes the document
    // simply becomes read-only.
    const bool modified = m_doc.isModified();
    m_context.prompt().tell(parentWidget(), lockLostText(path, modified), QStringLiteral("ファイルは使用中です..."),
        MessageIcon::Warning);
    if (!modified) {
        m_doc.setReadOnly(true);
        setDocumentName(m_path);
    }
    m_context.updateActions();
}

bool FileCommands::saveIfNeeded()
{
    m_context.memo.store();
    if (!m_doc.isModified())
        return true;
    if (m_settings.get(key::NoConfirm))
        return save();
    const PromptAnswer answer = m_context.prompt().ask(parentWidget(), saveChangesText(m_path),
        QStringLiteral("ファイル保存の確認"), MessageIcon::Warning, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel)
        return false;
    // A save that failed stops the command, or the changes would be thrown away after all.
    return answer == PromptAnswer::No || save();
}

void FileCommands::setDocumentTitle(const QString& path)
{
    if (Node* documentNode = m_doc.documentNode()) {
        const bool untitled = path == kUntitled || path.isEmpty();
        const QString name = untitled ? kUntitled : QFileInfo(path).completeBaseName();
        m_doc.setTitle(documentNode, cp932::fromUtf16(name.toStdU16String()));
    }
}

void FileCommands::setDocumentName(const QString& path)
{
    const bool untitled = path == kUntitled || path.isEmpty();
    m_path = untitled ? kUntitled : QFileInfo(path).absoluteFilePath();
    setDocumentTitle(m_path);
    const QFontMetrics metrics(m_captionFont);
    const QString shown = m_doc.isReadOnly()
        ? metrics.elidedText(m_path, Qt::ElideMiddle, 280) + QStringLiteral(" [ReadOnly]")
        : metrics.elidedText(m_path, Qt::ElideMiddle, 320);
    m_caption = shown + QStringLiteral(" - Notarium");
    m_recent.add(m_path);
    emit captionChanged(m_caption);
    rebuildReopenMenu();
}

ReadResult FileCommands::readIntoDocument(const QString& path, bool backup)
{
    // The tree pane's real width and both panes come back before another document shows.
    m_context.host.restorePanes();
    ReadOptions options;
    options.restoreBookmarks = m_settings.get(key::SaveBookmark);
    options.backup = backup && m_settings.get(key::BackupFile);
    options.backupFolder = m_settings.get(key::BackupFolder);
    const OpenRules rules { m_settings.get(key::SaveTreeState), m_settings.get(key::SaveCurrentNode),
        m_settings.get(key::ExpandAll) };
    const std::string file = localPath(path);
    ReadResult result;
    if (QFileInfo(path).size() < kReadOffThreadFrom) {
        options.progress = [this](std::uint64_t done, std::uint64_t total) { m_context.status.showProgress(done, total); };
        Document::ResetScope reset(m_doc);
        m_doc.clearDocument();
        result = readDataFile(file, m_doc, options);
        m_context.status.showProgress(0, 0);
        m_openedSelect = prepareOpened(m_doc, result, rules);
        return result;
    }
    // A large file is read into a document of the reader's own on another thread, while the
    // window shows the progress and goes on answering. The old document goes first, so that two
    // large ones are never held at once. The tree pane does not paint in between.
    PaintingSuspended painting(&m_context.memo.tree());
    const QScopedValueRollback<bool> reading(m_reading, true);
    {
        Document::ResetScope reset(m_doc);
        m_doc.clearDocument();
        m_doc.newDocument();
    }
    auto read = std::make_unique<Document>();
    Node* select = nullptr;
    std::atomic<std::uint64_t> done { 0 };
    std::atomic<std::uint64_t> total { 0 };
    options.progress = [&](std::uint64_t bytesDone, std::uint64_t bytesTotal) {
        done.store(bytesDone);
        total.store(bytesTotal);
    };
    runOffTheWindowThread(
        [&] {
            result = readDataFile(file, *read, options);
            if (result.ok())
                select = prepareOpened(*read, result, rules);
        },
        [&] {
            if (total.load() != 0)
                m_context.status.showProgress(done.load(), total.load());
        });
    m_context.status.showProgress(0, 0);
    {
        Document::ResetScope reset(m_doc);
        if (result.ok())
            m_doc.takeContentOf(*read);
        m_openedSelect = result.ok() ? select : prepareOpened(m_doc, result, rules);
    }
    // The failed read's nodes are let go after the window has its document again.
    read.reset();
    return result;
}

Node* FileCommands::prepareOpened(Document& doc, const ReadResult& result, const OpenRules& rules)
{
    // Done before the tree pane sees the document, which then reads the expanded flags once.
    if (!result.ok()) {
        doc.clearDocument();
        doc.newDocument();
    }
    Node* select = applyOpenRules(doc, result, rules.treeState, rules.currentNode);
    if (rules.expandAll)
        TreeOperations(doc).expandWholeDocument();
    return select;
}

void FileCommands::showOpened()
{
    m_doc.setModified(false);
    // Showing the document runs the enabling pass for it.
    m_context.memo.showDocument(m_openedSelect);
    m_openedSelect = nullptr;
}

bool FileCommands::openRecovered(const QString& copyPath, const QString& documentPath)
{
    const ReadResult result = readIntoDocument(copyPath, false);
    m_lock.unlock();
    m_doc.setReadOnly(false);
    if (!result.ok()) {
        m_context.prompt().tell(parentWidget(), result.message);
        setDocumentName(kUntitled);
        showOpened();
        emit documentReplaced();
        return false;
    }
    // The document comes back where it belongs, with its changes still to be saved. Another
    // window may hold the file by now: the changes then stay editable, to be saved elsewhere.
    const bool held = !documentPath.isEmpty() && m_lock.lock(documentPath) != FileLock::Result::Locked;
    if (held)
        m_lock.unlock();
    setDocumentName(documentPath.isEmpty() ? kUntitled : documentPath);
    showOpened();
    m_doc.setModified(true);
    emit documentReplaced();
    if (held)
        lockLost(documentPath);
    return true;
}

bool FileCommands::openDocument(const QString& path, bool readOnly)
{
    const ReadResult result = readIntoDocument(path, true);
    if (!result.ok()) {
        m_recent.remove(QFileInfo(path).absoluteFilePath());
        m_context.prompt().tell(parentWidget(), result.message);
        // The window no longer shows the file it held, so it no longer holds it either.
        m_lock.unlock();
        m_doc.setReadOnly(false);
        setDocumentName(kUntitled);
    } else {
        if (!readOnly) {
            readOnly = isReadOnlyFile(path);
            if (readOnly && !m_settings.get(key::NoConfirm))
                m_context.prompt().tell(parentWidget(), QStringLiteral("選択されたファイルは読み取り専用です。"),
                    QStringLiteral("お知らせ"), MessageIcon::Information);
        }
        m_lock.unlock();
        // Another window may have taken the file between the question and now: then it is only
        // shown, never written over.
        if (!readOnly && m_lock.lock(path) != FileLock::Result::Locked) {
            m_lock.unlock();
            readOnly = true;
        }
        m_doc.setReadOnly(readOnly);
        setDocumentName(path);
    }
    showOpened();
    emit documentReplaced();
    return result.ok();
}

void FileCommands::resetToUntitled()
{
    {
        Document::ResetScope reset(m_doc);
        m_doc.clearDocument();
        m_doc.newDocument();
    }
    m_lock.unlock();
    m_doc.setReadOnly(false);
    setDocumentName(kUntitled);
    m_doc.setModified(false);
    m_context.memo.showDocument(m_doc.documentNode());
    emit documentReplaced();
}

bool FileCommands::closeDocument()
{
    m_context.host.restorePanes();
    if (!saveIfNeeded())
        return false;
    resetToUntitled();
    return true;
}

void FileCommands::newDocument(bool shift)
{
    if (shift) {
        m_context.services.launcher->startDetached(m_program, { QStringLiteral("-N") });
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
    m_lock.unlock();
    auto keepCurrent = [&] {
        if (wasLocked)
            holdAgain();
    };
    bool readOnlyTicked = false;
    const QString path = m_context.services.files->openFileName(
        parentWidget(), QStringLiteral("Notarium文書を開く"), defaultFolder(), kFilter, &readOnlyTicked);
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
    const QString path = m_context.services.files->openFileName(parentWidget(),
        QStringLiteral("別ウィンドウでファイルを開く"), defaultFolder(), kFilter, &readOnly);
    if (path.isEmpty())
        return;
    QStringList arguments { QStringLiteral("-N"), path };
    if (readOnly)
        arguments.prepend(QStringLiteral("-R"));
    m_context.services.launcher->startDetached(m_program, arguments);
}

void FileCommands::reopen(const QString& path, bool shift)
{
    if (!saveIfNeeded())
        return;
    if (!checkFileExists(path)) {
        m_recent.remove(path);
        rebuildReopenMenu();
        return;
    }
    bool readOnly = shift;
    if (!readOnly && !isReadOnlyFile(path)) {
        // This window's own hold on the file counts as in use too.
        const bool own = m_lock.isLocked() && m_lock.path() == QFileInfo(path).absoluteFilePath();
        if (own)
            m_lock.unlock();
        const OpenChoice choice = askOpenReadOnly(path);
        if (choice == OpenChoice::Cancel) {
            if (own)
                holdAgain();
            return;
        }
        readOnly = choice == OpenChoice::ReadOnly;
    }
    openDocument(path, readOnly);
}

bool FileCommands::openFromCommandLine(const QString& path, bool readOnly)
{
    if (!checkFileExists(path))
        return true;
    if (readOnly || isReadOnlyFile(path)) {
        openDocument(path, readOnly);
        return true;
    }
    const OpenChoice choice = askOpenReadOnly(path);
    if (choice == OpenChoice::Cancel)
        return false;
    openDocument(path, choice == OpenChoice::ReadOnly);
    return true;
}

QString FileCommands::askSavePath()
{
    const QString initial = isUntitled() ? defaultFolder() : m_path;
    return m_context.services.files->saveFileName(parentWidget(), QStringLiteral("Notarium文書に名前を付けて保存"),
        initial, kFilter, QStringLiteral("nmd"));
}

bool FileCommands::writeTo(const QString& path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    // A file that another window holds is never written over: both windows would edit it and
    // the last save would win. The claim also keeps others off the file while it is written.
    FileLock claim;
    const bool own = m_lock.isLocked() && m_lock.path() == target;
    if (!own && QFileInfo::exists(target) && claim.lock(target) == FileLock::Result::InUse) {
        m_context.prompt().tell(parentWidget(), messages::CannotSaveFile);
        return false;
    }
    const WriteResult result = writeDataFile(localPath(target), m_doc, qMax(0, m_doc.absoluteIndex(m_context.memo.node())),
        [this](std::uint64_t done, std::uint64_t total) { m_context.status.showProgress(done, total); });
    m_context.status.showProgress(0, 0);
    if (!result.ok) {
        QString text = fromUtf8(result.message.text);
        if (!result.errorText.empty())
            text += QStringLiteral("\r\n\r\n(") + QString::fromStdString(result.errorText) + QStringLiteral(")");
        m_context.prompt().tell(parentWidget(), text, fromUtf8(result.message.caption), result.message.icon);
        return false;
    }
    claim.unlock();
    m_doc.setModified(false);
    if (const int removed = removeLeftoverTemporaries(target))
        m_context.status.setMessage(QStringLiteral("以前の保存で残った一時ファイルを %1 個削除しました。").arg(removed));
    if (!result.changedTitles.empty()) {
        QString text = QStringLiteral("次のメモには、データファイルにそのままでは保存できない行がありました。")
            + QStringLiteral("\r\n") + QStringLiteral("行頭の「}}end」の前に空白を入れるなどして保存しました。")
            + QStringLiteral("\r\n");
        for (const std::string& title : result.changedTitles)
            text += QStringLiteral("\r\n・") + QString::fromStdU16String(cp932::toUtf16(title));
        m_context.prompt().tell(parentWidget(), text, QStringLiteral("お知らせ"), MessageIcon::Information);
    }
    // The save replaced the file; the hold moves to the new one. Another window may have taken
    // it in the moment between.
    if (m_lock.lock(target) != FileLock::Result::Locked) {
        m_lock.unlock();
        lockLost(target);
    }
    return true;
}

bool FileCommands::save()
{
    m_context.memo.store();
    if (!isUntitled())
        return writeTo(m_path);
    return saveAs();
}

bool FileCommands::saveAs()
{
    m_context.memo.store();
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    // The document page carries the new name into the file; a failed save gives the old name
    // back, and leaves the caption and the lock with the file the document came from.
    Node* documentNode = m_doc.documentNode();
    const std::string oldTitle = documentNode ? documentNode->title() : std::string();
    setDocumentTitle(path);
    if (!writeTo(path)) {
        if (documentNode)
            m_doc.setTitle(documentNode, oldTitle);
        return false;
    }
    setDocumentName(path);
    return true;
}

void FileCommands::dropFile(const QString& path)
{
    // A drop that was on its way when a large file began to be read finds the window busy.
    if (m_reading)
        return;
    m_context.memo.store();
    if (m_doc.isModified()) {
        if (m_settings.get(key::NoConfirm)) {
            if (!save())
                return;
        } else {
            const PromptAnswer answer = m_context.prompt().ask(parentWidget(), saveChangesText(m_path),
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
