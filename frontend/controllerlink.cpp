#include "frontend/controllerlink.h"

#include <atomic>
#include <memory>

#include "frontend/responsivewait.h"

namespace {

// Shared by the waiting caller and the worker: a caller that gave up leaves
// the job to be skipped, or its late result with nowhere to go but here.
struct Job
{
    std::atomic<bool> abandoned{false};
    bool done = false; // set on the caller's thread
    ControllerTransport::Status status = ControllerTransport::Status::NotConnected;
    QByteArray reply;
    QString error;
};

} // namespace

ControllerLink::ControllerLink(ControllerTransport *transport, QObject *parent)
    : QObject(parent)
    , controller(transport)
    , where(transport->description())
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
    QMetaObject::invokeMethod(controller, [this, transport, job, timeoutMs]() {
        if (job->abandoned)
            return;
        QString reason;
        const bool opened = transport->open(timeoutMs, &reason);
        QMetaObject::invokeMethod(this, [job, opened, reason]() {
            job->status = opened ? Status::Ok : Status::NotConnected;
            job->error = reason;
            job->done = true;
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);

    if (!ResponsiveWait::until([&job]() { return job->done; }, timeoutMs + QueueAllowanceMs)) {
        job->abandoned = true;
        if (error)
            *error = QStringLiteral("no answer from the link's thread");
        return false;
    }
    if (error)
        *error = job->error;
    return job->status == Status::Ok;
}

ControllerLink::Status ControllerLink::exchange(const QByteArray &line, int timeoutMs, QByteArray *reply)
{
    reply->clear();
    auto job = std::make_shared<Job>();
    ControllerTransport *transport = controller;
    QMetaObject::invokeMethod(controller, [this, transport, job, line, timeoutMs]() {
        // Never send a command whose caller has gone: its effect would come unasked.
        if (job->abandoned)
            return;
        QByteArray answer;
        const Status status = transport->exchange(line, timeoutMs, &answer);
        QMetaObject::invokeMethod(this, [job, status, answer]() {
            job->status = status;
            job->reply = answer;
            job->done = true;
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);

    if (!ResponsiveWait::until([&job]() { return job->done; }, timeoutMs + QueueAllowanceMs)) {
        job->abandoned = true;
        return Status::TimedOut;
    }
    *reply = job->reply;
    return job->status;
}

void ControllerLink::check(const QByteArray &line, int timeoutMs)
{
    ControllerTransport *transport = controller;
    QMetaObject::invokeMethod(controller, [this, transport, line, timeoutMs]() {
        QByteArray reply;
        const Status status = transport->exchange(line, timeoutMs, &reply);
        emit checked(status, reply);
    }, Qt::QueuedConnection);
}
