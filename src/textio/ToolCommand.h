#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace notarium {

// A tool setting as the program and its own first arguments: split as a shell would
// ("gedit --wait"), unless the whole setting names an existing file (a path with blanks in it).
inline QStringList splitToolCommand(const QString& tool)
{
    const QFileInfo whole(tool);
    if (whole.isAbsolute() && whole.isFile())
        return { tool };
    return QProcess::splitCommand(tool);
}

} // namespace notarium
