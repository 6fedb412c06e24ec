// The stand-in host: loads the measurement tool module and drives it
// against a controller, by default a simulated one in-process.

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QTimer>

#include "frontend/commandmanager.h"
#include "frontend/csvexport.h"
#include "frontend/embeddedtransport.h"
#include "frontend/frontendoptions.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/recordingcontrols.h"
#include "frontend/screennavigator.h"
#include "frontend/screenshottaker.h"
#include "frontend/sessionrecorder.h"
#include "frontend/tcptransport.h"
#include "frontend/uilanguage.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "simulator/simcontroller.h"
#include "simulator/simmodel.h"
#include "simulator/simrecording.h"
#include "simulator/simreplay.h"

namespace {

// Texts of the start-up sequence, in the front-end's translation context.
struct Startup
{
    Q_DECLARE_TR_FUNCTIONS(Startup)
};

std::unique_ptr<ControllerTransport> makeTransport(const FrontendOptions &options, QString *note)
{
    if (options.embedded()) {
        *note = Startup::tr("Using the embedded simulated controller");
        return std::make_unique<EmbeddedTransport>();
    }
    auto tcp = std::make_unique<TcpTransport>(options.controllerHost, options.controllerPort);
    QString error;
    if (tcp->listenForData(options.dataPort, &error))
        *note = Startup::tr("Receiving data output on UDP port %1").arg(tcp->dataPort());
    else
        *note = Startup::tr("Cannot receive data output on UDP port %1: %2").arg(options.dataPort).arg(error);
    return tcp;
}

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

QString replayEventText(int event, qint64 lines, const QString &error)
{
    switch (event) {
    case SimReplay::Ended:
        return Startup::tr("Replay: the recording ended after %1 data lines; the data stops").arg(lines);
    case SimReplay::StartedOver: return Startup::tr("Replay: the recording ended; it starts over, and so at every end");
    case SimReplay::Rewound: return Startup::tr("Replay: a new measurement plays the recording from its beginning");
    case SimReplay::Failed: return Startup::tr("Replay stopped: %1").arg(error);
    default: return QString();
    }
}

// The embedded controller replays in place of its motion, set up as the
// recording says; the message log tells what it plays and how that ends.
void startReplay(std::unique_ptr<SimReplay> replay, SimController *controller, CommandManager *commandManager)
{
    const SimRecording &recording = replay->recording();
    commandManager->log((recording.isRaw() ? Startup::tr("Replaying the raw capture %1: %2 data lines, a frame at "
                                                         "a time at --rate, at speed %L3")
                                           : Startup::tr("Replaying %1: %2 data lines, at speed %L3"))
                            .arg(recording.fileName())
                            .arg(recording.dataLines())
                            .arg(replay->speed()));
    if (recording.skippedLine() > 0)
        commandManager->log(Startup::tr("%1:%2: the last line is cut off; it is skipped")
                                .arg(recording.fileName())
                                .arg(recording.skippedLine()));
    if (replay->loops())
        commandManager->log(Startup::tr("The replay starts over at its end (--loop)"));
    const QList<QByteArray> refused = controller->model().startReplay(std::move(replay));
    for (const QByteArray &note : refused)
        commandManager->log(
            Startup::tr("The simulated controller refuses the recording's %1").arg(QString::fromLatin1(note)));
    QObject::connect(controller, &SimController::replayEvent, commandManager,
                     [commandManager](int event, qint64 lines, const QString &error) {
        commandManager->log(replayEventText(event, lines, error));
    });
}

// The first setting the controller refuses, which ends the program as a
// wrong option does; empty when it takes them all. One that cannot be sent
// is logged.
QString applySimulationSettings(CommandManager *commandManager, const QStringList &settings)
{
    for (const QString &setting : settings) {
        char reply[IOManager::ReplySize];
        const QByteArray text = setting.toLatin1();
        const int result = commandManager->sendCommand(reply, "orvel2 simulate %s", text.constData());
        if (result > 0)
            return Startup::tr("the controller refuses the simulation setting \"%1\": %2")
                .arg(setting, QString::fromLatin1(reply));
        if (result != 0)
            commandManager->log(Startup::tr("Simulation setting \"%1\" refused: %2 %3")
                                    .arg(setting, CommandManager::errorText(result), QString::fromLatin1(reply)));
    }
    return QString();
}

void readVersions(CommandManager *commandManager, BackendVersions *versions)
{
    const int result = commandManager->readBackendVersions(versions);
    if (result != 0) {
        commandManager->log(
            Startup::tr("Cannot read the controller's versions: %1").arg(CommandManager::errorText(result)));
        return;
    }
    commandManager->log(Startup::tr("Controller: %1, product version %2.%3.%4, backend version %5.%6.%7")
                            .arg(versions->productName)
                            .arg(versions->productVersion[0])
                            .arg(versions->productVersion[1])
                            .arg(versions->productVersion[2])
                            .arg(versions->backendVersion[0])
                            .arg(versions->backendVersion[1])
                            .arg(versions->backendVersion[2]));
}

// The library of --plugin is loaded at start; otherwise every module of the modules folder.
void loadModules(ModuleLoader *loader, MainWindow *window, CommandManager *commandManager,
                 const FrontendOptions &options, UiLanguage language)
{
    if (options.pluginPath.isEmpty())
        loader->loadFolder(ModuleLoader::defaultModulesFolder());
    const QStringList notes = loader->notes();
    for (const QString &note : notes)
        commandManager->log(note);
    const QList<ModuleLoader::Module> modules = loader->modules();
    // The module names its menus and dialogs when it is installed.
    if (!modules.isEmpty()) {
        const QString problem = language.installModuleTranslation(QCoreApplication::instance());
        if (!problem.isEmpty())
            commandManager->log(problem);
    }
    for (const ModuleLoader::Module &module : modules) {
        window->installModule(module.root, module.interface, options.observerMode);
        commandManager->log(Startup::tr("Loaded %1 from %2").arg(window->moduleNames().constLast(), module.fileName));
    }
    if (modules.isEmpty() && options.pluginPath.isEmpty())
        window->setModuleError(Startup::tr("no module in %1").arg(ModuleLoader::defaultModulesFolder()));
}

// Without a screenshot, --show opens the screen and leaves it to the operator.
void openScreen(MainWindow *window, FrontendOptions::Screen screen, CommandManager *commandManager)
{
    if (screen == FrontendOptions::Screen::Window)
        return;
    // Kept with the window: it is on the stack of the dialogs it opened.
    auto *navigator = new ScreenNavigator(window, screen, window);
    const QString name = FrontendOptions::screenName(screen);
    QObject::connect(navigator, &ScreenNavigator::reached, window,
                     [=]() { commandManager->log(Startup::tr("Showing %1, as --show asks").arg(name)); });
    QObject::connect(navigator, &ScreenNavigator::failed, window, [=](const QString &reason) {
        commandManager->log(Startup::tr("Cannot show %1: %2").arg(name, reason));
    });
    navigator->start();
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

    // Declared in this order so that each goes before what it uses.
    QString transportNote;
    std::unique_ptr<ControllerTransport> transport = makeTransport(options, &transportNote);
    SimController *simulated
        = options.embedded() ? static_cast<EmbeddedTransport *>(transport.get())->controller() : nullptr;
    CommandManager commandManager(std::move(transport));
    if (options.timeoutMs > 0)
        commandManager.setTimeout(options.timeoutMs);
    if (options.silenceMs > 0)
        commandManager.setSilencePeriod(options.silenceMs);
    if (options.noDataMs > 0)
        commandManager.setNoDataPeriod(options.noDataMs);
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    commandManager.setBackendVersions(&versions);
    SessionRecorder recorder(&commandManager, &versions);
    MainWindow window(&commandManager, &versions);
    new RecordingControls(&window, &recorder); // the window's

    if (!languageProblems.isEmpty())
        commandManager.log(languageProblems);
    commandManager.log(transportNote);
    if (replay)
        startReplay(std::move(replay), simulated, &commandManager);
    window.show();

    // The window comes at once, "connecting"; the module once the controller
    // answers, for its versions; the screen asked for once the first try ended.
    QString refusedSetting; // ends the program as a wrong option does
    QObject::connect(&commandManager, &CommandManager::firstConnected, &window, [&]() {
        refusedSetting = applySimulationSettings(&commandManager, options.simulateSettings);
        if (!refusedSetting.isEmpty()) {
            // Queued: this may come before the event loop runs.
            QTimer::singleShot(0, &window, []() { QCoreApplication::exit(FrontendOptions::UsageErrorStatus); });
            return;
        }
        readVersions(&commandManager, &versions);
        recorder.versionsKnown();
        loadModules(&loader, &window, &commandManager, options, language);
        commandManager.readMeasurementState();
        window.refreshStatus();
    });
    std::unique_ptr<ScreenshotTaker> screenshot;
    QObject::connect(&commandManager, &CommandManager::firstAttemptEnded, &window, [&]() {
        if (options.screenshotFile.isEmpty()) {
            openScreen(&window, options.screen, &commandManager);
            return;
        }
        screenshot
            = std::make_unique<ScreenshotTaker>(&window, options.screen, options.screenshotFile, options.delayMs);
        screenshot->start();
    });
    if (options.startMeasurement)
        commandManager.startWhenConnected();
    commandManager.connectInBackground();
    // Connecting by now: the recording begins once the versions for its header are read.
    if (!options.recordFile.isEmpty())
        recorder.start(options.recordFile);

    int code = QApplication::exec();
    if (screenshot)
        code = screenshot->exitCode();
    if (!refusedSetting.isEmpty()) {
        std::fprintf(stderr, "%s", qPrintable(FrontendOptions::usageError(refusedSetting)));
        code = FrontendOptions::UsageErrorStatus;
    }
    window.releaseModules();
    return code;
}
