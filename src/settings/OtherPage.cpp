#include "settings/OtherPage.h"

#include "app/WaitCursor.h"
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
        void (OtherPage::*clicked)();
    };
    const ShellButton shellButtons[] = {
        { "BitBtn1", "デスクトップにショートカットを作成する ...", &OtherPage::placeDesktopShortcut },
        { "BitBtn4", "スタートアップに Notariumを登録する ...", &OtherPage::placeStartupShortcut },
        { "BitBtn5", "「送る」メニューに Notariumを登録する ...", &OtherPage::placeOpenWithEntry },
        { "BitBtn2", "データファイルをアプリケーションに関連付ける ...", &OtherPage::associateFileTypes },
        { "RemoveRegistration", "デスクトップへの登録を解除する ...", &OtherPage::removeRegistration },
    };
    for (const ShellButton& entry : shellButtons) {
        QPushButton* shellButton = button(entry.name, QString::fromUtf8(entry.caption));
        connect(shellButton, &QPushButton::clicked, this, entry.clicked);
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

void OtherPage::inform(const QString& text)
{
    state().services.prompt->tell(window(), text, QStringLiteral("お知らせ"), MessageIcon::Information);
}

void OtherPage::placeShortcut(ShellIntegration::Place place, const QString& question, const QString& report)
{
    if (!confirm(question))
        return;
    {
        const WaitCursor wait;
        // A shortcut that cannot be written is not reported: the desktop simply lacks it.
        ShellIntegration::forThisProgram().placeShortcut(place);
    }
    inform(report);
}

void OtherPage::placeDesktopShortcut()
{
    placeShortcut(ShellIntegration::Place::Desktop, QStringLiteral("デスクトップにショートカットアイコンを作成しますか？"),
        QStringLiteral("デスクトップにショートカットアイコンを作成しました。"));
}

void OtherPage::placeStartupShortcut()
{
    placeShortcut(ShellIntegration::Place::Startup, QStringLiteral("スタートアップにショートカットアイコンを登録しますか？"),
        QStringLiteral("スタートアップにショートカットアイコンを登録しました。"));
}

void OtherPage::placeOpenWithEntry()
{
    placeShortcut(ShellIntegration::Place::OpenWith,
        QStringLiteral("「送る」メニューにショートカットアイコンを登録しますか？"),
        QStringLiteral("「送る」メニューにショートカットアイコンを登録しました。"));
}

void OtherPage::associateFileTypes()
{
    if (!confirm(QStringLiteral("関連付けを実行しますか？")))
        return;
    ShellIntegration::Association done;
    {
        const WaitCursor wait;
        done = ShellIntegration::forThisProgram().associate();
    }
    const QString stopped = QStringLiteral("関連付けを中止しました");
    if (!done.error.isEmpty()) {
        // A type that could not be written is not reported as registered.
        state().services.prompt->tell(window(), QStringLiteral("関連付けを実行できませんでした。\n%1").arg(done.error),
            QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
        return;
    }
    if (done.dataWasKnown)
        state().services.prompt->tell(window(),
            QStringLiteral("Notariumのデータタイプ(*.nmd)はすでに登録されています。"), stopped, MessageIcon::Information);
    else
        inform(QStringLiteral("データファイルを Windowsに登録して関連付けを完了しました。"));
    if (done.templateWasKnown)
        state().services.prompt->tell(window(),
            QStringLiteral("Notarium テンプレートのデータタイプ(*.nmt)はすでに登録されています。"), stopped,
            MessageIcon::Information);
}

void OtherPage::removeRegistration()
{
    if (!confirm(QStringLiteral("関連付けとショートカットの登録を解除しますか？")))
        return;
    bool removed = false;
    {
        const WaitCursor wait;
        removed = ShellIntegration::forThisProgram().removeRegistration();
    }
    inform(removed ? QStringLiteral("関連付けとショートカットの登録を解除しました。")
                   : QStringLiteral("解除する登録はありません。"));
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
