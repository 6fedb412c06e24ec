#include <QtTest>
#include <clocale>
#include <climits>
#include <cstring>

#include "fakecommandmanager.h"
#include "host/backendversions.h"
#include "host/cnumber.h"
#include "host/failurelog.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"

class TestConventions : public QObject
{
    Q_OBJECT

private slots:
    void versionGate_data();
    void versionGate();
    void replyWordsMatchOnlyWhole();
    void numberedItems();
    void failuresGoToTheLogInLatin1();
    void numbersIgnoreTheProcessLocale();
};

void TestConventions::versionGate_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::addColumn<int>("gateMajor");
    QTest::addColumn<int>("gateMinor");
    QTest::addColumn<bool>("open");

    QTest::newRow("1.13.-1 >= 1.13") << 1 << 13 << -1 << 1 << 13 << true;
    QTest::newRow("1.13.0 >= 1.13") << 1 << 13 << 0 << 1 << 13 << true;
    QTest::newRow("1.13.-2 < 1.13") << 1 << 13 << -2 << 1 << 13 << false;
    QTest::newRow("1.12.99 < 1.13") << 1 << 12 << 99 << 1 << 13 << false;
    QTest::newRow("1.14.0 >= 1.13") << 1 << 14 << 0 << 1 << 13 << true;
    QTest::newRow("2.0.0 >= 1.13") << 2 << 0 << 0 << 1 << 13 << true;
    QTest::newRow("0.99.99 < 1.3") << 0 << 99 << 99 << 1 << 3 << false;
    QTest::newRow("1.2.9 < 1.3") << 1 << 2 << 9 << 1 << 3 << false;
    QTest::newRow("negative major") << -1 << 50 << 50 << 1 << 3 << false;
    QTest::newRow("0.17.-1 >= 0.17") << 0 << 17 << -1 << 0 << 17 << true;
    QTest::newRow("0.16.99 < 0.17") << 0 << 16 << 99 << 0 << 17 << false;
    QTest::newRow("1.0.0 >= 0.17") << 1 << 0 << 0 << 0 << 17 << true;
    QTest::newRow("extremes") << INT_MAX << INT_MIN << INT_MIN << 1 << 3 << true;
}

void TestConventions::versionGate()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    QFETCH(int, gateMajor);
    QFETCH(int, gateMinor);
    QFETCH(bool, open);
    const BackendVersions versions{{9, 9, 9}, {major, minor, patch}, QStringLiteral("ORVEL")};
    QCOMPARE(VersionGate::backendAtLeast(&versions, gateMajor, gateMinor), open);
    if (gateMajor == 1)
        QCOMPARE(VersionGate::backendAtLeast(&versions, gateMinor), open);
    QVERIFY(!VersionGate::backendAtLeast(nullptr, gateMajor, gateMinor));
}

void TestConventions::replyWordsMatchOnlyWhole()
{
    ReplyBuffer reply;
    QVERIFY(!reply.is(ReplyWord::Yes)); // empty before any call
    std::strcpy(reply.data(), "yes");
    QVERIFY(reply.is(ReplyWord::Yes));
    std::strcpy(reply.data(), "yes ");
    QVERIFY(!reply.is(ReplyWord::Yes));
    std::strcpy(reply.data(), "Yes");
    QVERIFY(!reply.is(ReplyWord::Yes));
    std::strcpy(reply.data(), "orvel2 ok");
    QVERIFY(reply.is(ReplyWord::Ok));
    QVERIFY(!reply.is(ReplyWord::No));

    // A host that fills the whole buffer without a terminator still reads as a bounded text.
    std::memset(reply.data(), 'y', ReplyBuffer::size());
    QCOMPARE(int(std::strlen(reply.text())), ReplyBuffer::size() - 1);
    QVERIFY(!reply.is(ReplyWord::Yes));
}

void TestConventions::numberedItems()
{
    QCOMPARE(QByteArray(NumberedItem::body(0).c_str()), QByteArray("b01"));
    QCOMPARE(QByteArray(NumberedItem::body(9).c_str()), QByteArray("b10"));
    QCOMPARE(QByteArray(NumberedItem::body(99).c_str()), QByteArray("b100"));
    QCOMPARE(QByteArray(NumberedItem::device(2).c_str()), QByteArray("d03"));
    QCOMPARE(QByteArray(NumberedItem::step(1).c_str()), QByteArray("s02"));
    QCOMPARE(QByteArray(NumberedItem::body(INT_MAX).c_str()), QByteArray("b2147483647"));
    QCOMPARE(QByteArray(NumberedItem::body(INT_MIN).c_str()), QByteArray("b-2147483647"));
    QCOMPARE(NumberedItem::number(0), 1);
}

void TestConventions::failuresGoToTheLogInLatin1()
{
    FakeCommandManager fake;
    FailureLog::report(&fake, QStringLiteral("Error: Unable to set number of mea tools = %1"), 5);
    FailureLog::report(&fake, QStringLiteral("Error: Unable to load %1"), QStringLiteral("Gr\u00f6\u00dfe"));
    FailureLog::report(&fake, QStringLiteral("Error: reply %1"), "caf\xe9"); // a controller text, Latin-1
    FailureLog::report(nullptr, QStringLiteral("ignored %1"), 1);
    QCOMPARE(fake.calls, (QStringList{
                             "logMessage standard ORVEL3 1 Error: Unable to set number of mea tools = 5",
                             QString::fromUtf8("logMessage standard ORVEL3 1 Error: Unable to load Gr\u00f6\u00dfe"),
                             QString::fromUtf8("logMessage standard ORVEL3 1 Error: reply caf\u00e9"),
                         }));
}

void TestConventions::numbersIgnoreTheProcessLocale()
{
    const QByteArray previous = std::setlocale(LC_ALL, nullptr);
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "de_DE.UTF-8 missing: scripts/install-deps.sh generates it");
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    const bool commaLocale = QByteArray(check) == "1,5";

    const QByteArray fixed = CNumber::fixed3(1.25).c_str();
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    const bool localeKept = QByteArray(check) == "1,5";
    const QByteArray negative = CNumber::fixed3(-2.5).c_str();
    char *end = nullptr;
    const char text[] = " 1.5e2x";
    const double value = CNumber::toDouble(text, &end);
    const long hex = CNumber::toLong("0x10", nullptr, 0);
    const long octal = CNumber::toLong("010", nullptr, 0);
    std::setlocale(LC_ALL, previous.constData());

    QVERIFY2(commaLocale, "the test locale does not use a decimal comma");
    QVERIFY2(localeKept, "writing a number changed this thread's locale");
    QCOMPARE(fixed, QByteArray("1.250"));
    QCOMPARE(negative, QByteArray("-2.500"));
    QCOMPARE(value, 150.0);
    QCOMPARE(*end, 'x');
    QCOMPARE(hex, 16L);
    QCOMPARE(octal, 8L);
}

QTEST_GUILESS_MAIN(TestConventions)
#include "tst_conventions.moc"
