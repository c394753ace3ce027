#pragma once

#include <QString>
#include <QStringList>

namespace notarium {

// The folders of the freedesktop conventions, as the environment names them.
struct DesktopFolders {
    QString dataHome;     // $XDG_DATA_HOME, else ~/.local/share
    QStringList dataDirs; // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    QString configHome;   // $XDG_CONFIG_HOME, else ~/.config
    QString desktop;      // $XDG_DESKTOP_DIR, else the user folder of the desktop

    static DesktopFolders fromEnvironment();
};

// Makes the program known to the desktop, for the one person running it: the file types of the
// data file and the template file, the program among the "Open With" programs of those types,
// shortcuts on the desktop and at log-in, and the log-in entry of the tray loader.
//
// Everything lives under the person's own folders. What each step added is written down in
// $XDG_DATA_HOME/notarium/desktop-registration, and removeRegistration() takes away exactly that:
// the files it wrote, the folders it made, and the default program it set, if no one has changed
// it since.
class ShellIntegration {
public:
    static constexpr const char* kDataType = "application/x-notarium-data";
    static constexpr const char* kTemplateType = "application/x-notarium-template";
    static constexpr const char* kApplicationId = "io.notarium.Notarium.desktop";

    // `runningProgram` is the running executable: the file types open with it. `programFolder`
    // holds the "notarium" and "notarium-loader" the shortcuts start, whatever name the running
    // executable has.
    ShellIntegration(DesktopFolders folders, QString runningProgram, QString programFolder);
    // For the running program, in the folders the environment names.
    static ShellIntegration forThisProgram();

    enum class Place { Desktop, Startup, OpenWith };

    // Whether the desktop already knows the type: a MIME package in any data folder defines it.
    bool isTypeKnown(const QString& type) const;

    struct Association {
        bool dataWasKnown = false;
        bool templateWasKnown = false;
        QString error; // the first file that could not be written, with the reason
    };
    // Registers each type the desktop does not know yet, and makes this program the default one
    // for data files. A type that is known already is left exactly as it is.
    Association associate();

    // Writes (or writes over) the shortcut of `place`. False when it could not be written.
    bool placeShortcut(Place place);
    QString shortcutPath(Place place) const;

    // The log-in entry that starts the tray loader while resident mode is on.
    bool placeLoaderStartup();
    void removeLoaderStartup();
    QString loaderStartupPath() const;

    // Takes away everything the steps above added. False when nothing had been added.
    bool removeRegistration();
    bool hasRegistration() const;

    QString registrationRecord() const;

private:
    struct Record;

    bool writeRecorded(Record& record, const QString& path, const QByteArray& bytes, QString* error);
    bool ensureFolder(Record& record, const QString& path);
    bool ensureIcon(Record& record);
    bool writeApplicationEntry(Record& record, const QString& program, QString* error);
    void setDefaultApplication(Record& record, const QString& type);
    bool writeShortcut(Record& record, const QString& path, const QString& name, const QString& program,
        const QStringList& arguments);
    Record readRecord() const;
    void saveRecord(Record& record);
    void refreshDatabases(bool mime, bool applications) const;

    DesktopFolders m_folders;
    QString m_runningProgram;
    QString m_programFolder;
};

} // namespace notarium
