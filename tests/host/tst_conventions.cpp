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
    void versionGate();
    void replyWordsAndNumberedItems();
    void failuresGoToTheLogInLatin1();
    void numbersIgnoreTheProcessLocale();
};

void TestConventions::versionGate()
{
    struct Case
    {
        qint32 major, minor, patch, gateMajor, gateMinor;
        bool open;
    };
    const Case cases[] = {
        {1, 13, -1, 1, 13, true}, {1, 13, -2, 1, 13, false}, {1, 12, 99, 1, 13, false}, {1, 14, 0, 1, 13, true},
        {2, 0, 0, 1, 13, true}, {0, 99, 99, 1, 3, false}, {1, 2, 9, 1, 3, false}, {-1, 50, 50, 1, 3, false},
        {0, 17, -1, 0, 17, true}, {0, 16, 99, 0, 17, false}, {1, 0, 0, 0, 17, true},
        {INT_MAX, INT_MIN, INT_MIN, 1, 3, true},
    };
    for (const Case &c : cases) {
        const BackendVersions versions{{9, 9, 9}, {c.major, c.minor, c.patch}, QStringLiteral("ORVEL")};
        const QByteArray name = QString::asprintf("%d.%d.%d against %d.%d", c.major, c.minor, c.patch,
                                                  c.gateMajor, c.gateMinor).toLatin1();
        QVERIFY2(VersionGate::backendAtLeast(&versions, c.gateMajor, c.gateMinor) == c.open, name);
        QVERIFY2(c.gateMajor != 1 || VersionGate::backendAtLeast(&versions, c.gateMinor) == c.open, name);
    }
    QVERIFY(!VersionGate::backendAtLeast(nullptr, 0, 0));
}

void TestConventions::replyWordsAndNumberedItems()
{
    // A reply matches a word only whole and in the same case.
    ReplyBuffer reply;
    QVERIFY(!reply.is(ReplyWord::Yes)); // empty before any call
    const struct
    {
        const char *text, *word;
        bool match;
    } replies[] = {{"yes", ReplyWord::Yes, true}, {"yes ", ReplyWord::Yes, false}, {"Yes", ReplyWord::Yes, false},
                   {"orvel2 ok", ReplyWord::Ok, true}, {"orvel2 ok", ReplyWord::No, false}};
    for (const auto &c : replies) {
        std::strcpy(reply.data(), c.text);
        QVERIFY2(reply.is(c.word) == c.match, c.text);
    }
    // A host that fills the whole buffer without a terminator still reads as a bounded text.
    std::memset(reply.data(), 'y', ReplyBuffer::size());
    QCOMPARE(int(std::strlen(reply.text())), ReplyBuffer::size() - 1);
    QVERIFY(!reply.is(ReplyWord::Yes));

    const std::pair<NumberedItem, const char *> items[] = {
        {NumberedItem::body(0), "b01"},           {NumberedItem::body(9), "b10"},
        {NumberedItem::body(99), "b100"},         {NumberedItem::device(2), "d03"},
        {NumberedItem::step(1), "s02"},           {NumberedItem::body(INT_MAX), "b2147483647"},
        {NumberedItem::body(INT_MIN), "b-2147483647"}};
    for (const auto &item : items)
        QCOMPARE(QByteArray(item.first.c_str()), QByteArray(item.second));
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
