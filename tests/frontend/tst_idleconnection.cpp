// The README's setup, as an operator starts it: the controller as a process
// of its own (commands over TCP, data over UDP) that closes connections idle
// for two seconds, and the front-end measuring against it. For twenty
// seconds the connection stays and the data comes.
#include <QProcess>
#include <QUdpSocket>
#include <QtTest>

namespace {

constexpr int RunMs = 20000;

void end(QProcess *process)
{
    if (process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

// The port the controller prints when it listens; 0 if it did not.
quint16 listeningPort(QProcess *controller)
{
    QByteArray banner;
    while (!banner.contains('\n') && controller->waitForReadyRead(5000))
        banner += controller->readAllStandardOutput();
    const int colon = banner.lastIndexOf(':');
    return colon < 0 ? 0 : quint16(banner.mid(colon + 1).trimmed().toUInt());
}

} // namespace

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
    controller.start(
        QStringLiteral(MT_CONTROLLER_SIM),
        {"--listen", "127.0.0.1:0", "--data-to", "127.0.0.1:" + dataPort, "--idle-timeout", "2", "--quit-on-eof"});
    QVERIFY(controller.waitForStarted(5000));
    const quint16 port = listeningPort(&controller);
    QVERIFY(port != 0);

    QProcess frontend;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    frontend.setProcessEnvironment(environment);
    frontend.start(QStringLiteral(MT_FRONTEND),
                   {"--controller", QStringLiteral("127.0.0.1:%1").arg(port), "--data-port", dataPort, "--start",
                    "--language", "en"});
    QVERIFY(frontend.waitForStarted(5000));
    QTest::qWait(RunMs);
    const bool ran = frontend.state() == QProcess::Running;
    end(&frontend);
    controller.closeWriteChannel();
    end(&controller);

    const QString log = QString::fromLocal8Bit(frontend.readAllStandardError());
    QVERIFY2(ran, qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Connected to the controller at 127.0.0.1:%1").arg(port)), qPrintable(log));
    QVERIFY2(log.contains("Loaded GUI Measurement Tool"), qPrintable(log));
    QVERIFY2(log.contains("Measurement started"), qPrintable(log));
    for (const char *wrong : {"Lost the controller", "answers again", "not sent", "Cannot start", "No data output"})
        QVERIFY2(!log.contains(QLatin1String(wrong)), qPrintable(log));
}

QTEST_GUILESS_MAIN(TestIdleConnection)
#include "tst_idleconnection.moc"
