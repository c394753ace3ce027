#pragma once

#include <QObject>

class QSocketNotifier;

namespace notarium {

// SIGTERM, SIGINT and SIGHUP as an ordinary Qt signal, so the loader ends through its event loop
// and clears its record like any other ending. The handler only writes the signal's number into
// a pipe, the one thing a signal handler may safely do; the event loop reads it.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void received(int signal);

private:
    void read();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace notarium
