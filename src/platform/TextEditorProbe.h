#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace notarium {

class Settings;

// Finds a program: its full path, or an empty string when it is not installed.
using ExecutableLookup = std::function<QString(const QString& program)>;

// The editors looked for, in order, each with the option that keeps its process running until the
// file is closed, so the external editor cycle knows when the person is done.
QStringList textEditorCandidates();

// The command of the first installed candidate; xdg-open (the desktop's choice) when none is.
// Without a lookup, programs are looked for on PATH as it is at the moment of the call.
QString probeTextEditor(const ExecutableLookup& findExecutable = {});

// The text editor command to start: the TextEditor setting, or the probe's answer when the
// setting asks for one (empty, or the default of earlier versions).
QString textEditorCommand(const Settings& settings, const ExecutableLookup& findExecutable = {});

} // namespace notarium
