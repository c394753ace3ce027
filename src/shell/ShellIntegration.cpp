#include "shell/ShellIntegration.h"

#include "core/io/FileIo.h"
#include "core/shell/DesktopFiles.h"
#include "platform/LocalPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <map>

namespace notarium {

namespace {

constexpr const char* kDesktopGroup = "Desktop Entry";
constexpr const char* kDefaultsGroup = "Default Applications";
const QString kShortcutName = QStringLiteral("Notarium");
const QString kLoaderStartupName = QStringLiteral("Notarium Startup");
const QString kShortcutComment = QStringLiteral("Outline Text Editor - Notarium");
const QString kIconName = QStringLiteral("notarium");

QString absoluteFolder(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return fallback;
}

std::string utf8(const QString& text)
{
    return text.toStdString();
}

QByteArray resource(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray readFile(const QString& path)
{
    std::string bytes;
    if (!readWholeFile(localPath(path), bytes))
        return {};
    return QByteArray::fromStdString(bytes);
}

QString packageFileName(const QString& type)
{
    return type == QLatin1String(ShellIntegration::kDataType) ? QStringLiteral("notarium-data.xml")
                                                              : QStringLiteral("notarium-template.xml");
}

// Runs a desktop tool where it is installed; the desktop works without it, only later.
void runTool(const QString& name, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        process.kill();
}

// A shortcut of the program's: its comment and icon, working in the target's folder.
std::string shortcutText(const QString& name, const QString& program, const QStringList& arguments)
{
    desktop::Shortcut shortcut;
    shortcut.name = utf8(name);
    shortcut.comment = utf8(kShortcutComment);
    shortcut.program = utf8(program);
    for (const QString& argument : arguments)
        shortcut.arguments.push_back(utf8(argument));
    shortcut.workingFolder = utf8(QFileInfo(program).absolutePath());
    shortcut.icon = utf8(kIconName);
    return desktop::shortcutEntry(shortcut);
}

} // namespace

DesktopFolders DesktopFolders::fromEnvironment()
{
    DesktopFolders folders;
    const QString home = QDir::homePath();
    folders.dataHome = absoluteFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    folders.configHome = absoluteFolder("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            folders.dataDirs << QDir::cleanPath(dir);
    if (folders.dataDirs.isEmpty())
        folders.dataDirs = { QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share") };
    folders.desktop = absoluteFolder(
        "XDG_DESKTOP_DIR", QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    return folders;
}

// What the steps wrote, in the order they wrote it.
struct ShellIntegration::Record {
    QStringList files;
    QStringList folders;
    std::map<QString, QString> defaults; // type -> the desktop entry made its default

    bool isEmpty() const { return files.isEmpty() && folders.isEmpty() && defaults.empty(); }
    void addFile(const QString& path)
    {
        if (!files.contains(path))
            files << path;
    }
};

ShellIntegration::ShellIntegration(DesktopFolders folders, QString runningProgram, QString programFolder)
    : m_folders(std::move(folders))
    , m_runningProgram(std::move(runningProgram))
    , m_programFolder(std::move(programFolder))
{
}

ShellIntegration ShellIntegration::forThisProgram()
{
    return ShellIntegration(DesktopFolders::fromEnvironment(), QCoreApplication::applicationFilePath(),
        QCoreApplication::applicationDirPath());
}

QString ShellIntegration::registrationRecord() const
{
    return m_folders.dataHome + QStringLiteral("/notarium/desktop-registration");
}

bool ShellIntegration::isTypeKnown(const QString& type) const
{
    const std::string name = utf8(type);
    for (const QString& dataDir : QStringList { m_folders.dataHome } + m_folders.dataDirs) {
        const QDir mime(dataDir + QStringLiteral("/mime"));
        if (desktop::typeListNames(readFile(mime.filePath(QStringLiteral("types"))).toStdString(), name))
            return true;
        const QDir packages(mime.filePath(QStringLiteral("packages")));
        for (const QString& file : packages.entryList({ QStringLiteral("*.xml") }, QDir::Files))
            if (desktop::packageDefinesType(readFile(packages.filePath(file)).toStdString(), name))
                return true;
    }
    return false;
}

ShellIntegration::Association ShellIntegration::associate()
{
    Association result;
    Record record = readRecord();
    const std::string package = resource(QStringLiteral(":/desktop/notarium-mime.xml")).toStdString();
    bool wroteType = false;
    bool wroteEntry = false;
    for (const char* type : { kDataType, kTemplateType }) {
        const QString name = QString::fromLatin1(type);
        const bool known = isTypeKnown(name);
        (name == QLatin1String(kDataType) ? result.dataWasKnown : result.templateWasKnown) = known;
        if (known)
            continue;
        const std::optional<std::string> single = desktop::singleTypePackage(package, utf8(name));
        const QString path = m_folders.dataHome + QStringLiteral("/mime/packages/") + packageFileName(name);
        if (!single || !writeRecorded(record, path, QByteArray::fromStdString(*single), &result.error))
            continue;
        wroteType = true;
        ensureIcon(record);
        // Only the data file opens in the program; the template file is known by its icon alone.
        if (name == QLatin1String(kDataType)) {
            const QString entry = m_folders.dataHome + QStringLiteral("/applications/") + QLatin1String(kApplicationId);
            bool entryFound = false;
            for (const QString& dataDir : m_folders.dataDirs)
                entryFound = entryFound
                    || QFileInfo::exists(dataDir + QStringLiteral("/applications/") + QLatin1String(kApplicationId));
            if (!entryFound && !QFileInfo::exists(entry))
                wroteEntry = writeApplicationEntry(record, m_runningProgram, &result.error) || wroteEntry;
            setDefaultApplication(record, name);
        }
    }
    saveRecord(record);
    refreshDatabases(wroteType, wroteEntry);
    return result;
}

bool ShellIntegration::writeRecorded(Record& record, const QString& path, const QByteArray& bytes, QString* error)
{
    if (!ensureFolder(record, QFileInfo(path).absolutePath())) {
        if (error && error->isEmpty())
            *error = QStringLiteral("フォルダー %1 を作成できませんでした。").arg(QFileInfo(path).absolutePath());
        return false;
    }
    std::string reason;
    if (!writeFileAtomically(localPath(path), std::string_view(bytes.constData(), bytes.size()), &reason)) {
        if (error && error->isEmpty())
            *error = QString::fromStdString(reason);
        return false;
    }
    record.addFile(path);
    return true;
}

bool ShellIntegration::ensureFolder(Record& record, const QString& path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder);) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString& folder : missing) {
        if (!QDir().mkdir(folder))
            return false;
        record.folders << folder;
    }
    return QFileInfo(path).isDir();
}

bool ShellIntegration::ensureIcon(Record& record)
{
    const QString relative = QStringLiteral("/icons/hicolor/scalable/apps/") + kIconName + QStringLiteral(".svg");
    for (const QString& dataDir : QStringList { m_folders.dataHome } + m_folders.dataDirs)
        if (QFileInfo::exists(dataDir + relative))
            return true;
    return writeRecorded(record, m_folders.dataHome + relative, resource(QStringLiteral(":/icons/notarium.svg")), nullptr);
}

bool ShellIntegration::writeApplicationEntry(Record& record, const QString& program, QString* error)
{
    std::string entry = resource(QStringLiteral(":/desktop/io.notarium.Notarium.desktop")).toStdString();
    entry = desktop::withKey(entry, kDesktopGroup, "Exec", desktop::escapeValue(desktop::execArgument(utf8(program)) + " %f"));
    entry = desktop::withKey(entry, kDesktopGroup, "TryExec", desktop::escapeValue(utf8(program)));
    const QString path = m_folders.dataHome + QStringLiteral("/applications/") + QLatin1String(kApplicationId);
    return writeRecorded(record, path, QByteArray::fromStdString(entry), error);
}

void ShellIntegration::setDefaultApplication(Record& record, const QString& type)
{
    const QString path = m_folders.configHome + QStringLiteral("/mimeapps.list");
    const std::string before = readFile(path).toStdString();
    if (desktop::keyValue(before, kDefaultsGroup, utf8(type)))
        return; // the person chose a program for the type already
    const std::string after = desktop::withKey(before, kDefaultsGroup, utf8(type), kApplicationId);
    if (!ensureFolder(record, m_folders.configHome) || !writeFileAtomically(localPath(path), after))
        return;
    record.defaults[type] = QString::fromLatin1(kApplicationId);
}

QString ShellIntegration::shortcutPath(Place place) const
{
    switch (place) {
    case Place::Desktop:
        return m_folders.desktop + QLatin1Char('/') + kShortcutName + QStringLiteral(".desktop");
    case Place::Startup:
        return m_folders.configHome + QStringLiteral("/autostart/") + kShortcutName + QStringLiteral(".desktop");
    case Place::OpenWith:
        break;
    }
    return m_folders.dataHome + QStringLiteral("/applications/") + QLatin1String(kApplicationId);
}

bool ShellIntegration::placeShortcut(Place place)
{
    Record record = readRecord();
    const QString program = m_programFolder + QStringLiteral("/notarium");
    bool written = false;
    if (place == Place::OpenWith) {
        // The file manager lists the program among those that open the two file types.
        ensureIcon(record);
        written = writeApplicationEntry(record, program, nullptr);
        saveRecord(record);
        refreshDatabases(false, written);
        return written;
    }
    const QStringList arguments = place == Place::Startup ? QStringList { QStringLiteral("-N") } : QStringList {};
    written = writeShortcut(record, shortcutPath(place), kShortcutName, program, arguments);
    if (written && place == Place::Desktop) {
        // A launcher on the desktop runs only when it is executable, and on GNOME also trusted.
        QFile::setPermissions(shortcutPath(place),
            QFile::permissions(shortcutPath(place)) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        runTool(QStringLiteral("gio"),
            { QStringLiteral("set"), shortcutPath(place), QStringLiteral("metadata::trusted"), QStringLiteral("true") });
    }
    saveRecord(record);
    return written;
}

bool ShellIntegration::writeShortcut(
    Record& record, const QString& path, const QString& name, const QString& program, const QStringList& arguments)
{
    ensureIcon(record);
    return writeRecorded(record, path, QByteArray::fromStdString(shortcutText(name, program, arguments)), nullptr);
}

QString ShellIntegration::loaderStartupPath() const
{
    return m_folders.configHome + QStringLiteral("/autostart/") + kLoaderStartupName + QStringLiteral(".desktop");
}

bool ShellIntegration::placeLoaderStartup()
{
    // Owned by the resident mode, not by the registration: switching the mode off removes it.
    QDir().mkpath(QFileInfo(loaderStartupPath()).absolutePath());
    return writeFileAtomically(localPath(loaderStartupPath()),
        shortcutText(kLoaderStartupName, m_programFolder + QStringLiteral("/notarium-loader"), {}));
}

void ShellIntegration::removeLoaderStartup()
{
    QFile::remove(loaderStartupPath());
}

bool ShellIntegration::hasRegistration() const
{
    return QFileInfo::exists(registrationRecord());
}

bool ShellIntegration::removeRegistration()
{
    const Record record = readRecord();
    if (record.isEmpty()) {
        QFile::remove(registrationRecord());
        return false;
    }
    bool types = false;
    bool entries = false;
    for (const QString& file : record.files) {
        types = types || file.startsWith(m_folders.dataHome + QStringLiteral("/mime/"));
        entries = entries || file.startsWith(m_folders.dataHome + QStringLiteral("/applications/"));
        QFile::remove(file);
    }
    if (!record.defaults.empty()) {
        const QString path = m_folders.configHome + QStringLiteral("/mimeapps.list");
        std::string text = readFile(path).toStdString();
        const std::string before = text;
        for (const auto& [type, id] : record.defaults)
            if (desktop::keyValue(text, kDefaultsGroup, utf8(type)) == utf8(id))
                text = desktop::withoutKey(text, kDefaultsGroup, utf8(type));
        if (text != before)
            writeFileAtomically(localPath(path), text);
    }
    QFile::remove(registrationRecord());
    // The MIME database of a folder it made holds nothing but what was compiled from the packages.
    const QString mime = m_folders.dataHome + QStringLiteral("/mime");
    if (record.folders.contains(mime)
        && QDir(mime + QStringLiteral("/packages")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        QDir(mime).removeRecursively();
    else
        refreshDatabases(types, false);
    if (entries)
        refreshDatabases(false, true);
    // update-desktop-database leaves its cache in a folder it was run on.
    for (auto folder = record.folders.crbegin(); folder != record.folders.crend(); ++folder) {
        if (*folder == m_folders.dataHome + QStringLiteral("/applications"))
            QFile::remove(*folder + QStringLiteral("/mimeinfo.cache"));
        QDir().rmdir(*folder);
    }
    return true;
}

ShellIntegration::Record ShellIntegration::readRecord() const
{
    Record record;
    const QString text = QString::fromUtf8(readFile(registrationRecord()));
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() == 2 && fields[0] == QLatin1String("file"))
            record.addFile(fields[1]);
        else if (fields.size() == 2 && fields[0] == QLatin1String("folder"))
            record.folders << fields[1];
        else if (fields.size() == 3 && fields[0] == QLatin1String("default"))
            record.defaults[fields[1]] = fields[2];
    }
    return record;
}

void ShellIntegration::saveRecord(Record& record)
{
    if (record.isEmpty())
        return;
    // The record's own folder is part of what was made, so removal leaves nothing behind.
    ensureFolder(record, QFileInfo(registrationRecord()).absolutePath());
    QString text;
    for (const QString& folder : record.folders)
        text += QStringLiteral("folder\t") + folder + QLatin1Char('\n');
    for (const QString& file : record.files)
        text += QStringLiteral("file\t") + file + QLatin1Char('\n');
    for (const auto& [type, id] : record.defaults)
        text += QStringLiteral("default\t") + type + QLatin1Char('\t') + id + QLatin1Char('\n');
    writeFileAtomically(localPath(registrationRecord()), text.toStdString());
}

void ShellIntegration::refreshDatabases(bool mime, bool applications) const
{
    if (mime)
        runTool(QStringLiteral("update-mime-database"), { m_folders.dataHome + QStringLiteral("/mime") });
    if (applications)
        runTool(QStringLiteral("update-desktop-database"), { m_folders.dataHome + QStringLiteral("/applications") });
}

} // namespace notarium
