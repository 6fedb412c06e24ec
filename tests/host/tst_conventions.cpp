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
    void replyWords();
    void numberedItems();
    void itemNumbersRead_data();
    void itemNumbersRead();
    void controllerFacts_data();
    void controllerFacts();
    void failuresGoToTheLogInLatin1();
    void numbersIgnoreTheProcessLocale();
};

// Rows "major.minor.patch >= gateMajor.gateMinor": the gate's answer.
void TestConventions::versionGate_data()
{
    QTest::addColumn<QList<qint32>>("numbers");
    QTest::addColumn<bool>("open");
    for (const auto &row : QList<QPair<QList<qint32>, bool>>{{{1, 13, -1, 1, 13}, true},
                                                             {{1, 13, -2, 1, 13}, false},
                                                             {{1, 12, 99, 1, 13}, false},
                                                             {{1, 14, 0, 1, 13}, true},
                                                             {{2, 0, 0, 1, 13}, true},
                                                             {{0, 99, 99, 1, 3}, false},
                                                             {{1, 2, 9, 1, 3}, false},
                                                             {{-1, 50, 50, 1, 3}, false},
                                                             {{0, 17, -1, 0, 17}, true},
                                                             {{0, 16, 99, 0, 17}, false},
                                                             {{1, 0, 0, 0, 17}, true},
                                                             {{INT_MAX, INT_MIN, INT_MIN, 1, 3}, true}}) {
        const QList<qint32> &n = row.first;
        QTest::addRow("%d.%d.%d >= %d.%d", n[0], n[1], n[2], n[3], n[4]) << n << row.second;
    }
}

void TestConventions::versionGate()
{
    QFETCH(QList<qint32>, numbers);
    QFETCH(bool, open);
    const BackendVersions versions{{9, 9, 9}, {numbers[0], numbers[1], numbers[2]}, QStringLiteral("ORVEL")};
    QCOMPARE(VersionGate::backendAtLeast(&versions, numbers[3], numbers[4]), open);
    if (numbers[3] == 1)
        QCOMPARE(VersionGate::backendAtLeast(&versions, numbers[4]), open);
    QVERIFY(!VersionGate::backendAtLeast(nullptr, 0, 0));
}

// A reply matches a word only whole and in the same case, and stays a bounded text.
void TestConventions::replyWords()
{
    const auto is = [](const char *text, const char *word) {
        ReplyBuffer reply;
        std::strcpy(reply.data(), text);
        return reply.is(word);
    };
    QVERIFY(is("yes", ReplyWord::Yes) && is("orvel2 ok", ReplyWord::Ok));
    QVERIFY(!is("yes ", ReplyWord::Yes) && !is("Yes", ReplyWord::Yes) && !is("orvel2 ok", ReplyWord::No));
    ReplyBuffer reply;
    QVERIFY(!reply.is(ReplyWord::Yes)); // empty before any call
    // A host that fills the whole buffer without a terminator still reads as a bounded text.
    std::memset(reply.data(), 'y', ReplyBuffer::size());
    QCOMPARE(int(std::strlen(reply.text())), ReplyBuffer::size() - 1);
    QVERIFY(!reply.is(ReplyWord::Yes));
}

void TestConventions::numberedItems()
{
    const auto text = [](const NumberedItem &item) {
        return QByteArray(item.c_str());
    };
    QCOMPARE(text(NumberedItem::body(0)) + ' ' + text(NumberedItem::body(9)) + ' ' + text(NumberedItem::body(99)),
             "b01 b10 b100");
    QCOMPARE(text(NumberedItem::device(2)) + ' ' + text(NumberedItem::step(2)) + ' ' + text(NumberedItem::step(100)),
             "d03 s02 s100");
    // Steps keep "%02d", bodies "%2.2d": the two differ only below zero.
    QCOMPARE(text(NumberedItem::step(-5)) + ' ' + text(NumberedItem::body(-6)), QByteArray("s-") + "5 b-05");
    QCOMPARE(text(NumberedItem::body(INT_MAX)) + ' ' + text(NumberedItem::body(INT_MIN)), "b2147483647 b-2147483647");
}

void TestConventions::itemNumbersRead_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("number"); // -1: not read
    QTest::newRow("b02") << QByteArray("b02") << 2;
    QTest::newRow("letter not checked") << QByteArray("x7") << 7;
    QTest::newRow("b100") << QByteArray("b100") << 100;
    QTest::newRow("octal look, decimal read") << QByteArray("b010") << 10;
    QTest::newRow("trailing text") << QByteArray("b3 ") << 3;
    QTest::newRow("letter only") << QByteArray("b") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
    QTest::newRow("no digits") << QByteArray("none") << -1;
    QTest::newRow("beyond int") << QByteArray("b2147483648") << -1;
    QTest::newRow("below int") << QByteArray("b-2147483649") << -1;
}

void TestConventions::itemNumbersRead()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, number);
    int got = -1;
    QCOMPARE(NumberedItem::readNumber(reply.constData(), &got), number >= 0);
    QCOMPARE(got, number >= 0 ? number : 0);
}

void TestConventions::controllerFacts_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("facts"); // available, locked
    QTest::addColumn<int>("asked");     // the lock's query and the availability's, the latest first
    QTest::newRow("yes and no") << 14 << 0 << QByteArray("yes") << "1 0" << 2;
    QTest::newRow("no and locked") << 14 << 0 << QByteArray("no") << "0 1" << 2;
    QTest::newRow("failed query") << 14 << 3 << QByteArray("no") << "0 0" << 2;
    QTest::newRow("Yes in capitals") << 14 << 0 << QByteArray("Yes") << "0 0" << 2;
    QTest::newRow("before the lock") << 8 << 0 << QByteArray("no") << "0 0" << 1;
    QTest::newRow("before measurement tools") << 2 << 0 << QByteArray("no") << "0 0" << 0;
}

void TestConventions::controllerFacts()
{
    QFETCH(int, minor);
    QFETCH(int, result);
    QFETCH(QByteArray, reply);
    FakeCommandManager fake;
    fake.answer("config is_changeable", result, reply);
    fake.answer("measurementtool available", result, reply);
    const BackendVersions versions{{9, 9, 9}, {1, minor, 0}, QStringLiteral("ORVEL")};
    const bool locked = ControllerFacts::configurationLocked(&fake, &versions);
    QTEST(QStringLiteral("%1 %2").arg(ControllerFacts::measurementToolAvailable(&fake, &versions)).arg(locked),
          "facts");
    QFETCH(int, asked);
    QCOMPARE(
        fake.calls,
        QStringList({"getParameter config is_changeable", "getParameter measurementtool available"}).mid(2 - asked));
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
