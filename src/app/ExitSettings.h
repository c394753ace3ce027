#pragma once

#include <QList>
#include <QStringList>

#include <functional>

class QMainWindow;
class QToolBar;

namespace notarium {

class Settings;
class TExtMemo;

// The keys a main window owns at exit, read off the window as it is now and written as one
// settings update: its placement, the tree pane's width, the memo pane's input method colours
// and tab width, the recent files and the tool bars. Nothing else is touched, so what another
// window, the options dialog or a person wrote meanwhile stays.
std::function<void(Settings&)> exitSettings(const QMainWindow& window, int treeWidth, const TExtMemo& memo,
    const QStringList& recentFiles, const QList<QToolBar*>& toolBars);

} // namespace notarium
