#pragma once

#include "settings/OptionPage.h"
#include "shell/ShellIntegration.h"

namespace notarium {

// Page その他: shortcuts to the program, the file types, and erasing the histories.
class OtherPage : public OptionPage {
    Q_OBJECT

public:
    explicit OtherPage(OptionDialogState& state);

private:
    void placeShortcut(ShellIntegration::Place place, const QString& question, const QString& report);
    void placeDesktopShortcut();
    void placeStartupShortcut();
    void placeOpenWithEntry();
    void associateFileTypes();
    void removeRegistration();
    void inform(const QString& text);
    void eraseRecentFiles();
    void eraseSearchHistory();
    bool confirm(const QString& question);
};

} // namespace notarium
