#pragma once

#include "settings/OptionPage.h"

class QLineEdit;

namespace notarium {

// Page 外部ツール: the text editor (its command, options, the wait before its file is watched and
// the switch for editors that return at once) and the print tool with its options.
class ToolPage : public OptionPage {
    Q_OBJECT

public:
    explicit ToolPage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

private:
    QLineEdit* m_printTool = nullptr;
    QLineEdit* m_printParam = nullptr;
};

} // namespace notarium
