// The main window as a module's host: parameters handed over, menus built
// from the module's entries, the dock docked, the module released in order;
// and the window while the controller has not answered yet.
#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/mainwindow.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
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
    void setModuleParameter(QString name, QVariant) override { *log << "setModuleParameter " + name; }

    QList<MenuEntry> entries;
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

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void hostsModule();
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
    window.installModule(module, module, true);
    // All four parameters before anything is asked, then name, version and entries.
    QCOMPARE(log,
             (QStringList{"setModuleParameter CommandManager", "setModuleParameter ModuleParent",
                          "setModuleParameter BackendVersions", "setModuleParameter ObserverMode", "name", "version",
                          "menuEntries"}));
    QVERIFY(window.aboutText().contains("Fake Module v9.8.7"));
    QCOMPARE(menuText(&window),
             QStringLiteral(
                 "&File: &Quit | &Tracking: &Start measurement, Sto&p measurement, -, &Measurement Tool, Between, "
                 "Tip calibration | E&xtras: Extra | &View: Message &Log, -, &Measurement Tool | &Help: "
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

// A controller that takes the connection but does not answer yet: the
// window is shown at once and says "connecting"; the first attempt's end is
// reported once; a start chosen meanwhile is said once and done once it
// answers, without a word against it.
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
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    MainWindow window(&manager, &versions);
    window.show();
    manager.connectInBackground();
    QCOMPARE(manager.connection(), CommandManager::Connection::Connecting); // without waiting for an answer
    QLabel *connection = window.findChild<QLabel *>(QStringLiteral("label_connection"));
    QVERIFY(connection);
    QCOMPARE(connection->text(), QStringLiteral("Controller: connecting"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        window.connectionText().endsWith(QLatin1String(", connecting (no reply within the time-out)")),
        qPrintable(window.connectionText()), 2 * CommandManager::DefaultTimeoutMs);
    QCOMPARE(log.filter("Cannot connect to the controller at").size(), 1);

    window.startMeasurement();
    QCOMPARE(log.filter(QRegularExpression("^The measurement starts when the controller answers$")).size(), 1);
    QVERIFY2(log.filter("Unable to start").isEmpty(), qPrintable(log.join('\n')));

    script.on("orvel2 tracking start", "orvel2 ok");
    script.on(statusQuery, status);
    QTRY_COMPARE_WITH_TIMEOUT(connection->text(), QStringLiteral("Controller: connected"), 5000);
    QTRY_VERIFY(manager.isMeasuring());
    QCOMPARE(log.filter(QRegularExpression("^Connected to the controller at 127.0.0.1:\\d+$")).size(), 1);
    QCOMPARE(log.filter(QRegularExpression("^Measurement started$")).size(), 1);
    QVERIFY2(log.filter("again").isEmpty(), qPrintable(log.join('\n')));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
