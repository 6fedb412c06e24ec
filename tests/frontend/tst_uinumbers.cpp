// Numbers in the language of the window: the plug-in's spin boxes, the tip
// diameter editor included, show and read decimals as the chosen language
// writes them, whatever the system's locale; the cell keeps its C text.
#include <QAbstractItemDelegate>
#include <QDoubleSpinBox>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/uilanguage.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/moduleinterface.h"

class TestUiNumbers : public QObject
{
    Q_OBJECT

private slots:
    void spinBoxes_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("point"); // its decimal point
        QTest::newRow("German") << QString("de") << QString(",");
        QTest::newRow("English") << QString("en") << QString(".");
    }

    void spinBoxes()
    {
        QFETCH(QString, language);
        QFETCH(QString, point);
        UiLanguage::fromArgument(language).install(qApp);
        registerHostMetaTypes();
        ModuleLoader loader;
        QVERIFY2(loader.load(MT_PLUGIN_PATH), qPrintable(loader.errorString()));
        CommandManager manager(std::make_unique<EmbeddedTransport>());
        BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
        QCOMPARE(manager.readBackendVersions(&versions), 0);
        MainWindow window(&manager, &versions);
        const ModuleLoader::Module module = loader.modules().constFirst();
        window.installModule(module.root, module.interface, false);
        const QList<MenuEntry *> entries = module.interface->menuEntries();
        QWidget *settings = entries.isEmpty() ? nullptr : entries.constFirst()->widget;
        QVERIFY(settings && settings->inherits("MtSettingsDlg"));

        // The tip diameter editor, made on demand by the dialog's delegate on a cell whose text the dialog writes.
        auto *tools = settings->findChild<QTableWidget *>("tableWidget_meaBodies");
        QAbstractItemDelegate *delegate = tools ? tools->itemDelegateForColumn(1) : nullptr;
        QVERIFY(delegate);
        QStandardItemModel cells(1, 2);
        const QModelIndex cell = cells.index(0, 1);
        cells.setData(cell, "2.5");
        std::unique_ptr<QWidget> editor(delegate->createEditor(tools->viewport(), QStyleOptionViewItem(), cell));
        auto *tipEditor = qobject_cast<QDoubleSpinBox *>(editor.get());
        QVERIFY(tipEditor);
        delegate->setEditorData(tipEditor, cell);
        QCOMPARE(tipEditor->text(), "2" + point + "5");
        // Typed over what it shows, as an operator would.
        tipEditor->selectAll();
        QTest::keyClicks(tipEditor, "4" + point + "2");
        tipEditor->interpretText();
        delegate->setModelData(tipEditor, &cells, cell);
        QCOMPARE(cells.data(cell).toString(), QString("4.2"));
        for (const QDoubleSpinBox *spinBox : settings->findChildren<QDoubleSpinBox *>())
            QCOMPARE(QString(spinBox->locale().decimalPoint()), point);

        editor.reset();
        window.releaseModules();
    }
};

QTEST_MAIN(TestUiNumbers)
#include "tst_uinumbers.moc"
