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

// Whether the display's tool table shows a position in any cell.
bool showsTools(QDockWidget *dock)
{
    const QTableWidget *table = dock ? dock->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt")) : nullptr;
    const int columns = table ? table->columnCount() : 0;
    for (int cell = 0; columns > 0 && cell < table->rowCount() * columns; ++cell) {
        const QTableWidgetItem *item = table->item(cell / columns, cell % columns);
        if (item && !item->text().isEmpty())
            return true;
    }
    return false;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        registerHostMetaTypes();
        log.clear();
        auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), 0);
        QString error;
        QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
        const quint16 dataPort = transport->dataPort();
        const quint16 port = startController(
            &controller, {"--data-to", QStringLiteral("127.0.0.1:%1").arg(dataPort), "--rate", "50", "--quit-on-eof"});
        // The transport's address is fixed at construction: make it anew for the controller's port.
        transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), port);
        QVERIFY2(transport->listenForData(dataPort, &error), qPrintable(error));
        manager = std::make_unique<CommandManager>(std::move(transport));
        manager->setBackendVersions(&versions);
        collectLog(manager.get(), this, &log);
    }

    void cleanup()
    {
        if (window)
            window->releaseModules();
        window.reset();
        manager.reset();
        if (controller.state() != QProcess::NotRunning)
            signal(SIGCONT);
        end(&controller);
    }

    // Stopped for five seconds during a measurement: the data output stops and
    // the check gets no answer, so it is lost and the display empties; the new
    // connections made meanwhile wait in the controller's queue: found again once.
    void stoppedForSeconds()
    {
        // A navigation viewer stays connected through the loss; its poses resume with the data.
        StreamingOptions streamingOptions;
        QTcpServer probe; // a port free now
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        streamingOptions.port = probe.serverPort();
        probe.close();
        StreamingService streaming(manager.get(), streamingOptions);
        IgtlReceiver viewer(streaming.port());
        QVERIFY(connectTo(true));
        window->startMeasurement();
        QTRY_VERIFY_WITH_TIMEOUT(showsTools(window->moduleDock()), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(viewer.count("TRANSFORM", "M1") > 0, 5000);
        signal(SIGSTOP);
        QTRY_VERIFY_WITH_TIMEOUT(manager->connection() != CommandManager::Connection::Connected, 5000);
        QTRY_VERIFY(!showsTools(window->moduleDock()));
        QTest::qWait(5000);
        signal(SIGCONT);
        QTRY_VERIFY_WITH_TIMEOUT(manager->connection() == CommandManager::Connection::Connected, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(showsTools(window->moduleDock()), 5000);
        const int posesBefore = viewer.count("TRANSFORM", "M1");
        QTRY_VERIFY_WITH_TIMEOUT(viewer.count("TRANSFORM", "M1") > posesBefore, 5000);
        QCOMPARE(viewer.socket.state(), QAbstractSocket::ConnectedState);
        QTest::qWait(2000); // time for a second loss to show
        QCOMPARE(log.filter("Lost the controller at").size(), 1);
        QCOMPARE(log.filter("answers again, after").size(), 1);
    }

    // The dialogs load from the controller. Stopped without closing its
    // connection while a dialog saves: one time-out, then every query fails at
    // once. Chosen while it is lost, a dialog says why and does not open; chosen
    // once it is back, it loads and works.
    void dialogsWhileStopped()
    {
        manager->setTimeout(800);
        QVERIFY(connectTo(false));
        QAction *settings = window->moduleActionFor("MtSettingsDlg");
        QVERIFY(settings);

        ModalDriver saver(
            "MtSettingsDlg",
            [&](QWidget *dialog) {
            signal(SIGSTOP); // the connection stays; no reply comes
            log.clear();
            QTest::keyClick(dialog, Qt::Key_Return);
            dialog->close(); // if the saving left it open
            },
            20000);
        settings->trigger();
        QVERIFY(saver.acted() && !saver.timedOut());
        ModalDriver::closeAllModal();
        QCOMPARE(log.filter(QRegularExpression("^\"orvel2 .*\": no reply within the time-out")).size(), 1);
        const int unsent = log.filter(QRegularExpression("^\"orvel2 .*\": not sent, the controller at")).size();
        QVERIFY2(unsent >= 20, qPrintable(QString::number(unsent)));

        ModalDriver closer(
            "MtSettingsDlg", [](QWidget *dialog) { dialog->close(); }, 1000);
        settings->trigger();
        QTRY_VERIFY(closer.acted() || closer.timedOut());
        QVERIFY(!closer.acted());
        const QStringList told
            = log.filter(QRegularExpression("^\"Measurement Tool\" not opened: .* has not answered since"));
        QCOMPARE(told.size(), 1);
        QCOMPARE(window->statusBar()->currentMessage(), told.constFirst());

        signal(SIGCONT);
        QTRY_VERIFY_WITH_TIMEOUT(manager->connection() == CommandManager::Connection::Connected, 10000);
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

private:
    // Stops or continues the controller process.
    void signal(int number) { ::kill(pid_t(controller.processId()), number); }
    bool connectTo(bool observer)
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

    QProcess controller;
    std::unique_ptr<CommandManager> manager;
    std::unique_ptr<MainWindow> window;
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    ModuleLoader loader;
    QStringList log;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
