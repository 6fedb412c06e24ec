// The simulated controller on loopback TCP: bad input, client limit, clients gone, the idle rule, slow
// replies. Its data output over UDP is what the front-end's tests display.
#include <QTcpSocket>
#include <QtTest>
#include <memory>

#include "simulator/simcontroller.h"
#include "simulator/simserver.h"

namespace {

const int Timeout = 10000;
const QByteArray Idle = "orvel2 set status active none", Ok = "orvel2 ok", Status = "orvel2 get status active";

// A client whose replies are read while the test's event loop runs the server.
struct Client
{
    explicit Client(const SimServer &server) { socket.connectToHost(QHostAddress::LocalHost, server.port()); }
    QByteArray ask(const QByteArray &line)
    {
        socket.write(line + '\n');
        return reply();
    }
    QByteArray reply() // the next reply line, or "<none>" when none came in time
    {
        (void)QTest::qWaitFor(
            [this]() { return socket.canReadLine() || socket.state() == QAbstractSocket::UnconnectedState; }, Timeout);
        return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray("<none>");
    }
    QTcpSocket socket;
};

} // namespace

class TestSimServer : public QObject
{
    Q_OBJECT
    SimController controller;
    std::unique_ptr<SimServer> server; // listening on loopback, one for each test

private slots:
    void init()
    {
        server = std::make_unique<SimServer>(&controller);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    }

    // Clients that connected and closed before the server saw them leave do not count against the limit; a
    // client beyond it is refused. Bad input and bursts to a client within it.
    void clientLimitAndBadInput()
    {
        for (int i = 0; i < SimServer::MaxClients; ++i) {
            Client gone(*server);
            QVERIFY(gone.socket.waitForConnected(Timeout)); // the server's event loop does not run meanwhile
            gone.socket.disconnectFromHost();
        }
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < SimServer::MaxClients; ++i) {
            clients.emplace_back(new Client(*server));
            QCOMPARE(clients.back()->ask(Status), Idle);
        }
        Client refused(*server);
        QCOMPARE(refused.reply(), QByteArray("orvel2 err 9 too many connections"));
        QTRY_COMPARE_WITH_TIMEOUT(refused.socket.state(), QAbstractSocket::UnconnectedState, Timeout);
        Client &client = *clients.front();
        // An over-long line is refused once; the rest of it is discarded.
        client.socket.write(QByteArray(5000, 'a'));
        QTest::qWait(20);
        QCOMPARE(client.ask(QByteArray(5000, 'b') + '\n' + Status + '\r'), QByteArray("orvel2 err 5 line too long"));
        QCOMPARE(client.reply(), Idle);
        // A burst of many lines, bytes of any value among them, gets every reply, in order.
        client.socket.write((Status + '\n' + QByteArray("orvel2 get \0\x01\xff\n", 15)).repeated(250));
        for (int i = 0; i < 500; ++i)
            QCOMPARE(client.reply(), i % 2 ? QByteArray("orvel2 err 4 malformed command") : Idle);
    }

    // The idle rule counts every command and every reply, and never runs while a reply is owed. A slow reply
    // holds back the later replies to its client, in order, but not those to another client.
    void idleRuleAndSlowReplies()
    {
        server->setIdleTimeoutMs(1000);
        Client talking(*server), waiting(*server), silent(*server);
        QCOMPARE(waiting.ask("orvel2 simulate reply_delay 2500"), Ok);
        waiting.socket.write("orvel2 get system product_name\n" + Status + '\n');
        QCOMPARE(talking.ask("orvel2 simulate seed 1"), Ok);
        QVERIFY(!waiting.socket.canReadLine());
        for (int i = 0; i < 30; ++i) { // 3 s, well beyond the idle time-out; simulate is never delayed
            QTest::qWait(100);
            QCOMPARE(talking.ask("orvel2 simulate seed 1"), Ok);
        }
        QCOMPARE(talking.ask("orvel2 simulate reply_delay 0"), Ok);
        QCOMPARE(waiting.reply(), QByteArray("orvel2 set system product_name BRIXEL 3"));
        QCOMPARE(waiting.reply(), Idle);
        QTRY_COMPARE_WITH_TIMEOUT(silent.socket.state(), QAbstractSocket::UnconnectedState, Timeout);
    }
};

QTEST_GUILESS_MAIN(TestSimServer)
#include "tst_simserver.moc"
