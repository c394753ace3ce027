#pragma once

#include "settings/OptionPage.h"

#include <array>

class QCheckBox;

namespace notarium {

class ImeColourSample;
class TColourBox;

// The page 変換の色: the colours of the four states of an input method composition, each with a
// text colour, a background colour and an underline, and a sample of each on the memo pane's
// background. It edits the dialog's copy of the memo pane's set; OK writes it back there and into
// the settings. Apply leaves it alone.
class ImeColourPage : public OptionPage {
    Q_OBJECT

public:
    explicit ImeColourPage(OptionDialogState& state);
    ~ImeColourPage() override;

    void load(const Settings& settings) override;
    void showing() override;
    void store(Settings& settings, OptionScope scope) const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct StateControls {
        TColourBox* text = nullptr;
        TColourBox* back = nullptr;
        QCheckBox* underline = nullptr;
        // What the settings held when the dialog opened: a colour of the memo pane's set that
        // looks the same is shown in this form (a system colour stays one).
        Colour storedText = 0;
        Colour storedBack = 0;
    };

    void showSample();

    std::array<StateControls, 4> m_states;
    ImeColourSample* m_sample = nullptr;
};

} // namespace notarium
