#include "textio/EditorCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/FileCommands.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "core/textio/EditorWorkFile.h"
#include "editor/Cp932Chars.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "memo/MemoCommands.h"
#include "platform/AppPaths.h"
#include "platform/OpenFiles.h"
#include "platform/TextEditorProbe.h"
#include "textio/ToolCommand.h"
#include "textio/ToolMessages.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace notarium {

namespace {

const QString kEditEvent = QStringLiteral("EditByEditorClick");

// The program's own texts.
constexpr const char* kNoWorkFile = "ファイルがないのぉ～";
constexpr const char* kWorkFileDeleted
    = "作業ファイルが削除されています。 勝手に作業ファイルを削除してはいけません（ーー；";
constexpr const char* kWaitForOk
    = "メモのテキストを外部エディタで編集中です。\r\n編集が終了したら［ＯＫ］ボタンを押してください。";

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray toBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool writeWorkFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush()) {
        file.close();
        return true;
    }
    // Half a text must never reach the editor: it would come back as the whole memo.
    file.close();
    QFile::remove(path);
    return false;
}

} // namespace

// The end of the editing: the time given to the editor has passed, the program started has ended
// and no process holds the work file open any more. The editor's end is told by the launcher; the
// open files are looked at when the other two hold, and again every kRetryMs.
class EditorCommands::Watch {
public:
    Watch(QString path, int waitMs)
        : m_path(std::move(path))
        , m_waitMs(waitMs)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_loop, [this] {
            m_waited = true;
            check();
        });
    }

    void programEnded()
    {
        m_ended = true;
        check();
    }
    void giveUp() { m_loop.quit(); }

    void run()
    {
        m_timer.start(m_waitMs);
        m_loop.exec();
    }

private:
    void check()
    {
        if (!m_waited || !m_ended)
            return;
        if (!processesHoldingOpen(m_path).isEmpty()) {
            m_timer.start(kRetryMs);
            return;
        }
        m_loop.quit();
    }

    QString m_path;
    int m_waitMs;
    QEventLoop m_loop;
    QTimer m_timer;
    bool m_waited = false;
    bool m_ended = false;
};

EditorCommands::EditorCommands(const WindowContext& context, TExtMemo& memo, const FileCommands& files,
    const MemoCommands& memoCommands, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_memo(memo)
    , m_files(files)
    , m_memoCommands(memoCommands)
{
}

EditorCommands::~EditorCommands() = default;

void EditorCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kEditEvent, this, [this](QAction*) { editInEditor(); });
}

void EditorCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(kEditEvent, state.editable());
}

QString EditorCommands::workFilePath() const
{
    const Node* node = m_context.memo.node();
    const std::string document = m_files.isUntitled() ? std::string() : m_files.currentPath().toStdString();
    const std::string name = editorWorkFileName(document, m_context.document.absoluteIndex(node));
    return QDir(m_context.tempFolder).filePath(QString::fromStdString(name));
}

void EditorCommands::editInEditor()
{
    const Node* node = m_context.memo.node();
    if (m_editing || node == nullptr || !node->isUserNode() || m_context.document.isReadOnly())
        return;
    // The editor may use the clipboard; its clips are no notes.
    if (ClipboardMonitorControl* monitor = m_memoCommands.clipboardMonitor();
        monitor && monitor->isCollecting())
        monitor->stopCollecting();

    const Settings& settings = m_context.settings;
    const QString command = textEditorCommand(settings).trimmed();
    const QStringList editor = splitToolCommand(command);
    if (editor.isEmpty()) {
        m_context.prompt().tell(m_context.window, text(tool_messages::kNoTool), text(tool_messages::kCaption),
            MessageIcon::Information);
        return;
    }
    const bool waitForOk = settings.get(key::TextBadEnv);

    m_memo.HideCaretMarker();
    const std::string memoText = m_memo.bytes();
    const int caret = m_memo.SelPos();
    const QString option = QString::fromStdString(expandLineOption(
        settings.get(key::TextOption), hardLineAt(memoText, static_cast<std::size_t>(caret))));
    const TextEncoding encoding
        = parseTextEncoding(settings.get(key::ExchangeEncoding)).value_or(TextEncoding::Utf8);
    const QByteArray written = toBytes(editorWorkFileBytes(memoText, encoding));
    const QString path = workFilePath();
    if (!AppPaths::ensurePrivateFolder(m_context.tempFolder) || !writeWorkFile(path, written)
        || !QFileInfo::exists(path)) {
        m_context.prompt().tell(
            m_context.window, text(kNoWorkFile), QStringLiteral("Notarium"), MessageIcon::None);
        return;
    }

    m_editing = true;
    QWidget* window = m_context.window;
    if (!waitForOk) {
        window->setWindowTitle(
            QString::fromStdString(externalEditingCaption(window->windowTitle().toStdString())));
        window->setEnabled(false);
    }

    QStringList arguments = editor.mid(1);
    arguments << QProcess::splitCommand(option) << path;
    Watch watch(path, std::max(0, settings.get(key::WaitTime)));
    const std::unique_ptr<StartedProgram> program
        = m_context.services.launcher->start(editor.first(), arguments, [&watch] { watch.programEnded(); });
    if (program) {
        if (waitForOk) {
            // 50 pixels right of and below the memo pane's corner.
            const QPoint offset = m_memo.mapToGlobal(QPoint(50, 50)) - window->frameGeometry().topLeft();
            m_context.prompt().askAt(window, text(kWaitForOk), text(tool_messages::kCaption),
                MessageIcon::Information, PromptButtons::Ok, offset);
        } else {
            m_watch = &watch;
            m_shiftEscapePressed = false;
            qApp->installEventFilter(this);
            watch.run();
            qApp->removeEventFilter(this);
            m_watch = nullptr;
        }
    }

    const bool present = takeBack(path, written, encoding, caret);

    window->setEnabled(true);
    window->setWindowTitle(QString::fromStdString(normalCaption(window->windowTitle().toStdString())));
    window->raise();
    window->activateWindow();
    m_memo.setFocus();
    QFile::remove(path);
    m_editing = false;
    m_context.updateActions();

    // Shown with the window enabled again: a message box of a disabled window could not be answered.
    if (!program)
        m_context.prompt().tell(window, text(tool_messages::kCannotStart).arg(command),
            text(tool_messages::kCaption), MessageIcon::Warning);
    else if (!present)
        m_context.prompt().tell(
            window, text(kWorkFileDeleted), text(tool_messages::kCaption), MessageIcon::Information);
}

bool EditorCommands::takeBack(
    const QString& path, const QByteArray& written, TextEncoding encoding, int caret)
{
    // By path: an editor that saves by writing a new file and renaming it replaced the old one.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray edited = file.readAll();
    file.close();
    if (edited == written)
        return true;
    bool replaced = false;
    const std::string memoText = memoTextFromWorkFile(
        std::string_view(edited.constData(), static_cast<std::size_t>(edited.size())), encoding, &replaced);
    // Saved again without a change, perhaps with other line ends.
    if (memoText == m_memo.bytes())
        return true;
    // As one edit of the memo pane, which the person can undo; the binding stores it into the node.
    m_memo.SelectAll();
    m_memo.insertText(Cp932Chars::decode(memoText));
    m_memo.setSelPos(std::min(caret, m_memo.TextLength()));
    if (replaced)
        emit m_memo.unrepresentableReplaced();
    m_context.memo.store();
    return true;
}

bool EditorCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (m_watch != nullptr) {
        // Shift+Esc, released, gives the window back: the editing counts as done. Shift may
        // have been let go first.
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Escape)
                return QObject::eventFilter(watched, event);
            const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
            if (event->type() == QEvent::KeyPress) {
                m_shiftEscapePressed = shift;
            } else if ((shift || m_shiftEscapePressed) && !m_context.window->isEnabled()) {
                m_context.window->setEnabled(true);
                m_watch->giveUp();
            }
            key->accept();
            return true;
        }
        // The window stays while the editor has its text.
        if (event->type() == QEvent::Close && watched == m_context.window) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
