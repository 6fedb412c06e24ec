// The data path watched: a measurement with outputs on and no data line for
// the period shows as missing, said once with the likely causes; data that
// comes back clears it, said once; a stop ends it without a word.
#include <QtTest>

#include "frontend/datawatch.h"

namespace {

constexpr int PeriodMs = 150;
constexpr char Source[] = "UDP port 5461 of this computer (--data-port)";

} // namespace

class TestDataWatch : public QObject
{
    Q_OBJECT

private slots:
    void missingBackAndStopped()
    {
        DataWatch watch(QStringLiteral("127.0.0.1:5460"), QLatin1String(Source));
        watch.setPeriod(PeriodMs);
        QStringList log;
        connect(&watch, &DataWatch::logged, this, [&log](const QString &text) { log << text; });
        QSignalSpy changes(&watch, &DataWatch::missingChanged);
        const QByteArray on = "output active chmon 6dmt yes", off = "output active chmon 6dmt no";
        watch.setMeasuring(true);
        // Switched on, then off: nothing to miss.
        watch.noteOutputSwitch(on);
        watch.noteOutputSwitch(off);
        QTest::qWait(4 * PeriodMs);
        QVERIFY(!watch.isMissing() && log.isEmpty());

        // One of two switched off again: the other's lines are missed, said once with the likely causes.
        for (const QByteArray &text : {QByteArray("output active chmon 6dmtr yes"), on, off})
            watch.noteOutputSwitch(text);
        QTest::qWait(4 * PeriodMs);
        QVERIFY(watch.isMissing());
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.constFirst().startsWith("No data output from the controller at 127.0.0.1:5460 for 150 ms"),
                 qPrintable(log.constFirst()));
        QVERIFY(log.constFirst().contains(QLatin1String(Source)));
        QVERIFY(log.constFirst().contains("another client switched the outputs off"));

        // Lines that come clear it: said once, however many follow.
        for (int i = 0; i < 3; ++i)
            watch.noteDataLine();
        QVERIFY(!watch.isMissing());
        QCOMPARE(log.filter("Data output from the controller at 127.0.0.1:5460 comes in again").size(), 1);

        // Missing again, then the measurement stops: cleared without a word.
        QTRY_VERIFY(watch.isMissing());
        QCOMPARE(log.filter("No data output").size(), 2);
        watch.setMeasuring(false);
        QVERIFY(!watch.isMissing());
        QTest::qWait(2 * PeriodMs);
        QCOMPARE(log.size(), 3);
        QCOMPARE(changes.size(), 4);
        QCOMPARE(changes.constLast().constFirst(), QVariant(false));
    }
};

QTEST_MAIN(TestDataWatch)
#include "tst_datawatch.moc"
