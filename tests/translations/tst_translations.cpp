#include <QtTest>
#include <QtWidgets>

#include "frontend/uilanguage.h"
#include "pluginfixture.h"

namespace {

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

// Accelerators that two of the texts, or of the texts of a widget's children, share, as "a: x, y".
QStringList clashes(QStringList texts, const QWidget *widget = nullptr)
{
    for (const QWidget *child : widget ? widget->findChildren<QWidget *>() : QList<QWidget *>())
        texts << child->property("text").toString();
    QStringList found, letters;
    for (const QString &text : texts) {
        const QString letter = QKeySequence::mnemonic(text).toString();
        if (!letter.isEmpty() && letters.contains(letter))
            found << QStringLiteral("%1: %2, %3").arg(letter, texts[letters.indexOf(letter)], text);
        letters << letter;
    }
    return found;
}

} // namespace

// The German catalogues as the host installs them, in order: the first function runs before any translator.
class TestTranslations : public QObject, private PluginFixture
{
    Q_OBJECT

private slots:
    void init() { fake = std::make_unique<FakeCommandManager>(); }
    void cleanup() { host.reset(); }

    // The plug-in carries its catalogue but installs no translator; German by locale; English installs nothing.
    void englishAndTheChoice()
    {
        loadPlugin();
        QVERIFY(QFile::exists(QString::fromLatin1(UiLanguage::ModuleCatalogue)));
        for (const char *locale : {"de_DE", "de_AT", "en_US", "fr_FR", "C"})
            QCOMPARE(UiLanguage::fromLocale(QLocale(QLatin1String(locale))).isGerman(), locale[0] == 'd');
        const UiLanguage english(UiLanguage::English);
        QVERIFY(english.install(qApp).isEmpty() && english.installModuleTranslation(qApp).isEmpty());
        QCOMPARE(translated("MeasurementToolModule", "&View") + translated("MainWindow", "&File"), "&View&File");
        QCOMPARE(translated("MtSettingsDlgClass", "Cancel") + translated("QPlatformTheme", "Cancel"), "CancelCancel");
    }

    // Qt's and the front-end's catalogues at once, the module's once its library is loaded.
    void germanInstalls()
    {
        const UiLanguage german(UiLanguage::German);
        QCOMPARE(german.code() + german.install(qApp), QStringLiteral("de"));
        QCOMPARE(translated("QPlatformTheme", "Cancel") + translated("MainWindow", "&File")
                     + translated("MeasurementToolModule", "&View"),
                 "Abbrechen&Datei&View");
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
        // No letter twice in the Tracking menu, the front-end's two actions and the module's two, nor in a dialog.
        QCOMPARE(clashes({translated("MainWindow", "&Start measurement"), translated("MainWindow", "Sto&p measurement"),
                          entries[0]->action->text(), entries[1]->action->text()})
                     + clashes({}, entries[0]->widget) + clashes({}, entries[1]->widget),
                 QStringList());
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
