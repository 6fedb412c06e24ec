// The main window as a module's host: parameters handed over, menus built
// from the module's entries, the dock docked, the module released in order;
// the real plug-in loaded, hosted and captured offscreen; and the window
// while the controller has not answered yet.
#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/screenshottaker.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/moduleinterface.h"
#include "frontendtestkit.h"
#include "scriptedcontroller.h"

// A module offering the entries a test gives it and recording how the host drives it.
class FakeModule : public QObject, public ModuleInterface
{
    Q_OBJECT
    Q_INTERFACES(ModuleInterface)

public:
    explicit FakeModule(QStringList *callLog)
        : log(callLog)
    { }
    ~FakeModule() override { *log << "destroyed"; }
    void renewDisplay() override { }
    void cleanup() override { *log << "cleanup", delete dock; }
    QString name() override { return *log << "name", QStringLiteral("Fake Module"); }
    QString version() override { return *log << "version", QStringLiteral("v9.8.7"); }
    QList<MenuEntry *> menuEntries() override
    {
        *log << "menuEntries";
        QList<MenuEntry *> result;
        for (MenuEntry &entry : entries)
            result << &entry;
        return result;
    }
    void setModuleParameter(QString name, QVariant value) override
    {
        *log << "setModuleParameter " + name;
        parameters.insert(name, value);
    }

    QList<MenuEntry> entries;
    QHash<QString, QVariant> parameters;
    QPointer<QDockWidget> dock;

private:
    QStringList *log;
};

namespace {

// "Title: text, text | Title: ...", "-" for a separator.
QString menuText(QMainWindow *window)
{
    QStringList menus;
    for (QAction *menu : window->menuBar()->actions()) {
        QStringList texts;
        for (QAction *action : menu->menu()->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        menus << menu->text() + ": " + texts.join(", ");
    }
    return menus.join(" | ");
}

// Menus of the window in which two actions share their Alt letter.
QStringList mnemonicClashes(QMainWindow *window)
{
    QStringList clashes;
    for (QAction *menu : window->menuBar()->actions()) {
        QMap<QChar, QString> taken;
        for (QAction *action : menu->menu()->actions()) {
            const QString text = action->text();
            const int amp = text.indexOf('&');
            if (amp < 0 || amp + 1 >= text.size())
                continue;
            const QChar letter = text.at(amp + 1).toLower();
            if (taken.contains(letter))
                clashes << QStringLiteral("%1: %2 / %3").arg(menu->text(), taken.value(letter), text);
            taken.insert(letter, text);
        }
    }
    return clashes;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void hostsModule();
    void realPlugin();
    void connectingInTheBackground();
};

void TestMainWindow::hostsModule()
{
    CommandManager manager(nullptr);
    BackendVersions versions{{2, 9, 4}, {1, 14, 0}, QStringLiteral("ORBIT 7")};
    MainWindow window(&manager, &versions);
    QStringList log;
    // Out of order, with a title spelt without its mnemonic and a menu of its own.
    QPointer<FakeModule> module = new FakeModule(&log);
    module->dock = new QDockWidget("&Measurement Tool", &window);
    module->entries << MenuEntry{
        module->dock->toggleViewAction(), 270, "&View", 400, module->dock, MenuEntry::DockKind};
    const auto offer = [&](int actionOrder, const char *menu, const char *text, int menuOrder) {
        module->entries << MenuEntry{new QAction(text, module), actionOrder, menu, menuOrder, nullptr,
                                     MenuEntry::DialogKind};
    };
    offer(60, "&Tracking", "Tip calibration", 300);
    offer(50, "&Tracking", "&Measurement Tool", 300);
    offer(5, "E&xtras", "Extra", 350);
    offer(55, "Tracking", "Between", 300);
    offer(20, "&View", "Early view", 400);
    window.installModule(module, module, true);
    // All four parameters before anything is asked, then name, version and entries.
    QCOMPARE(log,
             (QStringList{"setModuleParameter CommandManager", "setModuleParameter ModuleParent",
                          "setModuleParameter BackendVersions", "setModuleParameter ObserverMode", "name", "version",
                          "menuEntries"}));
    QCOMPARE(module->parameters.value("CommandManager").value<IOManager *>(), static_cast<IOManager *>(&manager));
    QCOMPARE(module->parameters.value("ModuleParent").value<QWidget *>(), static_cast<QWidget *>(&window));
    QCOMPARE(module->parameters.value("BackendVersions").value<BackendVersions *>(), &versions);
    QCOMPARE(module->parameters.value("ObserverMode"), QVariant(true));
    QVERIFY(window.aboutText().contains("Fake Module v9.8.7"));
    QCOMPARE(menuText(&window),
             QStringLiteral(
                 "&File: &Quit | &Tracking: &Start measurement, Sto&p measurement, -, &Measurement Tool, Between, "
                 "Tip calibration | E&xtras: Extra | &View: Early view, -, Message &Log, -, &Measurement Tool | &Help: "
                 "&About"));
    QCOMPARE(window.dockWidgetArea(module->dock), Qt::BottomDockWidgetArea);

    // Released: cleanup first, then the deletion; the menus lose the entries.
    QPointer<QDockWidget> dock = module->dock;
    log.clear();
    window.releaseModules();
    QCOMPARE(log, (QStringList{"cleanup", "destroyed"}));
    QVERIFY(dock.isNull() && module.isNull());
    QCOMPARE(
        menuText(&window),
        QStringLiteral(
            "&File: &Quit | &Tracking: &Start measurement, Sto&p measurement | &View: Message &Log | &Help: &About"));
}

void TestMainWindow::realPlugin()
{
#ifndef MT_PLUGIN_PATH
    QSKIP("the plug-in is not part of this build");
#else
    CommandManager manager(std::make_unique<EmbeddedTransport>());
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    QCOMPARE(manager.readBackendVersions(&versions), 0);
    MainWindow window(&manager, &versions);
    ModuleLoader loader;
    for (bool observer : {true, false}) {
        QVERIFY2(loader.load(QStringLiteral(MT_PLUGIN_PATH)), qPrintable(loader.errorString()));
        window.installModule(loader.modules().constLast().root, loader.modules().constLast().interface, observer);
        QCOMPARE(window.moduleNames(), QStringList{"GUI Measurement Tool v1.3.12"});
        QCOMPARE(menuText(&window).contains("&Measurement Tool, Measurement &Tool tip calibration"), !observer);
        QCOMPARE(window.dockWidgetArea(window.moduleDock()), Qt::BottomDockWidgetArea);
        QCOMPARE(mnemonicClashes(&window), QStringList());
        if (!observer) {
            // The display above the message log, both as wide as the window.
            window.show();
            window.moduleDock()->show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QDockWidget *log = window.findChild<QDockWidget *>("dockWidget_messageLog");
            QVERIFY(log && log->isVisible());
            QVERIFY2(window.moduleDock()->geometry().bottom() < log->geometry().top(),
                     qPrintable(QStringLiteral("display %1, log %2")
                                    .arg(window.moduleDock()->geometry().y())
                                    .arg(log->geometry().y())));
            QCOMPARE(window.moduleDock()->width(), log->width());
        }
        QVERIFY(manager.dataRouter().requesterCount() >= 1); // the display registered itself
        if (!observer) {
            // The screenshot option: the settings dialog runs modally and is captured from within.
            QTemporaryDir dir;
            ScreenshotTaker screenshot(&window, FrontendOptions::Screen::Settings, dir.filePath("s.png"), 50);
            QTimer::singleShot(10000, &screenshot, []() { QCoreApplication::exit(2); }); // never hang
            screenshot.start();
            QCOMPARE(QApplication::exec(), 0);
            QVERIFY(QApplication::activeModalWidget() == nullptr && !QImage(dir.filePath("s.png")).isNull());
        }
        window.releaseModules();
        QCOMPARE(manager.dataRouter().requesterCount(), 0);
    }
#endif
}

// A controller that takes the connection but does not answer yet: the
// window is shown at once and says "connecting"; the first attempt's end is
// reported once; a command meanwhile is not sent, and a start chosen
// meanwhile is said once and done once it answers, without a word against it.
void TestMainWindow::connectingInTheBackground()
{
    ScriptedController script;
    const quint16 port = script.listen();
    QVERIFY(port != 0);
    const QByteArray statusQuery = "orvel2 get status active", status = "orvel2 set status active none";
    script.on(statusQuery, status, 3600 * 1000);
    CommandManager manager(std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), port));
    QStringList log;
    collectLog(&manager, this, &log);
    QSignalSpy firstConnected(&manager, &CommandManager::firstConnected);
    QSignalSpy firstAttemptEnded(&manager, &CommandManager::firstAttemptEnded);
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    MainWindow window(&manager, &versions);
    window.show();
    manager.connectInBackground();
    QCOMPARE(manager.connection(), CommandManager::Connection::Connecting); // without waiting for an answer
    QLabel *connection = window.findChild<QLabel *>(QStringLiteral("label_connection"));
    QLabel *measurementLabel = window.findChild<QLabel *>(QStringLiteral("label_status"));
    QVERIFY(connection && measurementLabel);
    QCOMPARE(connection->text(), QStringLiteral("Controller: connecting"));
    QVERIFY(firstAttemptEnded.wait(5000));
    QCOMPARE(firstAttemptEnded.constFirst().constFirst(), QVariant(false));
    QCOMPARE(manager.lossReason(), ControllerTransport::statusText(ControllerTransport::Status::TimedOut));
    QTRY_VERIFY2(window.connectionText().endsWith(QLatin1String(", connecting (no reply within the time-out)")),
                 qPrintable(window.connectionText()));
    QCOMPARE(log.filter("Cannot connect to the controller at").size(), 1);
    char reply[IOManager::ReplySize];
    QCOMPARE(manager.sendCommand(reply, "orvel2 get x"), int(CommandManager::NotConnected));
    QCOMPARE(log.filter(QRegularExpression("^\"orvel2 get x\": not sent, .* has not answered yet$")).size(), 1);

    window.startMeasurement();
    QCOMPARE(log.filter(QRegularExpression("^The measurement starts when the controller answers$")).size(), 1);
    QVERIFY2(log.filter("Unable to start").isEmpty(), qPrintable(log.join('\n')));
    QVERIFY(measurementLabel->text().contains("stopped, starts when the controller answers"));

    script.on("orvel2 tracking start", "orvel2 ok");
    script.on(statusQuery, status);
    QTRY_COMPARE_WITH_TIMEOUT(connection->text(), QStringLiteral("Controller: connected"), 5000);
    QTRY_VERIFY(manager.isMeasuring());
    QVERIFY(measurementLabel->text().contains("<b>Measurement:</b> running"));
    QCOMPARE(log.filter(QRegularExpression("^Connected to the controller at 127.0.0.1:\\d+$")).size(), 1);
    QCOMPARE(log.filter(QRegularExpression("^Measurement started$")).size(), 1);
    QVERIFY2(log.filter("again").isEmpty(), qPrintable(log.join('\n')));
    QCOMPARE(firstConnected.size(), 1);
    QCOMPARE(firstAttemptEnded.size(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
