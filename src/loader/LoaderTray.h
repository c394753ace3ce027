#pragma once

#include "loader/GlobalHotKey.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace notarium {

class FileDialogService;
class ProcessLauncher;
class PromptService;

// The loader's tray icon and its menu: a new window, a file to open, the recently used files, and
// the end of resident mode. Every window is a separate run of the notarium program beside the
// loader, so the loader itself never holds a document.
//
// A click on the icon opens a new window, as that is what a person most often wants from it; the
// menu is on the other button, and on the hot key, at the pointer.
class LoaderTray : public QObject {
    Q_OBJECT

public:
    struct Services {
        ProcessLauncher* launcher;
        FileDialogService* files;
        PromptService* prompt;
    };

    LoaderTray(QString executableFolder, QString settingsFile, Services services, QObject* parent = nullptr);
    ~LoaderTray() override;

    // The tool tip tells when the hot key asked for cannot work here.
    void setHotKey(GlobalHotKey::State state, int shortcut);
    QString toolTip() const;
    void show();
    // The menu at the pointer (the hot key).
    void popUpMenu();

    // The tool tip for the hot key's state; keyText names the key.
    static QString toolTipFor(GlobalHotKey::State state, const QString& keyText);

signals:
    void quitRequested();

private:
    void fillRecentFiles();
    void startProgram(const QStringList& arguments);
    void openFile();

    QString m_executableFolder;
    QString m_settingsFile;
    Services m_services;
    QMenu* m_menu;
    QSystemTrayIcon* m_icon;
    QList<QAction*> m_recentItems;
    QAction* m_recentEnd = nullptr;
};

} // namespace notarium
