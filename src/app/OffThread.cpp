#include "app/OffThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace notarium {

namespace {

// A drop from another program comes through the window system at once, not as input that waits:
// it is refused while the work runs.
class RefuseDrops : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

void runOffTheWindowThread(const std::function<void()>& work, const std::function<void()>& tick, int tickMs)
{
    QEventLoop loop;
    std::atomic<bool> done { false };
    std::exception_ptr failure;
    QTimer timer;
    timer.setInterval(tickMs);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (tick)
            tick();
        if (done.load())
            loop.quit();
    });
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        // Posted, so that it also ends a loop that has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    RefuseDrops refuseDrops;
    QCoreApplication::instance()->installEventFilter(&refuseDrops);
    timer.start();
    if (!done.load())
        loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace notarium
