#include "frontend/responsivewait.h"

#include <memory>

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QThread>
#include <QTimer>

namespace {

// One for all nested waits: an outer wait must not hold an inner one's deadline.
class TimerHold : public QObject
{
    Q_OBJECT

public:
    explicit TimerHold(QObject *parent = nullptr) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Timer && !deadlines.contains(watched);
    }

    QList<const QObject *> deadlines;
};

TimerHold *activeHold = nullptr; // the application's thread only

} // namespace

bool ResponsiveWait::until(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        // No event loop to keep running: just wait.
        for (int waited = 0; !done() && waited < timeoutMs; ++waited)
            QThread::msleep(1);
        return done();
    }

    bool expired = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&expired]() { expired = true; });

    // Application event filters see the events of the application's thread only.
    const bool holdTimers = QThread::currentThread() == app->thread();
    std::unique_ptr<TimerHold> ownHold;
    if (holdTimers) {
        if (!activeHold) {
            ownHold = std::make_unique<TimerHold>();
            activeHold = ownHold.get();
            app->installEventFilter(activeHold);
        }
        activeHold->deadlines.append(&deadline);
    }

    deadline.start(timeoutMs);
    while (!done() && !expired)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);

    if (holdTimers) {
        activeHold->deadlines.removeAll(&deadline);
        if (ownHold) {
            app->removeEventFilter(activeHold);
            activeHold = nullptr;
        }
    }
    return done();
}

#include "responsivewait.moc"
