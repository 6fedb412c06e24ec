// The README's setup, as an operator starts it: the controller as a process
// of its own (commands over TCP, data over UDP) that closes connections idle
// for two seconds, and the front-end measuring against it. For twenty
// seconds the connection stays and the data comes.
#include <QUdpSocket>
#include <QtTest>

#include "frontendtestkit.h"

class TestIdleConnection : public QObject
{
    Q_OBJECT

private slots:
    void lastsWhileBothRun();
};

void TestIdleConnection::lastsWhileBothRun()
{
    QUdpSocket probe; // a free port for the data output
    QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
    const QString dataPort = QString::number(probe.localPort());
    probe.close();
    QProcess controller;
    const quint16 port
        = startController(&controller, {"--data-to", "127.0.0.1:" + dataPort, "--idle-timeout", "2", "--quit-on-eof"});
    QVERIFY(port != 0);

    QProcess frontend;
    frontend.setProcessEnvironment(offscreen());
    frontend.start(MT_FRONTEND,
                   {"--controller", QStringLiteral("127.0.0.1:%1").arg(port), "--data-port", dataPort, "--start",
                    "--language", "en"});
    QVERIFY(frontend.waitForStarted(5000));
    QTest::qWait(20000);
    const bool ran = frontend.state() == QProcess::Running;
    end(&frontend);
    controller.closeWriteChannel();
    end(&controller);

    const QString log = QString::fromLocal8Bit(frontend.readAllStandardError());
    QVERIFY2(ran, qPrintable(log));
    for (const QString &right : {QStringLiteral("Connected to the controller at 127.0.0.1:%1").arg(port),
                                 QStringLiteral("Loaded GUI Measurement Tool"), QStringLiteral("Measurement started")})
        QVERIFY2(log.contains(right), qPrintable(log));
    for (const char *wrong : {"Lost the controller", "answers again", "not sent", "Cannot start", "No data output"})
        QVERIFY2(!log.contains(QLatin1String(wrong)), qPrintable(log));
}

QTEST_GUILESS_MAIN(TestIdleConnection)
#include "tst_idleconnection.moc"
