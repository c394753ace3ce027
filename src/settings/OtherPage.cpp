#include "settings/OtherPage.h"

#include "app/WindowContext.h"
#include "core/settings/IniFile.h"
#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

OtherPage::OtherPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("その他"), TOptionDialog::kFirstHelpContext + TOptionDialog::OtherPage)
{
    auto* shell = new QGroupBox(QStringLiteral(" デスクトップ "));
    auto* shellLayout = new QVBoxLayout(shell);
    struct ShellButton {
        const char* name;
        const char* caption;
    };
    const ShellButton shellButtons[] = {
        { "BitBtn1", "デスクトップにショートカットを作成する ..." },
        { "BitBtn4", "スタートアップに Notariumを登録する ..." },
        { "BitBtn5", "「送る」メニューに Notariumを登録する ..." },
        { "BitBtn2", "データファイルをアプリケーションに関連付ける ..." },
    };
    for (const ShellButton& entry : shellButtons) {
        QPushButton* shellButton = button(entry.name, QString::fromUtf8(entry.caption));
        // The desktop's menus, shortcuts and file types are not written by this version.
        shellButton->setEnabled(false);
        shellLayout->addWidget(shellButton);
    }

    auto* history = new QGroupBox(QStringLiteral(" 履歴 "));
    auto* historyLayout = new QVBoxLayout(history);
    QPushButton* recent = button("ClearFileHistory", QStringLiteral("ファイルの編集履歴を削除する ..."));
    QPushButton* search = button("ClearSearchHistory", QStringLiteral("検索・置換の履歴を削除する ..."));
    historyLayout->addWidget(recent);
    historyLayout->addWidget(search);
    connect(recent, &QPushButton::clicked, this, &OtherPage::eraseRecentFiles);
    connect(search, &QPushButton::clicked, this, &OtherPage::eraseSearchHistory);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shell);
    layout->addWidget(history);
    layout->addStretch(1);
}

bool OtherPage::confirm(const QString& question)
{
    return state().services.prompt->ask(
               window(), question, QStringLiteral("確認"), MessageIcon::Question, PromptButtons::YesNo)
        == PromptAnswer::Yes;
}

void OtherPage::eraseRecentFiles()
{
    if (!confirm(QStringLiteral("ファイルの編集履歴を削除しますか？")))
        return;
    // At once, not with OK: the window's list and its Reopen menu go too.
    state().host->updateSettings([](Settings& settings) { settings.ini().eraseSection("FileMRU"); });
    if (state().clearRecentFiles)
        state().clearRecentFiles();
}

void OtherPage::eraseSearchHistory()
{
    if (!confirm(QStringLiteral("検索・置換の履歴を削除しますか？")))
        return;
    state().host->updateSettings([](Settings& settings) {
        settings.ini().eraseSection("FindHistory");
        settings.ini().eraseSection("ReplHistory");
    });
}

} // namespace notarium
