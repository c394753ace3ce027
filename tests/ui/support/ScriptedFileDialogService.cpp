#include "support/ScriptedFileDialogService.h"

namespace notarium {

QString ScriptedFileDialogService::openFileName(
    QWidget*, const QString& title, const QString& folder, const QString& filter)
{
    m_requests.append({ false, title, folder, filter, {} });
    return m_openPaths.isEmpty() ? QString() : m_openPaths.dequeue();
}

QString ScriptedFileDialogService::saveFileName(QWidget*, const QString& title, const QString& initialPath,
    const QString& filter, const QString& defaultSuffix)
{
    m_requests.append({ true, title, initialPath, filter, defaultSuffix });
    return m_savePaths.isEmpty() ? QString() : m_savePaths.dequeue();
}

} // namespace notarium
