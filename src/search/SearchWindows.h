#pragma once

#include "core/settings/Settings.h"

#include <QString>

#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QDialog;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace notarium {

class TExtMemo;
class TWinRoller;
struct WindowContext;

// What the find window and the search-and-replace window share: a modeless window that stays on
// top, centred on the main window when first shown, with the roll-up button at the top of its
// layout and Ctrl+Page Up / Ctrl+Page Down to roll it up and down.
namespace search_windows {

// Makes window a stay-on-top window of mainWindow, gives it its roller and returns the layout
// that holds the window's controls below the roller's title area. Closed, the window is deleted
// and the main window comes to the front again.
QVBoxLayout* prepare(QDialog* window, QWidget* mainWindow, TWinRoller*& roller);
// The memo pane's selected text cut to the search text's 64 bytes; empty without a selection.
QString selectedSearchText(const TExtMemo& memo);
// Places the window in the middle of the main window.
void centreOn(QWidget* window, const QWidget* mainWindow);
// Brings a window that is open already back: to the front without taking the focus, rolled down.
void bringBack(QWidget* window, TWinRoller* roller);

QCheckBox* checkBox(const char* name, const char* caption, const char* hint);

// The four search options both windows offer, with their captions and hints.
struct OptionBoxes {
    QCheckBox* matchCase;
    QCheckBox* matchByte; // half-width and full-width alike
    QCheckBox* ignoreCrLf; // line breaks and spaces inside a hit passed over
    QCheckBox* wholeWord;
};
OptionBoxes optionBoxes();
QRadioButton* radioButton(const char* name, const char* caption, const char* hint);

// Moves window vertically so that it leaves bottom (a point of the memo pane, in global
// coordinates) free; lower means it goes below it, else above.
void moveBelow(QWidget* window, int globalY);
// One line of the memo pane's font in pixels (points × pixels per inch ÷ 72), as the windows
// measure how far to move off a hit.
int lineHeight(const TExtMemo& memo);

// Writes a history box's entries to the settings when they differ from what the file holds.
void saveHistory(const WindowContext& context, Settings::History which, const std::vector<std::string>& entries);
void moveAboveBy(QWidget* window, int pixels);

} // namespace search_windows

} // namespace notarium
