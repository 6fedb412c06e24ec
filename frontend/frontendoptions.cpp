#include "frontend/frontendoptions.h"

#include "frontend/commandmanager.h"
#include "frontend/connectionwatch.h"
#include "frontend/datawatch.h"
#include "frontend/moduleloader.h"
#include "simulator/optionvalue.h"
#include "frontend/uilanguage.h"
#include "simulator/simreplay.h"
#include "simulator/simsettingtable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

using Screen = FrontendOptions::Screen;

// What an option's value must look like.
enum class Shape {
    Switch,   // no value
    Text,     // any text
    Module,   // a module library, as far as it can be checked without loading it
    Output,   // a file to write, in a folder that exists
    Number,   // an integer from least to most
    HostPort, // "host:port", the port from least to most
    Language, // de or en
    Version,  // "major.minor.patch"
    Setting,  // "setting=value"
    Screen,   // one of the screens' names
    Speed,    // a replay speed
};

// An option's value as its shape reads it.
struct Value
{
    QString text;
    int number = 0;
};

// One option of the command line: its name, the shape of its value, the
// range of a number, what --help says of it, what a wrong value is told and
// what it sets.
struct Option
{
    const char *name;
    Shape shape;
    const char *valueName; // in --help; none for a switch
    const char *help;
    QString (*helpDefault)(); // what "%1" in the help shows
    int least;
    int most;
    const char *wanted; // for a value of the wrong shape
    void (*set)(FrontendOptions &options, const Value &value);
};

// What the embedded simulated controller reports unless told otherwise, a version dotted.
QString simulated(const char *setting)
{
    const SimSetting *found = SimSettingTable::find(setting);
    return found ? SimSettingTable::optionText(*found, found->defaultText()) : QString();
}

QString modulesFolder()
{
    return ModuleLoader::defaultModulesFolder();
}
QString timeout()
{
    return QString::number(CommandManager::DefaultTimeoutMs);
}
QString silence()
{
    return QString::number(ConnectionWatch::DefaultSilenceMs);
}
QString noData()
{
    return QString::number(DataWatch::DefaultPeriodMs);
}
QString delay()
{
    return QString::number(FrontendOptions::DefaultDelayMs);
}

// In the order of --help, and of the settings sent to the simulated controller.
const Option Options[] = {
    {"plugin", Shape::Module, "path",
     QT_TRANSLATE_NOOP("FrontendOptions", "Module library to load (default: every module in the modules folder, %1)."),
     modulesFolder, 0, 0, nullptr, [](FrontendOptions &o, const Value &v) { o.pluginPath = v.text; }},
    {"observer", Shape::Switch, nullptr,
     QT_TRANSLATE_NOOP("FrontendOptions", "Run the module in observer mode (no dialogs)."), nullptr, 0, 0, nullptr,
     [](FrontendOptions &o, const Value &) { o.observerMode = true; }},
    {"controller", Shape::HostPort, "host:port",
     QT_TRANSLATE_NOOP("FrontendOptions", "Controller to connect to over TCP: a host name, an IPv4 address or an "
                                          "IPv6 address in brackets, e.g. [::1]:5000 (default: none, the embedded "
                                          "simulated controller)."),
     nullptr, 1, 65535, QT_TRANSLATE_NOOP("FrontendOptions", "--controller wants host:port, not \"%1\""),
     [](FrontendOptions &o, const Value &v) {
         o.controllerHost = v.text;
         o.controllerPort = quint16(v.number);
     }},
    {"data-port", Shape::Number, "port",
     QT_TRANSLATE_NOOP("FrontendOptions", "Local UDP port for the controller's data output (default %1)."),
     []() { return QString::number(FrontendOptions::DefaultDataPort); },
     0, 65535, QT_TRANSLATE_NOOP("FrontendOptions", "--data-port wants a port number"),
     [](FrontendOptions &o, const Value &v) { o.dataPort = quint16(v.number); }},
    {"timeout", Shape::Number, "ms",
     QT_TRANSLATE_NOOP("FrontendOptions", "Time-out of one controller command in milliseconds (default %1)."),
     timeout, 1, 3600 * 1000, QT_TRANSLATE_NOOP("FrontendOptions", "--timeout wants milliseconds above 0"),
     [](FrontendOptions &o, const Value &v) { o.timeoutMs = v.number; }},
    {"silence", Shape::Number, "ms",
     QT_TRANSLATE_NOOP("FrontendOptions", "Milliseconds the data output may pause during a measurement before the "
                                          "controller is checked (default %1)."),
     silence, 1, 3600 * 1000, QT_TRANSLATE_NOOP("FrontendOptions", "--silence wants milliseconds above 0"),
     [](FrontendOptions &o, const Value &v) { o.silenceMs = v.number; }},
    {"no-data", Shape::Number, "ms",
     QT_TRANSLATE_NOOP("FrontendOptions", "Milliseconds without a data line during a measurement before the window "
                                          "says \"no data\" (default %1)."),
     noData, 1, 3600 * 1000, QT_TRANSLATE_NOOP("FrontendOptions", "--no-data wants milliseconds above 0"),
     [](FrontendOptions &o, const Value &v) { o.noDataMs = v.number; }},
    {"language", Shape::Language, "de|en",
     QT_TRANSLATE_NOOP("FrontendOptions", "Language of the window: de or en (default: the system's)."), nullptr, 0, 0,
     QT_TRANSLATE_NOOP("FrontendOptions", "--language wants de or en, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.language = v.text; }},
    {"product-name", Shape::Text, "name",
     QT_TRANSLATE_NOOP("FrontendOptions", "Product name the simulated controller reports (default %1)."),
     []() { return simulated("product_name"); }, 0, 0, nullptr,
     [](FrontendOptions &o, const Value &v) { o.simulateSettings << QStringLiteral("product_name ") + v.text; }},
    {"product-version", Shape::Version, "x.y.z",
     QT_TRANSLATE_NOOP("FrontendOptions", "Product version the simulated controller reports (default %1)."),
     []() { return simulated("product_version"); }, 0, 0,
     QT_TRANSLATE_NOOP("FrontendOptions", "--%1 wants major.minor.patch, not \"%2\""),
     [](FrontendOptions &o, const Value &v) { o.simulateSettings << QStringLiteral("product_version ") + v.text; }},
    {"backend-version", Shape::Version, "x.y.z",
     QT_TRANSLATE_NOOP("FrontendOptions", "Backend version the simulated controller reports (default %1)."),
     []() { return simulated("backend_version"); }, 0, 0,
     QT_TRANSLATE_NOOP("FrontendOptions", "--%1 wants major.minor.patch, not \"%2\""),
     [](FrontendOptions &o, const Value &v) { o.simulateSettings << QStringLiteral("backend_version ") + v.text; }},
    {"replay", Shape::Text, "file",
     QT_TRANSLATE_NOOP("FrontendOptions", "Recording or raw capture of data lines for the embedded simulated "
                                          "controller to replay in place of its simulated motion (default: none)."),
     nullptr, 0, 0, nullptr, [](FrontendOptions &o, const Value &v) { o.replayFile = v.text; }},
    {"speed", Shape::Speed, "x", QT_TRANSLATE_NOOP("FrontendOptions", "Replay speed, 0.01 to 100 (default 1)."),
     nullptr, 0, 0, QT_TRANSLATE_NOOP("FrontendOptions", "--speed wants a number from 0.01 to 100, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { SimReplay::readSpeed(v.text, &o.replaySpeed); }},
    {"loop", Shape::Switch, nullptr, QT_TRANSLATE_NOOP("FrontendOptions", "Replay from the start again at the end."),
     nullptr, 0, 0, nullptr, [](FrontendOptions &o, const Value &) { o.replayLoop = true; }},
    {"rate", Shape::Number, "hz",
     QT_TRANSLATE_NOOP("FrontendOptions", "Frames per second of the simulation and a raw capture (default %1)."),
     []() { return simulated("rate"); }, 1, 1000, QT_TRANSLATE_NOOP("FrontendOptions", "--rate wants 1 to 1000"),
     [](FrontendOptions &o, const Value &v) { o.simulateSettings << QStringLiteral("rate %1").arg(v.number); }},
    {"simulate", Shape::Setting, "setting=value",
     QT_TRANSLATE_NOOP("FrontendOptions", "Any simulation setting, sent as \"orvel2 simulate <setting> <value>\" "
                                          "(repeatable; default: none)."),
     nullptr, 0, 0, QT_TRANSLATE_NOOP("FrontendOptions", "--simulate wants setting=value, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.simulateSettings << v.text; }},
    {"start", Shape::Switch, nullptr, QT_TRANSLATE_NOOP("FrontendOptions", "Start a measurement right away."),
     nullptr, 0, 0, nullptr, [](FrontendOptions &o, const Value &) { o.startMeasurement = true; }},
    {"record", Shape::Output, "file",
     QT_TRANSLATE_NOOP("FrontendOptions", "Record the session into a file from the start, as File > Start recording "
                                          "does (default: none)."),
     nullptr, 0, 0, QT_TRANSLATE_NOOP("FrontendOptions", "--record wants a file in a folder that exists, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.recordFile = v.text; }},
    {"screenshot", Shape::Output, "file",
     QT_TRANSLATE_NOOP("FrontendOptions", "Save a picture of the window (or of the screen chosen with --show) to a "
                                          "PNG file and exit; exit status 1 when the screen cannot be reached "
                                          "(default: none, the window stays open)."),
     nullptr, 0, 0, QT_TRANSLATE_NOOP("FrontendOptions", "--screenshot wants a file in a folder that exists, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.screenshotFile = v.text; }},
    {"show", Shape::Screen, "screen",
     QT_TRANSLATE_NOOP("FrontendOptions", "Screen to open, or to picture with --screenshot: settings, devices, "
                                          "calibration, help, progress, countdown, result, error or display (the "
                                          "last four run a calibration; see --simulate and --delay; default: the "
                                          "main window)."),
     nullptr, 0, 0,
     QT_TRANSLATE_NOOP("FrontendOptions", "--show wants settings, devices, calibration, help, progress, countdown, "
                                          "result, error or display, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.screen = Screen(v.number); }},
    {"delay", Shape::Number, "ms",
     QT_TRANSLATE_NOOP("FrontendOptions", "Milliseconds to wait before the screenshot (default %1)."), delay, 0,
     600 * 1000, QT_TRANSLATE_NOOP("FrontendOptions", "--delay wants milliseconds"),
     [](FrontendOptions &o, const Value &v) { o.delayMs = v.number; }},
    {"export-csv", Shape::Output, "file",
     QT_TRANSLATE_NOOP("FrontendOptions", "Write the tools and references of the recording given after the options "
                                          "to a CSV file and exit, without a window (default: none)."),
     nullptr, 0, 0, QT_TRANSLATE_NOOP("FrontendOptions", "--export-csv wants a file in a folder that exists, not \"%1\""),
     [](FrontendOptions &o, const Value &v) { o.csvFile = v.text; }},
};

// The screens by the names --show takes, in the order of its help.
const std::pair<const char *, Screen> ScreenNames[] = {
    {"settings", Screen::Settings}, {"devices", Screen::Devices},   {"calibration", Screen::Calibration},
    {"help", Screen::Help},         {"progress", Screen::Progress}, {"countdown", Screen::Countdown},
    {"result", Screen::Result},     {"error", Screen::Error},       {"display", Screen::Display},
};

bool readScreen(const QString &name, int *screen)
{
    for (const auto &entry : ScreenNames) {
        if (name == QLatin1String(entry.first)) {
            *screen = int(entry.second);
            return true;
        }
    }
    return false;
}

// False when the text does not have the option's shape; a reason where
// there is more to say than what the option wants.
bool readValue(const Option &option, const QString &text, Value *value, QString *reason)
{
    switch (option.shape) {
    case Shape::Switch:
    case Shape::Text: value->text = text; return true;
    case Shape::Module:
        value->text = text;
        if (ModuleLoader::checkLibrary(text, reason))
            return true;
        *reason = QStringLiteral("--%1: %2").arg(QLatin1String(option.name), *reason);
        return false;
    case Shape::Output:
        value->text = text;
        return !text.isEmpty() && !QFileInfo(text).isDir() && QFileInfo(text).absoluteDir().exists();
    case Shape::Number: return OptionValue::number(text, option.least, option.most, &value->number);
    case Shape::HostPort: {
        quint16 port = 0;
        const bool ok = OptionValue::hostPort(text, option.least, &value->text, &port);
        value->number = port;
        return ok;
    }
    case Shape::Language: {
        bool known = false;
        UiLanguage::fromArgument(text, &known);
        value->text = text;
        return known && !text.trimmed().isEmpty();
    }
    case Shape::Version: return OptionValue::version(text, &value->text);
    case Shape::Setting: {
        const int equals = text.indexOf(QLatin1Char('='));
        value->text = text.left(equals) + QLatin1Char(' ') + text.mid(equals + 1);
        return equals > 0;
    }
    case Shape::Screen: return readScreen(text, &value->number);
    case Shape::Speed: return SimReplay::readSpeed(value->text = text, nullptr);
    }
    return false;
}

// What a value of the wrong shape is told: a version its option's name and
// the value, a number only what it wants, any other the value.
QString wrongValue(const Option &option, const QString &text)
{
    const QString wanted = FrontendOptions::tr(option.wanted);
    switch (option.shape) {
    case Shape::Number: return wanted;
    case Shape::Version: return wanted.arg(QLatin1String(option.name), text);
    default: return wanted.arg(text);
    }
}

// A repeatable option sets something for each of its values; any other,
// given more than once, for its last.
bool apply(const QCommandLineParser &parser, const Option &option, FrontendOptions *options)
{
    const QString name = QLatin1String(option.name);
    if (!parser.isSet(name))
        return true;
    const QStringList texts = option.shape == Shape::Setting ? parser.values(name) : QStringList{parser.value(name)};
    for (const QString &text : texts) {
        Value value;
        QString reason;
        if (!readValue(option, text, &value, &reason)) {
            options->errorText = reason.isEmpty() ? wrongValue(option, text) : reason;
            return false;
        }
        option.set(*options, value);
    }
    return true;
}

} // namespace

QString FrontendOptions::screenName(Screen screen)
{
    for (const auto &entry : ScreenNames) {
        if (entry.second == screen)
            return QLatin1String(entry.first);
    }
    return QStringLiteral("window");
}

QString FrontendOptions::usageError(const QString &error)
{
    const QString program = QCoreApplication::applicationName();
    return QStringLiteral("%1: %2\n%3\n").arg(program, error, tr("Usage: %1 [options]").arg(program));
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
    parser.setApplicationDescription(tr("Stand-in host of the measurement tool module: loads the plug-in and drives "
                                        "it against a controller, by default the simulated one in-process."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const Option &option : Options) {
        const QString text = option.helpDefault ? tr(option.help).arg(option.helpDefault()) : tr(option.help);
        parser.addOption(QCommandLineOption(QLatin1String(option.name), text, QLatin1String(option.valueName)));
    }
    streaming.addTo(&parser);
    parser.addPositionalArgument(QStringLiteral("recording"), tr("With --export-csv: the recording to read."),
                                 QStringLiteral("[recording]"));
    // The program's name, not the path it was started with, as in usageError().
    helpText = parser.helpText();
    helpText.replace(0, helpText.indexOf(QLatin1Char('\n')),
                     tr("Usage: %1 [options]").arg(QCoreApplication::applicationName()));

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
    for (const Option &option : Options) {
        if (!apply(parser, option, this))
            return false;
    }
    if (!streaming.read(parser, &errorText))
        return false;
    // Only --export-csv takes an argument: the recording it reads.
    const QStringList positional = parser.positionalArguments();
    if (positional.size() == 1 && !csvFile.isEmpty()) {
        exportedRecording = positional.constFirst();
    } else if (!positional.isEmpty() || !csvFile.isEmpty()) {
        errorText = positional.isEmpty() ? tr("--export-csv wants the recording to read after the options")
                                         : tr("Unexpected argument: %1").arg(positional.constLast());
        return false;
    }
    return true;
}
