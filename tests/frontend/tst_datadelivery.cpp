// Data lines on their way through the host: from a datagram to the requester
// that subscribed to their type, up to the longest a datagram carries; and
// held, within bounds, while a command waits.
#include <memory>

#include <QUdpSocket>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/datadelivery.h"
#include "frontend/datarouter.h"
#include "frontend/tcptransport.h"
#include "host/requester.h"
#include "recordingrequester.h"

namespace {

// "3d <n>" and n marker groups of 12 bytes: 1,000 markers make 12,007 bytes.
QByteArray markerLine(int markers)
{
    return "3d " + QByteArray::number(markers) + QByteArray("[0 1][0 0 0]").repeated(markers);
}

// A line of exactly the length given.
QByteArray lineOf(int length)
{
    return "3d " + QByteArray(length - 3, '7');
}

} // namespace

class TestDataDelivery : public QObject
{
    Q_OBJECT

private slots:
    void fromDatagramToRequester_data();
    void fromDatagramToRequester();
    void longestLine();
    void heldWithinBounds_data();
    void heldWithinBounds();
};

void TestDataDelivery::fromDatagramToRequester_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("3d, 1000 markers") << markerLine(1000);
    QTest::newRow("a whole datagram") << lineOf(65507);
    QTest::newRow("short") << markerLine(1);
}

// Through the real way in: UDP socket, link thread, command manager, router.
void TestDataDelivery::fromDatagramToRequester()
{
    QFETCH(QByteArray, line);
    auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), quint16(1));
    QString error;
    QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
    const quint16 port = transport->dataPort();
    CommandManager manager(std::move(transport));
    RecordingRequester requester;
    QCOMPARE(manager.addRequester(&requester), 0);
    QCOMPARE(manager.subscribeOutput("3d", &requester), 0);

    QUdpSocket controller;
    QCOMPARE(controller.writeDatagram(line, QHostAddress::LocalHost, port), qint64(line.size()));
    QTRY_COMPARE(requester.lines, QByteArrayList{line});
    QCOMPARE(manager.dataRouter().droppedLines(), 0);
}

void TestDataDelivery::longestLine()
{
    DataRouter router;
    RecordingRequester requester;
    router.subscribe("3d", &requester);
    QCOMPARE(DataRouter::MaxLineLength + 1, 64 * 1024); // with its NUL
    QCOMPARE(router.routeLine(lineOf(DataRouter::MaxLineLength)), 1);
    QCOMPARE(router.routeLine(lineOf(DataRouter::MaxLineLength + 1)), 0);
    QCOMPARE(router.routeLine(lineOf(1 << 20)), 0);
    QCOMPARE(router.droppedLines(), 2);
    QCOMPARE(requester.lines, QByteArrayList{lineOf(DataRouter::MaxLineLength)});
}

void TestDataDelivery::heldWithinBounds_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("delivered");
    constexpr int longest = DataRouter::MaxLineLength;
    QTest::newRow("all held") << 100 << DataDelivery::MaxHeldDeliveries << DataDelivery::MaxHeldDeliveries;
    QTest::newRow("beyond the count") << 100 << DataDelivery::MaxHeldDeliveries + 7 << DataDelivery::MaxHeldDeliveries;
    QTest::newRow("3d lines, beyond the count") << 12007 << 1100 << DataDelivery::MaxHeldDeliveries;
    QTest::newRow("longest lines, beyond the bytes") << longest << 300 << DataDelivery::MaxHeldBytes / longest;
}

// A command waits: the lines are held up to the bounds, the rest dropped and
// logged; the measurement's stop is never dropped and comes after them.
void TestDataDelivery::heldWithinBounds()
{
    QFETCH(int, length);
    QFETCH(int, count);
    QFETCH(int, delivered);
    DataRouter router;
    RecordingRequester requester;
    router.addRequester(&requester);
    router.subscribe("3d", &requester);
    DataDelivery delivery(&router);
    QStringList log;
    connect(&delivery, &DataDelivery::logged, this, [&log](const QString &text) { log << text; });

    delivery.commandStarted();
    const QByteArray line = lineOf(length);
    for (int i = 0; i < count; ++i)
        delivery.deliverLine(line);
    delivery.deliverStopped();
    QCoreApplication::processEvents();
    QVERIFY(requester.lines.isEmpty() && requester.events.isEmpty());
    QCOMPARE(delivery.heldCount(), delivered + 1);

    delivery.commandFinished();
    QTRY_COMPARE(requester.notifications(), QStringList{"stopped"});
    QCOMPARE(requester.lines.size(), delivered);
    QCOMPARE(delivery.heldCount(), 0);
    const QStringList expectedLog = count > delivered
        ? QStringList{QStringLiteral("%1 data lines dropped while commands waited").arg(count - delivered)}
        : QStringList();
    QCOMPARE(log, expectedLog);

    // Nothing waits any more: delivered at once.
    delivery.deliverLine(line);
    QCOMPARE(requester.lines.size(), delivered + 1);
}

QTEST_MAIN(TestDataDelivery)
#include "tst_datadelivery.moc"
