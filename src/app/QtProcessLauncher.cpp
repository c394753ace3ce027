#include "app/QtProcessLauncher.h"

#include <QFile>
#include <QObject>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace notarium {

namespace {

// Whether the process still runs: it has an entry in the process table that is not a zombie
// (nobody may reap a detached program's zombie for a while).
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    // "pid (name) state ...": the name may hold blanks and parentheses, the state follows the last ')'.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
}

class WatchedProgram : public StartedProgram {
public:
    WatchedProgram(qint64 pid, std::function<void()> ended)
        : m_pid(pid)
        , m_ended(std::move(ended))
    {
        m_fd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
        if (m_fd >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &m_context, [this] { finish(); });
        } else if (errno == ESRCH) {
            // It has ended and been reaped already.
            QTimer::singleShot(0, &m_context, [this] { finish(); });
        } else {
            m_poll.setInterval(100);
            QObject::connect(&m_poll, &QTimer::timeout, &m_context, [this] {
                if (!isRunning(m_pid))
                    finish();
            });
            m_poll.start();
        }
    }

    ~WatchedProgram() override
    {
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool hasEnded() const override { return m_hasEnded; }

private:
    void finish()
    {
        if (m_hasEnded)
            return;
        m_hasEnded = true;
        // The descriptor stays readable from now on.
        if (m_notifier)
            m_notifier->setEnabled(false);
        m_poll.stop();
        if (m_ended)
            m_ended();
    }

    qint64 m_pid;
    std::function<void()> m_ended;
    QObject m_context;
    QTimer m_poll;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_hasEnded = false;
};

} // namespace

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

std::unique_ptr<StartedProgram> QtProcessLauncher::start(
    const QString& program, const QStringList& arguments, std::function<void()> ended)
{
    qint64 pid = 0;
    if (program.isEmpty() || !QProcess::startDetached(program, arguments, QString(), &pid) || pid <= 0)
        return nullptr;
    return std::make_unique<WatchedProgram>(pid, std::move(ended));
}

} // namespace notarium
