#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <memory>

#include "fakecommandmanager.h"
#include "modaldriver.h"
#include "pluginhost.h"

namespace {

// Settings and calibration dialogs, docks and displays alive, as "1 1 1 1".
QString builtWidgets()
{
    const QWidgetList all = QApplication::allWidgets();
    QStringList counts;
    for (const char *name : {"MtSettingsDlg", "MtCalibrationDlg", "QDockWidget", "MtDataDisplay"})
        counts << QString::number(
            std::count_if(all.begin(), all.end(), [name](QWidget *w) { return w->inherits(name); }));
    return counts.join(QLatin1Char(' '));
}

} // namespace

// The module as the host sees it: the built library, loaded and driven through its interface.
class TestModule : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fake = std::make_unique<FakeCommandManager>();
        mainWindow = std::make_unique<QMainWindow>();
        versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);
        host = std::make_unique<PluginHost>();
        QVERIFY2(host->load(), qPrintable(host->errorString()));
    }
    void cleanup()
    {
        host.reset(); // cleanup, then the module is deleted, as the host shuts down
        mainWindow.reset();
        QCOMPARE(builtWidgets(), QStringLiteral("0 0 0 0"));
    }
    void pluginIdentity();
    void productGate_data();
    void productGate();
    void entriesAndLifecycle();

private:
    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<QMainWindow> mainWindow;
    BackendVersions versions;
    std::unique_ptr<PluginHost> host;
};

void TestModule::pluginIdentity()
{
    const QJsonObject metaData = host->pluginLoader().metaData();
    QObject *object = host->instance();
    QCOMPARE(QStringList({metaData.value("IID").toString(), metaData.value("className").toString(),
                          host->module()->version(), host->module()->name()}),
             QStringList({"Orvel2.MeasurementToolModule", "MeasurementToolModule", "v1.3.12", "GUI Measurement Tool"}));
    QVERIFY(metaData.value("MetaData").toObject().isEmpty() && !object->parent());
    QCOMPARE(object->qt_metacast("orvel2.gui.Module/0.2.0"), static_cast<void *>(host->module()));
    QCOMPARE(host->pluginLoader().instance(), object); // one instance per library until the host deletes it
}

// Only the BRIXEL line, by exact prefix, is held back below 2.9.4.
void TestModule::productGate_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QList<int>>("version");
    QTest::addColumn<int>("entries");
    QTest::newRow("BRIXEL at 2.9.4") << "BRIXEL" << QList<int>{2, 9, 4} << 3;
    QTest::newRow("brixel in lower case") << "brixel" << QList<int>{1, 0, 0} << 3;
    QTest::newRow("BRIXEL-X by prefix, held back") << "BRIXEL-X" << QList<int>{2, 9, 3} << 0;
    QTest::newRow("BRIXEL 2.9.3 held back") << "BRIXEL" << QList<int>{2, 9, 3} << 0;
}

void TestModule::productGate()
{
    QFETCH(QString, product);
    QFETCH(QList<int>, version);
    QFETCH(int, entries);
    versions = PluginHost::versions(product, version[0], version[1], version[2], 1, 14, 0);
    host->configure(fake.get(), mainWindow.get(), &versions);
    QCOMPARE(host->module()->menuEntries().size(), entries);
    // Held back: nothing built, so nothing talked to the controller.
    QCOMPARE(builtWidgets() + (entries || fake->calls.isEmpty() ? "" : " but asked"),
             entries ? QStringLiteral("1 1 1 1") : QStringLiteral("0 0 0 0"));
    // A closed gate is asked again.
    versions = PluginHost::versions(product, 2, 9, 4, 1, 14, 0);
    QCOMPARE(host->module()->menuEntries().size(), 3);
}

// The entries as the host shows them; renewal, cleanup and rebuild, and the
// host's window going first.
void TestModule::entriesAndLifecycle()
{
    host->configure(fake.get(), mainWindow.get(), &versions);
    host->module()->renewDisplay(); // before any entry: nothing
    const QList<MenuEntry *> entries = host->module()->menuEntries();
    QStringList described; // ...|parented to the main window|action owned by the module
    for (const MenuEntry *e : entries)
        described << QStringList{e->menuTitle,
                                 QString::number(e->menuOrder),
                                 QString::number(e->actionOrder),
                                 QString::number(e->widgetKind),
                                 e->widget->metaObject()->className(),
                                 e->action->text(),
                                 QString::number(e->widget->parentWidget() == mainWindow.get()),
                                 QString::number(e->action->parent() == host->instance())}
                         .join(QLatin1Char('|'));
    QCOMPARE(described,
             QStringList({"&Tracking|300|50|0|MtSettingsDlg|&Measurement Tool|1|1",
                          "&Tracking|300|60|0|MtCalibrationDlg|Measurement &Tool tip calibration|1|1",
                          "&View|400|270|1|QDockWidget|&Measurement Tool|1|0"}));
    QDockWidget *dock = qobject_cast<QDockWidget *>(entries[2]->widget);
    QVERIFY(entries[2]->action == dock->toggleViewAction() && dock->widget()
            && dock->widget()->inherits("MtDataDisplay"));

    // Asked again: the same entries, built once; the display registered with the command manager once.
    QCOMPARE(host->module()->menuEntries(), entries);
    QCOMPARE(builtWidgets(), QStringLiteral("1 1 1 1"));
    QCOMPARE(fake->requesters, QList<Requester *>{static_cast<Requester *>(dock->widget()->qt_metacast("Requester"))});
    host->module()->renewDisplay();
    QCOMPARE(fake->callsOf("renewRequester"), QStringList{"renewRequester (null) 0"});
    QCOMPARE(fake->renewedRequesters, fake->requesters);

    const QPointer<QAction> settingsAction = entries[0]->action;
    host->module()->cleanup();
    QCOMPARE(builtWidgets(), QStringLiteral("0 0 0 0"));
    QVERIFY(settingsAction);        // still the module's child
    host->module()->renewDisplay(); // nothing to renew, nothing to crash
    QCOMPARE(fake->renewedRequesters.size(), 1);

    // The same three records, now holding new widgets (the old are gone), and each dialog entry's action opens
    // its new widget as a modal dialog.
    const QList<MenuEntry *> rebuilt = host->module()->menuEntries();
    QCOMPARE(rebuilt, entries);
    QVERIFY(rebuilt[0]->widget && rebuilt[0]->widget->inherits("MtSettingsDlg") && rebuilt[2]->widget);
    QCOMPARE(builtWidgets(), QStringLiteral("1 1 1 1"));
    for (int i = 0; i < 2; ++i) {
        QWidget *opened = nullptr;
        ModalDriver driver(rebuilt[i]->widget->metaObject()->className(), [&opened](QWidget *modal) {
            opened = modal;
            ModalDriver::closeAllModal();
        });
        rebuilt[i]->action->trigger();
        QCOMPARE(opened, rebuilt[i]->widget); // null if nothing modal came up
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The widgets went with the host's window: nothing may touch them, and
    // the next request builds afresh, without a parent.
    mainWindow.reset();
    host->module()->renewDisplay();
    QCOMPARE(fake->renewedRequesters.size(), 1);
    QCOMPARE(host->module()->menuEntries().size(), 3);
    QVERIFY(rebuilt[2]->widget && !rebuilt[2]->widget->parentWidget());
    QCOMPARE(builtWidgets(), QStringLiteral("1 1 1 1"));
}

QTEST_MAIN(TestModule)
#include "tst_module.moc"
