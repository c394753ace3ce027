#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace notarium {

namespace {

// An XDG base folder: the variable when it holds an absolute path (the XDG rules say relative
// values are invalid and must be ignored), else the home folder's fallback.
QString xdgFolder(const char* variable, const QString& homeFallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + homeFallback);
}

bool makeFolder(const QString& path, QFile::Permissions permissions, QString* error)
{
    QDir dir(path);
    if (dir.exists())
        return true;
    if (QDir().mkpath(path)) {
        QFile::setPermissions(path, permissions);
        return true;
    }
    if (error)
        *error = QStringLiteral("フォルダー %1 を作成できませんでした。").arg(QDir::toNativeSeparators(path));
    return false;
}

} // namespace

AppPaths AppPaths::fromEnvironment(const QString& executableFolder)
{
    AppPaths paths;
    paths.m_executableFolder = QDir::cleanPath(QFileInfo(executableFolder).absoluteFilePath());
    const QString besideExecutable
        = paths.m_executableFolder + QLatin1Char('/') + QLatin1String(kSettingsFileName);
    paths.m_portable = QFileInfo(besideExecutable).isFile();
    if (paths.m_portable) {
        paths.m_configFolder = paths.m_executableFolder;
        paths.m_tempFolder = paths.m_executableFolder + QStringLiteral("/Temp");
        paths.m_recoveryFolder = paths.m_executableFolder + QStringLiteral("/Recovery");
    } else {
        paths.m_configFolder
            = xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/notarium");
        paths.m_tempFolder
            = xdgFolder("XDG_CACHE_HOME", QStringLiteral(".cache")) + QStringLiteral("/notarium/Temp");
        paths.m_recoveryFolder = xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state"))
            + QStringLiteral("/notarium/recovery");
    }
    return paths;
}

QString AppPaths::settingsFile() const
{
    return m_configFolder + QLatin1Char('/') + QLatin1String(kSettingsFileName);
}

QString AppPaths::templateStore() const
{
    return m_configFolder + QLatin1Char('/') + QLatin1String(kTemplateStoreName);
}

QString AppPaths::helperListFile() const
{
    return m_configFolder + QLatin1Char('/') + QLatin1String(kHelperListName);
}

bool AppPaths::ensureConfigFolder(QString* error) const
{
    return makeFolder(m_configFolder,
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther,
        error);
}

bool AppPaths::ensureTempFolder(QString* error) const
{
    return ensurePrivateFolder(m_tempFolder, error);
}

bool AppPaths::ensurePrivateFolder(const QString& path, QString* error)
{
    return makeFolder(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner, error);
}

QString AppPaths::documentsFolder()
{
    // Qt reads the XDG user folders (user-dirs.dirs) and falls back to ~/Documents, which may not
    // exist on a minimal system; a dialog opened on a missing folder lands somewhere arbitrary.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return QDir::cleanPath(documents);
    return QDir::cleanPath(QDir::homePath());
}

PlatformDefaults AppPaths::platformDefaults()
{
    PlatformDefaults defaults = PlatformDefaults::fromEnvironment();
    defaults.documentsFolder = documentsFolder().toStdString();
    return defaults;
}

QString AppPaths::dataFile(const QString& name)
{
    const QString installed = QDir::cleanPath(
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/notarium/") + name);
    if (QFileInfo(installed).isFile())
        return installed;
#ifdef NOTARIUM_BUILD_DATA_DIR
    const QString built = QStringLiteral(NOTARIUM_BUILD_DATA_DIR "/") + name;
    if (QFileInfo(built).isFile())
        return built;
#endif
    return installed;
}

} // namespace notarium
