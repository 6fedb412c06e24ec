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
    // Rows "major.minor.patch >= gateMajor.gateMinor", then 1 where the gate opens.
    void versionGate_data()
    {
        QTest::addColumn<QList<qint32>>("numbers");
        QTest::addColumn<bool>("open");
        for (const QList<qint32> &n : QList<QList<qint32>>{{1, 13, -1, 1, 13, 1},
                                                           {1, 13, -2, 1, 13, 0},
                                                           {1, 12, 99, 1, 13, 0},
                                                           {2, 0, 0, 1, 13, 1},
                                                           {-1, 50, 50, 1, 3, 0},
                                                           {0, 17, -1, 0, 17, 1},
                                                           {0, 16, 99, 0, 17, 0},
                                                           {INT_MAX, INT_MIN, INT_MIN, 1, 3, 1}})
            QTest::addRow("%d.%d.%d >= %d.%d", n[0], n[1], n[2], n[3], n[4]) << n.mid(0, 5) << bool(n[5]);
    }

    void versionGate()
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
    void replyWords()
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

    // Items written with at least two digits, from 1; read back from the digits after the letter, as an int.
    void numberedItems()
    {
        QStringList written;
        for (const NumberedItem &item :
             {NumberedItem::body(0), NumberedItem::body(9), NumberedItem::body(99), NumberedItem::device(2),
              NumberedItem::step(2), NumberedItem::step(100), NumberedItem::body(INT_MAX), NumberedItem::body(INT_MIN)})
            written << item.c_str();
        QCOMPARE(written.join(' '), QStringLiteral("b01 b10 b100 d03 s02 s100 b2147483647 b-2147483647"));
        QStringList read; // "-" not read
        for (const char *reply : {"b02", "x7", "b010", "b3 ", "b", "b2147483648", "b-2147483649"}) {
            int got = -1;
            const bool ok = NumberedItem::readNumber(reply, &got);
            read << (ok ? QString::number(got) : got == 0 ? QStringLiteral("-") : QStringLiteral("-, set"));
        }
        QCOMPARE(read.join(' '), QStringLiteral("2 7 10 3 - - -")); // letter unchecked, octal look read as decimal
    }

    void failuresGoToTheLogInLatin1()
    {
        FakeCommandManager fake;
        FailureLog::report(&fake, QStringLiteral("Error: Unable to set number of mea tools = %1"), 5);
        FailureLog::report(&fake, QStringLiteral("Error: Unable to load %1"), QStringLiteral("Gr\u00f6\u00dfe"));
        FailureLog::report(&fake, QStringLiteral("Error: reply %1"), "caf\xe9"); // a controller text, Latin-1
        FailureLog::report(nullptr, QStringLiteral("ignored %1"), 1);
        QCOMPARE(fake.calls,
                 (QStringList{"logMessage standard ORVEL3 1 Error: Unable to set number of mea tools = 5",
                              QString::fromUtf8("logMessage standard ORVEL3 1 Error: Unable to load Gr\u00f6\u00dfe"),
                              QString::fromUtf8("logMessage standard ORVEL3 1 Error: reply caf\u00e9")}));
    }
};

QTEST_GUILESS_MAIN(TestConventions)
#include "tst_conventions.moc"
