// The stand-in host: loads the measurement tool module and drives it
// against a controller, by default a simulated one in-process.

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

#include "frontend/csvexport.h"
#include "frontend/frontendoptions.h"
#include "frontend/frontendsession.h"
#include "frontend/moduleloader.h"
#include "frontend/uilanguage.h"
#include "host/hostmetatypes.h"
#include "simulator/simrecording.h"
#include "simulator/simreplay.h"

namespace {

// Texts of the start-up sequence, in the front-end's translation context.
struct Startup
{
    Q_DECLARE_TR_FUNCTIONS(Startup)
};

// --replay: the recording, read and checked before anything starts; null
// without one, or with what to print before exiting in *error.
std::unique_ptr<SimReplay> openReplay(const FrontendOptions &options, QString *error)
{
    if (options.replayFile.isEmpty()) {
        if (options.replaySpeed > 0 || options.replayLoop)
            *error = FrontendOptions::usageError(Startup::tr("--speed and --loop go with --replay"));
        return nullptr;
    }
    if (!options.embedded()) {
        *error = FrontendOptions::usageError(Startup::tr("--replay plays in the embedded simulated controller; for "
                                                         "--controller start orvel-controller-sim --replay"));
        return nullptr;
    }
    auto recording = std::make_unique<SimRecording>();
    if (!recording->open(options.replayFile)) {
        *error = QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), recording->errorText());
        return nullptr;
    }
    const double speed = options.replaySpeed > 0 ? options.replaySpeed : 1.0;
    return std::make_unique<SimReplay>(std::move(recording), speed, options.replayLoop);
}

// --language is looked for before the arguments are parsed: the help and
// the complaints about the arguments come in that language.
UiLanguage chosenLanguage()
{
    return UiLanguage::fromArgument(FrontendOptions::languageArgument(QCoreApplication::arguments()));
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("orvel-frontend"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MT_FRONTEND_VERSION));
}

// --help and --version print their text without a display.
int printTextOnly(int argc, char *argv[], const QStringList &ownOptions)
{
    QCoreApplication app(argc, argv);
    setIdentity();
    chosenLanguage().install(&app);
    FrontendOptions options;
    if (options.parse(QCoreApplication::arguments() + ownOptions) || options.exitNow) {
        std::fprintf(stdout, "%s", qPrintable(options.outputText));
        return 0;
    }
    std::fprintf(stderr, "%s", qPrintable(FrontendOptions::usageError(options.errorText)));
    return FrontendOptions::UsageErrorStatus;
}

// --export-csv writes its file and ends, without a window and so without a display.
int exportOnly(int argc, char *argv[], const QStringList &ownOptions)
{
    QCoreApplication app(argc, argv);
    setIdentity();
    chosenLanguage().install(&app);
    FrontendOptions options;
    if (!options.parse(QCoreApplication::arguments() + ownOptions)) {
        std::fprintf(stderr, "%s", qPrintable(FrontendOptions::usageError(options.errorText)));
        return FrontendOptions::UsageErrorStatus;
    }
    return CsvExport::runAndReport(options.exportedRecording, options.csvFile);
}

bool asksForExport(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--export-csv") == 0 || QByteArray(argv[i]).startsWith("--export-csv="))
            return true;
    }
    return false;
}

// Qt would abort without a word an operator can act on.
bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList ownOptions = FrontendOptions::takeOwnOptions(&argc, argv);
    if (FrontendOptions::asksForTextOnly(argc, argv))
        return printTextOnly(argc, argv, ownOptions);
    if (asksForExport(argc, argv))
        return exportOnly(argc, argv, ownOptions);
    bool platformArgument = false;
    for (int i = 1; i < argc; ++i)
        platformArgument = platformArgument || qstrcmp(argv[i], "-platform") == 0;
    if (!hasDisplay() && !platformArgument) {
        QCoreApplication app(argc, argv);
        chosenLanguage().install(&app);
        std::fprintf(stderr, "orvel-frontend: %s\n",
                     qPrintable(Startup::tr("no display (DISPLAY is not set). Run it in a desktop session, under "
                                            "xvfb-run, or with QT_QPA_PLATFORM=offscreen and --screenshot FILE.")));
        return 2;
    }

    QApplication app(argc, argv);
    setIdentity();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icons/orvel_16x16.png")));

    registerHostMetaTypes();
    const UiLanguage language = chosenLanguage();
    const QString languageProblems = language.install(&app);

    FrontendOptions options;
    if (!options.parse(QApplication::arguments() + ownOptions)) {
        if (options.exitNow) {
            std::fprintf(stdout, "%s", qPrintable(options.outputText));
            return 0;
        }
        std::fprintf(stderr, "%s", qPrintable(FrontendOptions::usageError(options.errorText)));
        return FrontendOptions::UsageErrorStatus;
    }
    // A library that is no module is a wrong option, found before anything starts.
    ModuleLoader loader;
    if (!options.pluginPath.isEmpty() && !loader.load(options.pluginPath)) {
        std::fprintf(stderr, "%s",
                     qPrintable(FrontendOptions::usageError(QStringLiteral("--plugin: ") + loader.errorString())));
        return FrontendOptions::UsageErrorStatus;
    }
    QString replayError;
    std::unique_ptr<SimReplay> replay = openReplay(options, &replayError);
    if (!replayError.isEmpty()) {
        std::fprintf(stderr, "%s", qPrintable(replayError));
        return FrontendOptions::UsageErrorStatus;
    }

    FrontendSession session(options, &loader, language);
    session.start(std::move(replay), languageProblems);
    return session.finish(QApplication::exec());
}
