#pragma once

#include "settings/OptionPage.h"

namespace notarium {

// Page その他: shortcuts to the program, the file types, and erasing the histories.
class OtherPage : public OptionPage {
    Q_OBJECT

public:
    explicit OtherPage(OptionDialogState& state);

private:
    void eraseRecentFiles();
    void eraseSearchHistory();
    bool confirm(const QString& question);
};

} // namespace notarium
