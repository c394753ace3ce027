#pragma once

#include "app/Services.h"

namespace notarium {

// Starts other programs detached from this one, so they outlive it. A program started to be
// waited for is watched through a process file descriptor, which stays tied to that one process
// even when its id is reused; on kernels without them, the process table is looked at instead.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
    std::unique_ptr<StartedProgram> start(
        const QString& program, const QStringList& arguments, std::function<void()> ended) override;
};

} // namespace notarium
