#include "textio/TextInCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "core/io/FileIo.h"
#include "core/textio/TextImport.h"
#include "editor/Cp932Chars.h"
#include "editor/TExtMemo.h"
#include "platform/LocalPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace notarium {

namespace {

const QString kImportEvent = QStringLiteral("TextInClick");

} // namespace

TextInCommands::TextInCommands(
    const WindowContext& context, TExtMemo& memo, const FileCommands& files, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_memo(memo)
    , m_files(files)
{
}

void TextInCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kImportEvent, this, [this](QAction*) { chooseAndImport(); });
}

void TextInCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(kImportEvent, state.editable());
}

void TextInCommands::chooseAndImport()
{
    const QString path = m_context.services.files->openFileName(m_context.window,
        QStringLiteral("テキストファイルの読み込み"), m_files.defaultFolder(),
        QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*"));
    if (!path.isEmpty())
        importFile(path);
}

void TextInCommands::importFile(const QString& path)
{
    // The memo pane may have become read-only while the dialog was open.
    if (m_memo.isReadOnly())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo file(path);
    // Refused unread and without asking: whatever the person answered, the memo could not be saved.
    if (file.isFile() && importTooLarge(static_cast<std::uint64_t>(file.size()))) {
        m_context.prompt().tell(m_context.window,
            QStringLiteral("ファイル %1 は大きすぎるため読み込めません。\r\n"
                           "メモに読み込めるテキストファイルは 2 GB (2,147,483,647 バイト) までです。")
                .arg(shown),
            QStringLiteral("テキストの読み込み"), MessageIcon::Error);
        return;
    }
    if (file.isFile() && importNeedsConfirmation(static_cast<std::uint64_t>(file.size()))) {
        const QString megabytes
            = QString::number(static_cast<double>(file.size()) / (1024.0 * 1024.0), 'f', 1);
        const QString question
            = QStringLiteral("ファイル %1 の大きさは %2 MB です。\r\nこのまま読み込みますか？")
                  .arg(shown, megabytes);
        if (m_context.prompt().ask(m_context.window, question, QStringLiteral("テキストの読み込み"),
                MessageIcon::Question, PromptButtons::YesNo)
            != PromptAnswer::Yes)
            return;
    }
    std::string bytes;
    std::string error;
    if (!readWholeFile(localPath(path), bytes, &error)) {
        m_context.prompt().tell(m_context.window,
            QStringLiteral("ファイル %1 を読み込めませんでした。\r\n\r\n(%2)")
                .arg(shown, QString::fromStdString(error)),
            QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
        return;
    }
    if (looksBinary(bytes)) {
        m_context.prompt().tell(m_context.window,
            QStringLiteral("ファイル %1 はテキストファイルではないので読み込めません。").arg(shown),
            QStringLiteral("テキストの読み込み"), MessageIcon::Information);
        return;
    }
    const ImportedText text = importText(bytes);
    bytes = std::string();
    m_memo.setFocus();
    m_memo.insertText(Cp932Chars::decode(text.cp932));
    if (text.replaced > 0)
        m_context.status.setMessage(
            QStringLiteral("Shift-JIS で表せない %1 文字を「〓」に置き換えました").arg(text.replaced));
}

} // namespace notarium
