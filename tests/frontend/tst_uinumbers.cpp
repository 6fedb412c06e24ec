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
    void spinBoxes_data();
    void spinBoxes();
};

void TestUiNumbers::spinBoxes_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shown"); // the cell's "2.5"
    QTest::addColumn<QString>("typed"); // 4.2
    QTest::newRow("German") << "de"
                            << "2,5"
                            << "4,2";
    QTest::newRow("English") << "en"
                             << "2.5"
                             << "4.2";
}

void TestUiNumbers::spinBoxes()
{
    QFETCH(QString, language);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
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
    QVERIFY(tools);
    QAbstractItemDelegate *delegate = tools->itemDelegateForColumn(1);
    QVERIFY(delegate);
    QStandardItemModel cells(1, 2);
    const QModelIndex cell = cells.index(0, 1);
    cells.setData(cell, "2.5");
    std::unique_ptr<QWidget> editor(delegate->createEditor(tools->viewport(), QStyleOptionViewItem(), cell));
    auto *tipEditor = qobject_cast<QDoubleSpinBox *>(editor.get());
    QVERIFY(tipEditor);
    delegate->setEditorData(tipEditor, cell);
    QCOMPARE(tipEditor->text(), shown);
    // Typed over what it shows, as an operator would.
    tipEditor->selectAll();
    QTest::keyClicks(tipEditor, typed);
    tipEditor->interpretText();
    QCOMPARE(tipEditor->value(), 4.2);
    delegate->setModelData(tipEditor, &cells, cell);
    QCOMPARE(cells.data(cell).toString(), QString("4.2"));
    for (const QDoubleSpinBox *spinBox : settings->findChildren<QDoubleSpinBox *>())
        QCOMPARE(spinBox->locale().decimalPoint(), shown.at(1));

    editor.reset();
    window.releaseModules();
}

QTEST_MAIN(TestUiNumbers)
#include "tst_uinumbers.moc"
