#ifndef IGTLSERVER_H
#define IGTLSERVER_H

#include <atomic>
#include <vector>

#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QTimer>
#include <QVector>

#include "frontend/streaming/igtllineencoder.h"

class IgtlClient;
class QTcpServer;

// The OpenIGTLink server: every data line handed to it becomes messages
// (IgtlLineEncoder), serialised once and queued to each client. Meant for
// a thread of its own; every slot runs there. At most MaxClients; a client
// beyond is accepted and closed at once.
class IgtlServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxClients = 16;

    explicit IgtlServer(int maxRateHz, QObject *parent = nullptr);
    ~IgtlServer() override;

    // "127.0.0.1:18944", "[::1]:18944".
    static QString endpoint(const QHostAddress &address, quint16 port);
    // Why listen() failed; read once it returned.
    QString listenError() const { return listenFailure; }

    // From any thread.
    quint16 port() const { return listeningPort.load(); }
    int clientCount() const { return clientsNow.load(); }
    qint64 droppedPoses() const { return droppedTotal.load(); }
    // For measurements, for each line while clients are connected: the
    // nanoseconds from its arrival, and from the start of its handling on
    // the server's thread, until its messages were in the sockets of the
    // clients that keep up.
    struct Latency
    {
        qint64 total;
        qint64 sending;
    };
    void keepLatencies(bool keep);
    std::vector<Latency> takeLatencies();

    // From any thread: hands the line to the server's thread. At most
    // MaxPendingLines wait there; beyond, lines are dropped and counted.
    static constexpr int MaxPendingLines = 4096;
    static constexpr qint64 MaxPendingBytes = 16 * 1024 * 1024;
    void postLine(const QByteArray &line, qint64 wallNs, qint64 steadyNs);
    qint64 droppedLines() const { return droppedLinesTotal.load(); }

public slots:
    bool listen(const QHostAddress &address, quint16 port);
    // wallNs stamps the messages; steadyNs is the arrival on the monotonic clock.
    void handleLine(const QByteArray &line, qint64 wallNs, qint64 steadyNs);
    void setReferences(const QVector<int> &referenceOfTool);
    // A new measurement: the items' states are sent afresh.
    void forgetItems();
    // The data stops: the clients learn that nothing is tracked now.
    void stopTracking();
    void stop();

signals:
    void logged(const QString &text);
    void clientCountChanged(int count);
    // The tool count of the data changed: the references may want reading.
    void toolCountChanged(int tools);

private slots:
    void accept();
    void housekeep();
    void clientClosed(IgtlClient *client, const QString &reason);

private:
    void setClientCount();

    const int maxRateHz;
    QTcpServer *server;
    QTimer housekeeping;
    QList<IgtlClient *> clients;
    IgtlLineEncoder encoder;
    int lastToolCount = -1;
    QString listenFailure;
    std::atomic<quint16> listeningPort{0};
    std::atomic<int> clientsNow{0};
    std::atomic<qint64> droppedTotal{0};
    std::atomic<int> pendingLines{0};
    std::atomic<qint64> pendingBytes{0};
    // Off from a stop to the next start: lines read before the stop but
    // handed on after it must not mark the items tracked again.
    bool tracking = true;
    std::atomic<qint64> droppedLinesNow{0};
    std::atomic<qint64> droppedLinesTotal{0};
    QMutex latencyMutex;
    std::atomic<bool> keepingLatencies{false}; // read per line without the lock
    std::vector<Latency> latencies;
};

#endif // IGTLSERVER_H
