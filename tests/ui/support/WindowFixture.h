#pragma once

#include "app/MainWindow.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <memory>
#include <string>

class QAction;

namespace notarium {

class Document;
class Node;

// One main window under test, with its settings in memory (or in a file, with useSettingsFile),
// the recording services and a temporary folder for its files (the open and save dialogs start
// there). The window is made by start(), so a test can change the settings or a service first.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // Creates and shows the window; with activate, waits until it is the active window (for tests
    // of the keyboard focus), else until it is exposed.
    void start(bool activate = false);
    // Closes nothing: destroys the window as the end of a test does.
    void stop();
    // A context for another window on the same settings and services.
    MainWindowContext context();

    TMainForm1& window() { return *m_window; }
    Document& document() { return m_window->document(); }
    SettingsStore& store() { return *m_store; }
    Settings& settings() { return m_store->settings(); }
    IniFile& ini() { return m_store->settings().ini(); }
    // From now on the settings are read from and written to a file (for tests of what reaches
    // the disk); it is loaded at once.
    void useSettingsFile(const QString& path);
    TestServices& services() { return m_services; }
    RecordingPromptService& prompt() { return m_services.prompt; }
    // Replaces the prompt service of windows started from now on.
    void usePrompt(PromptService* prompt) { m_prompt = prompt; }
    // Windows started from now on look for the program's executables (the tray loader) here.
    void useProgramFolder(const QString& folder) { m_programFolder = folder; }
    // Windows started from now on keep the recovery copies of unsaved documents here (by default
    // they keep none).
    void useRecoveryFolder(const QString& folder) { m_recoveryFolder = folder; }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QAction* action(const char* name) const;
    bool isEnabled(const char* name) const;
    // The action's own trigger, as a click or its key would; the action must exist and be enabled
    // (the test fails otherwise).
    void trigger(const char* name);
    // Triggers the action; once the modal dialog it opens is shown, act runs on it, made the
    // active window first so that the keys a test types reach it. A dialog still open afterwards
    // is closed with the button named closeWith, or else cancelled. False when none opened.
    template <typename Dialog>
    bool whileModal(const char* name, const std::function<void(Dialog&)>& act, const char* closeWith = nullptr)
    {
        bool shown = false;
        QObject guard; // a dialog that never opened leaves no timer behind
        QTimer::singleShot(0, &guard, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            shown = true;
            // The offscreen platform leaves the activation with the window that opened it.
            QApplication::setActiveWindow(dialog);
            act(*dialog);
            close(*dialog, closeWith);
        });
        trigger(name);
        return shown;
    }
    Node* node(int index) const;
    // The node with this title (CP932 bytes), the first in pre-order.
    Node* find(const std::string& title) const;
    void select(const std::string& title);

    // Writes plan.nmd: A (memo, two lines), B (category) with child C (result) collapsed, D under
    // the paper folder; returns its path.
    QString writeSampleFile(const QString& name = QStringLiteral("plan.nmd")) const;

private:
    static void close(QDialog& dialog, const char* closeWith);

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    TestServices m_services;
    PromptService* m_prompt = nullptr;
    QString m_programFolder;
    QString m_recoveryFolder;
    std::unique_ptr<TMainForm1> m_window;
};

} // namespace notarium
