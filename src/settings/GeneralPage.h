#pragma once

#include "settings/OptionPage.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace notarium {

class THotKeyEdit;

// Page 全般: hints and their delay, the tree's and menus' images, the "Title :" caption, the
// resident mode and its key, confirmations, the input method and deleted data.
class GeneralPage : public OptionPage {
    Q_OBJECT

public:
    explicit GeneralPage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

private:
    void followHints();
    void followResidentMode();

    QCheckBox* m_showHint = nullptr;
    QSpinBox* m_hintPause = nullptr;
    QLabel* m_hintPauseLabel = nullptr;
    QLabel* m_hintPauseUnit = nullptr;
    QCheckBox* m_taskTray = nullptr;
    QLabel* m_hotKeyLabel = nullptr;
    THotKeyEdit* m_hotKey = nullptr;
    QLabel* m_hotKeyNote = nullptr;
};

} // namespace notarium
