#ifndef SIMSERVER_H
#define SIMSERVER_H

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUdpSocket>

class SimConnection;
class SimController;

// The simulated controller on the network: command lines over TCP (a
// bounded number of clients), data output lines as UDP datagrams.
class SimServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxClients = 8;

    explicit SimServer(SimController *controller, QObject *parent = nullptr);
    ~SimServer() override;

    // Port 0 picks a free port; port() tells which.
    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const;
    QString errorString() const;
    // Where the data output goes; none until set.
    void setDataTarget(const QHostAddress &address, quint16 port);
    // Clients silent for this long are sent away (0: never).
    void setIdleTimeoutMs(int ms) { idleTimeoutMs = ms; }
    int clientCount() const { return connections.size(); }

private slots:
    void acceptClients();
    void forget(SimConnection *connection);
    void sendData(const QByteArray &line);

private:
    void forgetClosed();

    SimController *controller;
    QTcpServer server;
    QUdpSocket udp;
    QHostAddress dataAddress;
    quint16 dataPort = 0;
    int idleTimeoutMs = 0;
    QList<SimConnection *> connections;
};

#endif // SIMSERVER_H
