#include "frontend/frontendoptions.h"

#include "frontend/commandmanager.h"
#include "frontend/moduleloader.h"
#include "frontend/uilanguage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

namespace {

bool readNumber(const QString &text, int minimum, int maximum, int *number)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return false;
    *number = value;
    return true;
}

} // namespace

bool FrontendOptions::versionTriple(const QString &text, QString *triple)
{
    static const QRegularExpression pattern(QStringLiteral("^(-?\\d{1,9})\\.(-?\\d{1,9})\\.(-?\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *triple = QStringLiteral("%1 %2 %3").arg(match.captured(1).toInt()).arg(match.captured(2).toInt())
                  .arg(match.captured(3).toInt());
    return true;
}

bool FrontendOptions::asksForTextOnly(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "-?" || argument == "--help-all"
            || argument == "--version" || argument == "-v")
            return true;
    }
    return false;
}

QString FrontendOptions::languageArgument(const QStringList &arguments)
{
    const QString option = QStringLiteral("--language");
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == option && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (argument.startsWith(option + QLatin1Char('=')))
            return argument.mid(option.size() + 1);
    }
    return QString();
}

QStringList FrontendOptions::takeOwnOptions(int *argc, char **argv)
{
    QStringList taken;
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--plugin" || argument == "-plugin") {
            taken << QStringLiteral("--plugin");
            if (i + 1 < *argc)
                taken << QString::fromLocal8Bit(argv[++i]);
        } else if (argument.startsWith("--plugin=") || argument.startsWith("-plugin=")) {
            taken << QStringLiteral("--plugin=") + QString::fromLocal8Bit(argument.mid(argument.indexOf('=') + 1));
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (kept < *argc)
        argv[kept] = nullptr;
    *argc = kept;
    return taken;
}

bool FrontendOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Stand-in host of the measurement tool module: loads the plug-in and drives it against a "
        "controller, by default the simulated one in-process."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption plugin(QStringLiteral("plugin"),
                                    tr("Module library to load (default: every module in the "
                                                   "modules folder, %1).")
                                        .arg(ModuleLoader::defaultModulesFolder()),
                                    QStringLiteral("path"));
    const QCommandLineOption observer(QStringLiteral("observer"),
                                      tr("Run the module in observer mode (no dialogs)."));
    const QCommandLineOption controller(QStringLiteral("controller"),
                                        tr("Controller to connect to over TCP instead of the "
                                                       "embedded simulated one."),
                                        QStringLiteral("host:port"));
    const QCommandLineOption dataPortOption(QStringLiteral("data-port"),
                                            tr("Local UDP port for the controller's data output "
                                                           "(default %1).").arg(DefaultDataPort),
                                            QStringLiteral("port"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     tr("Time-out of one controller command in milliseconds."),
                                     QStringLiteral("ms"));
    const QCommandLineOption silence(QStringLiteral("silence"),
                                     tr("Milliseconds the data output may pause during a measurement "
                                                    "before the controller is checked (default %1).")
                                         .arg(CommandManager::DefaultSilenceMs),
                                     QStringLiteral("ms"));
    const QCommandLineOption languageOption(QStringLiteral("language"),
                                            tr("Language of the window: de or en (default: the "
                                                           "system's)."),
                                            QStringLiteral("de|en"));
    const QCommandLineOption product(QStringLiteral("product"),
                                     tr("Product name the simulated controller reports."),
                                     QStringLiteral("name"));
    const QCommandLineOption productVersion(QStringLiteral("product-version"),
                                            tr("Product version the simulated controller "
                                                           "reports, e.g. 2.9.4."),
                                            QStringLiteral("x.y.z"));
    const QCommandLineOption backendVersion(QStringLiteral("backend-version"),
                                            tr("Backend version the simulated controller "
                                                           "reports, e.g. 1.14.0."),
                                            QStringLiteral("x.y.z"));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      tr("Any simulation setting, sent as \"orvel2 simulate "
                                                     "<setting> <value>\" (repeatable)."),
                                      QStringLiteral("setting=value"));
    const QCommandLineOption start(QStringLiteral("start"), tr("Start a measurement right away."));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        tr("Save a picture of the window (or of the screen "
                                                       "chosen with --show) to a PNG file and exit."),
                                        QStringLiteral("file"));
    const QCommandLineOption show(QStringLiteral("show"),
                                  tr("Screen for --screenshot: settings, devices, calibration, help, "
                                                 "progress, countdown, result, error or display (the last four "
                                                 "run a calibration; see --simulate and --delay)."),
                                  QStringLiteral("screen"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   tr("Milliseconds to wait before the screenshot (default %1).")
                                       .arg(DefaultDelayMs),
                                   QStringLiteral("ms"));
    parser.addOptions({plugin, observer, controller, dataPortOption, timeout, silence, languageOption, product,
                       productVersion, backendVersion, simulate, start, screenshot, show, delay});
    helpText = parser.helpText();

    if (!parser.parse(arguments)) {
        errorText = parser.errorText();
        return false;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        exitNow = true;
        outputText = parser.isSet(help) ? helpText
                                        : QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                                        QCoreApplication::applicationVersion());
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        errorText = tr("Unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return false;
    }

    pluginPath = parser.value(plugin);
    observerMode = parser.isSet(observer);
    startMeasurement = parser.isSet(start);

    if (parser.isSet(controller)) {
        const QString value = parser.value(controller);
        const int colon = value.lastIndexOf(QLatin1Char(':'));
        int port = 0;
        if (colon <= 0 || !readNumber(value.mid(colon + 1), 1, 65535, &port)) {
            errorText = tr("--controller wants host:port, not \"%1\"").arg(value);
            return false;
        }
        controllerHost = value.left(colon);
        controllerPort = quint16(port);
    }
    if (parser.isSet(dataPortOption)) {
        int port = 0;
        if (!readNumber(parser.value(dataPortOption), 0, 65535, &port)) {
            errorText = tr("--data-port wants a port number");
            return false;
        }
        dataPort = quint16(port);
    }
    if (parser.isSet(languageOption)) {
        language = parser.value(languageOption);
        bool known = false;
        UiLanguage::fromArgument(language, &known);
        if (!known || language.trimmed().isEmpty()) {
            errorText = tr("--language wants de or en, not \"%1\"").arg(language);
            return false;
        }
    }

    if (parser.isSet(product))
        simulateSettings << QStringLiteral("product_name ") + parser.value(product);
    const QList<QPair<QCommandLineOption, QString>> versions = {
        {productVersion, QStringLiteral("product_version")},
        {backendVersion, QStringLiteral("backend_version")},
    };
    for (const auto &version : versions) {
        if (!parser.isSet(version.first))
            continue;
        QString triple;
        if (!versionTriple(parser.value(version.first), &triple)) {
            errorText = tr("--%1 wants major.minor.patch, not \"%2\"")
                            .arg(version.first.names().constFirst(), parser.value(version.first));
            return false;
        }
        simulateSettings << version.second + QLatin1Char(' ') + triple;
    }
    const QStringList settings = parser.values(simulate);
    for (const QString &setting : settings) {
        const int equals = setting.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            errorText = tr("--simulate wants setting=value, not \"%1\"").arg(setting);
            return false;
        }
        simulateSettings << setting.left(equals) + QLatin1Char(' ') + setting.mid(equals + 1);
    }

    screenshotFile = parser.value(screenshot);
    if (parser.isSet(show)) {
        const QString name = parser.value(show);
        static const QHash<QString, Screen> screens{
            {QStringLiteral("settings"), Screen::Settings}, {QStringLiteral("devices"), Screen::Devices},
            {QStringLiteral("calibration"), Screen::Calibration}, {QStringLiteral("help"), Screen::Help},
            {QStringLiteral("progress"), Screen::Progress}, {QStringLiteral("countdown"), Screen::Countdown},
            {QStringLiteral("result"), Screen::Result}, {QStringLiteral("error"), Screen::Error},
            {QStringLiteral("display"), Screen::Display}};
        if (!screens.contains(name)) {
            errorText = tr("--show wants settings, devices, calibration, help, progress, countdown, "
                           "result, error or display, not \"%1\"").arg(name);
            return false;
        }
        screen = screens.value(name);
    }
    const struct
    {
        const QCommandLineOption &option;
        int least;
        int most;
        int *value;
        QString wanted;
    } numbers[] = {
        {timeout, 1, 3600 * 1000, &timeoutMs, tr("--timeout wants milliseconds above 0")},
        {silence, 1, 3600 * 1000, &silenceMs, tr("--silence wants milliseconds above 0")},
        {delay, 0, 600 * 1000, &delayMs, tr("--delay wants milliseconds")},
    };
    for (const auto &number : numbers) {
        if (parser.isSet(number.option) && !readNumber(parser.value(number.option), number.least, number.most,
                                                       number.value)) {
            errorText = number.wanted;
            return false;
        }
    }
    return true;
}
