#include <QtTest>
#include <QtWidgets>
#include <algorithm>

#include "modaldriver.h"
#include "pluginfixture.h"

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
class TestModule : public QObject, private PluginFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        fake = std::make_unique<FakeCommandManager>();
        host = std::make_unique<PluginHost>();
        QVERIFY2(host->load(), qPrintable(host->errorString()));
    }
    void cleanup()
    {
        host.reset(); // cleanup, then the module is deleted, as the host shuts down
        QCOMPARE(builtWidgets(), QStringLiteral("0 0 0 0"));
    }

    void pluginIdentity()
    {
        const QJsonObject metaData = host->pluginLoader().metaData();
        QObject *object = host->instance();
        QCOMPARE(
            QStringList({metaData.value("IID").toString(), metaData.value("className").toString(),
                         host->module()->version(), host->module()->name()}),
            QStringList({"Orvel2.MeasurementToolModule", "MeasurementToolModule", "v1.3.12", "GUI Measurement Tool"}));
        QVERIFY(metaData.value("MetaData").toObject().isEmpty() && !object->parent());
        QCOMPARE(object->qt_metacast("orvel2.gui.Module/0.2.0"), static_cast<void *>(host->module()));
    }

    // Only the BRIXEL line, by exact prefix, is held back below 2.9.4; then nothing is built, so nothing is asked.
    void productGate_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<int>("version"); // 294: 2.9.4
        QTest::addColumn<int>("entries");
        QTest::newRow("BRIXEL at 2.9.4") << "BRIXEL" << 294 << 3;
        QTest::newRow("brixel in lower case") << "brixel" << 100 << 3;
        QTest::newRow("BRIXEL-X by prefix, held back") << "BRIXEL-X" << 293 << 0;
        QTest::newRow("BRIXEL 2.9.3 held back") << "BRIXEL" << 293 << 0;
    }
    void productGate()
    {
        QFETCH(QString, product);
        QFETCH(int, version);
        QFETCH(int, entries);
        versions = PluginHost::versions(product, version / 100, version / 10 % 10, version % 10, 1, 14, 0);
        host->configure(fake.get(), &mainWindow, &versions);
        QCOMPARE(host->module()->menuEntries().size(), entries);
        QCOMPARE(builtWidgets() + (entries || fake->calls.isEmpty() ? "" : " but asked"),
                 entries ? QStringLiteral("1 1 1 1") : QStringLiteral("0 0 0 0"));
        versions = PluginHost::versions(product, 2, 9, 4, 1, 14, 0); // a closed gate is asked again
        QCOMPARE(host->module()->menuEntries().size(), 3);
    }

    // The entries as the host shows them; renewal, cleanup and rebuild, and the host's window going first.
    void entriesAndLifecycle()
    {
        auto window = std::make_unique<QMainWindow>(); // one that can go first
        versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);
        host->configure(fake.get(), window.get(), &versions);
        const QList<MenuEntry *> entries = host->module()->menuEntries();
        QStringList described; // ...|parented to the main window|action owned by the module
        for (const MenuEntry *e : entries)
            described << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                             .arg(e->menuTitle, QString::number(e->menuOrder), QString::number(e->actionOrder),
                                  QString::number(e->widgetKind), QLatin1String(e->widget->metaObject()->className()),
                                  e->action->text(), QString::number(e->widget->parentWidget() == window.get()),
                                  QString::number(e->action->parent() == host->instance()));
        QCOMPARE(described,
                 QStringList({"&Tracking|300|50|0|MtSettingsDlg|&Measurement Tool|1|1",
                              "&Tracking|300|60|0|MtCalibrationDlg|Measurement &Tool tip calibration|1|1",
                              "&View|400|270|1|QDockWidget|&Measurement Tool|1|0"}));
        QDockWidget *dock = qobject_cast<QDockWidget *>(entries[2]->widget);
        QVERIFY(entries[2]->action == dock->toggleViewAction() && dock->widget()->inherits("MtDataDisplay"));

        // Asked again: the same entries, built once; the display registered with the command manager once.
        QVERIFY(host->module()->menuEntries() == entries && builtWidgets() == QStringLiteral("1 1 1 1"));
        QVERIFY(fake->requesters.size() == 1 && fake->requesters[0] == dock->widget()->qt_metacast("Requester"));
        host->module()->renewDisplay();
        QCOMPARE(fake->callsOf("renewRequester"), QStringList{"renewRequester (null) 0"});
        QCOMPARE(fake->renewedRequesters, fake->requesters);

        const QPointer<QAction> settingsAction = entries[0]->action;
        host->module()->cleanup();
        QVERIFY(builtWidgets() == QStringLiteral("0 0 0 0") && settingsAction); // the action still the module's child
        host->module()->renewDisplay();                                         // nothing to renew, nothing to crash
        QCOMPARE(fake->renewedRequesters.size(), 1);

        // The same three records, holding new widgets; each dialog entry's action opens its new widget, modal.
        QVERIFY(host->module()->menuEntries() == entries && builtWidgets() == QStringLiteral("1 1 1 1"));
        for (int i = 0; i < 2; ++i) {
            ModalDriver driver(entries[i]->widget->metaObject()->className(), [](QWidget *modal) { modal->close(); });
            entries[i]->action->trigger();
            QVERIFY(driver.acted() && !driver.timedOut() && !QApplication::activeModalWidget());
        }

        // The widgets went with the host's window: nothing may touch them; the next request builds afresh, unparented.
        window.reset();
        host->module()->renewDisplay();
        QVERIFY(fake->renewedRequesters.size() == 1 && host->module()->menuEntries().size() == 3);
        QVERIFY(entries[2]->widget && !entries[2]->widget->parentWidget()
                && builtWidgets() == QStringLiteral("1 1 1 1"));
    }
};

QTEST_MAIN(TestModule)
#include "tst_module.moc"
