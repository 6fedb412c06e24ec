#ifndef CONTROLLERLINK_H
#define CONTROLLERLINK_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>

#include "frontend/controllertransport.h"

// Runs a transport on a worker thread of its own, one job after the other:
// the window's thread hands over a command and waits for its reply without
// freezing (ResponsiveWait), and checks of the connection run in the
// background while the window goes on. The link owns the transport.
class ControllerLink : public QObject
{
    Q_OBJECT

public:
    using Status = ControllerTransport::Status;

    // A job queued behind others may wait this much longer than its own time-out.
    static constexpr int QueueAllowanceMs = 2000;

    explicit ControllerLink(ControllerTransport *transport, QObject *parent = nullptr);
    ~ControllerLink() override;

    // Both wait for the worker and keep the window painting meanwhile.
    bool open(int timeoutMs, QString *error);
    Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply);

    // Sends the line in the background (connecting first if need be) and
    // reports the outcome with checked().
    void check(const QByteArray &line, int timeoutMs);

    QString description() const { return where; }
    QString dataDescription() const { return dataWhere; }
    // For setting up; the transport belongs to the worker thread.
    ControllerTransport *transport() const { return controller; }

signals:
    void dataLine(const QByteArray &line);
    void lost(const QString &reason);
    // why: the reason no connection could be made, for NotConnected.
    void checked(ControllerTransport::Status status, const QByteArray &reply, const QString &why);

private:
    QThread worker;
    ControllerTransport *controller;
    const QString where;
    const QString dataWhere;
};

#endif // CONTROLLERLINK_H
