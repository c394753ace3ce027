#pragma once

#include "settings/OptionPage.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace notarium {

class TColourBox;
class TExtMemo;

// The page フォントと表示色: the fonts and colours of the tree, the title box and the memo pane,
// each shown at once in a sample, and the memo pane's line-break marks and caret line. Apply
// writes every key of the page.
class FontPage : public OptionPage {
    Q_OBJECT

public:
    explicit FontPage(OptionDialogState& state);
    ~FontPage() override;

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Pane { TreeSample, TitleSample, MemoSample, PaneCount };
    // A pane's font and colours as the settings keep them.
    struct Look {
        QString name;
        int size = 0;
        int style = 0;
        Colour text = 0;
        Colour back = 0;
    };

    void chooseFont(Pane pane);
    void chooseColour(Pane pane);
    void showSample(Pane pane);
    void followSwitches();
    void followMemoWidth();
    QWidget* sample(Pane pane) const;

    std::array<Look, PaneCount> m_looks;
    QTreeWidget* m_sampleTree = nullptr;
    QLineEdit* m_sampleTitle = nullptr;
    TExtMemo* m_sampleMemo = nullptr;
    QCheckBox* m_showReturn = nullptr;
    QLabel* m_returnColourLabel = nullptr;
    TColourBox* m_returnColour = nullptr;
    QCheckBox* m_reverse = nullptr;
    QCheckBox* m_caretLine = nullptr;
    QLabel* m_lineColourLabel = nullptr;
    TColourBox* m_lineColour = nullptr;
};

} // namespace notarium
