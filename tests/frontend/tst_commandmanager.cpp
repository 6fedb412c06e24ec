// The command manager's protocol handling against a scripted controller on
// loopback TCP, the routing of data lines, the watch over the connection,
// and the window going on while a command waits.
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

class TestCommandManager : public QObject
{
    Q_OBJECT
    using C = CommandManager;
    static constexpr int TestTimeoutMs = 300; // the time-out cases only; all else has the default

private slots:
    void cleanup()
    {
        manager.reset();
        script.reset();
        log.clear();
    }

    void init()
    {
        script = std::make_unique<ScriptedController>();
        manager = std::make_unique<CommandManager>(
            std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), script->listen()));
        collectLog(manager.get(), this, &log);
        QVERIFY(manager->open());
        status("none");
    }

    void repliesAndErrors()
    {
        // What each getter makes of a reply it cannot take: the value stays as it was, a text is emptied; the
        // process locale (also German in CTest) changes nothing; a reply for another parameter is not taken.
        script->on("orvel2 get i", "orvel2 set i 99999999999");
        script->on("orvel2 get d", "orvel2 set d 1,5");
        script->on("orvel2 get b", "orvel2 set b Yes");
        script->on("orvel2 get s", "orvel2 set sa 1");
        int i = 77;
        double d = 7.5;
        bool b = true;
        char text[IOManager::ReplySize] = "stale";
        QCOMPARE(manager->getIntParameter(&i, "i"), int(C::BadValue));
        QCOMPARE(manager->getDoubleParameter(&d, "d"), int(C::BadValue));
        QCOMPARE(manager->getBoolParameter(&b, "b"), int(C::BadValue));
        QCOMPARE(manager->getParameter(text, "s"), int(C::UnexpectedReply));
        QCOMPARE(i, 77);
        QCOMPARE(d, 7.5);
        QVERIFY(b);
        QCOMPARE(text, "");

        // Texts are formatted in the "C" locale; a set expects "orvel2 ok"; sendCommand hands back the whole reply.
        script->on("orvel2 get mt tip b01", "orvel2 set mt tip b01 3.125");
        script->on("orvel2 set mt tip b03 2.500", "orvel2 set mt tip b03 2.500");
        script->on("orvel2 cal measurementtool start", "orvel2 err 17 calibration unavailable");
        QCOMPARE(manager->getDoubleParameter(&d, "mt tip b%02d", 1), 0);
        QCOMPARE(d, 3.125);
        QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), int(C::UnexpectedReply));
        script->on("orvel2 set mt tip b03 2.500", "orvel2 ok");
        QCOMPARE(manager->setParameter("mt tip b%2.2d %.3f", 3, 2.5), 0);
        QCOMPARE(manager->sendCommand(reply, "orvel2 cal %s start", "measurementtool"), 17);
        QCOMPARE(reply, "orvel2 err 17 calibration unavailable");

        // A reply beyond what the transport takes is cut to the caller's buffer;
        // the bytes after the buffer stay untouched, the stream in step.
        script->on("orvel2 get huge", "orvel2 set huge " + QByteArray(3 * ControllerTransport::MaxReplyLength, 'h'));
        script->on("orvel2 get next", "orvel2 set next 1");
        std::memset(reply, 'G', sizeof reply);
        QCOMPARE(manager->getParameter(reply, "huge"), 0);
        QCOMPARE(QByteArray(reply), QByteArray(IOManager::ReplySize - 1, 'h'));
        QCOMPARE(QByteArray(reply + IOManager::ReplySize, 64), QByteArray(64, 'G'));
        QCOMPARE(manager->getParameter(reply, "next"), 0);
        QCOMPARE(reply, "1");

        // Texts that do not fit a command line are refused, and nothing is sent.
        const int linesBefore = script->linesRead.loadAcquire();
        const QByteArray nearlyFull(C::MaxCommandLength - 5, 'n'); // "orvel2 get " pushes it over
        QCOMPARE(manager->getParameter(reply, "%s", nearlyFull.constData()), int(C::TextTooLong));
        QCOMPARE(script->linesRead.loadAcquire(), linesBefore);
    }

    void timeOutsAndLosses()
    {
        script->on("orvel2 get silent", "orvel2 set silent 1", 3600 * 1000); // never, as far as the test goes
        script->on("orvel2 get slow", "orvel2 set slow 1", TestTimeoutMs * 3 / 2);
        script->on("orvel2 get fast", "orvel2 set fast 2");
        manager->setTimeout(TestTimeoutMs);
        int value = 0;
        QCOMPARE(manager->getIntParameter(&value, "silent"), int(C::TimedOut));

        // Lost: the next command fails without being sent (tst_recovery times a dialog's worth of them).
        const int linesBefore = script->linesRead.loadAcquire();
        QCOMPARE(manager->getIntParameter(&value, "fast"), int(C::NotConnected));
        QCOMPARE(script->linesRead.loadAcquire(), linesBefore);

        // Found again on a fresh connection: the late reply to "slow" must not pass for the reply to "fast".
        QVERIFY(connected(true));
        QCOMPARE(manager->getIntParameter(&value, "slow"), int(C::TimedOut));
        QVERIFY(connected(true));
        manager->setTimeout(C::DefaultTimeoutMs);
        QTest::qWait(TestTimeoutMs); // the late reply has been sent by now
        QCOMPARE(manager->getIntParameter(&value, "fast"), 0);
        QCOMPARE(value, 2);
        QCOMPARE(script->connections.loadAcquire(), 3); // one more after each time-out
    }

    void silenceAndRecovery()
    {
        RecordingRequester display;
        manager->addRequester(&display);
        manager->subscribeOutput("6dmt", &display);
        manager->setSilencePeriod(200);
        script->on("orvel2 tracking start", "orvel2 ok");
        QCOMPARE(manager->sendCommand(reply, "orvel2 tracking start"), 0);

        // Output that pauses while the controller answers, tracking, is no loss.
        status("meas");
        emit transport()->dataLine("6dmt 0");
        QTest::qWait(600);
        QCOMPARE(manager->connection(), C::Connection::Connected);

        // Output that stops while the controller does not answer is: the requesters hear the measurement stopped.
        status("meas", 3600 * 1000);
        emit transport()->dataLine("6dmt 1");
        QVERIFY(connected(false));
        QCOMPARE(display.events, (QStringList{"started", "6dmt: 6dmt 0", "6dmt: 6dmt 1", "stopped"}));

        // Back, not tracking (restarted meanwhile): the measurement starts again, and the requesters hear of it.
        status("none");
        QVERIFY(connected(true));
        QTRY_VERIFY(manager->isMeasuring());
        QCOMPARE(display.events.mid(4), QStringList{"started"});
        QCOMPARE(log.filter("Measurement started again").size(), 1);
    }

    void routingAndPainting()
    {
        // Data lines reach the requesters subscribed to their whole type word, once each.
        RecordingRequester display, frames;
        for (const char *type : {"6dmt", "6dmtr", "6dmtr"})
            QCOMPARE(manager->subscribeOutput(type, &display), 0);
        QCOMPARE(manager->subscribeOutput("fr", &frames), 0);
        for (const char *line : {"fr 123", "6dmt 1 [1 0.000 1]", "6dmtr 1 1", "6dmtx 1", "6dm 1", "6dmt", ""})
            emit transport()->dataLine(line);
        QCOMPARE(display.events, (QStringList{"6dmt: 6dmt 1 [1 0.000 1]", "6dmtr: 6dmtr 1 1", "6dmt: 6dmt"}));
        QCOMPARE(frames.events, QStringList{"fr: fr 123"});

        // While a command waits the window paints, but no data line cuts into the caller's call.
        struct Canvas : QWidget
        {
            void paintEvent(QPaintEvent *) override { paintedInCall = paintedInCall || inCall; }
            bool inCall = false, paintedInCall = false;
        } canvas;
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        display.events.clear();
        script->on("orvel2 get slow", "orvel2 set slow 1", 300);
        QTimer::singleShot(0, transport(), [this]() { emit transport()->dataLine("6dmt 7"); });
        canvas.update();
        canvas.inCall = true;
        int value = 0;
        QCOMPARE(manager->getIntParameter(&value, "slow"), 0);
        canvas.inCall = false;
        QVERIFY(canvas.paintedInCall);
        QVERIFY(display.events.isEmpty()); // held until the call is over
        QTRY_COMPARE(display.events, QStringList{"6dmt: 6dmt 7"});
    }

private:
    ControllerTransport *transport() const { return manager->link()->transport(); }
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
    std::unique_ptr<CommandManager> manager;
    QStringList log;
    char reply[IOManager::ReplySize + 64];
};

QTEST_MAIN(TestCommandManager)
#include "tst_commandmanager.moc"
