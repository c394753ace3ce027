#include "app/QtProcessLauncher.h"

#include <QProcess>

namespace notarium {

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

} // namespace notarium
