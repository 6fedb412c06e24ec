// The OpenIGTLink server fed data lines in-process, read by clients that use the library: names, frames and values,
// events, fairness and limits; and once in the front-end program.

#include <cmath>
#include <memory>

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "data/orvelparser.h"
#include "frontend/commandmanager.h"
#include "frontend/commandobserver.h"
#include "frontend/embeddedtransport.h"
#include "frontend/frontendoptions.h"
#include "frontend/recordformat.h"
#include "frontend/streaming/igtlclient.h"
#include "frontend/streaming/igtlserver.h"
#include "frontend/streaming/streamingservice.h"
#include "host/backendversions.h"
#include "tests/streaming/igtlreceiver.h"

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
constexpr double Degree = M_PI / 180.0;
constexpr qint64 Stamp = 1700000000LL * 1000000000 + 250000000; // 0.25 s past a second
constexpr int WaitMs = 60000;

// R = Rx(a) Ry(b) Rz(c), rows first: no symmetry hides a swap of rows and columns.
Matrix rotation(double a, double b, double c)
{
    const double ca = std::cos(a * Degree), sa = std::sin(a * Degree), cb = std::cos(b * Degree),
                 sb = std::sin(b * Degree), cc = std::cos(c * Degree), sc = std::sin(c * Degree);
    return {{{cb * cc, -cb * sc, sb},
             {ca * sc + sa * sb * cc, ca * cc - sa * sb * sc, -sa * cb},
             {sa * sc - ca * sb * cc, sa * cc + ca * sb * sc, ca * cb}}};
}

// "[x y z][r0 .. r8]", the matrix column by column as the controller writes it.
QByteArray pose(const double (&p)[3], const Matrix &r)
{
    QByteArray text = "[" + QByteArray::number(p[0], 'f', 6) + ' ' + QByteArray::number(p[1], 'f', 6) + ' '
        + QByteArray::number(p[2], 'f', 6) + "][";
    for (int i = 0; i < 9; ++i)
        text += QByteArray::number(r[i % 3][i / 3], 'f', 9) + (i == 8 ? "]" : " ");
    return text;
}

const Matrix ToolRotation = rotation(30, -20, 75);
const Matrix Tool2Rotation = rotation(-65, 35, -10);
const double Tool2Position[3] = {-7.25, 80.5, 1320.0};
const Matrix RefRotation = rotation(-50, 10, 140);
const double RefPosition[3] = {-100.5, 40.25, 900.0};

QByteArray toolLine(double x, bool tracked = true, int buttons = 5, int tools = 2)
{
    QByteArray line = "6dmt " + QByteArray::number(tools);
    const double position[3] = {x, -20.5, 1500.125};
    line += " [0 " + QByteArray(tracked ? "0.900" : "-1.000") + ' ' + QByteArray::number(buttons) + ']'
        + pose(position, ToolRotation);
    for (int i = 1; i < tools; ++i)
        line += " [" + QByteArray::number(i) + " 0.500 0]" + pose(Tool2Position, Tool2Rotation);
    return line;
}

const QByteArray RefLine = "6dmtr 2 1 [0 0.800]" + pose(RefPosition, RefRotation);

// A pose as float text, matrix rows first: what a TRANSFORM can hold; at(row, column) gives the values.
template <typename At>
QByteArray poseText(At at)
{
    QByteArray text;
    for (int i = 0; i < 12; ++i)
        text += QByteArray::number(float(at(i / 4, i % 4)), 'g', 7) + ' ';
    return text;
}

// The pose of rotation r at p, to 1e-4 (relative beyond 1).
bool equals(const igtl::Matrix4x4 &m, const Matrix &r, const double (&p)[3])
{
    bool same = true;
    for (int i = 0; i < 12; ++i) {
        const double expected = i % 4 == 3 ? p[i / 4] : r[i / 4][i % 4];
        same = same && std::fabs(m[i / 4][i % 4] - expected) <= 1e-4 * std::max(1.0, std::fabs(expected));
    }
    return same;
}

} // namespace

class TstIgtlServer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        clients.clear();
        server = std::make_unique<IgtlServer>(0);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    }

    // Two tools and a reference, each its own pose; then M1 hidden and shown with another button.
    void posesAndEvents()
    {
        server->setReferences({1, 0});
        IgtlReceiver *client = connectClient();
        feed(toolLine(12.5));
        feed(RefLine);
        QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "M1ToMR1") == 1; }, WaitMs));
        QVERIFY(!client->corrupt);
        const double toolPosition[3] = {12.5, -20.5, 1500.125};
        QVERIFY(equals(client->last("TRANSFORM", "M1").matrix, ToolRotation, toolPosition));
        QVERIFY(equals(client->last("TRANSFORM", "M2").matrix, Tool2Rotation, Tool2Position));
        QVERIFY(equals(client->last("TRANSFORM", "MR1").matrix, RefRotation, RefPosition));
        // inverse(reference) * tool, worked out on its own here.
        Matrix relative{};
        double offset[3] = {0, 0, 0};
        for (int row = 0; row < 3; ++row) {
            for (int k = 0; k < 3; ++k) {
                offset[row] += RefRotation[k][row] * (toolPosition[k] - RefPosition[k]);
                for (int col = 0; col < 3; ++col)
                    relative[row][col] += RefRotation[k][row] * ToolRotation[k][col];
            }
        }
        QVERIFY(equals(client->last("TRANSFORM", "M1ToMR1").matrix, relative, offset));
        QCOMPARE(client->count("TRANSFORM", "M2ToMR1"), 0); // M2 has no reference

        for (const auto &[tracked, buttons] : {std::pair{false, 5}, {true, 1}})
            feed(toolLine(1.0, tracked, buttons));
        QVERIFY(QTest::qWaitFor([&]() { return client->count("STATUS", "M1") == 3; }, WaitMs));
        QStringList order;
        for (const IgtlReceiver::Message &message : qAsConst(client->messages)) {
            if (message.device == "M1")
                order << QString::fromLatin1(message.type + ' ' + message.text);
        }
        QCOMPARE(order,
                 QStringList({"STATUS tracked", "STRING M1 buttons 1 0 1 0", "TRANSFORM ", "STATUS not tracked",
                              "STATUS tracked", "STRING M1 buttons 1 0 0 0", "TRANSFORM "}));
        // A client that comes later is told the current state at once.
        IgtlReceiver *late = connectClient();
        QVERIFY(QTest::qWaitFor([&]() { return late->last("STRING", "M1").text == "M1 buttons 1 0 0 0"; }, WaitMs));
        server->stopTracking(); // the measurement stopped, or the controller was lost
        QVERIFY(QTest::qWaitFor([&]() { return late->count("STATUS", "M1") == 2; }, WaitMs));
        QCOMPARE(late->last("STATUS", "M1").code, int(igtl::StatusMessage::STATUS_NOT_READY));
    }

    // Four clients at 1 kHz get every pose. Then a client whose system buffer is full loses poses while the others
    // miss none; fed on at 60 Hz, it is closed some ten seconds after it backed up.
    void fairness()
    {
        for (int i = 0; i < 4; ++i)
            connectClient();
        constexpr int Lines = 1000;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Lines; ++i) {
            // The readers run on this thread too: they read at every line, also when a slow
            // (sanitized) build is behind the millisecond pace.
            do
                QCoreApplication::processEvents();
            while (clock.nsecsElapsed() < i * 1000000LL);
            feed(toolLine(i));
            feed(RefLine);
        }
        for (const auto &client : clients) {
            QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "MR1") == Lines; }, WaitMs));
            const QList<IgtlReceiver::Message> poses = client->of("TRANSFORM", "M1");
            QCOMPARE(poses.size(), Lines);
            for (int i = 0; i < Lines; ++i)
                QCOMPARE(poses.at(i).matrix[0][3], float(i));
            client->messages.clear();
        }

        QTcpSocket stalled;
        stalled.setReadBufferSize(1); // Qt takes no more bytes from the system
        stalled.connectToHost(QHostAddress::LocalHost, server->port());
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == 5; }, WaitMs));
        int lines = 0;
        for (; lines < 100000 && server->droppedPoses() == 0; ++lines) {
            feed(toolLine(lines, true, 0, 16));
            QCoreApplication::processEvents();
        }
        for (const auto &client : clients)
            QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "M16") == lines; }, WaitMs));
        QTimer feeder;
        connect(&feeder, &QTimer::timeout, this, [&]() { feed(toolLine(++lines, true, 0, 16)); });
        feeder.start(16);
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == 4; }, 25000));
    }

    // Lines a millisecond apart, capped at 100 Hz: every tenth pose, events all the same.
    void maxRateThinsPoses()
    {
        server = std::make_unique<IgtlServer>(100);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
        IgtlReceiver *client = connectClient();
        for (int i = 0; i < 1000; ++i)
            server->handleLine(toolLine(i, i != 500, 5, 1), Stamp, i * qint64(1000000));
        QVERIFY(QTest::qWaitFor(
            [&]() { return client->count("STATUS", "M1") == 3 && client->count("TRANSFORM", "M1") == 100; }, WaitMs));
        QCOMPARE(client->last("TRANSFORM", "M1").matrix[0][3], 990.0f);
    }

    // Of 16 clients, those that send garbage, a bad checksum or an oversized message are closed, the others
    // served; the 17th is refused.
    void badInputAndTooManyClients()
    {
        igtl::StatusMessage::Pointer status = igtl::StatusMessage::New();
        status->Pack();
        const QByteArray good(static_cast<const char *>(status->GetPackPointer()), status->GetPackSize());
        QByteArray badChecksum = good;
        badChecksum[badChecksum.size() - 1] = char(badChecksum.back() ^ 1);
        QByteArray oversized = good.left(IGTL_HEADER_SIZE);
        oversized[42 + 5] = 0x10; // body size 1 MiB
        for (int i = 0; i < IgtlServer::MaxClients; ++i)
            connectClient();
        IgtlReceiver *refused = connectClient(false);
        QVERIFY(
            QTest::qWaitFor([&]() { return refused->socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs));
        QCOMPARE(server->clientCount(), IgtlServer::MaxClients);
        const QByteArrayList sent{good, QByteArray(200, 'x'), badChecksum, oversized};
        for (int i = 0; i < sent.size(); ++i)
            clients.at(i)->socket.write(sent.at(i));
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == IgtlServer::MaxClients - 3; }, WaitMs));
        feed(toolLine(3)); // the well-formed sender and the quiet ones still served
        for (int i = 0; i < IgtlServer::MaxClients; ++i) {
            if (i == 0 || i >= sent.size())
                QVERIFY(QTest::qWaitFor([&]() { return clients.at(i)->count("TRANSFORM", "M1") == 1; }, WaitMs));
        }
    }

    // Off unless asked for; each start switches the outputs on and reads the references once, never per line.
    void offByDefaultReferencesOncePerStart()
    {
        struct Counter : CommandObserver
        {
            void commandExchanged(const QByteArray &command, const QByteArray &, int, qint64) override
            {
                reads += command.contains("reference_of_tool");
            }
            int reads = 0;
        } counter;
        CommandManager manager(std::make_unique<EmbeddedTransport>());
        FrontendOptions defaults;
        QVERIFY(defaults.parse({"orvel-frontend"}) && !StreamingService(&manager, defaults.streaming).server());
        QVERIFY(manager.open());
        BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
        QCOMPARE(manager.readBackendVersions(&versions), 0);
        manager.setBackendVersions(&versions);
        int tools = 0;
        QCOMPARE(manager.getIntParameter(&tools, "measurementtool number_of_tools"), 0);
        manager.setCommandObserver(&counter);
        StreamingOptions options;
        options.port = server->port();
        server.reset();
        StreamingService service(&manager, options);
        IgtlReceiver client(options.port);
        char reply[IOManager::ReplySize];
        for (int start = 1; start <= 2; ++start) {
            QCOMPARE(manager.sendCommand(reply, "orvel2 tracking start"), 0);
            QVERIFY(QTest::qWaitFor([&]() { return client.count("TRANSFORM", "MR1") > 200 * start; }, WaitMs));
            QCOMPARE(counter.reads, start * tools);
            QCOMPARE(manager.sendCommand(reply, "orvel2 tracking stop"), 0);
        }
    }

    // The program with the embedded controller at 1 kHz, recording what it gets: every pose M1 received is the record
    // the display's parser reads from the recorded line, in order, none missing.
    void frontendStreamsTheSimulatedTools()
    {
        const quint16 port = server->port(); // free once the test's server goes
        server.reset();
        QTemporaryDir scratch;
        const QString recording = scratch.filePath("session.rec");
        QProcess frontend;
        frontend.setProcessChannelMode(QProcess::ForwardedChannels);
        frontend.start(MT_FRONTEND,
                       {"--igtl-port", QString::number(port), "--rate", "1000", "--start", "--record", recording});
        QVERIFY(frontend.waitForStarted());

        // Connected once it listens; the tools lose tracking for 0.8 s every 9 s and press a button every 6 s.
        std::unique_ptr<IgtlReceiver> client;
        QVERIFY(QTest::qWaitFor(
            [&]() {
            if (!client || client->socket.state() == QAbstractSocket::UnconnectedState)
                client = std::make_unique<IgtlReceiver>(port);
            return client->count("TRANSFORM", "M1") >= 1000 && client->count("STATUS", "M1") >= 2
                && client->count("STRING", "M1") >= 2; // the state at once, then a change
            },
            60000));
        QTest::qWait(500); // the recording is written at least every 200 ms
        frontend.kill();
        frontend.waitForFinished();

        // No pose while M1 is not tracked.
        bool tracked = true;
        QList<QByteArray> received;
        for (const IgtlReceiver::Message &message : qAsConst(client->messages)) {
            if (message.device == "M1" && message.type == "STATUS")
                tracked = message.text == "tracked";
            if (message.device == "M1" && message.type == "TRANSFORM") {
                QVERIFY(tracked);
                received << poseText([&message](int row, int col) { return message.matrix[row][col]; });
            }
        }
        // Tool M1's poses in the recording's tool lines, read by the display's parser.
        QFile file(recording);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> recorded;
        OrvelParser parser;
        RecordFormat::Record record;
        QString reason;
        while (!file.atEnd()) {
            if (!RecordFormat::parse(file.readLine().chopped(1), &record, &reason)
                || record.kind != RecordFormat::Record::Data || !record.type.startsWith("6dmt")
                || record.type == "6dmtr")
                continue;
            char *cursor = record.text.data();
            const MeaToolRecord *tool = parser.parseDataLine(&cursor) ? parser.toolAt(0) : nullptr;
            if (tool && tool->quality != -1.0)
                recorded << poseText(
                    [tool](int row, int col) { return col < 3 ? tool->rot[col * 3 + row] : tool->pos[row]; });
        }
        const int start = recorded.indexOf(received.value(0));
        const int compared = qMin(received.size(), recorded.size() - start);
        QVERIFY2(start >= 0 && compared >= 1000, received.value(0).constData());
        QCOMPARE(received.mid(0, compared), recorded.mid(start, compared));
    }

private:
    void feed(const QByteArray &line) { server->handleLine(line, Stamp, IgtlClient::steadyNow()); }

    // Connected and counted by the server, unless it is not to be.
    IgtlReceiver *connectClient(bool counted = true)
    {
        const int expected = server->clientCount() + 1;
        clients.push_back(std::make_unique<IgtlReceiver>(server->port()));
        if (counted && !QTest::qWaitFor([&]() { return server->clientCount() == expected; }, WaitMs))
            qWarning("client %d not counted", int(clients.size()));
        return clients.back().get();
    }

    std::unique_ptr<IgtlServer> server;
    std::vector<std::unique_ptr<IgtlReceiver>> clients;
};

QTEST_MAIN(TstIgtlServer)
#include "tst_igtlserver.moc"
