#ifndef TCPTRANSPORT_H
#define TCPTRANSPORT_H

#include <QTcpSocket>
#include <QUdpSocket>

#include "frontend/controllertransport.h"

class QDeadlineTimer;

// A controller on the network: commands as lines over TCP, data output as
// one UDP datagram per line to a local port.
class TcpTransport : public ControllerTransport
{
    Q_OBJECT

public:
    TcpTransport(const QString &host, quint16 port, QObject *parent = nullptr);

    // Connects now. exchange() reconnects on its own after a loss or a
    // time-out, which closes the connection so that no late reply can pass
    // for the next command's.
    bool connectToController(int timeoutMs, QString *error);
    // Receives the data output on this local UDP port (0: any free port).
    bool listenForData(quint16 port, QString *error);
    quint16 dataPort() const { return udpSocket.localPort(); }

    Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) override;
    QString description() const override;

private slots:
    void readDatagrams();

private:
    enum class LineRead { Line, TimedOut, Lost };
    LineRead readLine(const QDeadlineTimer &deadline, QByteArray *line);
    void dropConnection();

    QString hostName;
    quint16 hostPort;
    QTcpSocket socket;
    QUdpSocket udpSocket;
};

#endif // TCPTRANSPORT_H
