#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "fakecommandmanager.h"
#include "frontend/frontendoptions.h"
#include "frontend/uilanguage.h"
#include "pluginhost.h"

namespace {

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

// The accelerator letter of a text, lower case; a null character for none.
QChar mnemonicOf(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&'))
            ++i;
        else
            return text[i + 1].toLower();
    }
    return QChar();
}

// Accelerators used twice among a dialog's labels and buttons, as "a: x, y".
QStringList mnemonicClashes(QWidget *dialog)
{
    QMap<QChar, QStringList> owners;
    for (QLabel *label : dialog->findChildren<QLabel *>())
        if (!mnemonicOf(label->text()).isNull())
            owners[mnemonicOf(label->text())] << label->text();
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        if (!mnemonicOf(button->text()).isNull())
            owners[mnemonicOf(button->text())] << button->text();
    QStringList clashes;
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

private slots:
    void moduleInstallsNoTranslator();
    void languageChoice();
    void englishInstallsNothing();
    void germanInstalls();
    void fixedTextsStay();
    void menusAndDialogsInGerman();

private:
    std::unique_ptr<PluginHost> host;
    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<QMainWindow> mainWindow;
    BackendVersions versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);

    QList<MenuEntry *> loadModule();
};

QList<MenuEntry *> TestTranslations::loadModule()
{
    host.reset(new PluginHost);
    fake.reset(new FakeCommandManager);
    mainWindow.reset(new QMainWindow);
    if (!host->load())
        return {};
    host->configure(fake.get(), mainWindow.get(), &versions);
    return host->module()->menuEntries();
}

// The plug-in carries its catalogue but leaves the process's translators alone.
void TestTranslations::moduleInstallsNoTranslator()
{
    const QList<MenuEntry *> entries = loadModule();
    QCOMPARE(entries.size(), 3);
    QVERIFY(QFile::exists(QString::fromLatin1(UiLanguage::ModuleCatalogue)));
    QCOMPARE(entries[0]->menuTitle, QStringLiteral("&Tracking"));
    QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&View"));
    QCOMPARE(translated("MtSettingsDlgClass", "Cancel"), QStringLiteral("Cancel"));
    host.reset();
}

void TestTranslations::languageChoice()
{
    bool ok = false;
    QVERIFY(UiLanguage::fromArgument(QStringLiteral("de"), &ok).isGerman());
    QVERIFY(ok);
    QCOMPARE(UiLanguage::fromArgument(QStringLiteral("EN"), &ok).language(), UiLanguage::English);
    QVERIFY(ok);
    QCOMPARE(UiLanguage::fromArgument(QStringLiteral("fr"), &ok).language(), UiLanguage::English);
    QVERIFY(!ok);
    QVERIFY(UiLanguage::fromLocale(QLocale(QStringLiteral("de_DE"))).isGerman());
    QVERIFY(UiLanguage::fromLocale(QLocale(QStringLiteral("de_AT"))).isGerman());
    QVERIFY(!UiLanguage::fromLocale(QLocale(QStringLiteral("en_US"))).isGerman());
    QVERIFY(!UiLanguage::fromLocale(QLocale(QStringLiteral("fr_FR"))).isGerman());
    QVERIFY(!UiLanguage::fromLocale(QLocale::c()).isGerman());
    QCOMPARE(UiLanguage(UiLanguage::German).code(), QStringLiteral("de"));
}

void TestTranslations::englishInstallsNothing()
{
    const UiLanguage english(UiLanguage::English);
    QCOMPARE(english.install(qApp), QString());
    QCOMPARE(english.installModuleTranslation(qApp), QString());
    QCOMPARE(translated("MainWindow", "&File"), QStringLiteral("&File"));
    QCOMPARE(translated("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void TestTranslations::germanInstalls()
{
    const UiLanguage german(UiLanguage::German);
    QCOMPARE(german.install(qApp), QString());
    QCOMPARE(translated("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen")); // Qt's own
    QCOMPARE(translated("MainWindow", "&File"), QStringLiteral("&Datei"));
    QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&View")); // not before the plug-in
    // The command line's help and its complaints, looked up before it is parsed.
    const QStringList arguments{"orvel-frontend", "--timeout", "0", "--language", "de"};
    QCOMPARE(FrontendOptions::languageArgument(arguments), QStringLiteral("de"));
    QCOMPARE(FrontendOptions::languageArgument({"orvel-frontend", "--language=en"}), QStringLiteral("en"));
    FrontendOptions options;
    QVERIFY(!options.parse(arguments));
    QCOMPARE(options.errorText, QStringLiteral("--timeout erwartet Millisekunden über 0"));
    QVERIFY(options.helpText.contains(QStringLiteral("Sofort eine Messung starten.")));
    host.reset(new PluginHost);
    QVERIFY(host->load());
    QCOMPARE(german.installModuleTranslation(qApp), QString());
    QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&Ansicht"));
}

// The display's headers are not translated at all, also with the German catalogue installed.
void TestTranslations::fixedTextsStay()
{
    const QList<MenuEntry *> entries = loadModule();
    QCOMPARE(entries.size(), 3);
    auto *display = entries[2]->widget->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt"));
    QVERIFY(display);
    QCOMPARE(display->horizontalHeaderItem(0)->text(), QStringLiteral("tool ID"));
    QCOMPARE(display->horizontalHeaderItem(2)->text(), QStringLiteral("reference ID"));
    QCOMPARE(display->horizontalHeaderItem(12)->text(), QStringLiteral("x [mm]"));
    QCOMPARE(display->horizontalHeaderItem(15)->text(), QStringLiteral("rx [deg]"));
    auto *references = entries[2]->widget->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmtref"));
    QVERIFY(references);
    QCOMPARE(references->horizontalHeaderItem(1)->text(), QStringLiteral("reference ID"));
}

void TestTranslations::menusAndDialogsInGerman()
{
    const QList<MenuEntry *> entries = loadModule();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0]->menuTitle, QStringLiteral("&Tracking"));
    QCOMPARE(entries[2]->menuTitle, QStringLiteral("&Ansicht"));
    QCOMPARE(entries[0]->action->text(), QStringLiteral("&Messwerkzeug"));
    QCOMPARE(entries[0]->widget->windowTitle(), QStringLiteral("Messwerkzeug-Einstellungen"));

    // The Tracking menu holds the front-end's two actions and the module's two.
    QStringList tracking{translated("MainWindow", "&Start measurement"), translated("MainWindow", "Sto&p measurement"),
                         entries[0]->action->text(), entries[1]->action->text()};
    QSet<QChar> letters;
    for (const QString &text : tracking)
        letters.insert(mnemonicOf(text));
    QVERIFY2(letters.size() == tracking.size(), qPrintable(tracking.join(QStringLiteral(", "))));

    for (int i = 0; i < 2; ++i) {
        const QStringList clashes = mnemonicClashes(entries[i]->widget);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    }
    host.reset();
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
