#ifndef SCRIPTEDCONTROLLER_H
#define SCRIPTEDCONTROLLER_H

#include <QHash>
#include <QMutex>
#include <QPair>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

// A controller answering from a script on loopback TCP, on a thread of its
// own: the client blocks its thread while it waits for a reply.
class ScriptedController : public QThread
{
public:
    static constexpr int Close = -1; // instead of a delay: the bytes as they are, then the connection closed

    ~ScriptedController() override
    {
        quit();
        wait();
    }
    quint16 listen()
    {
        start();
        ready.acquire();
        return port;
    }
    void on(const QByteArray &line, const QByteArray &reply, int delayMs = 0)
    {
        const QMutexLocker locker(&mutex);
        script.insert(line, {reply, delayMs});
    }
    QAtomicInt linesRead, connections;

protected:
    void run() override
    {
        QTcpServer server;
        port = server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
        connect(&server, &QTcpServer::newConnection, &server, [this, &server]() {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                connections.fetchAndAddOrdered(1);
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket]() {
                    while (socket->canReadLine()) {
                        linesRead.fetchAndAddOrdered(1);
                        QMutexLocker locker(&mutex);
                        const auto action
                            = script.value(socket->readLine().trimmed(), {"orvel2 err 1 unknown command", 0});
                        locker.unlock();
                        if (action.second == Close) {
                            socket->write(action.first);
                            socket->disconnectFromHost();
                            return;
                        }
                        QTimer::singleShot(action.second, socket,
                                           [socket, line = action.first + '\n']() { socket->write(line); });
                    }
                });
            }
        });
        ready.release();
        exec();
    }

private:
    QMutex mutex;
    QHash<QByteArray, QPair<QByteArray, int>> script; // line: reply, delay
    QSemaphore ready;                                 // its release and acquire hand the port over
    quint16 port = 0;
};

#endif // SCRIPTEDCONTROLLER_H
