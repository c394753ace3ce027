#pragma once

#include "app/Services.h"

namespace notarium {

// Starts other programs detached from this one, so they outlive it.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace notarium
