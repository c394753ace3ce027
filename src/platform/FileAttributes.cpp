#include "platform/FileAttributes.h"

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace notarium {

bool isReadOnlyFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info { };
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    // A file on a read-only file system counts too (EROFS).
    return ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0;
}

} // namespace notarium
