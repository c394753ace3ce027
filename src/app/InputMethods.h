#pragma once

#include "app/Services.h"

namespace notarium {

class ImeLineEdit;
class Settings;
class TExtMemo;

// Whether the title box and the memo pane take input from the input method. Here a closed input
// method cannot be switched on by the person at all (unlike a system where closing only starts in
// direct input), so the program closes it only where the settings ask for exactly that: the title
// box with ImTitleOff. ControlIME ("always start the input method") therefore changes nothing: the
// input method is always available.
//
// The window's file dialogs are shown through this class: while one is open, both boxes have
// their input method closed, so a composition in progress is committed into them rather than
// lost, and nothing the person types for the dialog lands in the memo; afterwards the settings
// apply again.
class InputMethods : public FileDialogService {
public:
    InputMethods(ImeLineEdit& title, TExtMemo& memo, const Settings& settings, FileDialogService& dialogs);

    // Opens and closes the boxes' input methods as the settings say (at start, whenever a
    // document is started or opened, and after dialogs).
    void apply();
    void closeAll();

    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
        bool* readOnly = nullptr) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath, const QString& filter,
        const QString& defaultSuffix) override;
    QString folderName(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, QList<QColor>& customColours) override;

private:
    ImeLineEdit& m_title;
    TExtMemo& m_memo;
    const Settings& m_settings;
    FileDialogService& m_dialogs;
};

} // namespace notarium
