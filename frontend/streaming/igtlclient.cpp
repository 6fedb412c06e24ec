#include "frontend/streaming/igtlclient.h"

#include <chrono>
#include <cstring>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QTcpSocket>

#include <igtl_header.h>
#include <igtl_util.h>

namespace {

// Up to its first NUL printable ASCII, after it only NULs.
bool isName(const char *field, int size, bool mayBeEmpty)
{
    int length = 0;
    while (length < size && field[length] != '\0') {
        if (field[length] < 0x20 || field[length] > 0x7e)
            return false;
        ++length;
    }
    for (int i = length; i < size; ++i) {
        if (field[i] != '\0')
            return false;
    }
    return mayBeEmpty || length > 0;
}

} // namespace

// Finds a peer gone without a word (half-open) in about ten seconds.
void IgtlClient::keepAlive(int descriptor)
{
    const int on = 1, idle = 5, interval = 1, count = 5;
    ::setsockopt(descriptor, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

qint64 IgtlClient::steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 IgtlClient::wallNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

IgtlClient::IgtlClient(QTcpSocket *connected, int maxRateHz, QObject *parent)
    : QObject(parent)
    , socket(connected)
    , peerText(QStringLiteral("%1:%2").arg(connected->peerAddress().toString()).arg(connected->peerPort()))
    , intervalNs(maxRateHz > 0 ? 1000000000 / maxRateHz : 0)
    , lastProgressNs(steadyNow())
{
    socket->setParent(this);
    // Bounds what a client can make us hold: one header and one body of the most it may send.
    socket->setReadBufferSize(2 * MaxBodyBytes);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // A small system buffer: a client that stops reading backs up into our
    // bounded queue once its own receive buffer is full, not megabytes later.
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, int(SystemSendBufferBytes));
    keepAlive(int(socket->socketDescriptor()));
    connect(socket, &QTcpSocket::readyRead, this, &IgtlClient::readIncoming);
    connect(socket, &QTcpSocket::bytesWritten, this, &IgtlClient::progressed);
    connect(socket, &QTcpSocket::errorOccurred, this, &IgtlClient::failed);
    connect(socket, &QTcpSocket::disconnected, this, &IgtlClient::failed);
}

void IgtlClient::send(const QByteArray &bytes, Kind kind, int poses, qint64 steadyNs)
{
    if (!open || bytes.isEmpty())
        return;
    if (kind != Event && intervalNs > 0) {
        // Thinned, not dropped: the capped rate on average, with no burst after a pause.
        qint64 &due = nextDueNs[kind == ToolPoses ? 0 : 1];
        if (steadyNs < due)
            return;
        due = qMax(due + intervalNs, steadyNs);
    }
    if (int(queue.size()) >= MaxQueuedBatches) {
        auto oldest = queue.begin();
        while (oldest != queue.end() && oldest->poses == 0)
            ++oldest;
        if (oldest == queue.end())
            oldest = queue.begin();
        dropped += oldest->poses;
        queue.erase(oldest);
    }
    if (queue.empty() && socket->bytesToWrite() == 0)
        lastProgressNs = steadyNs; // the stall clock runs only while bytes wait
    queue.push_back({bytes, kind == Event ? 0 : poses});
    pump();
}

void IgtlClient::pump()
{
    if (!open)
        return;
    bool wrote = false;
    while (!queue.empty() && socket->bytesToWrite() < SocketBufferBytes) {
        socket->write(queue.front().bytes);
        queue.pop_front();
        wrote = true;
    }
    if (wrote)
        socket->flush(); // into the system's buffer now, not at the next event loop turn
    if (socket->bytesToWrite() == 0)
        lastProgressNs = steadyNow();
}

void IgtlClient::progressed()
{
    lastProgressNs = steadyNow();
    pump();
}

qint64 IgtlClient::takeDroppedPoses()
{
    const qint64 count = dropped;
    dropped = 0;
    return count;
}

void IgtlClient::checkStall(qint64 steadyNs)
{
    if (open && (socket->bytesToWrite() > 0 || !queue.empty()) && steadyNs - lastProgressNs > StallNs)
        close(tr("it has read nothing for %1 s").arg(StallNs / 1000000000));
}

void IgtlClient::failed()
{
    const QAbstractSocket::SocketError error = socket->error();
    const bool plain = error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::UnknownSocketError;
    close(plain ? tr("it disconnected") : socket->errorString());
}

void IgtlClient::close(const QString &reason)
{
    if (!open)
        return;
    open = false;
    queue.clear();
    socket->disconnect(this);
    socket->abort();
    emit closed(this, reason);
}

void IgtlClient::readIncoming()
{
    while (open && takeMessage()) { }
}

// Reads one message if it has come whole; false when more must come or the client is closed.
bool IgtlClient::takeMessage()
{
    if (headerBodySize < 0) {
        if (socket->bytesAvailable() < IGTL_HEADER_SIZE)
            return false;
        header = socket->read(IGTL_HEADER_SIZE);
        igtl_header fields;
        std::memcpy(&fields, header.constData(), sizeof fields);
        igtl_header_convert_byte_order(&fields);
        if (fields.version < 1 || fields.version > 3 || !isName(fields.name, IGTL_HEADER_TYPE_SIZE, false)
            || !isName(fields.device_name, IGTL_HEADER_NAME_SIZE, true)) {
            close(tr("it sent bytes that are no OpenIGTLink message"));
            return false;
        }
        if (fields.body_size > igtl_uint64(MaxBodyBytes)) {
            close(tr("it sent a message of %1 bytes, more than %2").arg(fields.body_size).arg(MaxBodyBytes));
            return false;
        }
        headerBodySize = qint64(fields.body_size);
    }
    if (socket->bytesAvailable() < headerBodySize)
        return false;
    QByteArray body = socket->read(headerBodySize);
    igtl_header fields;
    std::memcpy(&fields, header.constData(), sizeof fields);
    igtl_header_convert_byte_order(&fields);
    headerBodySize = -1;
    if (crc64(reinterpret_cast<unsigned char *>(body.data()), igtl_uint64(body.size()), 0) != fields.crc) {
        close(tr("it sent a message whose checksum is wrong"));
        return false;
    }
    return true;
}
