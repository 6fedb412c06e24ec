// The simulated controller over loopback TCP and UDP: bad input, the client
// limit, dropped connections, slow replies and the data datagrams.
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QtTest>
#include <QUdpSocket>
#include <memory>

#include "simulator/simcontroller.h"
#include "simulator/simserver.h"

namespace {

const int Timeout = 10000;
const QByteArray Idle = "orvel2 set status active none";

// A client whose replies are read while the test's event loop runs the server.
struct Client
{
    explicit Client(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }
    // The next reply line, or "<none>" when none came in time.
    QByteArray reply()
    {
        (void)QTest::qWaitFor([this]() { return socket.canReadLine() || socket.state() == QAbstractSocket::UnconnectedState; }, Timeout);
        return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray("<none>");
    }
    QByteArray ask(const QByteArray &line) { return socket.write(line + '\n'), reply(); }
    QTcpSocket socket;
};

} // namespace

class TestSimServer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<SimServer>(&controller);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    }
    void cleanup() { server.reset(); }
    void badInputAndBursts();
    void boundsClientsAndDropsConnections();
    void slowReplyDoesNotStallOtherClients();
    void sendsDataAsDatagrams();

private:
    SimController controller;
    std::unique_ptr<SimServer> server;
};

void TestSimServer::badInputAndBursts()
{
    Client client(server->port());
    QCOMPARE(client.ask(QByteArray("orvel2 get \0\x01\xff", 14)), QByteArray("orvel2 err 4 malformed command"));
    // An over-long line is refused once; the rest of it is discarded.
    client.socket.write(QByteArray(5000, 'a'));
    QTest::qWait(20);
    QCOMPARE(client.ask(QByteArray(5000, 'b') + "\norvel2 get status active\r"), QByteArray("orvel2 err 5 line too long"));
    QCOMPARE(client.reply(), Idle);
    // A burst of many lines gets every reply, in order.
    client.socket.write(QByteArray("orvel2 get status active\nnonsense\n").repeated(250));
    for (int i = 0; i < 500; ++i)
        QCOMPARE(client.reply(), i % 2 ? QByteArray("orvel2 err 4 malformed command") : Idle);
}

void TestSimServer::boundsClientsAndDropsConnections()
{
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < SimServer::MaxClients; ++i) {
        clients.emplace_back(new Client(server->port()));
        QCOMPARE(clients.back()->ask("orvel2 get status active"), Idle);
    }
    Client refused(server->port());
    QCOMPARE(refused.reply(), QByteArray("orvel2 err 9 too many connections"));
    QTRY_COMPARE_WITH_TIMEOUT(refused.socket.state(), QAbstractSocket::UnconnectedState, Timeout);
    // An injected drop closes the connection without a reply, and frees a place.
    QCOMPARE(clients.front()->ask("orvel2 simulate drop_next 1"), QByteArray("orvel2 ok"));
    QCOMPARE(clients.front()->ask("orvel2 get status active"), QByteArray("<none>"));
    QTRY_COMPARE_WITH_TIMEOUT(server->clientCount(), SimServer::MaxClients - 1, Timeout);
    QCOMPARE(Client(server->port()).ask("orvel2 get status active"), Idle);
}

void TestSimServer::slowReplyDoesNotStallOtherClients()
{
    Client slow(server->port()), quick(server->port());
    QCOMPARE(slow.ask("orvel2 simulate reply_delay 4000"), QByteArray("orvel2 ok"));
    slow.socket.write("orvel2 get system product_name\norvel2 get status active\n");
    QTest::qWait(20);
    // The other client is answered while the slow reply is outstanding.
    QCOMPARE(quick.ask("orvel2 simulate reply_delay 0"), QByteArray("orvel2 ok"));
    QVERIFY(!slow.socket.canReadLine());
    // The slow client still gets both its replies, in order.
    QCOMPARE(slow.reply(), QByteArray("orvel2 set system product_name BRIXEL 3"));
    QCOMPARE(slow.reply(), Idle);
}

void TestSimServer::sendsDataAsDatagrams()
{
    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
    server->setDataTarget(QHostAddress::LocalHost, receiver.localPort());
    Client client(server->port());
    QCOMPARE(client.ask("orvel2 set output active chmon 6dmt yes"), QByteArray("orvel2 ok"));
    QCOMPARE(client.ask("orvel2 tracking start"), QByteArray("orvel2 ok"));
    // One line per datagram, no line end.
    QByteArrayList datagrams;
    QVERIFY(QTest::qWaitFor([&]() {
        while (receiver.hasPendingDatagrams())
            datagrams << receiver.receiveDatagram().data();
        return datagrams.size() >= 6;
    }, Timeout));
    QVERIFY(datagrams.at(0).startsWith("fr ") && datagrams.at(1).startsWith("ts ") && datagrams.at(2).startsWith("6dmt 2 ["));
    QVERIFY(!datagrams.join().contains('\n'));
    QCOMPARE(client.ask("orvel2 tracking stop"), QByteArray("orvel2 ok"));
}

QTEST_GUILESS_MAIN(TestSimServer)
#include "tst_simserver.moc"
