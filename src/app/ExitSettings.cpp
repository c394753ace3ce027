#include "app/ExitSettings.h"

#include "app/Colours.h"
#include "app/ToolBarLayout.h"
#include "app/WindowPlacement.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"

#include <QMainWindow>
#include <QToolBar>

namespace notarium {

std::function<void(Settings&)> exitSettings(const QMainWindow& window, int treeWidth, const TExtMemo& memo,
    const QStringList& recentFiles, const QList<QToolBar*>& toolBars)
{
    const WindowShowState show = windowShowState(window);
    const QRect placement = normalPlacementGeometry(window);
    const TImeColors ime = memo.ImeColors();
    const int tabWidth = memo.TabWidth();
    std::vector<std::string> recent;
    for (const QString& path : recentFiles)
        recent.push_back(path.toStdString());
    const std::string toolBarState = window.saveState().toBase64().toStdString();
    std::vector<std::pair<std::string, ToolBarPosition>> bars;
    for (QToolBar* bar : toolBars)
        bars.emplace_back(bar->objectName().toStdString(), describeToolBar(window, *bar));

    return [=](Settings& settings) {
        writeWindowPlacement(settings, show, placement);
        settings.set(key::TreeWidth, treeWidth);
        // The input method colours are the memo pane's; they are written back as colour names.
        auto writeState = [&settings](const TImeColor& colour, auto textKey, auto backKey, auto lineKey) {
            settings.set(textKey, colourFromQColor(colour.icText()));
            settings.set(backKey, colourFromQColor(colour.icBackground()));
            settings.set(lineKey, (colour.Style() & fsUnderline) != 0);
        };
        writeState(ime.WatchingUntransfered, key::ImeWUText, key::ImeWUBack, key::ImeWULine);
        writeState(ime.Untransfered, key::ImeUTText, key::ImeUTBack, key::ImeUTLine);
        writeState(ime.WatchingTransfered, key::ImeWTText, key::ImeWTBack, key::ImeWTLine);
        writeState(ime.Transfered, key::ImeTFText, key::ImeTFBack, key::ImeTFLine);
        if (!settings.contains(key::EnableCtrlAltKey))
            settings.set(key::EnableCtrlAltKey, false);
        settings.set(key::TabSize, tabWidth);
        settings.setRecentFiles(recent);
        // Qt's own record of the tool bars' rows, positions and floating places, beside the
        // per-tool-bar sections that keep their visibility and edge readable.
        settings.ini().writeString(kToolBarStateSection, kToolBarStateKey, toolBarState);
        for (const auto& [name, position] : bars)
            settings.setToolBarPosition(name, position);
    };
}

} // namespace notarium
