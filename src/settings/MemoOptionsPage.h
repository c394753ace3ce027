#pragma once

#include "settings/OptionPage.h"

namespace notarium {

// Page メモペイン: the tab width, auto indent, backspace unindent and Ctrl+Tab for a tab.
class MemoOptionsPage : public OptionPage {
    Q_OBJECT

public:
    explicit MemoOptionsPage(OptionDialogState& state);
};

} // namespace notarium
