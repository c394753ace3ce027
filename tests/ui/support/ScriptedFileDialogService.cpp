#include "support/ScriptedFileDialogService.h"

namespace notarium {

QString ScriptedFileDialogService::openFileName(
    QWidget*, const QString& title, const QString& folder, const QString& filter, bool* readOnly)
{
    m_requests.append({ false, title, folder, filter, {}, readOnly != nullptr });
    if (whileShown)
        whileShown();
    if (m_openPaths.isEmpty())
        return {};
    const bool ticked = m_openReadOnly.dequeue();
    if (readOnly != nullptr)
        *readOnly = ticked;
    return m_openPaths.dequeue();
}

QString ScriptedFileDialogService::saveFileName(QWidget*, const QString& title, const QString& initialPath,
    const QString& filter, const QString& defaultSuffix)
{
    m_requests.append({ true, title, initialPath, filter, defaultSuffix });
    if (whileShown)
        whileShown();
    return m_savePaths.isEmpty() ? QString() : m_savePaths.dequeue();
}

} // namespace notarium
