#include "textio/TextOutCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/settings/Settings.h"
#include "core/textio/TextExportWriter.h"
#include "memo/MemoBinding.h"
#include "platform/AppPaths.h"
#include "platform/LocalPath.h"
#include "platform/TextEditorProbe.h"
#include "textio/ToolCommand.h"
#include "textio/ToolMessages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace notarium {

namespace {

const QString kExportEvent = QStringLiteral("SaveAsTextClick");

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The progress bar and the wait cursor go on every way out of the export.
class ProgressShown {
public:
    explicit ProgressShown(StatusPanels& status)
        : m_status(status)
    {
    }
    ~ProgressShown()
    {
        m_status.showProgress(0, 0);
        m_status.setMessage(QString());
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    StatusPanels& m_status;
};

// A path as one parameter, however it is spelt.
QString quotedPath(const QString& path)
{
    // Inside quotes, three quotes stand for one (QProcess::splitCommand).
    QString quoted = path;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

TextOutCommands::TextOutCommands(
    const WindowContext& context, TreePane& tree, const FileCommands& files, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_files(files)
{
}

void TextOutCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    // Save as text and print share the event; the item's name tells them apart.
    actions.connectEvent(kExportEvent, this, [this](QAction* action) {
        exportText(action->objectName() == QLatin1String("PrintByEditor") ? Mode::Print : Mode::Save);
    });
}

void TextOutCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(kExportEvent, state.hasContent);
}

QString TextOutCommands::workFilePath() const
{
    const QString name
        = m_files.isUntitled() ? m_files.currentPath() : QFileInfo(m_files.currentPath()).completeBaseName();
    return m_context.tempFolder + QLatin1Char('/') + name + QStringLiteral(".txt");
}

QString TextOutCommands::askSavePath() const
{
    QString proposed;
    if (m_files.isUntitled()) {
        proposed
            = m_files.defaultFolder() + QLatin1Char('/') + m_files.currentPath() + QStringLiteral(".txt");
    } else {
        const QFileInfo document(m_files.currentPath());
        proposed = document.absolutePath() + QLatin1Char('/') + document.completeBaseName()
            + QStringLiteral(".txt");
    }
    return m_context.services.files->saveFileName(m_context.window, QStringLiteral("テキストファイルに出力"),
        proposed, QStringLiteral("Text File (*.txt)|*.txt"), QStringLiteral("txt"));
}

void TextOutCommands::exportText(Mode mode)
{
    const Settings& settings = m_context.settings;
    const bool print = mode == Mode::Print;
    // Save as text needs the editor too: the saved file may be previewed in it.
    const QString tool
        = (print ? QString::fromStdString(settings.get(key::PrintTool)) : textEditorCommand(settings))
              .trimmed();
    if (tool.isEmpty()) {
        m_context.prompt().tell(m_context.window, utf8(tool_messages::kNoTool), utf8(tool_messages::kCaption),
            MessageIcon::Information);
        return;
    }
    // Typing not yet stored in its node is written too.
    m_context.memo.store();
    TTextOutOptions options(mode, TextExportOptions::fromSettings(settings), m_tree.selectedNode(),
        m_context.help(), m_context.window);
    if (options.exec() != QDialog::Accepted)
        return;

    QString path;
    if (print) {
        QString error;
        if (!AppPaths::ensurePrivateFolder(m_context.tempFolder, &error)) {
            m_context.prompt().tell(
                m_context.window, error, QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
            return;
        }
        path = workFilePath();
    } else {
        path = askSavePath();
        if (path.isEmpty())
            return;
    }
    TextExportWriter writer(m_context.document, options.options(), options.scope(), m_tree.selectedNode());
    if (!writeText(writer, path))
        return;

    if (print) {
        startTool(tool,
            QString::fromStdString(settings.get(key::PrintOption)).trimmed() + QLatin1Char(' ')
                + quotedPath(path));
    } else if (settings.get(key::PreviewText)) {
        startTool(tool, quotedPath(path));
    } else if (!settings.get(key::NoConfirm)) {
        m_context.prompt().tell(m_context.window,
            QStringLiteral("テキストファイルへの出力を完了しました。\r\nファイル名：")
                + QDir::toNativeSeparators(path),
            utf8(tool_messages::kCaption), MessageIcon::Information);
    }
}

bool TextOutCommands::writeText(TextExportWriter& writer, const QString& path)
{
    std::string error;
    bool written = false;
    {
        ProgressShown progress(m_context.status);
        StatusPanels& status = m_context.status;
        writer.setProgress([&status](int position, int maximum) {
            status.showProgress(static_cast<quint64>(std::max(position, 0)), static_cast<quint64>(maximum));
        });
        written = writer.writeFile(localPath(path), &error);
    }
    if (!written)
        m_context.prompt().tell(m_context.window,
            QStringLiteral("ファイル %1 に書き込めませんでした。\r\n\r\n(%2)")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)),
            QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
    return written;
}

void TextOutCommands::startTool(const QString& tool, const QString& parameters)
{
    QStringList command = splitToolCommand(tool) + QProcess::splitCommand(parameters);
    const QString program = command.isEmpty() ? QString() : command.takeFirst();
    if (!program.isEmpty() && m_context.services.launcher->startDetached(program, command))
        return;
    m_context.prompt().tell(m_context.window, utf8(tool_messages::kCannotStart).arg(tool),
        utf8(tool_messages::kCaption), MessageIcon::Warning);
}

} // namespace notarium
