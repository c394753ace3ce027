#pragma once

#include <QFile>
#include <QString>

#include <string>

namespace notarium {

// A path as the core's file functions take it (the file system's own bytes), and back.
inline std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(path.c_str());
}

} // namespace notarium
