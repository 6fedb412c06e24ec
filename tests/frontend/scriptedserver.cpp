#include "scriptedserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "controllerscript.h"

void ScriptedServer::run()
{
    QTcpServer server;
    if (server.listen(QHostAddress::LocalHost, 0))
        listenPort.storeRelease(server.serverPort());
    connect(&server, &QTcpServer::newConnection, &server, [this, &server]() {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            accepted.fetchAndAddOrdered(1);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket]() {
                while (socket->canReadLine()) {
                    const ControllerScript::Action action = script->take(socket->readLine().trimmed());
                    if (action.kind == ControllerScript::Reply)
                        QTimer::singleShot(action.delayMs, socket, [socket, reply = action.bytes + '\n']() { socket->write(reply); });
                    if (action.kind == ControllerScript::CloseAfter)
                        socket->write(action.bytes);
                    if (action.kind == ControllerScript::Close || action.kind == ControllerScript::CloseAfter)
                        return socket->disconnectFromHost();
                }
            });
        }
    });
    ready.release();
    exec();
}
