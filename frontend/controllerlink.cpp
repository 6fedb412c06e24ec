#include "frontend/controllerlink.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "frontend/responsivewait.h"

namespace {

// Shared by the waiting caller and the worker: a caller that gave up leaves
// the job to be skipped, or its late result with nowhere to go but here.
class Job
{
public:
    void finish(ControllerTransport::Status outcome, const QByteArray &answer, const QString &why = QString())
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            status = outcome;
            reply = answer;
            error = why;
            done = true;
        }
        finished.notify_all();
    }
    bool waitFor(int milliseconds)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return finished.wait_for(lock, std::chrono::milliseconds(milliseconds), [this]() { return done; });
    }
    void abandon()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        abandoned = true;
    }
    bool isAbandoned()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return abandoned;
    }
    // Only once done.
    ControllerTransport::Status outcome() const { return status; }
    QByteArray answer() const { return reply; }
    QString reason() const { return error; }

private:
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    ControllerTransport::Status status = ControllerTransport::Status::NotConnected;
    QByteArray reply;
    QString error;
};

} // namespace

ControllerLink::ControllerLink(ControllerTransport *transport, QObject *parent)
    : QObject(parent)
    , controller(transport)
    , where(transport->description())
    , dataWhere(transport->dataDescription())
{
    qRegisterMetaType<ControllerTransport::Status>(); // checked() crosses threads
    worker.setObjectName(QStringLiteral("controller link"));
    controller->setParent(nullptr);
    controller->moveToThread(&worker);
    // Deleted on its own thread, its sockets with it, once the thread's loop has ended.
    connect(&worker, &QThread::finished, controller, &QObject::deleteLater);
    connect(controller, &ControllerTransport::dataLine, this, &ControllerLink::dataLine);
    connect(controller, &ControllerTransport::lost, this, &ControllerLink::lost);
    worker.start();
}

ControllerLink::~ControllerLink()
{
    worker.quit();
    worker.wait();
}

bool ControllerLink::open(int timeoutMs, QString *error)
{
    auto job = std::make_shared<Job>();
    ControllerTransport *transport = controller;
    QMetaObject::invokeMethod(
        controller,
        [transport, job, timeoutMs]() {
        if (job->isAbandoned())
            return;
        QString reason;
        const bool opened = transport->open(timeoutMs, &reason);
        job->finish(opened ? Status::Ok : Status::NotConnected, QByteArray(), reason);
        },
        Qt::QueuedConnection);

    if (!ResponsiveWait::until([&job](int ms) { return job->waitFor(ms); }, timeoutMs + QueueAllowanceMs)) {
        job->abandon();
        if (error)
            *error = QStringLiteral("no answer from the link's thread");
        return false;
    }
    if (error)
        *error = job->reason();
    return job->outcome() == Status::Ok;
}

ControllerLink::Status ControllerLink::exchange(const QByteArray &line, int timeoutMs, QByteArray *reply)
{
    reply->clear();
    auto job = std::make_shared<Job>();
    ControllerTransport *transport = controller;
    QMetaObject::invokeMethod(
        controller,
        [transport, job, line, timeoutMs]() {
        // Never send a command whose caller has gone: its effect would come unasked.
        if (job->isAbandoned())
            return;
        QByteArray answer;
        const Status status = transport->exchange(line, timeoutMs, &answer);
        job->finish(status, answer);
        },
        Qt::QueuedConnection);

    if (!ResponsiveWait::until([&job](int ms) { return job->waitFor(ms); }, timeoutMs + QueueAllowanceMs)) {
        job->abandon();
        return Status::TimedOut;
    }
    *reply = job->answer();
    return job->outcome();
}

void ControllerLink::check(const QByteArray &line, int timeoutMs)
{
    ControllerTransport *transport = controller;
    QMetaObject::invokeMethod(
        controller,
        [this, transport, line, timeoutMs]() {
        QByteArray reply;
        const Status status = transport->exchange(line, timeoutMs, &reply);
        emit checked(status, reply, status == Status::NotConnected ? transport->connectError() : QString());
        },
        Qt::QueuedConnection);
}
