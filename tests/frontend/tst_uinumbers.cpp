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

namespace {

// Types text into a spin box as an operator would, over what it shows.
double typeInto(QDoubleSpinBox *spinBox, const QString &text)
{
    spinBox->selectAll();
    QTest::keyClicks(spinBox, text);
    spinBox->interpretText();
    return spinBox->value();
}

} // namespace

class TestUiNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void spinBoxes_data();
    void spinBoxes();
    void cleanupTestCase();

private:
    ModuleLoader loader;
};

void TestUiNumbers::initTestCase()
{
    registerHostMetaTypes();
    QVERIFY2(loader.load(MT_PLUGIN_PATH), qPrintable(loader.errorString()));
}

void TestUiNumbers::spinBoxes_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QChar>("point"); // shown "1<point>0", the diameter of a cell "2.5" as "2<point>5"
    QTest::newRow("German") << "de" << QChar(',');
    QTest::newRow("English") << "en" << QChar('.');
}

void TestUiNumbers::spinBoxes()
{
    QFETCH(QString, language);
    QFETCH(QChar, point);
    const auto number = [point](const char *digits) {
        return QString(digits).replace('_', point);
    };
    const QString shown = number("1_0"), typed = number("4_2");
    const UiLanguage chosen = UiLanguage::fromArgument(language);
    chosen.install(qApp);

    CommandManager manager(std::make_unique<EmbeddedTransport>());
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    QCOMPARE(manager.readBackendVersions(&versions), 0);
    MainWindow window(&manager, &versions);
    const ModuleLoader::Module module = loader.modules().constFirst();
    window.installModule(module.root, module.interface, false);
    const QList<MenuEntry *> entries = module.interface->menuEntries();
    QCOMPARE(entries.size(), 3);
    QWidget *settings = entries.at(0)->widget;
    QVERIFY(settings && settings->inherits("MtSettingsDlg"));

    auto *duration = settings->findChild<QDoubleSpinBox *>("doubleSpinBox_duration");
    QVERIFY(duration);
    QCOMPARE(duration->text(), shown);
    QCOMPARE(typeInto(duration, typed), 4.2);
    for (const QDoubleSpinBox *spinBox : settings->findChildren<QDoubleSpinBox *>())
        QCOMPARE(spinBox->locale().decimalPoint(), point);

    // The tip diameter editor, made by the dialog's delegate on a cell whose text the dialog writes.
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
    QCOMPARE(tipEditor->text(), number("2_5"));
    QCOMPARE(typeInto(tipEditor, typed), 4.2);
    delegate->setModelData(tipEditor, &cells, cell);
    QCOMPARE(cells.data(cell).toString(), QString("4.2"));

    editor.reset();
    window.releaseModules();
}

void TestUiNumbers::cleanupTestCase()
{
    QLocale::setDefault(QLocale::system());
}

QTEST_MAIN(TestUiNumbers)
#include "tst_uinumbers.moc"
