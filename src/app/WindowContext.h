#pragma once

#include "app/Services.h"

#include <QString>

#include <functional>

class QWidget;

namespace notarium {

class Document;
class MemoBinding;
class Settings;
class StatusPanels;

// What command sets may ask of the window that hosts them.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Runs the enabling pass: every set's actions follow the window's state again. A command
    // that changed what the state is read from (the tree, the read-only flag, the clipboard)
    // without a selection change calls it.
    virtual void updateActions() = 0;
    // Undoes a maximised pane (before the document is replaced, and at exit).
    virtual void restorePanes() = 0;
    // The one way to write the settings file: change is applied to a fresh read of the file,
    // which is then saved, and to the window's settings. A failed save is reported to the person;
    // false then.
    virtual bool updateSettings(const std::function<void(Settings&)>& change) = 0;
};

// The narrow part of one main window that its command sets share. The window owns everything
// named here and outlives its command sets.
struct WindowContext {
    QWidget* window; // the parent of message boxes and dialogs
    Document& document;
    const Settings& settings; // read; written through host.updateSettings
    Services services;
    MemoBinding& memo;
    StatusPanels& status;
    WindowHost& host;
    QString configFolder; // Template.ini and HelpList.dat live here
    QString tempFolder; // the external tools' work files (created when one is written)
    QString programFolder; // the program's executables: notarium and the tray loader
    QString recoveryFolder; // the recovery copies of unsaved documents (empty: none are kept)

    PromptService& prompt() const { return *services.prompt; }
    HelpService& help() const { return *services.help; }
    void beep() const { services.prompt->beep(); }
    void updateActions() const { host.updateActions(); }
};

} // namespace notarium
