// The command manager's protocol handling against a scripted controller on
// loopback TCP, the routing of data lines and measurement notifications,
// the watch over the connection, and the window going on while a command waits.
#include <cstring>
#include <memory>

#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/controllerlink.h"
#include "frontend/tcptransport.h"
#include "host/requester.h"
#include "recordingrequester.h"
#include "frontendtestkit.h"
#include "scriptedcontroller.h"

namespace {

using C = CommandManager;
constexpr int TestTimeoutMs = 300; // the time-out cases only; all else has the default

} // namespace

class TestCommandManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup()
    {
        manager.reset();
        script.reset();
        log.clear();
    }
    void getterReplies_data();
    void getterReplies();
    void repliesAndErrors();
    void timeOutsAndLosses();
    void silenceAndRecovery();
    void keptAliveWhileIdle();
    void refusalIsNoRecovery();
    void notificationsRoutingAndPainting();

private:
    std::unique_ptr<CommandManager> makeManager();
    ControllerTransport *transport() const { return manager->link()->transport(); }
    int send(const char *command) { return manager->sendCommand(reply, "%s", command); }
    // The controller's answer to the manager's check, after a delay.
    void status(const QByteArray &active, int delay = 0)
    {
        script->on("orvel2 get status active", "orvel2 set status active " + active, delay);
    }
    // Until the manager's check finds the controller lost, or again.
    bool connected(bool expected) const
    {
        return QTest::qWaitFor([&]() { return (manager->connection() == C::Connection::Connected) == expected; }, 5000);
    }

    std::unique_ptr<ScriptedController> script;
    quint16 port = 0;
    std::unique_ptr<CommandManager> manager;
    QStringList log;
    char reply[IOManager::ReplySize + 64];
};

std::unique_ptr<CommandManager> TestCommandManager::makeManager()
{
    auto made = std::make_unique<CommandManager>(std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), port));
    collectLog(made.get(), this, &log);
    return made;
}

void TestCommandManager::init()
{
    script = std::make_unique<ScriptedController>();
    port = script->listen();
    QVERIFY(port != 0);
    manager = makeManager();
    QVERIFY(manager->open());
    status("none");
}

void TestCommandManager::getterReplies_data()
{
    // What each getter makes of the reply to "orvel2 get v": the result, and the value, which stays as it
    // was (77, 7.5, yes, "") on a failure; the process locale (also German in CTest) changes nothing.
    QTest::addColumn<char>("getter");
    QTest::addColumn<QByteArray>("controllerReply");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("value");
    const auto row = [](const char *name, char getter, const char *reply, int result, const char *value) {
        QTest::newRow(name) << getter << QByteArray(reply) << result << QByteArray(value);
    };
    constexpr int BadValue = C::BadValue, UnexpectedReply = C::UnexpectedReply;
    row("int: negative number", 'i', "set v -2", 0, "-2");
    row("int: trailing letter", 'i', "set v 12x", BadValue, "77");
    row("int: empty value", 'i', "set v ", BadValue, "77");
    row("int: out of range", 'i', "set v 99999999999", BadValue, "77");
    row("int: fraction", 'i', "set v 1.5", BadValue, "77");
    row("double: number", 'd', "set v 3.125", 0, "3.125");
    row("double: nan", 'd', "set v nan", BadValue, "7.5");
    row("double: decimal comma", 'd', "set v 1,5", BadValue, "7.5");
    row("double: letters", 'd', "set v abc", BadValue, "7.5");
    row("bool: no", 'b', "set v no", 0, "no");
    row("bool: capitalised Yes", 'b', "set v Yes", BadValue, "yes");
    row("bool: trailing space", 'b', "set v yes ", BadValue, "yes");
    row("bool: digit", 'b', "set v 1", BadValue, "yes");
    row("text: with spaces", 's', "set v Probe with spaces", 0, "Probe with spaces");
    // A reply for another parameter, or of another form, is not taken.
    row("text: another parameter", 's', "set va 1", UnexpectedReply, "");
    row("text: ok instead of set", 's', "ok", UnexpectedReply, "");
    // The controller's error number, and error replies without a usable one.
    row("text: error number", 's', "err 3 not allowed now", 3, "");
    row("int: error number", 'i', "err 3 not allowed now", 3, "77");
    row("error: number zero", 's', "err 0 zero", UnexpectedReply, "");
    row("error: no number", 's', "err x", UnexpectedReply, "");
    row("error: bare err", 's', "err", UnexpectedReply, "");
    row("error: number out of range", 's', "err 99999999999 huge", UnexpectedReply, "");
    row("error: negative number", 's', "err -4", UnexpectedReply, "");
}

void TestCommandManager::getterReplies()
{
    QFETCH(char, getter);
    QFETCH(QByteArray, controllerReply);
    QFETCH(int, result);
    QFETCH(QByteArray, value);

    script->on("orvel2 get v", "orvel2 " + controllerReply);
    int i = 77;
    double d = 7.5;
    bool b = true;
    char text[IOManager::ReplySize] = "stale";
    const int got = getter == 'i' ? manager->getIntParameter(&i, "v")
        : getter == 'd'           ? manager->getDoubleParameter(&d, "v")
        : getter == 'b'           ? manager->getBoolParameter(&b, "v")
                                  : manager->getParameter(text, "v");
    const QByteArray gotValue = getter == 'i' ? QByteArray::number(i)
        : getter == 'd'                       ? QByteArray::number(d)
        : getter == 'b'                       ? QByteArray(b ? "yes" : "no")
                                              : QByteArray(text);
    QCOMPARE(got, result);
    QCOMPARE(gotValue, value);
}

void TestCommandManager::repliesAndErrors()
{
    // Texts are formatted in the "C" locale; a set expects "orvel2 ok"; sendCommand hands back the whole reply.
    script->on("orvel2 get mt tip b01", "orvel2 set mt tip b01 3.125");
    script->on("orvel2 set mt tip b03 2.500", "orvel2 set mt tip b03 2.500");
    script->on("orvel2 set n 9", "orvel2 err 2 bad value");
    script->on("orvel2 cal measurementtool start", "orvel2 err 17 calibration unavailable");
    double tip = 0;
    QCOMPARE(manager->getDoubleParameter(&tip, "mt tip b%02d", 1), 0);
    QCOMPARE(tip, 3.125);
    QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), int(C::UnexpectedReply));
    script->on("orvel2 set mt tip b03 2.500", "orvel2 ok");
    QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), 0);
    QCOMPARE(manager->setParameter("n %d", 9), 2);
    QCOMPARE(manager->sendCommand(reply, "orvel2 cal %s start", "measurementtool"), 17);
    QCOMPARE(reply, "orvel2 err 17 calibration unavailable");

    // Replies are cut to the caller's buffer, and the transport cuts a huge
    // one; the bytes after the buffer stay untouched, the stream in step.
    script->on("orvel2 get long", "orvel2 set long " + QByteArray(IOManager::ReplySize + 100, 'v'));
    script->on("orvel2 long reply", "orvel2 ok " + QByteArray(3000, 'c'));
    script->on("orvel2 get huge", "orvel2 set huge " + QByteArray(3 * ControllerTransport::MaxReplyLength, 'h'));
    script->on("orvel2 get next", "orvel2 set next 1");
    std::memset(reply, 'G', sizeof reply);
    const auto cutTo = [&](int result, const QByteArray &expected) {
        QCOMPARE(result, 0);
        QCOMPARE(QByteArray(reply), expected.left(IOManager::ReplySize - 1));
        QCOMPARE(QByteArray(reply + IOManager::ReplySize, 64), QByteArray(64, 'G'));
    };
    cutTo(manager->getParameter(reply, "long"), QByteArray(IOManager::ReplySize, 'v'));
    cutTo(send("orvel2 long reply"), "orvel2 ok " + QByteArray(IOManager::ReplySize, 'c'));
    cutTo(manager->getParameter(reply, "huge"), QByteArray(IOManager::ReplySize, 'h'));
    cutTo(manager->getParameter(reply, "next"), "1");

    // Texts that do not fit a command line are refused, and nothing is sent.
    const int linesBefore = script->linesRead.loadAcquire();
    const QByteArray longText(C::MaxCommandLength, 'x');
    QCOMPARE(manager->setParameter("%s", longText.constData()), int(C::TextTooLong));
    const QByteArray nearlyFull(C::MaxCommandLength - 5, 'n'); // "orvel2 get " pushes it over
    QCOMPARE(manager->getParameter(reply, "%s", nearlyFull.constData()), int(C::TextTooLong));
    QCOMPARE(script->linesRead.loadAcquire(), linesBefore);
}

void TestCommandManager::timeOutsAndLosses()
{
    script->on("orvel2 get silent", "orvel2 set silent 1", 3600 * 1000); // never, as far as the test goes
    script->on("orvel2 get slow", "orvel2 set slow 1", TestTimeoutMs * 3 / 2);
    script->on("orvel2 get fast", "orvel2 set fast 2");
    manager->setTimeout(TestTimeoutMs);
    int value = 0;
    QCOMPARE(manager->getIntParameter(&value, "silent"), int(C::TimedOut));
    QCOMPARE(manager->connection(), C::Connection::Lost);

    // Lost: the next commands fail at once, send nothing, and each says so in the log.
    const int linesBefore = script->linesRead.loadAcquire();
    const QDeadlineTimer soon(TestTimeoutMs);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(manager->getIntParameter(&value, "fast"), int(C::NotConnected));
    QVERIFY(!soon.hasExpired());
    QCOMPARE(script->linesRead.loadAcquire(), linesBefore);
    QCOMPARE(log.filter("\"orvel2 get fast\": not sent").size(), 3);
    QCOMPARE(log.filter("Lost the controller at").size(), 1);

    // Found again on a fresh connection: the late reply to "slow" must not pass for the reply to "fast".
    QVERIFY(connected(true));
    QCOMPARE(manager->getIntParameter(&value, "slow"), int(C::TimedOut));
    QVERIFY(connected(true));
    manager->setTimeout(C::DefaultTimeoutMs);
    QTest::qWait(TestTimeoutMs); // the late reply has been sent by now
    QCOMPARE(manager->getIntParameter(&value, "fast"), 0);
    QCOMPARE(value, 2);

    // A closed connection is a loss; a reply cut off by the close too; one completed before it counts.
    script->on("orvel2 tracking start", "", ScriptedController::Close);
    QCOMPARE(send("orvel2 tracking start"), int(C::ConnectionLost));
    QVERIFY(!manager->isMeasuring());
    QVERIFY(connected(true));
    script->on("orvel2 get partial", "orvel2 set partial 1", ScriptedController::Close);
    QCOMPARE(manager->getParameter(reply, "partial"), int(C::ConnectionLost));
    QVERIFY(connected(true));
    script->on("orvel2 get complete", "orvel2 set complete 2\n", ScriptedController::Close);
    QCOMPARE(manager->getParameter(reply, "complete"), 0);
    QCOMPARE(reply, "2");
    QCOMPARE(script->connections.loadAcquire(), 5); // one more after each time-out and each loss
}

void TestCommandManager::silenceAndRecovery()
{
    RecordingRequester display;
    manager->addRequester(&display);
    manager->subscribeOutput("6dmt", &display);
    manager->setSilencePeriod(200);
    script->on("orvel2 tracking start", "orvel2 ok");
    QCOMPARE(send("orvel2 tracking start"), 0);

    // Output that pauses while the controller answers, tracking, is no loss.
    status("meas");
    emit transport()->dataLine("6dmt 0");
    QTest::qWait(600);
    QCOMPARE(manager->connection(), C::Connection::Connected);

    // Output that stops while the controller does not answer is: the requesters hear the measurement stopped.
    status("meas", 3600 * 1000);
    emit transport()->dataLine("6dmt 1");
    QVERIFY(connected(false));
    QVERIFY(!manager->isMeasuring() && manager->resumesMeasurement());
    QCOMPARE(display.events, (QStringList{"started", "6dmt: 6dmt 0", "6dmt: 6dmt 1", "stopped"}));

    // Back, not tracking: the measurement starts again, and the requesters hear of it.
    status("none");
    QVERIFY(connected(true));
    QTRY_VERIFY(manager->isMeasuring());
    QCOMPARE(display.events.mid(4), QStringList{"started"});
    QCOMPARE(log.filter("Measurement started again").size(), 1);

    // Stopped by the operator while lost: not started again.
    emit transport()->dataLine("6dmt 2");
    status("none", 3600 * 1000);
    QVERIFY(connected(false));
    QCOMPARE(send("orvel2 tracking stop"), int(C::NotConnected));
    QVERIFY(!manager->resumesMeasurement());
    status("none");
    QVERIFY(connected(true));
    QTest::qWait(100);
    QVERIFY(!manager->isMeasuring());
    QCOMPARE(display.events.mid(5), (QStringList{"6dmt: 6dmt 2", "stopped"}));

    // A controller that answers but stopped tracking by itself: stopped, still connected.
    status("meas");
    QCOMPARE(send("orvel2 tracking start"), 0);
    status("none");
    QTRY_VERIFY_WITH_TIMEOUT(!manager->isMeasuring(), 3000); // no line at all since the start
    QCOMPARE(manager->connection(), C::Connection::Connected);
    QCOMPARE(display.events.mid(7), (QStringList{"started", "stopped"}));
    QCOMPARE(log.filter("no longer tracks (status \"none\")").size(), 1);
}

// Nothing to send for a while: status queries keep the connection (data
// comes over UDP), and a controller that stops answering is found without a command.
void TestCommandManager::keptAliveWhileIdle()
{
    const int before = script->linesRead.loadAcquire();
    QTRY_VERIFY_WITH_TIMEOUT(script->linesRead.loadAcquire() >= before + 2, 3 * ConnectionWatch::KeepAliveMs + 2000);
    QCOMPARE(manager->connection(), C::Connection::Connected);
    status("none", 3600 * 1000);
    QVERIFY(connected(false));
    QCOMPARE(log.filter("Lost the controller at").size(), 1);
    QCOMPARE(log.filter("a status query got no reply within the time-out").size(), 1);
}

// A server with all its places taken turns a new connection away before it
// closes it: that is no recovery, and so no second loss right after it.
void TestCommandManager::refusalIsNoRecovery()
{
    status("none", 3600 * 1000);
    QVERIFY(connected(false));
    script->on("orvel2 get status active", "orvel2 err 9 too many connections\n", ScriptedController::Close);
    const int turnedAway = script->connections.loadAcquire() + 2;
    QTRY_VERIFY_WITH_TIMEOUT(script->connections.loadAcquire() >= turnedAway, 5000);
    QTest::qWait(100); // the last one's answer
    QVERIFY(manager->connection() != C::Connection::Connected);
    QVERIFY2(log.filter("answers again, after").isEmpty(), qPrintable(log.join('\n')));

    status("none");
    QVERIFY(connected(true));
    QTest::qWait(2 * ConnectionWatch::ReconnectIntervalMs);
    QCOMPARE(manager->connection(), C::Connection::Connected);
    QCOMPARE(log.filter("Lost the controller at").size(), 1);
    QCOMPARE(log.filter("answers again, after").size(), 1);
}

void TestCommandManager::notificationsRoutingAndPainting()
{
    // Tracking started and stopped by a command passing through: every requester hears of it.
    RecordingRequester display, frames;
    QCOMPARE(manager->addRequester(&display), 0);
    QCOMPARE(manager->addRequester(&frames), 0);
    script->on("orvel2 tracking start", "orvel2 ok");
    script->on("orvel2 tracking stop", "orvel2 err 3 not allowed now");
    QCOMPARE(send("orvel2 tracking start"), 0);
    QCOMPARE(send("orvel2 tracking stop"), 3);
    QVERIFY(manager->isMeasuring());
    script->on("orvel2 tracking stop", "orvel2 ok");
    QCOMPARE(manager->sendCommand(reply, "orvel2 %s stop", "tracking"), 0);
    QCOMPARE(display.events, (QStringList{"started", "stopped"}));
    QCOMPARE(frames.events, display.events);

    // Data lines reach the requesters subscribed to their type word, once each.
    const auto clear = [&]() {
        display.events.clear();
        frames.events.clear();
    };
    clear();
    IOManager *host = manager.get();
    for (const char *type : {"6dmt", "6dmt2", "6dmtr", "6dmtr"})
        QCOMPARE(host->subscribeOutput(type, &display), 0);
    QCOMPARE(host->subscribeOutput("fr", &frames), 0);
    QCOMPARE(host->subscribeOutput("6dmt", &frames), 0);
    for (const char *line : {"fr 123", "6dmt 1 [1 0.000 1]", "6dmtr 1 1", "6dmtx 1", "6dm 1", "6dmt", "ts 4.5", ""})
        emit transport()->dataLine(line);
    emit transport()->dataLine("6dmt " + QByteArray(DataRouter::MaxLineLength, '1')); // too long: dropped
    QCOMPARE(display.events, (QStringList{"6dmt: 6dmt 1 [1 0.000 1]", "6dmtr: 6dmtr 1 1", "6dmt: 6dmt"}));
    QCOMPARE(frames.events, (QStringList{"fr: fr 123", "6dmt: 6dmt 1 [1 0.000 1]", "6dmt: 6dmt"}));

    // Withdrawn while a line is handled: the other requester gets nothing more.
    clear();
    display.onLine = [&]() {
        host->unsubscribeOutput("6dmt", &frames);
    };
    emit transport()->dataLine("6dmt 2");
    QCOMPARE(display.events, QStringList{"6dmt: 6dmt 2"});
    QVERIFY(frames.events.isEmpty());

    // While a command waits the window paints, but no timer slot and no data line cuts into the caller's call.
    struct Canvas : QWidget
    {
        void paintEvent(QPaintEvent *) override { paintedInCall = paintedInCall || inCall; }
        bool inCall = false, paintedInCall = false;
    } canvas;
    canvas.resize(100, 100);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    clear();
    script->on("orvel2 get slow", "orvel2 set slow 1", 300);
    bool timerInCall = false, timerFired = false;
    QTimer::singleShot(20, &canvas, [&]() {
        timerInCall = canvas.inCall;
        timerFired = true;
    });
    QTimer::singleShot(0, transport(), [this]() { emit transport()->dataLine("6dmt 7"); });
    canvas.update();
    canvas.inCall = true;
    int value = 0;
    QCOMPARE(manager->getIntParameter(&value, "slow"), 0);
    canvas.inCall = false;
    QVERIFY(canvas.paintedInCall);
    QVERIFY(display.events.isEmpty()); // held until the call is over
    QTRY_COMPARE(display.events, QStringList{"6dmt: 6dmt 7"});
    QTRY_VERIFY(timerFired);
    QVERIFY(!timerInCall);

    // Registration brings no data; clearing forgets everyone.
    QCOMPARE(host->renewRequester(&frames, nullptr, 0), 0);
    manager->dataRouter().clear();
    emit transport()->dataLine("6dmt 3");
    QCOMPARE(display.events.size() + frames.events.size(), 1);
}

QTEST_MAIN(TestCommandManager)
#include "tst_commandmanager.moc"
