#include "settings/GeneralPage.h"

#include "settings/OptionControls.h"
#include "settings/THotKeyEdit.h"
#include "settings/TOptionDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

GeneralPage::GeneralPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("全般"), TOptionDialog::kFirstHelpContext + TOptionDialog::GeneralPage)
{
    m_showHint = check("cbShowHint", QStringLiteral("ヒントを表示する(&I)"));
    m_hintPause = spin("seHintPauseTime", 0, 900, 100, 3);
    m_hintPauseLabel = label(QStringLiteral("表示開始時間(&T)"), m_hintPause);
    m_hintPauseUnit = new QLabel(QStringLiteral("ms"));
    auto* noTreeIcon = check("cbNoTreeIcon", QStringLiteral("ツリーのアイコンを表示しない(&N)"));
    auto* noMenuIcon = check("cbNoMenuIcon", QStringLiteral("メニューのアイコンを表示しない(&M)"));
    auto* noTitle = check("cbNoTitle", QStringLiteral("メモペイン上部の「Title:」を表示しない(&L)"));
    m_taskTray = check("cbTaskTray", QStringLiteral("Notariumを常駐する(&R)"));
    m_hotKey = new THotKeyEdit;
    m_hotKey->setObjectName(QStringLiteral("TrayHotKey"));
    connect(m_hotKey, &THotKeyEdit::shortcutChanged, this, &GeneralPage::applyChanged);
    m_hotKeyLabel = label(QStringLiteral("ショートカットキー(&K)"), m_hotKey);
    m_hotKeyNote = new QLabel(
        QStringLiteral("※ショートカットキーを変更する場合は、常駐を一度\n   解除してから再度設定してください。"));
    m_hotKeyNote->setObjectName(QStringLiteral("HotKeyNote"));
    auto* noConfirm = check("cbNoConfDlg", QStringLiteral("できるだけ確認メッセージを出さない(&D)"));
    auto* controlIme = check("cbControlIME", QStringLiteral("常に IME（漢字変換）を起動する(&E)"));
    auto* saveData = check("cbSaveData", QStringLiteral("削除データをクリップボードに保存(&C)"));

    auto* hints = new QHBoxLayout;
    hints->addWidget(m_showHint);
    hints->addStretch(1);
    hints->addWidget(m_hintPauseLabel);
    hints->addWidget(m_hintPause);
    hints->addWidget(m_hintPauseUnit);
    auto* resident = new QGroupBox(QStringLiteral(" 常駐 "));
    auto* residentLayout = new QGridLayout(resident);
    residentLayout->addWidget(m_taskTray, 0, 0, 1, 2);
    residentLayout->addWidget(m_hotKeyLabel, 1, 0);
    residentLayout->addWidget(m_hotKey, 1, 1);
    residentLayout->addWidget(m_hotKeyNote, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(hints);
    for (QWidget* box : { static_cast<QWidget*>(noTreeIcon), static_cast<QWidget*>(noMenuIcon),
             static_cast<QWidget*>(noTitle), static_cast<QWidget*>(resident), static_cast<QWidget*>(noConfirm),
             static_cast<QWidget*>(controlIme), static_cast<QWidget*>(saveData) })
        layout->addWidget(box);
    layout->addStretch(1);

    bind(key::ShowHint, m_showHint, true);
    bind(key::HintPauseTime, m_hintPause, true);
    bind(key::NoTreeIcons, noTreeIcon, true);
    bind(key::NoMenuIcons, noMenuIcon, true);
    bind(key::NoTitle, noTitle, true);
    bind(key::InTaskTray, m_taskTray, true);
    bind(key::NoConfirm, noConfirm);
    bind(key::ControlIME, controlIme);
    bind(key::SaveData, saveData);
    connect(m_showHint, &QCheckBox::toggled, this, &GeneralPage::followHints);
    connect(m_taskTray, &QCheckBox::toggled, this, &GeneralPage::followResidentMode);
}

void GeneralPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    m_hotKey->setShortcut(settings.getForDialog(key::HotKey));
    // The resident mode needs the companion loader beside the program.
    m_taskTray->setEnabled(state().loaderInstalled);
    followHints();
    followResidentMode();
}

void GeneralPage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    settings.set(key::HotKey, m_hotKey->shortcut());
}

void GeneralPage::followHints()
{
    const bool on = m_showHint->isChecked();
    for (QWidget* control : { static_cast<QWidget*>(m_hintPause), static_cast<QWidget*>(m_hintPauseLabel),
             static_cast<QWidget*>(m_hintPauseUnit) })
        control->setEnabled(on);
}

void GeneralPage::followResidentMode()
{
    const bool on = m_taskTray->isChecked() && m_taskTray->isEnabled();
    m_hotKeyLabel->setEnabled(on);
    // The loader reads its key when it starts: while it runs, the key cannot change.
    m_hotKey->setEnabled(on && !state().loaderRunning);
    m_hotKeyNote->setVisible(on && state().loaderRunning);
}

} // namespace notarium
