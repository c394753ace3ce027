#pragma once

#include <QList>
#include <QString>

namespace notarium {

// The processes that hold a file open, found through the open file descriptors in /proc/<pid>/fd.
// Only processes whose descriptors this user may read are seen (the user's own, as a rule); the
// scan of a few hundred processes takes some milliseconds. A file that does not exist is held by
// none.
QList<qint64> processesHoldingOpen(const QString& path);

} // namespace notarium
