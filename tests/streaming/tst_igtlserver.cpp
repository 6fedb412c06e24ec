// The OpenIGTLink server fed data lines in-process, read by clients that
// use the library: names, frames and values, events, fairness and limits;
// and once in the front-end program.

#include <cmath>
#include <memory>

#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "data/orvelparser.h"
#include "frontend/commandmanager.h"
#include "frontend/commandobserver.h"
#include "frontend/embeddedtransport.h"
#include "frontend/frontendoptions.h"
#include "frontend/mainwindow.h"
#include "frontend/recordformat.h"
#include "frontend/streaming/igtlclient.h"
#include "frontend/streaming/igtlserver.h"
#include "frontend/streaming/streamingmenu.h"
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
    for (int col = 0; col < 3; ++col) {
        for (int row = 0; row < 3; ++row)
            text += QByteArray::number(r[row][col], 'f', 9) + (col == 2 && row == 2 ? "]" : " ");
    }
    return text;
}

const Matrix ToolRotation = rotation(30, -20, 75);
const Matrix Tool2Rotation = rotation(-65, 35, -10);
const double Tool2Position[3] = {-7.25, 80.5, 1320.0};
const Matrix RefRotation = rotation(-50, 10, 140);
const double RefPosition[3] = {-100.5, 40.25, 900.0};

QByteArray toolLine(double x, bool tracked = true, int buttons = 5, int tools = 2, bool secondTracked = false)
{
    QByteArray line = "6dmt " + QByteArray::number(tools);
    const double position[3] = {x, -20.5, 1500.125};
    line += " [0 " + QByteArray(tracked ? "0.900" : "-1.000") + ' ' + QByteArray::number(buttons) + ']'
        + pose(position, ToolRotation);
    for (int i = 1; i < tools; ++i)
        line += " [" + QByteArray::number(i) + " " + (i == 1 && !secondTracked ? "-1.000 0]" : "0.500 0]")
            + pose(Tool2Position, Tool2Rotation);
    return line;
}

QByteArray refLine()
{
    return "6dmtr 2 1 [0 0.800]" + pose(RefPosition, RefRotation);
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-4 * std::max(1.0, std::fabs(b));
}

// A pose as float text, matrix rows first: what a TRANSFORM can hold.
QByteArray poseText(const igtl::Matrix4x4 &m)
{
    QByteArray text;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col)
            text += QByteArray::number(m[row][col], 'g', 7) + ' ';
    }
    return text;
}

// Tool M1's poses in the recording's tool lines, read by the display's parser.
QList<QByteArray> recordedPosesOfM1(const QString &path)
{
    QFile file(path);
    QList<QByteArray> poses;
    if (!file.open(QIODevice::ReadOnly))
        return poses;
    OrvelParser parser;
    RecordFormat::Record record;
    QString reason;
    while (!file.atEnd()) {
        if (!RecordFormat::parse(file.readLine().chopped(1), &record, &reason)
            || record.kind != RecordFormat::Record::Data || !record.type.startsWith("6dmt") || record.type == "6dmtr")
            continue;
        char *cursor = record.text.data();
        const MeaToolRecord *tool = parser.parseDataLine(&cursor) ? parser.toolAt(0) : nullptr;
        if (!tool || tool->quality == -1.0)
            continue;
        igtl::Matrix4x4 m;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col)
                m[row][col] = float(tool->rot[col * 3 + row]);
            m[row][3] = float(tool->pos[row]);
        }
        poses << poseText(m);
    }
    return poses;
}

bool equals(const igtl::Matrix4x4 &m, const Matrix &r, const double (&p)[3])
{
    bool same = near(m[3][0], 0) && near(m[3][1], 0) && near(m[3][2], 0) && near(m[3][3], 1);
    for (int row = 0; row < 3; ++row) {
        same = same && near(m[row][3], p[row]);
        for (int col = 0; col < 3; ++col)
            same = same && near(m[row][col], r[row][col]);
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
        server = std::make_unique<IgtlServer>(0);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    }
    void cleanup()
    {
        clients.clear();
        server.reset();
    }

    void posesNamesAndFrames()
    {
        server->setReferences({1, 0});
        IgtlReceiver *client = connectClient();
        feed(toolLine(12.5));
        feed(refLine());
        QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "M1ToMR1") == 1; }, WaitMs));
        QVERIFY(!client->corrupt);
        const double toolPosition[3] = {12.5, -20.5, 1500.125};
        QVERIFY(equals(client->of("TRANSFORM", "M1").value(0).matrix, ToolRotation, toolPosition));
        QVERIFY(equals(client->of("TRANSFORM", "MR1").value(0).matrix, RefRotation, RefPosition));
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
        QVERIFY(equals(client->of("TRANSFORM", "M1ToMR1").value(0).matrix, relative, offset));
        QVERIFY(near(client->of("TRANSFORM", "M1").value(0).stamp, Stamp / 1e9));
        // Not tracked: no pose, and neither for the unassigned third tool relative to anything.
        QCOMPARE(client->count("TRANSFORM", "M2") + client->count("TRANSFORM", "M2ToMR1"), 0);
        QVERIFY(client->last("STATUS", "M2").code == igtl::StatusMessage::STATUS_NOT_READY
                && client->last("STATUS", "M2").text == "not tracked");
        QCOMPARE(client->of("STATUS", "M1").value(0).code, int(igtl::StatusMessage::STATUS_OK));
        QCOMPARE(client->of("STRING", "M1").value(0).text, QByteArray("M1 buttons 1 0 1 0"));
        QCOMPARE(client->messages.size(), 3 + 4 + 2); // poses, STATUS of M1, M2, MR1, MR2, STRING of M1, M2
        // Both tracked: each its own pose, and M1ToMR1 still from M1 alone.
        feed(toolLine(12.5, true, 5, 2, true));
        feed(refLine());
        QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "M1ToMR1") == 2; }, WaitMs));
        QVERIFY(equals(client->last("TRANSFORM", "M2").matrix, Tool2Rotation, Tool2Position));
        QVERIFY(equals(client->last("TRANSFORM", "M1").matrix, ToolRotation, toolPosition));
        QVERIFY(equals(client->last("TRANSFORM", "M1ToMR1").matrix, relative, offset));
    }

    void statusOnHideStringOnButtons()
    {
        IgtlReceiver *client = connectClient();
        for (const auto &[tracked, buttons] : {std::pair{true, 0}, {false, 0}, {true, 1}})
            feed(toolLine(1.0, tracked, buttons, 1));
        QVERIFY(QTest::qWaitFor([&]() { return client->count("STATUS", "M1") == 3; }, WaitMs));
        QStringList order;
        for (const IgtlReceiver::Message &message : qAsConst(client->messages))
            order << QString::fromLatin1(message.type + ' ' + message.text);
        QCOMPARE(order,
                 QStringList({"STATUS tracked", "STRING M1 buttons 0 0 0 0", "TRANSFORM ", "STATUS not tracked",
                              "STATUS tracked", "STRING M1 buttons 1 0 0 0", "TRANSFORM "}));
        // A client that comes later is told the current state at once.
        IgtlReceiver *late = connectClient();
        QVERIFY(QTest::qWaitFor([&]() { return late->messages.size() == 2; }, WaitMs));
        QCOMPARE(late->of("STRING", "M1").value(0).text, QByteArray("M1 buttons 1 0 0 0"));
        server->stopTracking(); // the measurement stopped, or the controller was lost
        QVERIFY(QTest::qWaitFor([&]() { return late->count("STATUS", "M1") == 2; }, WaitMs));
        QCOMPARE(late->last("STATUS", "M1").text, QByteArray("not tracked"));
    }

    void fourClientsAtOneKilohertz()
    {
        for (int i = 0; i < 4; ++i)
            connectClient();
        constexpr int Lines = 1000;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Lines; ++i) {
            while (clock.nsecsElapsed() < i * 1000000LL)
                QCoreApplication::processEvents();
            feed(toolLine(i));
            feed(refLine());
        }
        for (const auto &client : clients) {
            QVERIFY(QTest::qWaitFor([&]() { return client->count("TRANSFORM", "MR1") == Lines; }, WaitMs));
            const QList<IgtlReceiver::Message> poses = client->of("TRANSFORM", "M1");
            QCOMPARE(poses.size(), Lines);
            for (int i = 0; i < Lines; ++i)
                QCOMPARE(poses.at(i).matrix[0][3], float(i));
        }
    }

    // Lines a millisecond apart, capped at 100 Hz: every tenth pose, events all the same.
    void maxRateThinsPoses()
    {
        server = std::make_unique<IgtlServer>(100);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
        IgtlReceiver *client = connectClient();
        for (int i = 0; i < 1000; ++i)
            server->handleLine(toolLine(i, i != 500), Stamp, i * qint64(1000000));
        QVERIFY(QTest::qWaitFor(
            [&]() { return client->count("STATUS", "M1") == 3 && client->count("TRANSFORM", "M1") == 100; }, WaitMs));
        QCOMPARE(client->last("TRANSFORM", "M1").matrix[0][3], 990.0f);
    }

    // A client whose system buffer is full loses poses; the other misses none.
    void stalledReaderDelaysNoOther()
    {
        IgtlReceiver *reader = connectClient();
        reader->keepAll = false;
        IgtlReceiver stalled(server->port(), false);
        stalled.socket.setReadBufferSize(1); // Qt stops taking bytes from the system
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == 2; }, WaitMs));
        int lines = 0;
        for (; lines < 100000 && server->droppedPoses() == 0; ++lines) {
            feed(toolLine(lines, true, 0, 16));
            QCoreApplication::processEvents();
        }
        QVERIFY(server->droppedPoses() > 0);
        QVERIFY(QTest::qWaitFor([&]() { return reader->count("TRANSFORM", "M16") == lines; }, WaitMs));
        QCOMPARE(reader->count("TRANSFORM", "M1"), lines);
        QCOMPARE(reader->last("TRANSFORM", "M1").matrix[0][3], float(lines - 1));
    }

    // Lines at 60 Hz to a client that reads nothing: closed some ten seconds after it backs up.
    void notReadingClientClosed()
    {
        IgtlReceiver stalled(server->port(), false);
        stalled.socket.setReadBufferSize(1);
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == 1; }, WaitMs));
        QTimer feeder;
        int lines = 0;
        connect(&feeder, &QTimer::timeout, this, [&]() { feed(toolLine(++lines, true, 0, 16)); });
        feeder.start(16);
        QVERIFY(QTest::qWaitFor([&]() { return server->clientCount() == 0; }, 25000));
        QVERIFY(server->droppedPoses() > 0);
    }

    void badInputClosesOnlyItsClient_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("closes");
        igtl::StatusMessage::Pointer status = igtl::StatusMessage::New();
        status->SetDeviceName("viewer");
        status->SetStatusString("hello");
        status->Pack();
        const QByteArray good(static_cast<const char *>(status->GetPackPointer()), status->GetPackSize());
        QByteArray badChecksum = good;
        badChecksum[badChecksum.size() - 1] = char(badChecksum.back() ^ 1);
        QByteArray oversized = good.left(IGTL_HEADER_SIZE);
        oversized[42 + 5] = 0x10; // body size 1 MiB
        QTest::newRow("well-formed") << good << false;
        QTest::newRow("garbage") << QByteArray(200, 'x') << true;
        QTest::newRow("checksum") << badChecksum << true;
        QTest::newRow("oversized") << oversized << true;
    }
    void badInputClosesOnlyItsClient()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, closes);
        IgtlReceiver *other = connectClient();
        IgtlReceiver *sender = connectClient();
        sender->socket.write(bytes);
        if (closes)
            QVERIFY(
                QTest::qWaitFor([&]() { return sender->socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs));
        else
            QTest::qWait(300); // what the server read by now closed nothing
        QCOMPARE(sender->socket.state() == QAbstractSocket::UnconnectedState, closes);
        QCOMPARE(server->clientCount(), closes ? 1 : 2);
        feed(toolLine(3));
        QVERIFY(QTest::qWaitFor([&]() { return other->count("TRANSFORM", "M1") == 1; }, WaitMs));
    }

    void seventeenthRefused()
    {
        for (int i = 0; i < IgtlServer::MaxClients; ++i)
            connectClient();
        IgtlReceiver *refused = connectClient(false);
        QVERIFY(
            QTest::qWaitFor([&]() { return refused->socket.state() == QAbstractSocket::UnconnectedState; }, WaitMs));
        QCOMPARE(server->clientCount(), IgtlServer::MaxClients);
        for (int i = 0; i < IgtlServer::MaxClients; ++i)
            QCOMPARE(clients.at(i)->socket.state(), QAbstractSocket::ConnectedState);
    }

    // Off unless asked for; when on, on a thread of its own, the menu following its clients.
    void offByDefaultMenuWhenOn()
    {
        FrontendOptions options;
        QVERIFY(options.parse({"orvel-frontend"}) && !options.streaming.enabled());
        CommandManager manager(nullptr);
        QVERIFY(!StreamingService(&manager, options.streaming).server());
        QVERIFY(!options.parse({"orvel-frontend", "--igtl-listen", "nowhere.example:1"}));
        QVERIFY(options.parse({"orvel-frontend", "--igtl-listen", "[::1]:18950", "--igtl-max-rate", "60"}));
        QVERIFY(options.streaming.address == QHostAddress::LocalHostIPv6 && options.streaming.port == 18950);
        options.streaming.address = QHostAddress::LocalHost;
        options.streaming.port = server->port(); // free once the test's server goes
        server.reset();
        StreamingService service(&manager, options.streaming);
        MainWindow window(&manager, nullptr);
        const QAction *action = (new StreamingMenu(&window, &service))->statusAction();
        QCOMPARE(action->text(), QString("OpenIGTLink: 127.0.0.1:%1, 0 clients").arg(options.streaming.port));
        const QString busy = StreamingService(&manager, options.streaming).statusText();
        QVERIFY2(busy.startsWith(QString("OpenIGTLink: cannot listen on 127.0.0.1:%1: ").arg(options.streaming.port)),
                 qPrintable(busy));
        IgtlReceiver client(options.streaming.port);
        QVERIFY(QTest::qWaitFor([&]() { return action->text().endsWith(", 1 client"); }, WaitMs));
        client.socket.abort();
        QVERIFY(QTest::qWaitFor([&]() { return action->text().endsWith(", 0 clients"); }, WaitMs));
    }

    // Each start switches the outputs on and reads the references once, never per line.
    void referencesReadOncePerStart()
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

    // The program with the embedded controller at 1 kHz, recording what it
    // gets: every pose M1 received is the record the display's parser reads
    // from the recorded line, in order, none missing.
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

        std::unique_ptr<IgtlReceiver> client;
        QVERIFY(QTest::qWaitFor(
            [&]() {
            client = std::make_unique<IgtlReceiver>(port);
            return client->socket.waitForConnected(1000);
            },
            60000));
        // The simulated tools lose tracking for 0.8 s every 9 s and press a button every 6 s.
        QVERIFY(QTest::qWaitFor(
            [&]() {
            const QList<IgtlReceiver::Message> strings = client->of("STRING", "M1");
            const bool pressed = std::any_of(strings.cbegin(), strings.cend(),
                                             [](const IgtlReceiver::Message &m) { return m.text.contains(" 1"); });
            return client->count("TRANSFORM", "M1") >= 1000 && client->count("STATUS", "M1") >= 2 && pressed;
            },
            60000));
        QTest::qWait(500); // the recording is written at least every 200 ms
        frontend.kill();
        frontend.waitForFinished();
        QVERIFY(!client->corrupt);
        QVERIFY(client->count("TRANSFORM", "MR1") > 0 && client->count("TRANSFORM", "M1ToMR1") > 0);

        // A stamp per data line, the line's arrival; none while M1 is not tracked.
        bool tracked = true;
        double previous = 0.0;
        QList<QByteArray> received;
        for (const IgtlReceiver::Message &message : qAsConst(client->messages)) {
            if (message.device != "M1")
                continue;
            if (message.type == "STATUS")
                tracked = message.text == "tracked";
            if (message.type != "TRANSFORM")
                continue;
            QVERIFY(tracked);
            QVERIFY(message.stamp > previous);
            previous = message.stamp;
            received << poseText(message.matrix);
        }
        const QList<QByteArray> recorded = recordedPosesOfM1(recording);
        const int start = recorded.indexOf(received.value(0));
        QVERIFY2(start >= 0, received.value(0).constData());
        int compared = 0;
        for (; compared < received.size() && start + compared < recorded.size(); ++compared)
            QCOMPARE(received.at(compared), recorded.at(start + compared));
        QVERIFY(compared >= 1000);
    }

private:
    void feed(const QByteArray &line) { server->handleLine(line, Stamp, IgtlClient::steadyNow()); }

    // Connected and counted by the server, unless it is not to be.
    IgtlReceiver *connectClient(bool counted = true)
    {
        const int expected = server->clientCount() + 1;
        clients.push_back(std::make_unique<IgtlReceiver>(server->port()));
        IgtlReceiver *client = clients.back().get();
        if (counted && !QTest::qWaitFor([&]() { return server->clientCount() == expected; }, WaitMs))
            qWarning("client %d not counted", int(clients.size()));
        return client;
    }

    std::unique_ptr<IgtlServer> server;
    std::vector<std::unique_ptr<IgtlReceiver>> clients;
};

QTEST_MAIN(TstIgtlServer)
#include "tst_igtlserver.moc"
