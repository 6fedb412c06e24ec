// The module loader: one module per plug-in class however many copies the
// modules folder holds, and the real reason for a library that is no module.
#include <QLibraryInfo>
#include <QtTest>

#include "frontend/moduleloader.h"
#include "frontendtestkit.h"

class TestModuleLoader : public QObject
{
    Q_OBJECT

private slots:
    void secondCopySkipped();
    void notAModule_data();
    void notAModule();
};

void TestModuleLoader::secondCopySkipped()
{
    QString reason = "left over";
    QVERIFY(ModuleLoader::checkLibrary(MT_PLUGIN_PATH, &reason));
    QCOMPARE(reason, QString());
    QTemporaryDir folder;
    const QString first = folder.filePath("libmeasurementtool-a.so");
    const QString second = folder.filePath("libmeasurementtool-b.so");
    QVERIFY(QFile::copy(MT_PLUGIN_PATH, first));
    QVERIFY(QFile::copy(MT_PLUGIN_PATH, second));
    QVERIFY(QFile::link(second, folder.filePath("libmeasurementtool-c.so")));

    ModuleLoader loader;
    QCOMPARE(loader.loadFolder(folder.path()), 1);
    const QList<ModuleLoader::Module> modules = loader.modules();
    QCOMPARE(modules.size(), 1);
    QCOMPARE(modules.constFirst().fileName, first);
    // A line for each copy skipped, naming it and the one loaded.
    const QStringList notes = loader.notes();
    QCOMPARE(notes.size(), 2);
    for (const QString &note : notes) {
        QVERIFY2(note.startsWith("Skipped " + folder.path() + "/libmeasurementtool-"), qPrintable(note));
        QVERIFY2(note.endsWith("another copy of the module MeasurementToolModule, which is loaded from " + first),
                 qPrintable(note));
    }
    QVERIFY(notes.at(0).contains(second));
}

void TestModuleLoader::notAModule_data()
{
    const QString plugins = QLibraryInfo::location(QLibraryInfo::PluginsPath);
    QTest::addColumn<QString>("path"); // "@" stands for the scratch folder
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << "@/libnone.so"
                             << "no module library at @/libnone.so";
    QTest::newRow("folder") << "@"
                            << "@ is a folder, not a module library";
    QTest::newRow("empty file") << "@/empty.so"
                                << "@/empty.so is empty, not a module library";
    QTest::newRow("text") << "@/text.so"
                          << "@/text.so is not a Qt plug-in: ";
    QTest::newRow("another plug-in") << plugins + "/platforms/libqoffscreen.so"
                                     << plugins
            + "/platforms/libqoffscreen.so is a plug-in for "
              "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3, not a module "
              "(Orvel2.MeasurementToolModule)";
}

void TestModuleLoader::notAModule()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    QTemporaryDir folder;
    QVERIFY(writeFile(folder.filePath("empty.so"), {}) && writeFile(folder.filePath("text.so"), "not a library\n"));
    path.replace('@', folder.path());
    error.replace('@', folder.path());

    QString reason = "left over";
    QVERIFY(!ModuleLoader::checkLibrary(path, &reason));
    QVERIFY2(reason.startsWith(error), qPrintable(reason));
    ModuleLoader loader;
    QVERIFY(!loader.load(path));
    QCOMPARE(loader.errorString(), reason);
    QVERIFY(loader.modules().isEmpty());
}

QTEST_GUILESS_MAIN(TestModuleLoader)
#include "tst_moduleloader.moc"
