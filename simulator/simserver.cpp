#include "simulator/simserver.h"

#include "simulator/simconnection.h"
#include "simulator/simcontroller.h"
#include "simulator/simerror.h"

#include <QTcpSocket>
#include <QTimer>

SimServer::SimServer(SimController *simController, QObject *parent)
    : QObject(parent), controller(simController)
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
    return server.listen(address, port);
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

void SimServer::forget(SimConnection *connection)
{
    connections.removeAll(connection);
}

void SimServer::sendData(const QByteArray &line)
{
    if (dataPort != 0 && !dataAddress.isNull())
        udp.writeDatagram(line, dataAddress, dataPort);
}
