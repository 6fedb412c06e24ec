#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "frontend/uilanguage.h"
#include "pluginfixture.h"

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
class TestTranslations : public QObject, private PluginFixture
{
    Q_OBJECT

private slots:
    void init() { fake = std::make_unique<FakeCommandManager>(); }
    void cleanup() { host.reset(); }

    // The plug-in carries its catalogue but leaves the process's translators alone.
    void moduleInstallsNoTranslator()
    {
        loadPlugin();
        QVERIFY(QFile::exists(QString::fromLatin1(UiLanguage::ModuleCatalogue)));
        QCOMPARE(host->module()->menuEntries()[0]->menuTitle, QStringLiteral("&Tracking"));
        QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&View"));
        QCOMPARE(translated("MtSettingsDlgClass", "Cancel"), QStringLiteral("Cancel"));
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
        host = std::make_unique<PluginHost>();
        QVERIFY(host->load());
        QCOMPARE(german.installModuleTranslation(qApp), QString());
        QCOMPARE(translated("MeasurementToolModule", "&View"), QStringLiteral("&Ansicht"));
    }

    void menusAndDialogsInGerman()
    {
        loadPlugin();
        const QList<MenuEntry *> entries = host->module()->menuEntries();
        // The host merges menus of the same title, its accelerator aside: the front-end's must agree.
        QCOMPARE(QString(entries[0]->menuTitle).remove('&'), translated("MainWindow", "&Tracking").remove('&'));
        QCOMPARE(QString(entries[2]->menuTitle).remove('&'), translated("MainWindow", "&View").remove('&'));
        QCOMPARE(entries[0]->action->text(), QStringLiteral("&Messwerkzeug"));
        QCOMPARE(entries[0]->widget->windowTitle(), QStringLiteral("Messwerkzeug-Einstellungen"));
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
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
