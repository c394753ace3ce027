#pragma once

#include "app/QtProcessLauncher.h"
#include "app/Services.h"

#include <QList>
#include <QObject>
#include <QTimer>

namespace notarium {

// Stands in for starting programs in tests: keeps every start and starts nothing, unless told to
// run the programs for real (a test's own script standing in for the text editor).
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

    // Without running programs, a start that succeeds gives a program that has ended at once.
    std::unique_ptr<StartedProgram> start(
        const QString& program, const QStringList& arguments, std::function<void()> ended) override
    {
        m_starts.append({ program, arguments });
        if (!m_succeeds)
            return nullptr;
        if (m_runsPrograms)
            return m_real.start(program, arguments, std::move(ended));
        return std::make_unique<EndedProgram>(std::move(ended));
    }

    // Whether the following starts report success (the default) or failure.
    void setSucceeds(bool succeeds) { m_succeeds = succeeds; }
    // Whether start() really starts the program (off by default).
    void setRunsPrograms(bool runs) { m_runsPrograms = runs; }
    const QList<Start>& starts() const { return m_starts; }
    int count() const { return static_cast<int>(m_starts.size()); }
    const Start& last() const { return m_starts.constLast(); }
    void clear() { m_starts.clear(); }

private:
    class EndedProgram : public StartedProgram {
    public:
        explicit EndedProgram(std::function<void()> ended)
        {
            if (ended)
                QTimer::singleShot(0, &m_context, std::move(ended));
        }
        bool hasEnded() const override { return true; }

    private:
        QObject m_context;
    };

    QList<Start> m_starts;
    bool m_succeeds = true;
    bool m_runsPrograms = false;
    QtProcessLauncher m_real;
};

} // namespace notarium
