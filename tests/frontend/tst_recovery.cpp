// The front-end against the standalone simulated controller process: killed
// and restarted during a measurement, the display empties and fills again;
// stopped without closing its connection, a dialog's sixty queries fail at
// once after the first time-out instead of freezing the window for minutes,
// and the module's dialogs do not open until it answers again; stopped for
// seconds, it is found again once; its outputs switched off by another
// client, the window says that no data comes.
#include <signal.h>

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTcpSocket>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "frontendtestkit.h"
#include "modaldriver.h"

namespace {

// The controller process; a restart takes its port again.
class ControllerProcess
{
public:
    ~ControllerProcess() { stop(); }
    bool start(quint16 dataPort)
    {
        port = startController(
            &process, {"--data-to", QStringLiteral("127.0.0.1:%1").arg(dataPort), "--rate", "50", "--quit-on-eof"},
            port);
        return port != 0;
    }
    void kill() { end(&process); }
    void signal(int number) { ::kill(pid_t(process.processId()), number); }
    void stop()
    {
        if (process.state() != QProcess::NotRunning)
            signal(SIGCONT);
        end(&process);
    }

    quint16 port = 0;

private:
    QProcess process;
};

// A command of another client of the controller; true when it says ok.
bool sendAsAnotherClient(quint16 port, const QByteArray &line)
{
    QTcpSocket other;
    other.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!other.waitForConnected(5000))
        return false;
    other.write(line + '\n');
    while (!other.canReadLine()) {
        if (!other.waitForReadyRead(5000))
            return false;
    }
    return other.readLine().trimmed() == "orvel2 ok";
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
    void killedAndRestarted();
    void stoppedController();
    void stoppedForSeconds();
    void dialogsWhileLost();
    void outputsSwitchedOffByAnotherClient();

private:
    bool connectTo(bool observer);
    bool connectedAgain(int ms);
    bool measuring(); // started, and the display shows it

    ControllerProcess controller;
    std::unique_ptr<CommandManager> manager;
    std::unique_ptr<MainWindow> window;
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    ModuleLoader loader;
    quint16 dataPort = 0;
    QStringList log;
};

void TestRecovery::init()
{
    registerHostMetaTypes();
    log.clear();
    auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), 0);
    QString error;
    QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
    dataPort = transport->dataPort();
    controller.port = 0;
    QVERIFY(controller.start(dataPort));
    // The transport's address is fixed at construction: make it anew for the controller's port.
    transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), controller.port);
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
    controller.stop();
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

void TestRecovery::killedAndRestarted()
{
    QVERIFY(connectTo(true) && measuring());
    controller.kill();
    QTRY_VERIFY_WITH_TIMEOUT(manager->connection() != CommandManager::Connection::Connected, 5000);
    QVERIFY(!log.filter("Lost the controller at").isEmpty());
    QVERIFY(window->connectionText().contains("lost since"));
    QVERIFY(!manager->isMeasuring() && manager->resumesMeasurement());
    QTRY_COMPARE(shownTools(window->moduleDock()), 0); // emptied, not frozen on the last values

    QVERIFY(controller.start(dataPort));
    QVERIFY(connectedAgain(10000));
    QTRY_VERIFY_WITH_TIMEOUT(shownTools(window->moduleDock()) > 0, 10000);
    QVERIFY(manager->isMeasuring());
    QCOMPARE(log.filter("Measurement started again").size(), 1);
}

void TestRecovery::stoppedController()
{
    constexpr int TimeoutMs = 800;
    manager->setTimeout(TimeoutMs);
    QVERIFY(connectTo(false));
    QAction *settings = window->moduleActionFor("MtSettingsDlg");
    QVERIFY(settings);

    // The dialog loads from a live controller; its OK then sends every setting to a stopped one.
    qint64 elapsed = -1;
    ModalDriver saver(
        "MtSettingsDlg",
        [&](QWidget *dialog) {
        controller.signal(SIGSTOP); // the connection stays; no reply comes
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

    // One time-out, then every command fails at once, each with its line in the log.
    QCOMPARE(log.filter(QRegularExpression("^\"orvel2 .*\": no reply within the time-out")).size(), 1);
    const int unsent = log.filter(QRegularExpression("^\"orvel2 .*\": not sent, the controller at")).size();
    QVERIFY2(unsent >= 20, qPrintable(QString::number(unsent)));
    // Each of those waiting its time-out would take minutes.
    QVERIFY2(elapsed >= 0 && elapsed < 10 * TimeoutMs, qPrintable(QString::number(elapsed)));

    // Going on again, the controller is found again.
    controller.signal(SIGCONT);
    QVERIFY(connectedAgain(10000));
}

// Stopped for five seconds during a measurement: the data output stops and
// the check gets no answer, so it is lost and the display empties; the new
// connections made meanwhile wait in the controller's queue: found again once.
void TestRecovery::stoppedForSeconds()
{
    QVERIFY(connectTo(true) && measuring());
    controller.signal(SIGSTOP);
    QTRY_VERIFY_WITH_TIMEOUT(manager->connection() != CommandManager::Connection::Connected, 5000);
    QVERIFY(!log.filter("the data output stopped").isEmpty());
    QTRY_COMPARE(shownTools(window->moduleDock()), 0);
    QTest::qWait(5000);
    controller.signal(SIGCONT);
    QVERIFY(connectedAgain(10000));
    QTRY_VERIFY_WITH_TIMEOUT(shownTools(window->moduleDock()) > 0, 5000);
    QTest::qWait(2000); // time for a second loss to show
    QCOMPARE(manager->connection(), CommandManager::Connection::Connected);
    QCOMPARE(log.filter("Lost the controller at").size(), 1);
    QCOMPARE(log.filter("answers again, after").size(), 1);
}

// The dialogs load from the controller: chosen while it is lost they say
// why and do not open; chosen once it is back they load and work. One left
// open across a loss is pointed out.
void TestRecovery::dialogsWhileLost()
{
    manager->setTimeout(1000); // the open dialog's own queries meet the stop too
    QVERIFY(connectTo(false));
    QAction *settings = window->moduleActionFor("MtSettingsDlg");
    QVERIFY(settings);
    controller.signal(SIGSTOP);
    QTRY_VERIFY_WITH_TIMEOUT(manager->connection() != CommandManager::Connection::Connected, 5000); // found idle

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

    controller.signal(SIGCONT);
    QVERIFY(connectedAgain(10000));
    bool working = false;
    bool pointedOut = false;
    ModalDriver user(
        "MtSettingsDlg",
        [&](QWidget *dialog) {
        QWidget *ok = dialog->findChild<QWidget *>(QStringLiteral("pushButton_ok"));
        QWidget *error = dialog->findChild<QWidget *>(QStringLiteral("label_error"));
        working = ok && ok->isEnabled() && error && error->isHidden();
        // Lost and back while it is open.
        controller.signal(SIGSTOP);
        const bool lost
            = QTest::qWaitFor([&]() { return manager->connection() != CommandManager::Connection::Connected; }, 10000);
        controller.signal(SIGCONT);
        const bool back = connectedAgain(10000);
        pointedOut = lost && back && window->statusBar()->currentMessage().contains("close it and open it again");
        dialog->close();
        },
        20000);
    settings->trigger();
    QVERIFY(user.acted() && !user.timedOut());
    QVERIFY(working);
    QVERIFY2(pointedOut, qPrintable(window->statusBar()->currentMessage()));
}

// The outputs are switched off by another client during a measurement: the
// controller still answers, but no data comes. Said once, shown until the
// data comes again, which is said once too.
void TestRecovery::outputsSwitchedOffByAnotherClient()
{
    QVERIFY(connectTo(true));
    QLabel *connection = window->findChild<QLabel *>(QStringLiteral("label_connection"));
    QVERIFY(connection && measuring());
    QCOMPARE(connection->text(), QStringLiteral("Controller: connected"));

    for (const char *line : {"orvel2 set output active chmon 6dmt no", "orvel2 set output active chmon 6dmtr no"})
        QVERIFY(sendAsAnotherClient(controller.port, line));
    QTRY_COMPARE_WITH_TIMEOUT(connection->text(), QStringLiteral("Controller: connected, no data"), 5000);
    QVERIFY(manager->isMeasuring());
    QCOMPARE(manager->connection(), CommandManager::Connection::Connected);
    QTest::qWait(2 * manager->noDataPeriod());
    const QStringList missing = log.filter("No data output from the controller at");
    QCOMPARE(missing.size(), 1);
    QVERIFY(missing.constFirst().contains(QStringLiteral("UDP port %1 of this computer").arg(dataPort)));

    QVERIFY(sendAsAnotherClient(controller.port, "orvel2 set output active chmon 6dmt yes"));
    QTRY_COMPARE_WITH_TIMEOUT(connection->text(), QStringLiteral("Controller: connected"), 5000);
    QTest::qWait(manager->noDataPeriod());
    QCOMPARE(log.filter("comes in again").size(), 1);
    QCOMPARE(log.filter("No data output").size(), 1);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
