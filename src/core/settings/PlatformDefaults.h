#pragma once

#include <string>

namespace notarium {

// The setting defaults that depend on the machine. The core cannot ask the screen or the memo pane,
// so the program fills what it knows (useScreen, tabSize) and hands this to Settings.
struct PlatformDefaults {
    // Main window placement when the settings file has none.
    int windowX = 80;
    int windowY = 60;
    int windowWidth = 800;
    int windowHeight = 600;
    // Initial folder of the open and save dialogs, and of the backup and template folders.
    std::string documentsFolder = "/";
    // Written into the settings file at start-up when the keys are missing. The text editor has no
    // entry: the program looks for an installed one when it needs it.
    std::string printTool = "lp";
    std::string printOption;
    // The memo pane's current tab width: the TabSize default.
    int tabSize = 2;

    // Documents folder from $XDG_DOCUMENTS_DIR, else $HOME; the rest as above.
    static PlatformDefaults fromEnvironment();

    // A screen more than 600 pixels high keeps 80, 60, 800, 600; a smaller one gives the work area,
    // so the window fits.
    void useScreen(int screenHeight, int workLeft, int workTop, int workWidth, int workHeight);
};

} // namespace notarium
