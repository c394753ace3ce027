#include "platform/TextEditorProbe.h"

#include "core/settings/Settings.h"

#include <QStandardPaths>

namespace notarium {

QStringList textEditorCandidates()
{
    return {
        QStringLiteral("gnome-text-editor --standalone"),
        QStringLiteral("gedit --wait"),
        QStringLiteral("kate --block"),
        QStringLiteral("mousepad"),
    };
}

QString probeTextEditor(const ExecutableLookup& findExecutable)
{
    for (const QString& command : textEditorCandidates()) {
        const QString program = command.section(QLatin1Char(' '), 0, 0);
        const QString found
            = findExecutable ? findExecutable(program) : QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            return command;
    }
    return QStringLiteral("xdg-open");
}

QString textEditorCommand(const Settings& settings, const ExecutableLookup& findExecutable)
{
    return QString::fromStdString(
        settings.textEditor([&findExecutable] { return probeTextEditor(findExecutable).toStdString(); }));
}

} // namespace notarium
