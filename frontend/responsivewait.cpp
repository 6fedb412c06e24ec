#include "frontend/responsivewait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

bool ResponsiveWait::until(const std::function<bool(int)> &waitFor, int timeoutMs)
{
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    QCoreApplication *app = QCoreApplication::instance();
    const bool ownEvents = app && QThread::currentThread() == app->thread();
    for (;;) {
        const int slice = int(qBound<qint64>(0, deadline.remainingTime(), SliceMs));
        if (waitFor(slice))
            return true;
        if (deadline.hasExpired())
            return false;
        // Not blocking here: the result wakes the wait above, not an event.
        if (ownEvents)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
    }
}
