// The main window as a module's host: parameters handed over, menus built
// from the module's entries, the dock docked, the module released in order.

#include <QAction>
#include <QDialog>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "controllerscript.h"
#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/menuentry.h"
#include "host/moduleinterface.h"
#include "scriptedtransport.h"

// A stand-in with the module's settings dialog class name, which the window looks for.
class MtSettingsDlg : public QDialog
{
    Q_OBJECT
};

// A module offering the entries a test gives and recording how the host drives it.
class FakeModule : public QObject, public ModuleInterface
{
    Q_OBJECT
    Q_INTERFACES(ModuleInterface)

public:
    FakeModule(const QList<MenuEntry> &offers, QStringList *callLog) : entries(offers), log(callLog) {}
    ~FakeModule() override { *log << "destroyed"; }
    void renewDisplay() override {}
    void cleanup() override { *log << "cleanup", qDeleteAll(widgets); }
    QString name() override { return *log << "name", QStringLiteral("Fake Module"); }
    QString version() override { return *log << "version", QStringLiteral("v9.8.7"); }
    // Each entry's action text is in its menu title after a '/'; a dock entry gets a dock.
    QList<MenuEntry *> menuEntries() override
    {
        *log << "menuEntries";
        QList<MenuEntry *> result;
        for (MenuEntry &entry : entries) {
            const QString text = entry.menuTitle.section('/', 1);
            entry.menuTitle = entry.menuTitle.section('/', 0, 0);
            if (entry.widgetKind == MenuEntry::DockKind) {
                auto *dock = new QDockWidget(text, parameters.value("ModuleParent").value<QWidget *>());
                entry.action = dock->toggleViewAction();
                entry.action->setText(text);
                entry.widget = dock;
            } else {
                entry.action = new QAction(text, this);
                entry.widget = new MtSettingsDlg;
            }
            widgets << entry.widget;
            result << &entry;
        }
        return result;
    }
    void setModuleParameter(QString name, QVariant value) override
    {
        *log << "setModuleParameter " + name, parameters.insert(name, value);
    }

    QHash<QString, QVariant> parameters;
    QList<QWidget *> widgets;

private:
    QList<MenuEntry> entries;
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
    void initTestCase() { registerHostMetaTypes(); }
    void menusFromEntries();
    void parametersAndRelease();
    void realPlugin();

private:
    ControllerScript script;
    ScriptedTransport transport{&script};
    CommandManager manager{&transport};
    BackendVersions versions{{2, 9, 4}, {1, 14, 0}, QStringLiteral("ORBIT 7")};
    QStringList log;
};

void TestMainWindow::menusFromEntries()
{
    // Out of order, with a title spelt without its mnemonic and a menu of its own.
    const QList<MenuEntry> offers = {
        {nullptr, 270, "&View/&Measurement Tool", 400, nullptr, MenuEntry::DockKind},
        {nullptr, 60, "&Tracking/Tip calibration", 300, nullptr, MenuEntry::DialogKind},
        {nullptr, 50, "&Tracking/&Measurement Tool", 300, nullptr, MenuEntry::DialogKind},
        {nullptr, 5, "E&xtras/Extra", 350, nullptr, MenuEntry::DialogKind},
        {nullptr, 55, "Tracking/Between", 300, nullptr, MenuEntry::DialogKind},
        {nullptr, 20, "&View/Early view", 400, nullptr, MenuEntry::DialogKind},
    };
    MainWindow window(&manager, &versions);
    auto *module = new FakeModule(offers, &log);
    window.installModule(module, module, false);
    QCOMPARE(menuText(&window), QStringLiteral(
        "&File: &Quit | &Tracking: &Start measurement, S&top measurement, -, &Measurement Tool, Between, "
        "Tip calibration | E&xtras: Extra | &View: Early view, -, Message &Log, -, &Measurement Tool | &Help: &About"));
    // The dock is docked across the bottom, its action the dock's toggle.
    auto *dock = qobject_cast<QDockWidget *>(module->widgets.first());
    QCOMPARE(window.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    QVERIFY(window.menuBar()->actions().at(3)->menu()->actions().contains(dock->toggleViewAction()));
    QCOMPARE(window.moduleActionFor("MtSettingsDlg")->text(), QStringLiteral("Tip calibration"));
}

void TestMainWindow::parametersAndRelease()
{
    for (bool observer : {false, true}) {
        MainWindow window(&manager, &versions);
        QPointer<FakeModule> module = new FakeModule({{nullptr, 270, "&View/Display", 400, nullptr, MenuEntry::DockKind}}, &log);
        log.clear();
        window.installModule(module, module, observer);
        // All four parameters before anything is asked, then name, version and entries.
        QCOMPARE(log, (QStringList{"setModuleParameter CommandManager", "setModuleParameter ModuleParent",
                                   "setModuleParameter BackendVersions", "setModuleParameter ObserverMode",
                                   "name", "version", "menuEntries"}));
        const QVariant commandManager = module->parameters.value("CommandManager");
        QCOMPARE(commandManager.userType(), QMetaType::type("IOManager*"));
        QCOMPARE(commandManager.value<IOManager *>(), static_cast<IOManager *>(&manager));
        QCOMPARE(module->parameters.value("ModuleParent").value<QWidget *>(), static_cast<QWidget *>(&window));
        QCOMPARE(module->parameters.value("BackendVersions").userType(), QMetaType::type("BackendVersions*"));
        QCOMPARE(module->parameters.value("BackendVersions").value<BackendVersions *>(), &versions);
        QCOMPARE(module->parameters.value("ObserverMode"), QVariant(observer));
        QVERIFY(window.aboutText().contains("Fake Module v9.8.7"));

        // Released: cleanup first, then the deletion; the menus lose the entries.
        QPointer<QWidget> dock = module->widgets.first();
        log.clear();
        window.releaseModule();
        QCOMPARE(log, (QStringList{"cleanup", "destroyed"}));
        QVERIFY(dock.isNull() && module.isNull());
        QVERIFY(!menuText(&window).contains("Display"));
    }
}

void TestMainWindow::realPlugin()
{
#ifndef MT_PLUGIN_PATH
    QSKIP("the plug-in is not part of this build");
#else
    EmbeddedTransport embedded;
    CommandManager commandManager(&embedded);
    BackendVersions controllerVersions{{0, 0, 0}, {0, 0, 0}, QString()};
    QCOMPARE(commandManager.readBackendVersions(&controllerVersions), 0);
    MainWindow window(&commandManager, &controllerVersions);
    ModuleLoader loader;
    for (bool observer : {false, true}) {
        QVERIFY2(loader.load(QStringLiteral(MT_PLUGIN_PATH)), qPrintable(loader.errorString()));
        window.installModule(loader.root(), loader.module(), observer);
        QCOMPARE(window.moduleName() + ' ' + window.moduleVersion(), QStringLiteral("GUI Measurement Tool v1.3.12"));
        QCOMPARE(menuText(&window).contains("&Measurement Tool, Measurement &Tool tip calibration"), !observer);
        QCOMPARE(window.dockWidgetArea(window.moduleDock()), Qt::BottomDockWidgetArea);
        QVERIFY(commandManager.dataRouter().requesterCount() >= 1); // the display registered itself
        window.releaseModule();
        QCOMPARE(commandManager.dataRouter().requesterCount(), 0);
    }
#endif
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
