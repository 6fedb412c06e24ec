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

    // Receives the data output on this local UDP port (0: any free port).
    // Called before the transport goes to its link's thread.
    bool listenForData(quint16 port, QString *error);
    quint16 dataPort() const { return udpSocket.localPort(); }

    // A time-out closes the connection too, so that no late reply can pass
    // for the next command's; exchange() connects again.
    bool open(int timeoutMs, QString *error) override;
    Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) override;
    QString description() const override;
    QString dataDescription() const override;
    QString connectError() const override { return openError; }

private slots:
    void readDatagrams();
    void noteDisconnected();

private:
    enum class LineRead { Line, TimedOut, Lost };
    LineRead readLine(QDeadlineTimer deadline, QByteArray *line);
    void dropConnection();

    const QString hostName;
    const quint16 hostPort;
    // Children, so that they move to the link's thread with the transport.
    QTcpSocket socket;
    QUdpSocket udpSocket;
    bool dropping = false; // our own close is no loss to report
    QString openError;
    quint16 wantedDataPort = 0;
};

#endif // TCPTRANSPORT_H
