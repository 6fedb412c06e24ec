#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "fakecommandmanager.h"
#include "frontend/uilanguage.h"
#include "pluginhost.h"

namespace {

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

// Accelerators used twice among a dialog's labels and buttons, as "a: x, y".
QStringList mnemonicClashes(QWidget *dialog)
{
    QStringList texts, clashes;
    for (QLabel *label : dialog->findChildren<QLabel *>())
        texts << label->text();
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        texts << button->text();
    QMap<QString, QStringList> owners;
    for (const QString &text : texts)
        if (!QKeySequence::mnemonic(text).isEmpty())
            owners[QKeySequence::mnemonic(text).toString()] << text;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            clashes << QStringLiteral("%1: %2").arg(it.key(), it.value().join(QStringLiteral(", ")));
    return clashes;
}

} // namespace

// The German catalogues as the host installs them. The order matters: the
// first functions run before any translator is installed.
class TestTranslations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PluginHost> host;
    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<QMainWindow> mainWindow;
    BackendVersions versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);

    QList<MenuEntry *> loadModule()
    {
        host.reset(new PluginHost);
        fake.reset(new FakeCommandManager);
        mainWindow.reset(new QMainWindow);
        if (!host->load())
            return {};
        host->configure(fake.get(), mainWindow.get(), &versions);
        return host->module()->menuEntries();
    }

private slots:
    // The plug-in carries its catalogue but leaves the process's translators alone.
    void moduleInstallsNoTranslator()
    {
        const QList<MenuEntry *> entries = loadModule();
        QCOMPARE(entries.size(), 3);
        QVERIFY(QFile::exists(QString::fromLatin1(UiLanguage::ModuleCatalogue)));
        QCOMPARE(entries[0]->menuTitle, QStringLiteral("&Tracking"));
        QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&View"));
        QCOMPARE(translated("MtSettingsDlgClass", "Cancel"), QStringLiteral("Cancel"));
        host.reset();
    }

    // The language by argument (case ignored; anything else English, refused) and by locale; English installs nothing.
    void languageChoiceAndEnglish()
    {
        bool ok = false;
        QVERIFY(UiLanguage::fromArgument(QStringLiteral("de"), &ok).isGerman() && ok);
        QVERIFY(UiLanguage::fromArgument(QStringLiteral("EN"), &ok).language() == UiLanguage::English && ok);
        QVERIFY(UiLanguage::fromArgument(QStringLiteral("fr"), &ok).language() == UiLanguage::English && !ok);
        for (const char *locale : {"de_DE", "de_AT", "en_US", "fr_FR", "C"})
            QCOMPARE(UiLanguage::fromLocale(QLocale(QLatin1String(locale))).isGerman(), locale[0] == 'd');
        QCOMPARE(UiLanguage(UiLanguage::German).code(), QStringLiteral("de"));
        const UiLanguage english(UiLanguage::English);
        QVERIFY(english.install(qApp).isEmpty() && english.installModuleTranslation(qApp).isEmpty());
        QCOMPARE(translated("MainWindow", "&File"), QStringLiteral("&File"));
        QCOMPARE(translated("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    void germanInstalls()
    {
        const UiLanguage german(UiLanguage::German);
        QCOMPARE(german.install(qApp), QString());
        QCOMPARE(translated("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen")); // Qt's own
        QCOMPARE(translated("MainWindow", "&File"), QStringLiteral("&Datei"));
        QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&View")); // not before the plug-in
        host.reset(new PluginHost);
        QVERIFY(host->load());
        QCOMPARE(german.installModuleTranslation(qApp), QString());
        QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&Ansicht"));
    }

    void menusAndDialogsInGerman()
    {
        const QList<MenuEntry *> entries = loadModule();
        QCOMPARE(entries.size(), 3);
        // The host merges menus of the same title, its accelerator aside: the front-end's must agree.
        QCOMPARE(QString(entries[0]->menuTitle).remove('&'), translated("MainWindow", "&Tracking").remove('&'));
        QCOMPARE(QString(entries[2]->menuTitle).remove('&'), translated("MainWindow", "&View").remove('&'));
        QCOMPARE(entries[0]->action->text(), QStringLiteral("&Messwerkzeug"));
        QCOMPARE(entries[0]->widget->windowTitle(), QStringLiteral("Messwerkzeug-Einstellungen"));
        // The display's headers are not translated at all.
        const auto header = [&entries](const char *table, int column) {
            auto *widget = entries[2]->widget->findChild<QTableWidget *>(QLatin1String(table));
            return widget ? widget->horizontalHeaderItem(column)->text() : QString();
        };
        QCOMPARE(
            QStringList({header("tableWidget6dmt", 0), header("tableWidget6dmt", 15), header("tableWidget6dmtref", 1)}),
            QStringList({"tool ID", "rx [deg]", "reference ID"}));

        // The Tracking menu holds the front-end's two actions and the module's two.
        QStringList tracking{translated("MainWindow", "&Start measurement"),
                             translated("MainWindow", "Sto&p measurement"), entries[0]->action->text(),
                             entries[1]->action->text()};
        QSet<QString> letters;
        for (const QString &text : tracking)
            letters.insert(QKeySequence::mnemonic(text).toString());
        QVERIFY2(letters.size() == tracking.size(), qPrintable(tracking.join(QStringLiteral(", "))));

        for (int i = 0; i < 2; ++i) {
            const QStringList clashes = mnemonicClashes(entries[i]->widget);
            QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
        }
        host.reset();
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
