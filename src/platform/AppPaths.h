#pragma once

#include "core/settings/PlatformDefaults.h"

#include <QString>

namespace notarium {

// Where the program keeps its own files.
//
// Normally the settings file, Template.ini and HelpList.dat live in $XDG_CONFIG_HOME/notarium
// (~/.config/notarium when the variable is unset or not absolute) and the work files of the
// external tools in $XDG_CACHE_HOME/notarium/Temp. When a notarium.ini stands beside the
// executable the program runs portable: everything, Temp included, lives in the executable's folder,
// so a copy on a USB stick carries its settings with it.
//
// The paths are fixed when the object is built; folders are only created when asked, so merely
// starting and reading never leaves an empty folder behind.
class AppPaths {
public:
    static constexpr const char* kSettingsFileName = "notarium.ini";
    static constexpr const char* kTemplateStoreName = "Template.ini";
    static constexpr const char* kHelperListName = "HelpList.dat";

    // From the environment and the folder of the running executable
    // (QCoreApplication::applicationDirPath()).
    static AppPaths fromEnvironment(const QString& executableFolder);

    bool isPortable() const { return m_portable; }
    QString executableFolder() const { return m_executableFolder; }
    QString configFolder() const { return m_configFolder; }
    QString settingsFile() const;
    QString templateStore() const;
    QString helperListFile() const;
    QString tempFolder() const { return m_tempFolder; }
    // The recovery copies of unsaved documents: $XDG_STATE_HOME/notarium/recovery
    // (~/.local/state/...), or Recovery beside a portable executable.
    QString recoveryFolder() const { return m_recoveryFolder; }

    // Create the folder (and its parents) when missing. The settings writer calls
    // ensureConfigFolder() before saving; the external-tool commands ensureTempFolder() before
    // writing a work file. Temp is private to the user (0700): it holds copies of memo text.
    bool ensureConfigFolder(QString* error = nullptr) const;
    bool ensureTempFolder(QString* error = nullptr) const;
    // The same for a Temp folder known only by its path (a window's context carries the path).
    static bool ensurePrivateFolder(const QString& path, QString* error = nullptr);

    // The person's documents folder (the XDG user folder), else the home folder.
    static QString documentsFolder();
    // The machine defaults for Settings with this platform's documents folder filled in.
    static PlatformDefaults platformDefaults();

    // A read-only file the program ships (Default.key): the installed copy in
    // <executable folder>/../share/notarium, else the one the build wrote into its own tree.
    // When neither exists, the installed path, so a message can name where it was looked for.
    static QString dataFile(const QString& name);

private:
    bool m_portable = false;
    QString m_executableFolder;
    QString m_configFolder;
    QString m_tempFolder;
    QString m_recoveryFolder;
};

} // namespace notarium
