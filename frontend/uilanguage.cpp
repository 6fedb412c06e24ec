#include "frontend/uilanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

UiLanguage UiLanguage::fromArgument(const QString &argument, bool *ok)
{
    const QString code = argument.trimmed().toLower();
    const bool known = code.isEmpty() || code == QLatin1String("de") || code == QLatin1String("en");
    if (ok)
        *ok = known;
    if (code.isEmpty())
        return system();
    return UiLanguage(code == QLatin1String("de") ? German : English);
}

UiLanguage UiLanguage::fromLocale(const QLocale &locale)
{
    // The messages' language, which may differ from the one for numbers (LANGUAGE, LC_MESSAGES).
    const QStringList languages = locale.uiLanguages();
    const QLocale first = languages.isEmpty() ? locale : QLocale(languages.first());
    return UiLanguage(first.language() == QLocale::German ? German : English);
}

QLocale UiLanguage::locale() const
{
    const QLocale system = QLocale::system();
    if (isGerman())
        return system.language() == QLocale::German ? system : QLocale(QLocale::German, QLocale::Germany);
    // The C locale writes numbers as English does.
    const bool english = system.language() == QLocale::English || system.language() == QLocale::C;
    return english ? system : QLocale(QLocale::English, QLocale::UnitedStates);
}

// The failures are worded once both catalogues are in, so in German where the front-end's is.
QString UiLanguage::install(QCoreApplication *application) const
{
    if (!application)
        return QString();
    // What goes to the controller is formatted apart from this, in the C locale.
    QLocale::setDefault(locale());
    if (!isGerman())
        return QString();
    const QString qtDirectory = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    const bool qtInstalled = installCatalogue(application, QString::fromLatin1(QtCatalogue), qtDirectory);
    const bool ownInstalled = installCatalogue(application, QString::fromLatin1(FrontendCatalogue), QString());
    QStringList failures;
    if (!qtInstalled)
        failures << QCoreApplication::translate("UiLanguage", "Qt's German translation %1 is missing in %2")
                        .arg(QString::fromLatin1(QtCatalogue), qtDirectory);
    if (!ownInstalled)
        failures << missingText(FrontendCatalogue);
    return failures.join(QLatin1Char('\n'));
}

QString UiLanguage::installModuleTranslation(QCoreApplication *application) const
{
    if (!isGerman() || !application)
        return QString();
    return installCatalogue(application, QString::fromLatin1(ModuleCatalogue), QString())
        ? QString()
        : missingText(ModuleCatalogue);
}

QString UiLanguage::missingText(const char *catalogue)
{
    return QCoreApplication::translate("UiLanguage", "The German translation %1 is missing")
        .arg(QString::fromLatin1(catalogue));
}

bool UiLanguage::installCatalogue(QCoreApplication *application, const QString &fileName, const QString &directory)
{
    QTranslator *translator = new QTranslator(application);
    if (!translator->load(fileName, directory)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
