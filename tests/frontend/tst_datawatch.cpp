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
    void missing_data();
    void missing();
    void backAndStopped();

private:
    void makeWatch();

    std::unique_ptr<DataWatch> watch;
    QStringList log;
};

void TestDataWatch::makeWatch()
{
    log.clear();
    watch = std::make_unique<DataWatch>(QStringLiteral("127.0.0.1:5460"), QLatin1String(Source));
    watch->setPeriod(PeriodMs);
    connect(watch.get(), &DataWatch::logged, this, [this](const QString &text) { log << text; });
}

void TestDataWatch::missing_data()
{
    QTest::addColumn<QByteArrayList>("sets");
    QTest::addColumn<bool>("measuring");
    QTest::addColumn<bool>("linesCome");
    QTest::addColumn<bool>("missing");
    const QByteArray on = "output active chmon 6dmt yes", refOn = "output active chmon 6dmtr yes";
    QTest::newRow("outputs on, nothing comes") << QByteArrayList{on, refOn} << true << false << true;
    QTest::newRow("one of two switched off again")
        << QByteArrayList{on, refOn, "output active chmon 6dmt no"} << true << false << true;
    QTest::newRow("lines come") << QByteArrayList{on} << true << true << false;
    QTest::newRow("no output on") << QByteArrayList{} << true << false << false;
    QTest::newRow("switched on, then off")
        << QByteArrayList{on, "output active chmon 6dmt no"} << true << false << false;
    QTest::newRow("other settings") << QByteArrayList{"measurementtool number_of_tools 2", "output active chmon 6dmt"}
                                    << true << false << false;
    QTest::newRow("no measurement") << QByteArrayList{on} << false << false << false;
}

void TestDataWatch::missing()
{
    QFETCH(QByteArrayList, sets);
    QFETCH(bool, measuring);
    QFETCH(bool, linesCome);
    QFETCH(bool, missing);
    makeWatch();
    watch->setMeasuring(measuring);
    for (const QByteArray &text : qAsConst(sets))
        watch->noteOutputSwitch(text);
    for (int waited = 0; waited < 4 * PeriodMs; waited += PeriodMs / 5) {
        if (linesCome)
            watch->noteDataLine();
        QTest::qWait(PeriodMs / 5);
    }
    QCOMPARE(watch->isMissing(), missing);
    QCOMPARE(log.size(), missing ? 1 : 0);
    if (missing) {
        QVERIFY2(log.constFirst().startsWith("No data output from the controller at 127.0.0.1:5460 for 150 ms"),
                 qPrintable(log.constFirst()));
        QVERIFY(log.constFirst().contains(QLatin1String(Source)));
        QVERIFY(log.constFirst().contains("another client switched the outputs off"));
    }
}

void TestDataWatch::backAndStopped()
{
    makeWatch();
    QSignalSpy changes(watch.get(), &DataWatch::missingChanged);
    watch->setMeasuring(true);
    watch->noteOutputSwitch("output active chmon 6dmt yes");
    QTRY_VERIFY(watch->isMissing());

    // Back: said once, however many lines follow.
    for (int i = 0; i < 3; ++i)
        watch->noteDataLine();
    QVERIFY(!watch->isMissing());
    QCOMPARE(log.filter("Data output from the controller at 127.0.0.1:5460 comes in again").size(), 1);

    // Missing again, then the measurement stops: cleared without a word.
    QTRY_VERIFY(watch->isMissing());
    QCOMPARE(log.filter("No data output").size(), 2);
    watch->setMeasuring(false);
    QVERIFY(!watch->isMissing());
    QTest::qWait(2 * PeriodMs);
    QCOMPARE(log.size(), 3);
    QCOMPARE(changes.size(), 4);
    QCOMPARE(changes.constLast().constFirst(), QVariant(false));
}

QTEST_MAIN(TestDataWatch)
#include "tst_datawatch.moc"
