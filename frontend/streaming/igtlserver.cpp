#include "frontend/streaming/igtlserver.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

#include "frontend/streaming/igtlclient.h"

namespace {
constexpr int HousekeepingMs = 1000;
} // namespace

IgtlServer::IgtlServer(int rateHz, QObject *parent)
    : QObject(parent)
    , maxRateHz(rateHz)
    , server(new QTcpServer(this))
    , housekeeping(this)
{
    connect(server, &QTcpServer::newConnection, this, &IgtlServer::accept);
    connect(&housekeeping, &QTimer::timeout, this, &IgtlServer::housekeep);
}

IgtlServer::~IgtlServer()
{
    stop();
}

QString IgtlServer::endpoint(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(address.toString())
        : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

bool IgtlServer::listen(const QHostAddress &address, quint16 port)
{
    if (!server->listen(address, port)) {
        listenFailure = server->errorString();
        emit logged(tr("OpenIGTLink server: cannot listen on %1: %2").arg(endpoint(address, port), listenFailure));
        return false;
    }
    listeningPort = server->serverPort();
    housekeeping.start(HousekeepingMs);
    emit logged(address.isLoopback()
                    ? tr("OpenIGTLink server listening on %1, for programs on this computer only")
                          .arg(endpoint(address, listeningPort))
                    : tr("OpenIGTLink server listening on %1: any computer that reaches this one on port %2 may "
                         "connect and receive the tracking data")
                          .arg(endpoint(address, listeningPort))
                          .arg(listeningPort));
    return true;
}

void IgtlServer::stop()
{
    housekeeping.stop();
    server->close();
    for (IgtlClient *client : qAsConst(clients)) {
        client->disconnect(this);
        client->close(QString());
        delete client;
    }
    clients.clear();
    setClientCount();
}

void IgtlServer::accept()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        const QString peer = QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        if (clients.size() >= MaxClients) {
            socket->abort();
            socket->deleteLater();
            emit logged(
                tr("OpenIGTLink client %1 refused: %2 clients are connected already").arg(peer).arg(MaxClients));
            continue;
        }
        auto *client = new IgtlClient(socket, maxRateHz, this);
        connect(client, &IgtlClient::closed, this, &IgtlServer::clientClosed);
        clients.append(client);
        setClientCount();
        emit logged(tr("OpenIGTLink client %1 connected (%2 connected)").arg(peer).arg(clients.size()));
        client->send(encoder.currentState(IgtlClient::wallNow()), IgtlClient::Event, 0, IgtlClient::steadyNow());
    }
}

void IgtlServer::clientClosed(IgtlClient *client, const QString &reason)
{
    clients.removeOne(client);
    client->deleteLater();
    setClientCount();
    emit logged(tr("OpenIGTLink client %1 closed: %2 (%3 connected)").arg(client->peer(), reason).arg(clients.size()));
}

void IgtlServer::setClientCount()
{
    if (clientsNow.exchange(clients.size()) != clients.size())
        emit clientCountChanged(clients.size());
}

void IgtlServer::handleLine(const QByteArray &line, qint64 wallNs, qint64 steadyNs)
{
    if (!tracking)
        return;
    const qint64 startNs = IgtlClient::steadyNow();
    IgtlLineEncoder::Encoded encoded;
    if (!encoder.encode(line, wallNs, &encoded))
        return;
    if (!encoded.referenceLine && encoder.toolCount() != lastToolCount) {
        lastToolCount = encoder.toolCount();
        emit toolCountChanged(lastToolCount);
    }
    if (clients.isEmpty())
        return;
    const IgtlClient::Kind kind = encoded.referenceLine ? IgtlClient::ReferencePoses : IgtlClient::ToolPoses;
    // A copy: a client's close during the sends changes the list.
    const QList<IgtlClient *> receivers = clients;
    for (IgtlClient *client : receivers) {
        client->send(encoded.events, IgtlClient::Event, 0, steadyNs);
        client->send(encoded.poses, kind, encoded.poseCount, steadyNs);
    }
    const qint64 doneNs = IgtlClient::steadyNow();
    if (!keepingLatencies)
        return;
    QMutexLocker locker(&latencyMutex);
    if (keepingLatencies)
        latencies.push_back({doneNs - steadyNs, doneNs - startNs});
}

void IgtlServer::postLine(const QByteArray &line, qint64 wallNs, qint64 steadyNs)
{
    const qint64 bytes = line.size();
    const bool full = pendingLines.fetch_add(1) >= MaxPendingLines;
    if (pendingBytes.fetch_add(bytes) + bytes > MaxPendingBytes || full) {
        pendingLines.fetch_sub(1);
        pendingBytes.fetch_sub(bytes);
        ++droppedLinesNow;
        ++droppedLinesTotal;
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, line, wallNs, steadyNs, bytes]() {
        pendingLines.fetch_sub(1);
        pendingBytes.fetch_sub(bytes);
        handleLine(line, wallNs, steadyNs);
        },
        Qt::QueuedConnection);
}

void IgtlServer::setReferences(const QVector<int> &referenceOfTool)
{
    encoder.setReferences(referenceOfTool);
}

void IgtlServer::forgetItems()
{
    encoder.forget();
    tracking = true;
}

void IgtlServer::stopTracking()
{
    tracking = false;
    const QByteArray events = encoder.stopTracking(IgtlClient::wallNow());
    const QList<IgtlClient *> receivers = clients;
    for (IgtlClient *client : receivers)
        client->send(events, IgtlClient::Event, 0, IgtlClient::steadyNow());
}

// Drops are told at most once a second; a client that stopped reading goes.
void IgtlServer::housekeep()
{
    const qint64 now = IgtlClient::steadyNow();
    if (const qint64 lines = droppedLinesNow.exchange(0); lines > 0)
        emit logged(tr("OpenIGTLink server falls behind the data: %1 lines dropped").arg(lines));
    const QList<IgtlClient *> current = clients;
    for (IgtlClient *client : current) {
        const qint64 dropped = client->takeDroppedPoses();
        if (dropped > 0) {
            droppedTotal += dropped;
            emit logged(
                tr("OpenIGTLink client %1 reads too slowly: %2 poses dropped").arg(client->peer()).arg(dropped));
        }
        client->checkStall(now);
    }
}

void IgtlServer::keepLatencies(bool keep)
{
    QMutexLocker locker(&latencyMutex);
    keepingLatencies = keep;
}

std::vector<IgtlServer::Latency> IgtlServer::takeLatencies()
{
    QMutexLocker locker(&latencyMutex);
    std::vector<Latency> taken;
    taken.swap(latencies);
    return taken;
}
