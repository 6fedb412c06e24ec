// The front-end against the standalone simulated controller process: stopped
// for seconds during a measurement, the display empties, the controller is
// found again once and the display fills again; stopped without closing its
// connection, a dialog's sixty queries fail at once after the first time-out
// instead of freezing the window for minutes, and the module's dialogs do not
// open until it answers again.
#include <signal.h>

#include <QAction>
#include <QDockWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QTcpServer>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/streaming/streamingservice.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "frontendtestkit.h"
#include "modaldriver.h"
#include "tests/streaming/igtlreceiver.h"

namespace {

// Stops or continues the controller process.
void signal(QProcess *controller, int number)
{
    ::kill(pid_t(controller->processId()), number);
}

// Rows of the display's tool table that show a position.
int shownTools(QDockWidget *dock)
{
    QTableWidget *table = dock ? dock->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt")) : nullptr;
    int shown = 0;
    for (int row = 0; table && row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (table->item(row, column) && !table->item(row, column)->text().isEmpty()) {
                ++shown;
                break;
            }
        }
    }
    return shown;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stoppedForSeconds();
    void dialogsWhileStopped();

private:
    bool connectTo(bool observer);
    bool connectedAgain(int ms);
    bool measuring(); // started, and the display shows it

    QProcess controller;
    std::unique_ptr<CommandManager> manager;
    std::unique_ptr<MainWindow> window;
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    ModuleLoader loader;
    QStringList log;
};

void TestRecovery::init()
{
    registerHostMetaTypes();
    log.clear();
    auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), 0);
    QString error;
    QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
    const quint16 dataPort = transport->dataPort();
    const quint16 port = startController(
        &controller, {"--data-to", QStringLiteral("127.0.0.1:%1").arg(dataPort), "--rate", "50", "--quit-on-eof"});
    QVERIFY(port != 0);
    // The transport's address is fixed at construction: make it anew for the controller's port.
    transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), port);
    QVERIFY2(transport->listenForData(dataPort, &error), qPrintable(error));
    manager = std::make_unique<CommandManager>(std::move(transport));
    manager->setBackendVersions(&versions);
    collectLog(manager.get(), this, &log);
}

void TestRecovery::cleanup()
{
    if (window)
        window->releaseModules();
    window.reset();
    manager.reset();
    if (controller.state() != QProcess::NotRunning)
        signal(&controller, SIGCONT);
    end(&controller);
}

bool TestRecovery::connectTo(bool observer)
{
    if (!manager->open() || manager->readBackendVersions(&versions) != 0)
        return false;
    window = std::make_unique<MainWindow>(manager.get(), &versions);
    if (loader.modules().isEmpty() && !loader.load(QStringLiteral(MT_PLUGIN_PATH)))
        return false;
    window->installModule(loader.modules().constFirst().root, loader.modules().constFirst().interface, observer);
    window->show();
    window->moduleDock()->show();
    return QTest::qWaitForWindowExposed(window.get());
}

bool TestRecovery::connectedAgain(int ms)
{
    return QTest::qWaitFor([&]() { return manager->connection() == CommandManager::Connection::Connected; }, ms);
}

bool TestRecovery::measuring()
{
    window->startMeasurement();
    return QTest::qWaitFor([&]() { return shownTools(window->moduleDock()) > 0; }, 5000);
}

// Stopped for five seconds during a measurement: the data output stops and
// the check gets no answer, so it is lost and the display empties; the new
// connections made meanwhile wait in the controller's queue: found again once.
void TestRecovery::stoppedForSeconds()
{
    // A navigation viewer stays connected through the loss; its poses resume with the data.
    StreamingOptions streamingOptions;
    QTcpServer probe; // a port free now
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    streamingOptions.port = probe.serverPort();
    probe.close();
    StreamingService streaming(manager.get(), streamingOptions);
    QVERIFY(streaming.isRunning());
    IgtlReceiver viewer(streaming.port());
    QVERIFY(connectTo(true) && measuring());
    QTRY_VERIFY_WITH_TIMEOUT(viewer.count("TRANSFORM", "M1") > 0, 5000);
    signal(&controller, SIGSTOP);
    QTRY_VERIFY_WITH_TIMEOUT(manager->connection() != CommandManager::Connection::Connected, 5000);
    QVERIFY(!log.filter("the data output stopped").isEmpty());
    QTRY_COMPARE(shownTools(window->moduleDock()), 0);
    QTest::qWait(5000);
    signal(&controller, SIGCONT);
    QVERIFY(connectedAgain(10000));
    QTRY_VERIFY_WITH_TIMEOUT(shownTools(window->moduleDock()) > 0, 5000);
    const int posesBefore = viewer.count("TRANSFORM", "M1");
    QTRY_VERIFY_WITH_TIMEOUT(viewer.count("TRANSFORM", "M1") > posesBefore, 5000);
    QCOMPARE(viewer.socket.state(), QAbstractSocket::ConnectedState);
    QTest::qWait(2000); // time for a second loss to show
    QCOMPARE(manager->connection(), CommandManager::Connection::Connected);
    QCOMPARE(log.filter("Lost the controller at").size(), 1);
    QCOMPARE(log.filter("answers again, after").size(), 1);
}

// The dialogs load from the controller. Stopped without closing its
// connection while a dialog saves: one time-out, then every query fails at
// once. Chosen while it is lost, a dialog says why and does not open; chosen
// once it is back, it loads and works.
void TestRecovery::dialogsWhileStopped()
{
    constexpr int TimeoutMs = 800;
    manager->setTimeout(TimeoutMs);
    QVERIFY(connectTo(false));
    QAction *settings = window->moduleActionFor("MtSettingsDlg");
    QVERIFY(settings);

    qint64 elapsed = -1;
    ModalDriver saver(
        "MtSettingsDlg",
        [&](QWidget *dialog) {
        signal(&controller, SIGSTOP); // the connection stays; no reply comes
        log.clear();
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(dialog, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->close();
        elapsed = clock.elapsed();
        },
        20000);
    settings->trigger();
    QVERIFY(saver.acted() && !saver.timedOut());
    ModalDriver::closeAllModal();
    QCOMPARE(log.filter(QRegularExpression("^\"orvel2 .*\": no reply within the time-out")).size(), 1);
    const int unsent = log.filter(QRegularExpression("^\"orvel2 .*\": not sent, the controller at")).size();
    QVERIFY2(unsent >= 20, qPrintable(QString::number(unsent)));
    // Each of those waiting its time-out would take minutes.
    QVERIFY2(elapsed >= 0 && elapsed < 10 * TimeoutMs, qPrintable(QString::number(elapsed)));

    log.clear();
    ModalDriver closer(
        "MtSettingsDlg", [](QWidget *dialog) { dialog->close(); }, 1000);
    settings->trigger();
    QTRY_VERIFY(closer.acted() || closer.timedOut());
    QVERIFY(!closer.acted());
    const QStringList told
        = log.filter(QRegularExpression("^\"Measurement Tool\" not opened: .* has not answered since"));
    QCOMPARE(told.size(), 1);
    QCOMPARE(window->statusBar()->currentMessage(), told.constFirst());

    signal(&controller, SIGCONT);
    QVERIFY(connectedAgain(10000));
    bool working = false;
    ModalDriver user(
        "MtSettingsDlg",
        [&](QWidget *dialog) {
        QWidget *ok = dialog->findChild<QWidget *>(QStringLiteral("pushButton_ok"));
        QWidget *error = dialog->findChild<QWidget *>(QStringLiteral("label_error"));
        working = ok && ok->isEnabled() && error && error->isHidden();
        dialog->close();
        },
        20000);
    settings->trigger();
    QVERIFY(user.acted() && !user.timedOut());
    QVERIFY(working);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
