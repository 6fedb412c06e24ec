#ifndef IGTLCLIENT_H
#define IGTLCLIENT_H

#include <deque>

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

// One connected OpenIGTLink client. What it is sent waits in a bounded
// queue of its own, and only as much goes into the socket as keeps its
// buffer small: a client that reads slowly loses its oldest poses (counted)
// and never holds up the others. Events (STATUS, STRING) are never thinned.
// Whatever it sends must be well-formed OpenIGTLink messages of a bounded
// size, which are read and ignored; anything else closes it.
class IgtlClient : public QObject
{
    Q_OBJECT

public:
    enum Kind { Event, ToolPoses, ReferencePoses };

    static constexpr int MaxQueuedBatches = 256;
    static constexpr qint64 SocketBufferBytes = 32 * 1024;
    static constexpr qint64 SystemSendBufferBytes = 64 * 1024;
    static constexpr qint64 MaxBodyBytes = 64 * 1024;
    static constexpr qint64 StallNs = 10 * qint64(1000000000);

    // Nanoseconds of the monotonic clock and since 1970 (UTC).
    static qint64 steadyNow();
    static qint64 wallNow();

    // Takes the socket, connected, as its child.
    IgtlClient(QTcpSocket *socket, int maxRateHz, QObject *parent = nullptr);

    QString peer() const { return peerText; }
    // A batch of messages of one data line; steadyNs is its arrival.
    void send(const QByteArray &bytes, Kind kind, int poses, qint64 steadyNs);
    qint64 takeDroppedPoses();
    // Closes the client when bytes wait and it has read none for StallNs.
    void checkStall(qint64 steadyNs);
    void close(const QString &reason);

signals:
    // Once; the client is to be deleted later.
    void closed(IgtlClient *client, const QString &reason);

private slots:
    void pump();
    void readIncoming();
    void progressed();
    void failed();

private:
    struct Batch
    {
        QByteArray bytes;
        int poses;
    };

    bool takeMessage();
    static void keepAlive(int descriptor);

    QTcpSocket *socket;
    QString peerText;
    std::deque<Batch> queue;
    qint64 intervalNs = 0; // 0: no rate cap
    qint64 nextDueNs[2] = {0, 0};
    qint64 lastProgressNs = 0;
    qint64 dropped = 0;
    qint64 headerBodySize = -1; // the message being read: its body size, -1 while its header is awaited
    QByteArray header;
    bool open = true;
};

#endif // IGTLCLIENT_H
