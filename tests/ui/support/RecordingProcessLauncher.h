#pragma once

#include "app/Services.h"

#include <QList>

namespace notarium {

// Stands in for starting programs in tests: keeps every start and starts nothing.
class RecordingProcessLauncher : public ProcessLauncher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };

    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        m_starts.append({ program, arguments });
        return m_succeeds;
    }

    // Whether the following starts report success (the default) or failure.
    void setSucceeds(bool succeeds) { m_succeeds = succeeds; }
    const QList<Start>& starts() const { return m_starts; }
    int count() const { return static_cast<int>(m_starts.size()); }
    const Start& last() const { return m_starts.constLast(); }
    void clear() { m_starts.clear(); }

private:
    QList<Start> m_starts;
    bool m_succeeds = true;
};

} // namespace notarium
