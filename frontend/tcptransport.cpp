#include "frontend/tcptransport.h"

#include <QDeadlineTimer>
#include <QNetworkDatagram>

namespace {

// Bounds what the controller can make us hold: unread stream data and one
// datagram, which is one data line (at most 65,507 bytes over IPv4).
constexpr qint64 StreamBufferSize = 64 * 1024;
constexpr qint64 MaxDatagramSize = 64 * 1024;

void stripLineEnd(QByteArray *line)
{
    while (line->endsWith('\n') || line->endsWith('\r'))
        line->chop(1);
}

} // namespace

TcpTransport::TcpTransport(const QString &host, quint16 port, QObject *parent)
    : ControllerTransport(parent)
    , hostName(host)
    , hostPort(port)
    , socket(this)
    , udpSocket(this)
{
    socket.setReadBufferSize(StreamBufferSize);
    connect(&udpSocket, &QUdpSocket::readyRead, this, &TcpTransport::readDatagrams);
    connect(&socket, &QTcpSocket::disconnected, this, &TcpTransport::noteDisconnected);
}

bool TcpTransport::open(int timeoutMs, QString *error)
{
    dropConnection();
    socket.connectToHost(hostName, hostPort);
    if (socket.waitForConnected(timeoutMs)) {
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        openError.clear();
        return true;
    }
    openError = socket.errorString();
    if (error)
        *error = openError;
    socket.abort();
    return false;
}

bool TcpTransport::listenForData(quint16 port, QString *error)
{
    wantedDataPort = port;
    if (udpSocket.bind(QHostAddress::AnyIPv4, port))
        return true;
    if (error)
        *error = udpSocket.errorString();
    return false;
}

ControllerTransport::Status TcpTransport::exchange(const QByteArray &line, int timeoutMs, QByteArray *reply)
{
    reply->clear();
    const QDeadlineTimer deadline(timeoutMs);
    if (socket.state() != QAbstractSocket::ConnectedState && !open(timeoutMs, nullptr))
        return Status::NotConnected;

    socket.write(line + '\n');
    socket.flush();

    switch (readLine(deadline, reply)) {
    case LineRead::Line: return Status::Ok;
    case LineRead::TimedOut:
        // A late reply would pass for the next command's: start afresh.
        dropConnection();
        return Status::TimedOut;
    case LineRead::Lost: dropConnection(); return Status::Lost;
    }
    return Status::Lost;
}

TcpTransport::LineRead TcpTransport::readLine(QDeadlineTimer deadline, QByteArray *line)
{
    line->clear();
    char chunk[1024];
    for (;;) {
        // QIODevice::readLine stops at the line end: what follows stays for the next reply.
        while (socket.bytesAvailable() > 0) {
            const qint64 count = socket.readLine(chunk, sizeof chunk);
            if (count <= 0)
                break;
            const bool complete = chunk[count - 1] == '\n';
            // The head of an overlong line is kept, the rest skipped.
            const qint64 room = MaxReplyLength + 2 - line->size();
            if (room > 0)
                line->append(chunk, int(qMin(count, room)));
            if (complete) {
                stripLineEnd(line);
                if (line->size() > MaxReplyLength)
                    line->truncate(MaxReplyLength);
                return LineRead::Line;
            }
        }
        if (socket.state() != QAbstractSocket::ConnectedState)
            return LineRead::Lost;
        if (deadline.hasExpired())
            return LineRead::TimedOut;
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (socket.state() != QAbstractSocket::ConnectedState)
                return LineRead::Lost;
            if (deadline.hasExpired())
                return LineRead::TimedOut;
        }
    }
}

void TcpTransport::dropConnection()
{
    dropping = true;
    socket.abort();
    dropping = false;
}

void TcpTransport::noteDisconnected()
{
    if (!dropping)
        emit lost(socket.error() == QAbstractSocket::RemoteHostClosedError || socket.errorString().isEmpty()
                      ? tr("the controller closed the connection")
                      : socket.errorString());
}

void TcpTransport::readDatagrams()
{
    while (udpSocket.hasPendingDatagrams()) {
        const qint64 size = qBound<qint64>(0, udpSocket.pendingDatagramSize(), MaxDatagramSize);
        QByteArray datagram(int(size), '\0');
        const qint64 count = udpSocket.readDatagram(datagram.data(), size);
        if (count < 0)
            continue;
        datagram.truncate(int(count));
        stripLineEnd(&datagram);
        emit dataLine(datagram);
    }
}

QString TcpTransport::description() const
{
    return QStringLiteral("%1:%2").arg(hostName).arg(hostPort);
}

QString TcpTransport::dataDescription() const
{
    if (udpSocket.state() != QAbstractSocket::BoundState)
        return tr("UDP port %1 of this computer, which could not be opened (--data-port)").arg(wantedDataPort);
    return tr("UDP port %1 of this computer (--data-port)").arg(udpSocket.localPort());
}
