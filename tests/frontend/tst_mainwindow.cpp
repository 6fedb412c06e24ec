// The main window while the controller has not answered yet, and as a
// module's host: parameters handed over, menus built from the module's
// entries, the module released in order.
#include <QAction>
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
    ~FakeModule() override { *log << "destroyed"; }
    void renewDisplay() override { }
    void cleanup() override { *log << "cleanup"; }
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
    QStringList *log = nullptr;
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // A controller that takes the connection but does not answer yet: the
    // window says "connecting" at once and hosts a module meanwhile;
    // the first attempt's end is reported once; a start chosen meanwhile is
    // said once and done once it answers, without a word against it.
    void hostsModuleWhileConnecting()
    {
        ScriptedController script;
        script.on("orvel2 get status active", "orvel2 set status active none", 3600 * 1000);
        CommandManager manager(std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), script.listen()));
        QStringList log;
        collectLog(&manager, this, &log);
        BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
        MainWindow window(&manager, &versions);
        manager.connectInBackground();
        QLabel *connection = window.findChild<QLabel *>(QStringLiteral("label_connection"));
        QVERIFY(connection);
        QCOMPARE(connection->text(), QStringLiteral("Controller: connecting")); // without waiting for an answer

        // A module's entries out of order, with a title spelt without its mnemonic and a menu of its own.
        const QString bareMenus = menuText(&window);
        QStringList calls;
        auto *module = new FakeModule;
        module->log = &calls;
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
        QCOMPARE(calls,
                 (QStringList{"setModuleParameter CommandManager", "setModuleParameter ModuleParent",
                              "setModuleParameter BackendVersions", "setModuleParameter ObserverMode", "name",
                              "version", "menuEntries"}));
        QVERIFY(window.aboutText().contains("Fake Module v9.8.7"));
        QCOMPARE(menuText(&window),
                 QStringLiteral(
                     "&File: &Quit | &Tracking: &Start measurement, Sto&p measurement, -, &Measurement Tool, Between, "
                     "Tip calibration | E&xtras: Extra | &View: Message &Log | &Help: "
                     "&About"));

        // Released: cleanup first, then the deletion; the menus lose the entries.
        calls.clear();
        window.releaseModules();
        QCOMPARE(calls, (QStringList{"cleanup", "destroyed"}));
        QCOMPARE(menuText(&window), bareMenus);

        QTRY_VERIFY2_WITH_TIMEOUT(
            window.connectionText().endsWith(QLatin1String(", connecting (no reply within the time-out)")),
            qPrintable(window.connectionText()), 2 * CommandManager::DefaultTimeoutMs);
        QCOMPARE(log.filter("Cannot connect to the controller at").size(), 1);
        window.startMeasurement();
        QCOMPARE(log.filter(QRegularExpression("^The measurement starts when the controller answers$")).size(), 1);

        script.on("orvel2 tracking start", "orvel2 ok");
        script.on("orvel2 get status active", "orvel2 set status active none");
        QTRY_COMPARE_WITH_TIMEOUT(connection->text(), QStringLiteral("Controller: connected"), 5000);
        QCOMPARE(log.filter(QRegularExpression("^Connected to the controller at 127.0.0.1:\\d+$")).size(), 1);
        QTRY_COMPARE(log.filter(QRegularExpression("^Measurement started$")).size(), 1);
        QVERIFY2(log.filter("Unable to start").isEmpty() && log.filter("again").isEmpty(), qPrintable(log.join('\n')));
    }

private:
    // "Title: text, text | Title: ...", "-" for a separator.
    static QString menuText(QMainWindow *window)
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
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
