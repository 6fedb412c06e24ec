#include "simulator/simcontroller.h"

#include "simulator/simmodel.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

namespace {

// While tracking is off the timer only watches for its start (which the
// model's own settings can also bring, e.g. a sync signal coming back).
const int IdlePollMs = 100;
// Frames emitted at most per tick when the event loop fell behind; the
// rest are skipped rather than burst out.
const int MaxCatchUp = 4;
// A replay's lines keep their recorded times to within this.
const int ReplayTickMs = 2;

} // namespace

SimController::SimController(QObject *parent)
    : QObject(parent)
    , simModel(new SimModel)
    , frameTimer(new QTimer(this))
    , framesSent(0)
    , paceRate(0)
{
    frameTimer->setTimerType(Qt::PreciseTimer);
    connect(frameTimer, &QTimer::timeout, this, &SimController::emitFrame);
    frameTimer->start(IdlePollMs);
}

SimController::~SimController()
{
    delete simModel;
}

QByteArray SimController::execute(const QByteArray &line)
{
    const SimResponse response = respond(line);
    if (response.delayMs > 0)
        QThread::msleep(static_cast<unsigned long>(response.delayMs));
    return response.dropped ? QByteArray() : response.reply;
}

SimResponse SimController::respond(const QByteArray &line)
{
    SimResponse response = simModel->respond(line);
    requestTimerSync();
    return response;
}

SimModel &SimController::model()
{
    return *simModel;
}

void SimController::requestTimerSync()
{
    // The timer belongs to this object's thread; never touch it from another.
    if (QThread::currentThread() == thread())
        syncTimer();
    else
        QMetaObject::invokeMethod(this, "syncTimer", Qt::QueuedConnection);
}

void SimController::syncTimer()
{
    const bool tracking = simModel->isTracking();
    const int rate = simModel->dataRate();
    if (!tracking || rate != paceRate)
        pace.invalidate();
    const int frameInterval = simModel->isReplaying() ? ReplayTickMs : qMax(1, 1000 / (2 * qMax(1, rate)));
    const int interval = tracking ? frameInterval : IdlePollMs;
    if (frameTimer->interval() != interval || !frameTimer->isActive())
        frameTimer->start(interval);
}

void SimController::emitFrame()
{
    syncTimer();
    if (simModel->isReplaying()) {
        emitReplay();
        return;
    }
    if (!simModel->isTracking())
        return;
    const int rate = simModel->dataRate();
    if (!pace.isValid()) {
        pace.start();
        paceRate = rate;
        framesSent = 0;
    }
    // Frames due so far at the exact rate; the first one at once.
    const qint64 due = pace.elapsed() * rate / 1000 + 1;
    if (due - framesSent > MaxCatchUp)
        framesSent = due - MaxCatchUp;
    while (framesSent < due) {
        ++framesSent;
        const QList<QByteArray> lines = simModel->nextFrame();
        for (const QByteArray &line : lines)
            emit dataLine(line);
    }
}

// The replay also hears of tracking stopped, which pauses it.
void SimController::emitReplay()
{
    SimReplay::Report report;
    const QList<QByteArray> lines = simModel->nextReplayLines(&report);
    for (const QByteArray &line : lines)
        emit dataLine(line);
    if (report.event != SimReplay::NoEvent)
        emit replayEvent(report.event, report.lines, report.error);
}
