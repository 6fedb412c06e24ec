#include "frontend/embeddedtransport.h"

#include <memory>

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

#include "simulator/simcontroller.h"

namespace {

// Shared between the waiting caller and the worker: a reply that comes after
// the caller gave up still has somewhere to go.
struct PendingReply
{
    QMutex mutex;
    QWaitCondition done;
    bool finished = false;
    QByteArray reply;
};

} // namespace

EmbeddedTransport::EmbeddedTransport(QObject *parent)
    : ControllerTransport(parent)
    , simController(new SimController)
{
    worker.setObjectName(QStringLiteral("simulated controller"));
    simController->moveToThread(&worker);
    // The controller is deleted on its own thread once the thread's loop has ended.
    connect(&worker, &QThread::finished, simController, &QObject::deleteLater);
    connect(simController, &SimController::dataLine, this, &ControllerTransport::dataLine, Qt::QueuedConnection);
    worker.start();
}

EmbeddedTransport::~EmbeddedTransport()
{
    worker.quit();
    worker.wait();
}

bool EmbeddedTransport::open(int, QString *)
{
    return true;
}

ControllerTransport::Status EmbeddedTransport::exchange(const QByteArray &line, int timeoutMs, QByteArray *reply)
{
    reply->clear();
    auto pending = std::make_shared<PendingReply>();
    SimController *controller = simController;
    const bool queued = QMetaObject::invokeMethod(
        controller,
        [controller, line, pending]() {
        const QByteArray answer = controller->execute(line);
        QMutexLocker locker(&pending->mutex);
        pending->reply = answer;
        pending->finished = true;
        pending->done.wakeAll();
        },
        Qt::QueuedConnection);
    if (!queued)
        return Status::NotConnected;

    // This is the link's thread: blocking it keeps the window running.
    QMutexLocker locker(&pending->mutex);
    const QDeadlineTimer deadline(timeoutMs);
    while (!pending->finished) {
        if (!pending->done.wait(&pending->mutex, deadline))
            break;
    }
    if (!pending->finished)
        return Status::TimedOut;
    if (pending->reply.isEmpty())
        return Status::Lost;
    *reply = pending->reply.left(MaxReplyLength);
    return Status::Ok;
}

QString EmbeddedTransport::description() const
{
    return tr("embedded simulated controller");
}

QString EmbeddedTransport::dataDescription() const
{
    return tr("this process");
}
