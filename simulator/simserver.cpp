#include "simulator/simserver.h"

#include "simulator/simconnection.h"
#include "simulator/simcontroller.h"
#include "simulator/simerror.h"

#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {
constexpr int RefusalGraceMs = 1000;
} // namespace

SimServer::SimServer(SimController *simController, QObject *parent)
    : QObject(parent)
    , controller(simController)
{
    connect(&server, &QTcpServer::newConnection, this, &SimServer::acceptClients);
    connect(controller, &SimController::dataLine, this, &SimServer::sendData);
}

SimServer::~SimServer()
{
    server.close();
    // Connections are our children; they go with us.
    for (SimConnection *connection : qAsConst(connections))
        disconnect(connection, nullptr, this, nullptr);
}

bool SimServer::listen(const QHostAddress &address, quint16 port)
{
    if (!server.listen(address, port))
        return false;
    // Qt listens with a backlog of 50: in a burst of connections the next
    // client waits a second for its retransmitted SYN. A listening socket
    // takes a new backlog, capped by the kernel's own maximum.
    ::listen(int(server.socketDescriptor()), SOMAXCONN);
    return true;
}

quint16 SimServer::port() const
{
    return server.serverPort();
}

QString SimServer::errorString() const
{
    return server.errorString();
}

void SimServer::setDataTarget(const QHostAddress &address, quint16 port)
{
    dataAddress = address;
    dataPort = port;
}

void SimServer::acceptClients()
{
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        if (connections.size() >= MaxClients)
            forgetClosed();
        if (connections.size() >= MaxClients) {
            socket->write("orvel2 err " + QByteArray::number(SimError::TooManyConnections) + ' '
                          + SimError::message(SimError::TooManyConnections) + '\n');
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            // A peer that never takes the refusal must not keep the socket.
            QTimer::singleShot(RefusalGraceMs, socket, [socket]() {
                socket->abort();
                socket->deleteLater();
            });
            continue;
        }
        SimConnection *connection = new SimConnection(socket, controller, idleTimeoutMs, this);
        connections.append(connection);
        connect(connection, &SimConnection::finished, this, &SimServer::forget);
    }
}

// Clients that left count no more, even before the event loop has seen them leave.
void SimServer::forgetClosed()
{
    const QList<SimConnection *> open = connections;
    for (SimConnection *connection : open)
        connection->closeIfPeerGone();
}

void SimServer::forget(SimConnection *connection)
{
    connections.removeAll(connection);
}

void SimServer::sendData(const QByteArray &line)
{
    if (dataPort != 0 && !dataAddress.isNull())
        udp.writeDatagram(line, dataAddress, dataPort);
}
