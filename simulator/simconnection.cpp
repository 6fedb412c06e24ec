#include "simulator/simconnection.h"

#include "simulator/simcontroller.h"
#include "simulator/simerror.h"
#include "simulator/simmodel.h"

#include <QTcpSocket>

#include <poll.h>

namespace {
constexpr int ReadChunk = 4096;
constexpr int MaxPendingLines = 64;
constexpr qint64 MaxUnsentBytes = 64 * 1024;
} // namespace

SimConnection::SimConnection(QTcpSocket *clientSocket, SimController *simController, int idleTimeoutMs, QObject *parent)
    : QObject(parent)
    , socket(clientSocket)
    , controller(simController)
{
    socket->setParent(this);
    // Qt stops reading from the kernel when this is full: a client that
    // floods us is slowed down by TCP instead of filling our memory.
    socket->setReadBufferSize(ReadChunk);
    connect(socket, &QTcpSocket::readyRead, this, &SimConnection::readInput);
    connect(socket, &QTcpSocket::bytesWritten, this, &SimConnection::readInput);
    connect(socket, &QTcpSocket::disconnected, this, &SimConnection::close);
    connect(socket, &QAbstractSocket::errorOccurred, this, &SimConnection::close);

    delayTimer.setSingleShot(true);
    connect(&delayTimer, &QTimer::timeout, this, &SimConnection::deliverDelayed);
    if (idleTimeoutMs > 0) {
        idleTimer.setSingleShot(true);
        idleTimer.setInterval(idleTimeoutMs);
        connect(&idleTimer, &QTimer::timeout, this, &SimConnection::close);
        idleTimer.start();
    }
}

SimConnection::~SimConnection()
{
    socket->disconnect(this);
    socket->abort();
}

bool SimConnection::closeIfPeerGone()
{
    if (closing)
        return true;
    const qintptr descriptor = socket->socketDescriptor();
    pollfd entry = {};
    entry.fd = int(descriptor);
    entry.events = POLLRDHUP;
    const bool gone = descriptor < 0
        || (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0);
    // A client that shut down its sending side is gone as well: Qt closes
    // the socket when it reads the end of the stream.
    if (gone)
        close();
    return gone;
}

bool SimConnection::canTakeInput() const
{
    return !closing && !waiting && pending.size() < MaxPendingLines && socket->bytesToWrite() < MaxUnsentBytes;
}

void SimConnection::readInput()
{
    if (closing)
        return;
    processPending();
    char buffer[ReadChunk];
    while (canTakeInput() && socket->bytesAvailable() > 0) {
        const qint64 size = socket->read(buffer, sizeof buffer);
        if (size <= 0)
            break;
        restartIdleTimer();
        takeBytes(buffer, size);
        processPending();
    }
}

void SimConnection::takeBytes(const char *data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            if (!discarding) {
                if (partial.endsWith('\r'))
                    partial.chop(1);
                pending.append({partial, false});
            }
            discarding = false;
            partial.clear();
        } else if (!discarding) {
            partial.append(c);
            // One byte of slack for the '\r' of a CR LF line end.
            if (partial.size() > SimModel::MaxLineLength + 1) {
                pending.append({QByteArray(), true});
                discarding = true;
                partial.clear();
            }
        }
    }
}

void SimConnection::processPending()
{
    while (!closing && !waiting && !pending.isEmpty()) {
        const PendingLine next = pending.takeFirst();
        SimResponse response;
        if (next.tooLong) {
            response.reply = "orvel2 err " + QByteArray::number(SimError::LineTooLong) + ' '
                + SimError::message(SimError::LineTooLong);
        } else {
            response = controller->respond(next.line);
        }
        if (response.delayMs > 0) {
            // A client waiting for its reply is not idle.
            idleTimer.stop();
            waiting = true;
            delayed = response;
            delayTimer.start(response.delayMs);
            return;
        }
        deliver(response);
    }
}

void SimConnection::deliverDelayed()
{
    waiting = false;
    deliver(delayed);
    delayed = SimResponse();
    readInput();
}

void SimConnection::deliver(const SimResponse &response)
{
    if (response.dropped) {
        // The injected lost connection: no answer, the line goes down.
        close();
        return;
    }
    socket->write(response.reply + '\n');
    restartIdleTimer();
}

// Idle time counts from the last command received or reply sent.
void SimConnection::restartIdleTimer()
{
    if (idleTimer.interval() > 0)
        idleTimer.start();
}

void SimConnection::close()
{
    if (closing)
        return;
    closing = true;
    delayTimer.stop();
    idleTimer.stop();
    pending.clear();
    socket->disconnectFromHost();
    emit finished(this);
    deleteLater();
}
