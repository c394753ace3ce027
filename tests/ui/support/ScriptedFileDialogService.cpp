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

QString ScriptedFileDialogService::folderName(QWidget*, const QString& caption, const QString& folder)
{
    m_requests.append({ false, caption, folder, {}, {} });
    if (whileShown)
        whileShown();
    return m_folders.isEmpty() ? QString() : m_folders.dequeue();
}

std::optional<FontChoice> ScriptedFileDialogService::chooseFont(QWidget*, const FontChoice& initial)
{
    m_requests.append({ false, QStringLiteral("font"), {}, {}, {} });
    lastFont = initial;
    if (whileShown)
        whileShown();
    if (m_fonts.isEmpty())
        return std::nullopt;
    return m_fonts.dequeue();
}

std::optional<QColor> ScriptedFileDialogService::chooseColour(
    QWidget*, const QColor& initial, QList<QColor>& customColours)
{
    m_requests.append({ false, QStringLiteral("colour"), {}, {}, {} });
    lastColour = initial;
    lastCustomColours = customColours;
    if (whileShown)
        whileShown();
    if (m_colours.isEmpty())
        return std::nullopt;
    return m_colours.dequeue();
}

} // namespace notarium
