#pragma once

#include "settings/OptionPage.h"

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace notarium {

// Page テキスト出力: what the text export puts before each title (outline numbers, a mark per
// level or a mark per kind, each with its own settings) and the export's switches.
class TextExportPage : public OptionPage {
    Q_OBJECT

public:
    static constexpr int kLevelCount = 9;

    explicit TextExportPage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

private:
    void followStyle();
    void showLevelMark();

    QRadioButton* m_outlineNumbers = nullptr;
    QRadioButton* m_nodeLevels = nullptr;
    QRadioButton* m_iconMarks = nullptr;
    QLineEdit* m_separator = nullptr;
    QLabel* m_separatorLabel = nullptr;
    QComboBox* m_level = nullptr;
    QLabel* m_levelLabel = nullptr;
    QLineEdit* m_levelMark = nullptr;
    QLabel* m_levelMarkLabel = nullptr;
    std::array<QLineEdit*, 3> m_kindMarks {};
    std::array<QLabel*, 3> m_kindLabels {};
    std::array<QString, kLevelCount> m_levelMarks;
};

} // namespace notarium
