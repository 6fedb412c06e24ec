#ifndef SIMCONNECTION_H
#define SIMCONNECTION_H

#include "simulator/simresponse.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;
class SimController;

// One TCP client of the simulated controller: cuts its byte stream into
// command lines and answers each in order. Every buffer is bounded: a line
// longer than the limit is refused and the rest of it discarded; while a
// delayed reply is outstanding or the client does not read its replies, no
// more input is taken from the socket.
class SimConnection : public QObject
{
    Q_OBJECT
public:
    // Takes ownership of the socket. idleTimeoutMs 0: no time-out.
    SimConnection(QTcpSocket *socket, SimController *controller, int idleTimeoutMs, QObject *parent = nullptr);
    ~SimConnection() override;

    // Closes the connection when the client has already closed its end
    // (or the connection failed) and our event loop has not seen it yet.
    // True when the connection is closed.
    bool closeIfPeerGone();

signals:
    // The client left or was sent away; the connection deletes itself later.
    void finished(SimConnection *connection);

private slots:
    void readInput();
    void deliverDelayed();
    void close();

private:
    struct PendingLine
    {
        QByteArray line;
        bool tooLong = false;
    };

    bool canTakeInput() const;
    void takeBytes(const char *data, qint64 size);
    void processPending();
    void deliver(const SimResponse &response);
    void restartIdleTimer();

    QTcpSocket *socket;
    SimController *controller;
    QByteArray partial;      // the line being received
    bool discarding = false; // inside an over-long line
    QList<PendingLine> pending;
    bool waiting = false; // a delayed reply is outstanding
    SimResponse delayed;
    QTimer delayTimer;
    QTimer idleTimer;
    bool closing = false;
};

#endif // SIMCONNECTION_H
