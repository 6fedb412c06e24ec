#include <QtTest>
#include <climits>
#include <cstring>

#include "fakecommandmanager.h"
#include "host/backendversions.h"
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
    void failuresGoToTheLogInLatin1();
};

// Rows "major.minor.patch >= gateMajor.gateMinor": the gate's answer.
void TestConventions::versionGate_data()
{
    QTest::addColumn<QList<qint32>>("numbers");
    QTest::addColumn<bool>("open");
    for (const auto &row : QList<QPair<QList<qint32>, bool>>{{{1, 13, -1, 1, 13}, true},
                                                             {{1, 13, -2, 1, 13}, false},
                                                             {{1, 12, 99, 1, 13}, false},
                                                             {{2, 0, 0, 1, 13}, true},
                                                             {{-1, 50, 50, 1, 3}, false},
                                                             {{0, 17, -1, 0, 17}, true},
                                                             {{0, 16, 99, 0, 17}, false},
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
    QCOMPARE(text(NumberedItem::body(INT_MAX)) + ' ' + text(NumberedItem::body(INT_MIN)), "b2147483647 b-2147483647");
}

void TestConventions::itemNumbersRead_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("number"); // -1: not read
    QTest::newRow("b02") << QByteArray("b02") << 2;
    QTest::newRow("letter not checked") << QByteArray("x7") << 7;
    QTest::newRow("octal look, decimal read") << QByteArray("b010") << 10;
    QTest::newRow("trailing text") << QByteArray("b3 ") << 3;
    QTest::newRow("letter only") << QByteArray("b") << -1;
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

QTEST_GUILESS_MAIN(TestConventions)
#include "tst_conventions.moc"
