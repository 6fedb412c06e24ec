#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QJsonObject>
#include <QMainWindow>
#include <memory>

#include "fakecommandmanager.h"
#include "host/requester.h"
#include "modaldriver.h"
#include "pluginhost.h"

namespace {

int widgetsOfClass(const char *className)
{
    int count = 0;
    for (QWidget *widget : QApplication::allWidgets())
        if (widget->inherits(className))
            ++count;
    return count;
}

QList<QAction *> actionsOf(const QList<MenuEntry *> &entries)
{
    QList<QAction *> actions;
    for (const MenuEntry *entry : entries)
        actions.append(entry->action);
    return actions;
}

} // namespace

// The module as the host sees it: the built library, loaded and driven through its interface.
class TestModule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pluginIdentity();
    void productGate_data();
    void productGate();
    void closedGateIsCheckedAgain();
    void entriesAreExact();
    void actionsOpenTheirDialogs();
    void observerModeOffersOnlyTheDisplay();
    void repeatedCallsBuildOnce();
    void cleanupAndRebuild();
    void hostWindowGoesFirst();
    void parametersOfWrongType();
    void missingVersionRecordOffersNothing();
    void renewDisplay();

private:
    QList<MenuEntry *> configuredEntries(bool observer = false);

    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<QMainWindow> mainWindow;
    BackendVersions versions;
    std::unique_ptr<PluginHost> host;
};

void TestModule::init()
{
    fake.reset(new FakeCommandManager);
    mainWindow.reset(new QMainWindow);
    versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);
    host.reset(new PluginHost);
    QVERIFY2(host->load(), qPrintable(host->errorString()));
}

void TestModule::cleanup()
{
    host.reset(); // cleanup, then the module is deleted, as the host shuts down
    mainWindow.reset();
    QCOMPARE(widgetsOfClass("MtSettingsDlg") + widgetsOfClass("MtCalibrationDlg") + widgetsOfClass("QDockWidget"), 0);
}

QList<MenuEntry *> TestModule::configuredEntries(bool observer)
{
    host->configure(fake.get(), mainWindow.get(), &versions, observer);
    return host->module()->menuEntries();
}

void TestModule::pluginIdentity()
{
    const QJsonObject metaData = host->pluginLoader().metaData();
    QCOMPARE(metaData.value("IID").toString(), QStringLiteral("Orvel2.MeasurementToolModule"));
    QCOMPARE(metaData.value("className").toString(), QStringLiteral("MeasurementToolModule"));
    QVERIFY(metaData.value("MetaData").toObject().isEmpty());

    QObject *object = host->instance();
    ModuleInterface *module = host->module();
    QCOMPARE(object->qt_metacast("MeasurementToolModule"), static_cast<void *>(object));
    QCOMPARE(object->qt_metacast("ModuleInterface"), static_cast<void *>(module));
    QCOMPARE(object->qt_metacast("orvel2.gui.Module/0.2.0"), static_cast<void *>(module));
    QCOMPARE(object->qt_metacast("QObject"), static_cast<void *>(object));
    QVERIFY(!object->parent());

    QCOMPARE(module->version(), QStringLiteral("v1.3.12"));
    QCOMPARE(module->name(), QStringLiteral("GUI Measurement Tool"));
    // One instance per library until the host deletes it.
    QCOMPARE(host->pluginLoader().instance(), object);
}

void TestModule::productGate_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::addColumn<int>("entries");

    QTest::newRow("BRIXEL 2.9.3") << "BRIXEL" << 2 << 9 << 3 << 0;
    QTest::newRow("BRIXEL 2.9.4") << "BRIXEL" << 2 << 9 << 4 << 3;
    QTest::newRow("BRIXEL 2.10.0") << "BRIXEL" << 2 << 10 << 0 << 3;
    QTest::newRow("BRIXEL 3.0.0") << "BRIXEL" << 3 << 0 << 0 << 3;
    QTest::newRow("BRIXEL 1.99.99") << "BRIXEL" << 1 << 99 << 99 << 0;
    QTest::newRow("BRIXEL 2.8.99") << "BRIXEL" << 2 << 8 << 99 << 0;
    QTest::newRow("prefix BRIXEL-X 2.9.3") << "BRIXEL-X" << 2 << 9 << 3 << 0;
    QTest::newRow("lower case brixel 1.0.0") << "brixel" << 1 << 0 << 0 << 3;
    QTest::newRow("other product 0.0.0") << "ORVEL" << 0 << 0 << 0 << 3;
    QTest::newRow("empty name") << "" << 0 << 0 << 0 << 3;
}

void TestModule::productGate()
{
    QFETCH(QString, product);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    QFETCH(int, entries);
    versions = PluginHost::versions(product, major, minor, patch, 1, 14, 0);
    QCOMPARE(configuredEntries().size(), entries);
    const int dialogs = entries ? 1 : 0;
    QCOMPARE(widgetsOfClass("MtSettingsDlg"), dialogs);
    QCOMPARE(widgetsOfClass("MtCalibrationDlg"), dialogs);
    QCOMPARE(widgetsOfClass("MtDataDisplay"), dialogs);
    if (!entries)
        QCOMPARE(fake->calls, QStringList()); // nothing was built, so nothing talked to the controller
}

void TestModule::closedGateIsCheckedAgain()
{
    versions = PluginHost::versions(QStringLiteral("BRIXEL"), 2, 9, 3, 1, 14, 0);
    QVERIFY(configuredEntries().isEmpty());
    versions.productVersion[2] = 4;
    QCOMPARE(host->module()->menuEntries().size(), 3);
}

void TestModule::entriesAreExact()
{
    const QList<MenuEntry *> entries = configuredEntries();
    auto describe = [](const MenuEntry *e) {
        return QStringList{e->menuTitle, QString::number(e->menuOrder), QString::number(e->actionOrder),
                           QString::number(e->widgetKind), QString::fromLatin1(e->widget->metaObject()->className()),
                           e->action->text(), e->action->statusTip(), e->action->whatsThis()}
            .join(QLatin1Char('|'));
    };
    QCOMPARE(entries.size(), 3);
    QCOMPARE(describe(entries[0]), QStringLiteral("&Tracking|300|50|0|MtSettingsDlg|&Measurement Tool|"
                                                  "Open the Measurement Tool settings dialog|Change the Measurement Tool settings"));
    QCOMPARE(describe(entries[1]), QStringLiteral("&Tracking|300|60|0|MtCalibrationDlg|Measurement &Tool tip calibration|"
                                                  "Open the Measurement Tool tip calibration|Perform Measurement Tool tip calibration"));
    QCOMPARE(describe(entries[2]), QStringLiteral("&View|400|270|1|QDockWidget|&Measurement Tool|"
                                                  "Show the Measurement Tool tracking data|Show the Measurement Tool tracking data"));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(entries[i]->widget->parentWidget(), mainWindow.get());
        QCOMPARE(entries[i]->action->parent(), host->instance()); // the module owns its actions
    }

    QDockWidget *dock = qobject_cast<QDockWidget *>(entries[2]->widget);
    QCOMPARE(dock->windowTitle(), QStringLiteral("Measurement Tool Display"));
    QCOMPARE(dock->parentWidget(), mainWindow.get());
    QVERIFY(dock->widget() && dock->widget()->inherits("MtDataDisplay"));
    QCOMPARE(entries[2]->action, dock->toggleViewAction());

    // The display registered itself with the host's command manager, once.
    QCOMPARE(fake->requesters.size(), 1);
    QCOMPARE(static_cast<void *>(fake->requesters[0]), dock->widget()->qt_metacast("Requester"));
}

void TestModule::actionsOpenTheirDialogs()
{
    const QList<MenuEntry *> entries = configuredEntries();
    QCOMPARE(entries.size(), 3);
    const QByteArray dialogClasses[] = {"MtSettingsDlg", "MtCalibrationDlg"};
    for (int i = 0; i < 2; ++i) {
        QWidget *opened = nullptr;
        ModalDriver driver(dialogClasses[i], [&opened](QWidget *modal) {
            opened = modal;
            ModalDriver::closeAllModal();
        });
        entries[i]->action->trigger();
        QVERIFY2(driver.acted(), "the action opened no modal dialog");
        QCOMPARE(opened, entries[i]->widget);
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void TestModule::observerModeOffersOnlyTheDisplay()
{
    const QList<MenuEntry *> entries = configuredEntries(true);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->widgetKind, 1);
    QVERIFY(qobject_cast<QDockWidget *>(entries[0]->widget));
    QCOMPARE(widgetsOfClass("MtSettingsDlg"), 0);
    QCOMPARE(widgetsOfClass("MtCalibrationDlg"), 0);
    QCOMPARE(widgetsOfClass("MtDataDisplay"), 1);
}

void TestModule::repeatedCallsBuildOnce()
{
    const QList<MenuEntry *> first = configuredEntries();
    const QList<MenuEntry *> second = host->module()->menuEntries();
    QCOMPARE(first.size(), 3);
    QCOMPARE(second, first);
    QCOMPARE(actionsOf(second), actionsOf(first));
    QCOMPARE(widgetsOfClass("MtSettingsDlg"), 1);
    QCOMPARE(widgetsOfClass("MtCalibrationDlg"), 1);
    QCOMPARE(widgetsOfClass("QDockWidget"), 1);
    QCOMPARE(fake->callsOf("addRequester").size(), 1);
}

void TestModule::cleanupAndRebuild()
{
    const QList<MenuEntry *> first = configuredEntries();
    QPointer<QWidget> oldSettings = first[0]->widget;
    QPointer<QWidget> oldCalibration = first[1]->widget;
    QPointer<QWidget> oldDock = first[2]->widget;
    QPointer<QAction> settingsAction = first[0]->action;

    host->module()->cleanup();
    QVERIFY(!oldSettings && !oldCalibration && !oldDock);
    QCOMPARE(widgetsOfClass("MtDataDisplay"), 0);
    QVERIFY(settingsAction); // still the module's child
    host->module()->renewDisplay(); // nothing to renew, nothing to crash
    QCOMPARE(fake->callsOf("renewRequester").size(), 0);

    const QList<MenuEntry *> rebuilt = host->module()->menuEntries();
    QCOMPARE(rebuilt.size(), 3);
    QVERIFY(rebuilt[0]->widget && rebuilt[0]->widget->inherits("MtSettingsDlg"));
    QVERIFY(rebuilt[2]->widget && rebuilt[2]->widget != oldDock.data());
    QCOMPARE(widgetsOfClass("MtSettingsDlg"), 1);
    QCOMPARE(widgetsOfClass("QDockWidget"), 1);

    // The same three records, and each action now opens the new dialog, once.
    QCOMPARE(rebuilt, first);
    const QByteArray dialogClasses[] = {"MtSettingsDlg", "MtCalibrationDlg"};
    for (int i = 0; i < 2; ++i) {
        int opened = 0;
        ModalDriver driver(dialogClasses[i], [&](QWidget *modal) {
            opened += modal == rebuilt[i]->widget ? 1 : 100;
            ModalDriver::closeAllModal();
        });
        rebuilt[i]->action->trigger();
        QVERIFY(driver.acted());
        QCOMPARE(opened, 1);
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void TestModule::hostWindowGoesFirst()
{
    QCOMPARE(configuredEntries().size(), 3);
    // The widgets went with the host's window: nothing may touch them, and
    // the next request builds afresh, without a parent.
    mainWindow.reset();
    host->module()->renewDisplay();
    QCOMPARE(fake->callsOf("renewRequester").size(), 0);
    const QList<MenuEntry *> rebuilt = host->module()->menuEntries();
    QCOMPARE(rebuilt.size(), 3);
    QVERIFY(rebuilt[2]->widget && !rebuilt[2]->widget->parentWidget());
    QCOMPARE(widgetsOfClass("QDockWidget"), 1);
    host->module()->cleanup();
    QCOMPARE(widgetsOfClass("QDockWidget"), 0);
}

void TestModule::parametersOfWrongType()
{
    QObject notAWidget;
    // Good values first, so that the wrong ones must overwrite them.
    host->configure(fake.get(), mainWindow.get(), &versions, true);
    host->setParameter("CommandManager", QVariant(42));
    host->setParameter("ModuleParent", QVariant::fromValue(&notAWidget));
    host->setParameter("BackendVersions", QVariant::fromValue(&versions));
    host->setParameter("ObserverMode", QVariant::fromValue(&notAWidget));
    host->setParameter("Unknown", QVariant::fromValue(static_cast<IOManager *>(fake.get())));
    host->setParameter("commandmanager", QVariant::fromValue(static_cast<IOManager *>(fake.get())));

    // Without a command manager nothing is offered.
    QVERIFY(host->module()->menuEntries().isEmpty());
    QCOMPARE(widgetsOfClass("MtDataDisplay"), 0);

    host->setParameter("CommandManager", QVariant::fromValue(static_cast<IOManager *>(fake.get())));
    const QList<MenuEntry *> entries = host->module()->menuEntries();
    QCOMPARE(entries.size(), 3); // observer mode fell back to false
    for (const MenuEntry *entry : entries)
        QVERIFY(!entry->widget->parentWidget());
    host->module()->cleanup();

    // A widget handed over as a plain QObject pointer is still the parent.
    host->setParameter("ModuleParent", QVariant::fromValue(static_cast<QObject *>(mainWindow.get())));
    QCOMPARE(host->module()->menuEntries()[0]->widget->parentWidget(), mainWindow.get());
    host->module()->cleanup();

    // A bool given as text is converted; a command manager under the versions' name is not a version record.
    host->setParameter("ObserverMode", QVariant(QStringLiteral("true")));
    QCOMPARE(host->module()->menuEntries().size(), 1);
    host->module()->cleanup();
    host->setParameter("BackendVersions", QVariant::fromValue(static_cast<IOManager *>(fake.get())));
    QVERIFY(host->module()->menuEntries().isEmpty());
}

void TestModule::missingVersionRecordOffersNothing()
{
    host->configure(fake.get(), mainWindow.get(), nullptr);
    QVERIFY(host->module()->menuEntries().isEmpty());
    host->module()->renewDisplay();
    QCOMPARE(widgetsOfClass("QDockWidget"), 0);
    QCOMPARE(fake->calls, QStringList());

    host->setParameter("BackendVersions", QVariant(QStringLiteral("1.14.0")));
    QVERIFY(host->module()->menuEntries().isEmpty());
}

void TestModule::renewDisplay()
{
    host->configure(fake.get(), mainWindow.get(), &versions);
    host->module()->renewDisplay(); // before any entry: nothing
    QCOMPARE(fake->callsOf("renewRequester").size(), 0);

    const QList<MenuEntry *> entries = host->module()->menuEntries();
    host->module()->renewDisplay();
    host->module()->renewDisplay();
    QCOMPARE(fake->callsOf("renewRequester"), (QStringList{"renewRequester (null) 0", "renewRequester (null) 0"}));
    QCOMPARE(fake->renewedRequesters.size(), 2);
    QCOMPARE(fake->renewedRequesters[0], fake->requesters[0]);

    // The display is found at any depth below the dock; without one, nothing happens.
    QDockWidget *dock = qobject_cast<QDockWidget *>(entries[2]->widget);
    QWidget *holder = new QWidget;
    QWidget *display = dock->widget();
    display->setParent(holder);
    dock->setWidget(holder);
    host->module()->renewDisplay();
    QCOMPARE(fake->renewedRequesters.size(), 3);
    delete display;
    host->module()->renewDisplay();
    QCOMPARE(fake->renewedRequesters.size(), 3);
}

QTEST_MAIN(TestModule)
#include "tst_module.moc"
