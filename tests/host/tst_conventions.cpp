#include <QtTest>
#include <clocale>
#include <climits>
#include <cstring>

#include "fakecommandmanager.h"
#include "host/backendversions.h"
#include "host/cnumber.h"
#include "host/controllerfacts.h"
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
    void versionGateWithoutVersions();
    void replyWords_data();
    void replyWords();
    void replyBufferBounds();
    void numberedItems_data();
    void numberedItems();
    void itemNumbersRead_data();
    void itemNumbersRead();
    void controllerFacts_data();
    void controllerFacts();
    void failuresGoToTheLogInLatin1();
    void numbersIgnoreTheProcessLocale();
};

void TestConventions::versionGate_data()
{
    QTest::addColumn<qint32>("major");
    QTest::addColumn<qint32>("minor");
    QTest::addColumn<qint32>("patch");
    QTest::addColumn<qint32>("gateMajor");
    QTest::addColumn<qint32>("gateMinor");
    QTest::addColumn<bool>("open");

    // Each row is named "major.minor.patch against gateMajor.gateMinor".
    const auto row = [](qint32 major, qint32 minor, qint32 patch, qint32 gateMajor, qint32 gateMinor, bool open) {
        const QByteArray name
            = QString::asprintf("%d.%d.%d against %d.%d", major, minor, patch, gateMajor, gateMinor).toLatin1();
        QTest::newRow(name.constData()) << major << minor << patch << gateMajor << gateMinor << open;
    };
    row(1, 13, -1, 1, 13, true);
    row(1, 13, -2, 1, 13, false);
    row(1, 12, 99, 1, 13, false);
    row(1, 14, 0, 1, 13, true);
    row(2, 0, 0, 1, 13, true);
    row(0, 99, 99, 1, 3, false);
    row(1, 2, 9, 1, 3, false);
    row(-1, 50, 50, 1, 3, false);
    row(0, 17, -1, 0, 17, true);
    row(0, 16, 99, 0, 17, false);
    row(1, 0, 0, 0, 17, true);
    row(INT_MAX, INT_MIN, INT_MIN, 1, 3, true);
}

void TestConventions::versionGate()
{
    QFETCH(qint32, major);
    QFETCH(qint32, minor);
    QFETCH(qint32, patch);
    QFETCH(qint32, gateMajor);
    QFETCH(qint32, gateMinor);
    QFETCH(bool, open);
    const BackendVersions versions{{9, 9, 9}, {major, minor, patch}, QStringLiteral("ORVEL")};
    QCOMPARE(VersionGate::backendAtLeast(&versions, gateMajor, gateMinor), open);
    if (gateMajor == 1)
        QCOMPARE(VersionGate::backendAtLeast(&versions, gateMinor), open);
}

void TestConventions::versionGateWithoutVersions()
{
    QVERIFY(!VersionGate::backendAtLeast(nullptr, 0, 0));
}

// A reply matches a word only whole and in the same case.
void TestConventions::replyWords_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<bool>("match");
    QTest::newRow("yes") << QByteArray("yes") << QByteArray(ReplyWord::Yes) << true;
    QTest::newRow("yes with a trailing blank") << QByteArray("yes ") << QByteArray(ReplyWord::Yes) << false;
    QTest::newRow("Yes in capitals") << QByteArray("Yes") << QByteArray(ReplyWord::Yes) << false;
    QTest::newRow("ok after the prefix") << QByteArray("orvel2 ok") << QByteArray(ReplyWord::Ok) << true;
    QTest::newRow("ok is not no") << QByteArray("orvel2 ok") << QByteArray(ReplyWord::No) << false;
}

void TestConventions::replyWords()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, word);
    QFETCH(bool, match);
    ReplyBuffer reply;
    std::strcpy(reply.data(), text.constData());
    QCOMPARE(reply.is(word.constData()), match);
}

void TestConventions::replyBufferBounds()
{
    ReplyBuffer reply;
    QVERIFY(!reply.is(ReplyWord::Yes)); // empty before any call
    // A host that fills the whole buffer without a terminator still reads as a bounded text.
    std::memset(reply.data(), 'y', ReplyBuffer::size());
    QCOMPARE(int(std::strlen(reply.text())), ReplyBuffer::size() - 1);
    QVERIFY(!reply.is(ReplyWord::Yes));
}

void TestConventions::numberedItems_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("first body") << QByteArray(NumberedItem::body(0).c_str()) << QByteArray("b01");
    QTest::newRow("tenth body") << QByteArray(NumberedItem::body(9).c_str()) << QByteArray("b10");
    QTest::newRow("hundredth body") << QByteArray(NumberedItem::body(99).c_str()) << QByteArray("b100");
    QTest::newRow("device") << QByteArray(NumberedItem::device(2).c_str()) << QByteArray("d03");
    QTest::newRow("step by its number") << QByteArray(NumberedItem::step(2).c_str()) << QByteArray("s02");
    QTest::newRow("step 100") << QByteArray(NumberedItem::step(100).c_str()) << QByteArray("s100");
    // Steps keep "%02d", bodies "%2.2d": the two differ only below zero.
    QTest::newRow("negative step") << QByteArray(NumberedItem::step(-5).c_str()) << QByteArray("-5").prepend('s');
    QTest::newRow("negative body") << QByteArray(NumberedItem::body(-6).c_str()) << QByteArray("b-05");
    QTest::newRow("largest body") << QByteArray(NumberedItem::body(INT_MAX).c_str()) << QByteArray("b2147483647");
    QTest::newRow("smallest body") << QByteArray(NumberedItem::body(INT_MIN).c_str()) << QByteArray("b-2147483647");
}

void TestConventions::numberedItems()
{
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, expected);
    QCOMPARE(written, expected);
}

void TestConventions::itemNumbersRead_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("number");
    QTest::newRow("b02") << QByteArray("b02") << true << 2;
    QTest::newRow("letter not checked") << QByteArray("x7") << true << 7;
    QTest::newRow("b100") << QByteArray("b100") << true << 100;
    QTest::newRow("octal look, decimal read") << QByteArray("b010") << true << 10;
    QTest::newRow("trailing text") << QByteArray("b3 ") << true << 3;
    QTest::newRow("letter only") << QByteArray("b") << false << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0;
    QTest::newRow("no digits") << QByteArray("none") << false << 0;
    QTest::newRow("beyond int") << QByteArray("b2147483648") << false << 0;
    QTest::newRow("below int") << QByteArray("b-2147483649") << false << 0;
}

void TestConventions::itemNumbersRead()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, read);
    QFETCH(int, number);
    int got = -1;
    QCOMPARE(NumberedItem::readNumber(reply.constData(), &got), read);
    QCOMPARE(got, number);
}

void TestConventions::controllerFacts_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("available");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("asked");
    const QStringList both{"getParameter config is_changeable", "getParameter measurementtool available"};
    QTest::newRow("yes and no") << 14 << 0 << QByteArray("yes") << true << false << both;
    QTest::newRow("no and locked") << 14 << 0 << QByteArray("no") << false << true << both;
    QTest::newRow("failed query") << 14 << 3 << QByteArray("no") << false << false << both;
    QTest::newRow("Yes in capitals") << 14 << 0 << QByteArray("Yes") << false << false << both;
    QTest::newRow("before the lock") << 8 << 0 << QByteArray("no") << false << false
                                     << QStringList{"getParameter measurementtool available"};
    QTest::newRow("before measurement tools") << 2 << 0 << QByteArray("no") << false << false << QStringList();
}

void TestConventions::controllerFacts()
{
    QFETCH(int, minor);
    QFETCH(int, result);
    QFETCH(QByteArray, reply);
    QFETCH(bool, available);
    QFETCH(bool, locked);
    QFETCH(QStringList, asked);
    FakeCommandManager fake;
    fake.answer("config is_changeable", result, reply);
    fake.answer("measurementtool available", result, reply);
    const BackendVersions versions{{9, 9, 9}, {1, minor, 0}, QStringLiteral("ORVEL")};
    QCOMPARE(ControllerFacts::configurationLocked(&fake, &versions), locked);
    QCOMPARE(ControllerFacts::measurementToolAvailable(&fake, &versions), available);
    QCOMPARE(fake.calls, asked);
    QVERIFY(!ControllerFacts::measurementToolAvailable(nullptr, &versions));
    QVERIFY(!ControllerFacts::configurationLocked(&fake, nullptr));
}

void TestConventions::failuresGoToTheLogInLatin1()
{
    FakeCommandManager fake;
    FailureLog::report(&fake, QStringLiteral("Error: Unable to set number of mea tools = %1"), 5);
    FailureLog::report(&fake, QStringLiteral("Error: Unable to load %1"), QStringLiteral("Gr\u00f6\u00dfe"));
    FailureLog::report(&fake, QStringLiteral("Error: reply %1"), "caf\xe9"); // a controller text, Latin-1
    FailureLog::report(nullptr, QStringLiteral("ignored %1"), 1);
    QCOMPARE(fake.calls,
             (QStringList{
                 "logMessage standard ORVEL3 1 Error: Unable to set number of mea tools = 5",
                 QString::fromUtf8("logMessage standard ORVEL3 1 Error: Unable to load Gr\u00f6\u00dfe"),
                 QString::fromUtf8("logMessage standard ORVEL3 1 Error: reply caf\u00e9"),
             }));
}

void TestConventions::numbersIgnoreTheProcessLocale()
{
    const QByteArray previous = std::setlocale(LC_ALL, nullptr);
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "de_DE.UTF-8 missing: scripts/install-deps.sh generates it");
    const auto printed = [] {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return QByteArray(text);
    };
    const QByteArray before = printed();
    const QByteArray written = QByteArray(CNumber::fixed3(1.25).c_str()) + ' ' + CNumber::fixed3(-2.5).c_str();
    const QByteArray after = printed();
    char *end = nullptr;
    const double value = CNumber::toDouble(" 1.5e2x", &end);
    const long hex = CNumber::toLong("0x10", nullptr, 0);
    const long octal = CNumber::toLong("010", nullptr, 0);
    std::setlocale(LC_ALL, previous.constData());

    QVERIFY2(before == "1,5", "the test locale does not use a decimal comma");
    QVERIFY2(after == "1,5", "writing a number changed this thread's locale");
    QCOMPARE(written, QByteArray("1.250 -2.500"));
    QVERIFY(value == 150.0 && *end == 'x' && hex == 16 && octal == 8);
}

QTEST_GUILESS_MAIN(TestConventions)
#include "tst_conventions.moc"
