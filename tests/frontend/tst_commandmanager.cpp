// The command manager's protocol handling against a scripted controller,
// in-process and over loopback TCP, and the routing of data lines.

#include <cstring>
#include <memory>

#include <QtTest>

#include "controllerscript.h"
#include "frontend/commandmanager.h"
#include "frontend/tcptransport.h"
#include "recordingrequester.h"
#include "scriptedserver.h"
#include "scriptedtransport.h"

constexpr int TestTimeoutMs = 300; // the time-out cases only; all else has the default

class TestCommandManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<bool>("tcp");
        QTest::newRow("inprocess") << false;
        QTest::newRow("tcp") << true;
    }
    void init();
    void cleanup() { manager.reset(), transport.reset(), server.reset(); }
    void typedReplies();
    void errorCutAndLongTexts();
    void timeOutsAndClosedConnections();
    void measurementStartAndStop();
    void routingBySubscription();

private:
    ControllerScript script;
    std::unique_ptr<ScriptedServer> server;
    std::unique_ptr<ControllerTransport> transport;
    std::unique_ptr<CommandManager> manager;
};

void TestCommandManager::init()
{
    script.clear(true);
    QFETCH_GLOBAL(bool, tcp);
    if (tcp) {
        server = std::make_unique<ScriptedServer>(&script);
        QVERIFY(server->startListening());
        auto tcp = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), server->port());
        QString error;
        QVERIFY2(tcp->connectToController(5000, &error), qPrintable(error));
        transport = std::move(tcp);
    } else {
        transport = std::make_unique<ScriptedTransport>(&script);
    }
    manager = std::make_unique<CommandManager>(transport.get());
}

void TestCommandManager::typedReplies()
{
    script.reply("orvel2 get mt count", "orvel2 set mt count -2");
    script.reply("orvel2 get mt tip b01", "orvel2 set mt tip b01 3.125");
    script.reply("orvel2 get mt flag", "orvel2 set mt flag no");
    script.reply("orvel2 get kinwave name d02", "orvel2 set kinwave name d02 Probe with spaces");
    int count = 0;
    QCOMPARE(manager->getIntParameter(&count, "mt count"), 0);
    QCOMPARE(count, -2);
    double tip = 0;
    QCOMPARE(manager->getDoubleParameter(&tip, "mt tip b%02d", 1), 0);
    QCOMPARE(tip, 3.125);
    bool flag = true;
    QCOMPARE(manager->getBoolParameter(&flag, "mt flag"), 0);
    QCOMPARE(flag, false);
    char reply[IOManager::ReplySize];
    QCOMPARE(manager->getParameter(reply, "kinwave name d%2.2d", 2), 0);
    QCOMPARE(reply, "Probe with spaces");

    // Values of the wrong type fail and leave the variable as it was; the
    // process locale (also German in CTest) changes nothing.
    const char *const bad[][2] = {
        {"int", "12x"}, {"int", ""}, {"int", "99999999999"}, {"int", "1.5"}, {"double", "nan"},
        {"double", "1,5"}, {"double", "abc"}, {"bool", "Yes"}, {"bool", "yes "}, {"bool", "1"},
    };
    for (const auto &value : bad) {
        script.reply(QByteArray("orvel2 get v ") + value[0], QByteArray("orvel2 set v ") + value[0] + ' ' + value[1]);
        int i = 77;
        double d = 7.5;
        bool b = true;
        const int result = value[0][0] == 'i'   ? manager->getIntParameter(&i, "v %s", value[0])
                           : value[0][0] == 'd' ? manager->getDoubleParameter(&d, "v %s", value[0])
                                                : manager->getBoolParameter(&b, "v %s", value[0]);
        QVERIFY2(result == CommandManager::BadValue, value[1]);
        QVERIFY(i == 77 && d == 7.5 && b);
    }
    // A reply for another parameter, or of another form, is not taken.
    script.reply("orvel2 get status active", "orvel2 set status activity meas");
    QCOMPARE(manager->getParameter(reply, "status active"), int(CommandManager::UnexpectedReply));
    QCOMPARE(reply, "");
    script.reply("orvel2 set mt tip b03 2.500", "orvel2 set mt tip b03 2.500"); // a set expects "orvel2 ok"
    QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), int(CommandManager::UnexpectedReply));
    script.reply("orvel2 set mt tip b03 2.500", "orvel2 ok");
    QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), 0);
    QCOMPARE(manager->commandPreset(0, 5000, 0), 0);
}

void TestCommandManager::errorCutAndLongTexts()
{
    script.reply("orvel2 get a", "orvel2 err 3 not allowed now");
    script.reply("orvel2 set n 9", "orvel2 err 2 bad value");
    script.reply("orvel2 cal measurementtool start", "orvel2 err 17 calibration unavailable");
    char reply[IOManager::ReplySize + 64];
    std::strcpy(reply, "stale");
    QCOMPARE(manager->getParameter(reply, "a"), 3);
    QCOMPARE(reply, "");
    int value = 5;
    QCOMPARE(manager->getIntParameter(&value, "a"), 3);
    QCOMPARE(value, 5);
    QCOMPARE(manager->setParameter("n %d", 9), 2);
    // sendCommand hands back the controller's whole reply with the error number.
    QCOMPARE(manager->sendCommand(reply, "orvel2 cal %s start", "measurementtool"), 17);
    QCOMPARE(reply, "orvel2 err 17 calibration unavailable");
    // Error replies without a usable positive number are not success either.
    for (const char *error : {"orvel2 err 0 zero", "orvel2 err x", "orvel2 err", "orvel2 err 99999999999 huge", "orvel2 err -4"}) {
        script.reply("orvel2 get e", error);
        QCOMPARE(manager->getParameter(reply, "e"), int(CommandManager::UnexpectedReply));
    }

    // Replies are cut to the caller's buffer; the bytes after it stay untouched.
    script.reply("orvel2 get long", "orvel2 set long " + QByteArray(IOManager::ReplySize + 100, 'v'));
    script.reply("orvel2 long reply", "orvel2 ok " + QByteArray(3000, 'c'));
    script.reply("orvel2 get huge", "orvel2 set huge " + QByteArray(3 * ControllerTransport::MaxReplyLength, 'h'));
    const auto cutTo = [&](int result, const QByteArray &expected) {
        QCOMPARE(result, 0);
        QCOMPARE(QByteArray(reply), expected.left(IOManager::ReplySize - 1));
        QCOMPARE(QByteArray(reply + IOManager::ReplySize, 64), QByteArray(64, 'G'));
    };
    std::memset(reply, 'G', sizeof reply);
    cutTo(manager->getParameter(reply, "long"), QByteArray(IOManager::ReplySize, 'v'));
    cutTo(manager->sendCommand(reply, "orvel2 long reply"), "orvel2 ok " + QByteArray(IOManager::ReplySize, 'c'));
    cutTo(manager->getParameter(reply, "huge"), QByteArray(IOManager::ReplySize, 'h'));
    // The stream stays in step after a long reply.
    script.reply("orvel2 get next", "orvel2 set next 1");
    QCOMPARE(manager->getIntParameter(&value, "next"), 0);
    QCOMPARE(value, 1);

    // Texts that do not fit a command line are refused, and nothing is sent.
    script.clear();
    const QByteArray longText(CommandManager::MaxCommandLength, 'x');
    QCOMPARE(manager->setParameter("%s", longText.constData()), int(CommandManager::TextTooLong));
    const QByteArray nearlyFull(CommandManager::MaxCommandLength - 5, 'n'); // "orvel2 get " pushes it over
    QCOMPARE(manager->getParameter(reply, "%s", nearlyFull.constData()), int(CommandManager::TextTooLong));
    QVERIFY(script.received().isEmpty());
}

void TestCommandManager::timeOutsAndClosedConnections()
{
    script.set("orvel2 get silent", ControllerScript::Silent);
    script.reply("orvel2 get slow", "orvel2 set slow 1", TestTimeoutMs * 3 / 2);
    script.reply("orvel2 get fast", "orvel2 set fast 2");
    manager->setTimeout(TestTimeoutMs);
    int value = 0;
    QCOMPARE(manager->getIntParameter(&value, "silent"), int(CommandManager::TimedOut));
    QCOMPARE(manager->getIntParameter(&value, "slow"), int(CommandManager::TimedOut));
    manager->setTimeout(CommandManager::DefaultTimeoutMs);
    if (server)
        QTest::qWait(TestTimeoutMs); // the late reply has been sent by now
    // The late reply to "slow" must not pass for the reply to "fast".
    QCOMPARE(manager->getIntParameter(&value, "fast"), 0);
    QCOMPARE(value, 2);

    // A closed connection is a loss; the next command finds the controller again.
    script.set("orvel2 tracking start", ControllerScript::Close);
    char reply[IOManager::ReplySize];
    QCOMPARE(manager->sendCommand(reply, "orvel2 tracking start"), int(CommandManager::ConnectionLost));
    QVERIFY(!manager->isMeasuring());
    QCOMPARE(manager->getIntParameter(&value, "fast"), 0);
    // A reply cut off by the close is a loss; one completed before it counts.
    script.set("orvel2 get partial", ControllerScript::CloseAfter, "orvel2 set partial 1");
    QCOMPARE(manager->getParameter(reply, "partial"), int(CommandManager::ConnectionLost));
    script.set("orvel2 get complete", ControllerScript::CloseAfter, "orvel2 set complete 2\n");
    QCOMPARE(manager->getParameter(reply, "complete"), 0);
    QCOMPARE(reply, "2");
    if (server)
        QCOMPARE(server->connectionCount(), 5);
}

void TestCommandManager::measurementStartAndStop()
{
    RecordingRequester first, second;
    QCOMPARE(manager->addRequester(&first), 0);
    QCOMPARE(manager->addRequester(&second), 0);
    script.reply("orvel2 tracking start", "orvel2 ok");
    script.reply("orvel2 tracking stop", "orvel2 err 3 not allowed now");
    char reply[IOManager::ReplySize];
    QCOMPARE(manager->sendCommand(reply, "orvel2 tracking start"), 0);
    QCOMPARE(manager->sendCommand(reply, "orvel2 tracking stop"), 3);
    QVERIFY(manager->isMeasuring());
    script.reply("orvel2 tracking stop", "orvel2 ok");
    QCOMPARE(manager->sendCommand(reply, "orvel2 %s stop", "tracking"), 0);
    QCOMPARE(first.events, (QStringList{"started", "stopped"}));
    QCOMPARE(second.events, first.events);
}

void TestCommandManager::routingBySubscription()
{
    RecordingRequester display, frames;
    IOManager *host = manager.get();
    for (const char *type : {"6dmt", "6dmt2", "6dmtr", "6dmtr"})
        QCOMPARE(host->subscribeOutput(type, &display), 0);
    QCOMPARE(host->subscribeOutput("fr", &frames), 0);
    QCOMPARE(host->subscribeOutput("6dmt", &frames), 0);
    for (const char *line : {"fr 123", "6dmt 1 [1 0.000 1]", "6dmtr 1 1", "6dmtx 1", "6dm 1", "6dmt",
                             "ts 4.5", ""})
        emit transport->dataLine(line);
    emit transport->dataLine("6dmt " + QByteArray(DataRouter::MaxLineLength, '1')); // too long: dropped
    QCOMPARE(display.events, (QStringList{"line 6dmt 6dmt 1 [1 0.000 1]", "line 6dmtr 6dmtr 1 1", "line 6dmt 6dmt"}));
    QCOMPARE(frames.events, (QStringList{"line fr fr 123", "line 6dmt 6dmt 1 [1 0.000 1]", "line 6dmt 6dmt"}));

    // Withdrawn while a line is handled: the other requester gets nothing more.
    display.events.clear();
    frames.events.clear();
    display.onLine = [&]() { host->unsubscribeOutput("6dmt", &frames); };
    emit transport->dataLine("6dmt 2");
    QCOMPARE(display.events, QStringList{"line 6dmt 6dmt 2"});
    QVERIFY(frames.events.isEmpty());
    // Registration brings no data; clearing forgets everyone.
    QCOMPARE(host->renewRequester(&frames, nullptr, 0), 0);
    manager->dataRouter().clear();
    emit transport->dataLine("6dmt 3");
    QCOMPARE(display.events.size() + frames.events.size(), 1);
}

QTEST_GUILESS_MAIN(TestCommandManager)
#include "tst_commandmanager.moc"
