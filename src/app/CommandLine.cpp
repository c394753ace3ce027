#include "app/CommandLine.h"

#include <QDir>
#include <QUrl>

namespace notarium {

namespace {

// The letter of a switch ("-r", "/N"), or a null character for any other argument. A lone "/R"
// could in principle be a file in the root folder; such a file is not a data file anyone keeps.
QChar switchLetter(const QString& argument)
{
    if (argument.size() != 2 || (argument.at(0) != QLatin1Char('-') && argument.at(0) != QLatin1Char('/')))
        return {};
    const QChar letter = argument.at(1).toUpper();
    if (letter == QLatin1Char('R') || letter == QLatin1Char('N') || letter == QLatin1Char('S'))
        return letter;
    return {};
}

QString absolutePath(const QString& argument, const QString& currentFolder)
{
    QString path = argument;
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    if (QDir::isRelativePath(path))
        path = currentFolder + QLatin1Char('/') + path;
    return QDir::cleanPath(path);
}

} // namespace

CommandLineRequest parseCommandLine(const QStringList& arguments, const QString& currentFolder)
{
    CommandLineRequest request;
    bool readOnlySwitch = false;
    QString firstFile;
    bool onlyFiles = false;
    for (const QString& argument : arguments) {
        if (onlyFiles) {
            if (firstFile.isEmpty() && !argument.isEmpty())
                firstFile = argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        const QChar letter = switchLetter(argument);
        if (letter == QLatin1Char('R'))
            readOnlySwitch = true;
        else if (letter == QLatin1Char('N'))
            request.fromOtherWindow = true;
        else if (letter == QLatin1Char('S'))
            request.obsoleteS = true;
        else if (firstFile.isEmpty() && !argument.isEmpty() && !argument.startsWith(QLatin1Char('-')))
            firstFile = argument;
    }

    const bool lookForFile = !(readOnlySwitch || request.fromOtherWindow) || arguments.size() >= 2;
    if (lookForFile && !firstFile.isEmpty()) {
        request.path = absolutePath(firstFile, currentFolder);
        request.readOnly = readOnlySwitch;
    }
    return request;
}

} // namespace notarium
