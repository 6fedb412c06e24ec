#ifndef UILANGUAGE_H
#define UILANGUAGE_H

#include <QLocale>
#include <QString>

class QCoreApplication;
class QTranslator;

// The language of the front-end and its module. English is the language of
// the sources and needs no translator; German installs Qt's own, the
// front-end's and, once the plug-in library is loaded, the module's.
// The module never installs a translator itself: only the host may change
// what the whole process shows.
class UiLanguage
{
public:
    enum Language { English, German };

    static constexpr const char *QtCatalogue = "qtbase_de";
    static constexpr const char *FrontendCatalogue = ":/translations/frontend_de.qm";
    static constexpr const char *ModuleCatalogue = ":/translations/measurementtool_de.qm";

    explicit UiLanguage(Language language = English)
        : uiLanguage(language)
    { }

    // "de" or "en" (any case) as given to --language; an empty argument
    // follows the system locale. Any other text gives English with ok false.
    static UiLanguage fromArgument(const QString &argument, bool *ok = nullptr);
    // German when the locale's first user interface language is German.
    static UiLanguage fromLocale(const QLocale &locale);
    static UiLanguage system() { return fromLocale(QLocale::system()); }
    // The values --language accepts, for the option's help.
    static QString argumentValues() { return QStringLiteral("de|en"); }

    Language language() const { return uiLanguage; }
    bool isGerman() const { return uiLanguage == German; }
    QString code() const { return isGerman() ? QStringLiteral("de") : QStringLiteral("en"); }

    // Numbers in the language of the texts: the system's locale where it
    // speaks that language, else the language's own (German: de_DE).
    QLocale locale() const;

    // Installs Qt's and the front-end's translations on the application and
    // makes locale() the default one, which every widget made afterwards
    // shows and reads its numbers in: before the first window is made.
    // Returns what could not be loaded, one line each, empty when all is
    // well (or nothing was needed).
    QString install(QCoreApplication *application) const;
    // The module's translation, from the resources its library brought:
    // after the plug-in is loaded and before it is asked for its entries.
    QString installModuleTranslation(QCoreApplication *application) const;

private:
    // The translator stays with the application once loaded.
    static bool installCatalogue(QCoreApplication *application, const QString &fileName, const QString &directory);
    static QString missingText(const char *catalogue);

    Language uiLanguage;
};

#endif // UILANGUAGE_H
