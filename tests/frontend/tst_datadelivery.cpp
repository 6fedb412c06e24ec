// Data lines on their way through the host: from a datagram to the requester
// that subscribed to their type, up to the longest a datagram carries; and
// held, within bounds, while a command waits.
#include <array>
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
    // Through the real way in (UDP socket, link thread, command manager, router)
    // the longest line a datagram carries; one beyond the router's limit, which
    // no datagram brings, is dropped.
    void longestLines()
    {
        const QByteArray line = lineOf(65507);
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
        QCOMPARE(manager.dataRouter().routeLine(lineOf(DataRouter::MaxLineLength)), 1);
        QCOMPARE(manager.dataRouter().routeLine(lineOf(DataRouter::MaxLineLength + 1)), 0);
        QCOMPARE(manager.dataRouter().droppedLines(), 1);
    }

    // A command waits: the lines are held up to the bounds, the rest dropped and
    // logged; the measurement's stop is never dropped and comes after them.
    void heldWithinBounds()
    {
        const int held = DataDelivery::MaxHeldDeliveries, longest = DataRouter::MaxLineLength;
        // Beyond the count of short lines; the longest lines beyond the bytes.
        for (const auto &[length, count, delivered] :
             {std::array{100, held + 7, held}, std::array{longest, 300, DataDelivery::MaxHeldBytes / longest}}) {
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
            delivery.commandFinished();
            QTRY_COMPARE(requester.notifications(), QStringList{"stopped"});
            QCOMPARE(requester.lines.size(), delivered);
            QCOMPARE(log,
                     QStringList{QStringLiteral("%1 data lines dropped while commands waited").arg(count - delivered)});
        }
    }
};

QTEST_MAIN(TestDataDelivery)
#include "tst_datadelivery.moc"
