#include "settings/FolderPage.h"

#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

FolderPage::FolderPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("フォルダー"), TOptionDialog::kFirstHelpContext + TOptionDialog::FolderPage)
{
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    m_defaultFolder
        = folderRow(grid, 0, "DefaultFolder", QStringLiteral("デフォルトのデータファイル格納フォルダ(&F)"));
    m_backupFile = check("cbBackupFile", QStringLiteral("バックアップファイルを作成(&B)"));
    grid->addWidget(m_backupFile, 2, 0, 1, 2);
    m_backupFolder = folderRow(
        grid, 3, "BackupFolder", QStringLiteral("バックアップフォルダ(&U)"), &m_backupLabel, &m_backupBrowse);
    m_templateFolder
        = folderRow(grid, 5, "TemplateFolder", QStringLiteral("テンプレートファイル格納フォルダ(&P)"));
    // The recovery copy of an unsaved document, kept apart from the document itself.
    auto* autoSave = spin("seAutoSaveMinutes", 0, 1440, 1, 4);
    auto* autoSaveRow = new QHBoxLayout;
    autoSaveRow->addWidget(label(QStringLiteral("復元用のコピーを保存する間隔(&A)"), autoSave));
    autoSaveRow->addWidget(autoSave);
    autoSaveRow->addWidget(new QLabel(QStringLiteral("分 (0 で保存しない)")));
    autoSaveRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(autoSaveRow);
    layout->addStretch(1);

    bind(key::DefaultFolder, m_defaultFolder);
    bind(key::BackupFile, m_backupFile);
    bind(key::BackupFolder, m_backupFolder);
    bind(key::TemplateFolder, m_templateFolder);
    bind(key::AutoSaveMinutes, autoSave);
    connect(m_backupFile, &QCheckBox::toggled, this, &FolderPage::followBackup);
}

QLineEdit* FolderPage::folderRow(
    QGridLayout* grid, int row, const char* name, const QString& caption, QLabel** label, QPushButton** browseButton)
{
    QLineEdit* box = edit(name);
    QLabel* text = option_controls::label(caption, box);
    if (label != nullptr)
        *label = text;
    auto* browse = button("", QStringLiteral("参照..."));
    browse->setObjectName(QString::fromLatin1(name) + QStringLiteral("Browse"));
    grid->addWidget(text, row, 0, 1, 2);
    grid->addWidget(box, row + 1, 0);
    grid->addWidget(browse, row + 1, 1);
    if (browseButton != nullptr)
        *browseButton = browse;
    connect(browse, &QPushButton::clicked, this, [this, box] {
        // The browser starts where the box points.
        const QString folder = state().services.files->folderName(
            window(), QStringLiteral("フォルダを選択してください．"), box->text());
        if (!folder.isEmpty())
            box->setText(QDir::toNativeSeparators(folder));
    });
    return box;
}

void FolderPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    followBackup();
}

void FolderPage::followBackup()
{
    const bool on = m_backupFile->isChecked();
    m_backupFolder->setEnabled(on);
    m_backupLabel->setEnabled(on);
    if (m_backupBrowse != nullptr)
        m_backupBrowse->setEnabled(on);
}

QWidget* FolderPage::refuseOk()
{
    struct Folder {
        QLineEdit* box;
        const char* question;
    };
    const Folder folders[] = {
        { m_defaultFolder, "ファイル格納フォルダに指定されたフォルダは存在しません。\r\nフォルダを作成しますか？" },
        { m_backupFolder, "バックアップフォルダに指定されたフォルダは存在しません。\r\nフォルダを作成しますか？" },
        { m_templateFolder, "テンプレートフォルダに指定されたフォルダは存在しません。\r\nフォルダを作成しますか？" },
    };
    for (const Folder& folder : folders) {
        const QString path = folder.box->text().trimmed();
        // An empty box names no folder: the program then uses its own default.
        if (path.isEmpty() || QDir(path).exists())
            continue;
        PromptService& prompt = *state().services.prompt;
        if (prompt.ask(window(), QString::fromUtf8(folder.question), QStringLiteral("お知らせ"),
                MessageIcon::Information, PromptButtons::YesNo)
            != PromptAnswer::Yes)
            return folder.box;
        if (!QDir().mkpath(path)) {
            prompt.tell(window(), QStringLiteral("フォルダ ") + path + QStringLiteral(" を作成できませんでした。"),
                QStringLiteral("エラー"), MessageIcon::Error);
            return folder.box;
        }
    }
    return nullptr;
}

} // namespace notarium
