#include "frontend/frontendsession.h"

#include <cstdio>

#include <QCoreApplication>
#include <QTimer>

#include "frontend/embeddedtransport.h"
#include "frontend/moduleloader.h"
#include "frontend/recordingcontrols.h"
#include "frontend/screennavigator.h"
#include "frontend/screenshottaker.h"
#include "frontend/streaming/streamingmenu.h"
#include "frontend/tcptransport.h"
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

std::unique_ptr<ControllerTransport> makeTransport(const FrontendOptions &options, QString *note,
                                                   SimController **simulated)
{
    if (options.embedded()) {
        *note = Startup::tr("Using the embedded simulated controller");
        auto embedded = std::make_unique<EmbeddedTransport>();
        *simulated = embedded->controller();
        return embedded;
    }
    auto tcp = std::make_unique<TcpTransport>(options.controllerHost, options.controllerPort);
    QString error;
    if (tcp->listenForData(options.dataPort, &error))
        *note = Startup::tr("Receiving data output on UDP port %1").arg(tcp->dataPort());
    else
        *note = Startup::tr("Cannot receive data output on UDP port %1: %2").arg(options.dataPort).arg(error);
    return tcp;
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

} // namespace

FrontendSession::FrontendSession(const FrontendOptions &options, ModuleLoader *loader, UiLanguage language)
    : options(options)
    , loader(loader)
    , language(language)
    , commandManager(makeTransport(options, &transportNote, &simulated))
    , recorder(&commandManager, &versions)
    , window(&commandManager, &versions)
    , streaming(&commandManager, options.streaming)
{
    if (options.timeoutMs > 0)
        commandManager.setTimeout(options.timeoutMs);
    if (options.silenceMs > 0)
        commandManager.setSilencePeriod(options.silenceMs);
    if (options.noDataMs > 0)
        commandManager.setNoDataPeriod(options.noDataMs);
    commandManager.setBackendVersions(&versions);
    new RecordingControls(&window, &recorder); // the window's
    new StreamingMenu(&window, &streaming);    // the window's
    QObject::connect(&quitOnSignal, &QuitOnSignal::received, &window, [this](int number) {
        commandManager.log(Startup::tr("Ending on signal %1, as when the window closes").arg(number));
    });
}

FrontendSession::~FrontendSession() = default;

void FrontendSession::start(std::unique_ptr<SimReplay> replay, const QString &languageProblems)
{
    if (!languageProblems.isEmpty())
        commandManager.log(languageProblems);
    commandManager.log(transportNote);
    if (replay)
        startReplay(std::move(replay));
    window.show();

    QObject::connect(&commandManager, &CommandManager::firstConnected, &window, [this]() { firstConnected(); });
    QObject::connect(&commandManager, &CommandManager::firstAttemptEnded, &window, [this]() { firstAttemptEnded(); });
    if (options.startMeasurement)
        commandManager.startWhenConnected();
    commandManager.connectInBackground();
    // Connecting by now: the recording begins once the versions for its header are read.
    if (!options.recordFile.isEmpty())
        recorder.start(options.recordFile);
}

int FrontendSession::finish(int code)
{
    if (screenshot)
        code = screenshot->exitCode();
    if (!refusedSetting.isEmpty()) {
        std::fprintf(stderr, "%s", qPrintable(FrontendOptions::usageError(refusedSetting)));
        code = FrontendOptions::UsageErrorStatus;
    }
    window.releaseModules();
    return code;
}

void FrontendSession::firstConnected()
{
    refusedSetting = applySimulationSettings();
    if (!refusedSetting.isEmpty()) {
        // Queued: this may come before the event loop runs.
        QTimer::singleShot(0, &window, []() { QCoreApplication::exit(FrontendOptions::UsageErrorStatus); });
        return;
    }
    readVersions();
    recorder.versionsKnown();
    loadModules();
    commandManager.readMeasurementState();
    window.refreshStatus();
}

void FrontendSession::firstAttemptEnded()
{
    if (options.screenshotFile.isEmpty()) {
        openScreen();
        return;
    }
    screenshot = std::make_unique<ScreenshotTaker>(&window, options.screen, options.screenshotFile, options.delayMs);
    screenshot->start();
}

// The embedded controller replays in place of its motion, set up as the
// recording says; the message log tells what it plays and how that ends.
void FrontendSession::startReplay(std::unique_ptr<SimReplay> replay)
{
    const SimRecording &recording = replay->recording();
    commandManager.log((recording.isRaw() ? Startup::tr("Replaying the raw capture %1: %2 data lines, a frame at "
                                                        "a time at --rate, at speed %L3")
                                          : Startup::tr("Replaying %1: %2 data lines, at speed %L3"))
                           .arg(recording.fileName())
                           .arg(recording.dataLines())
                           .arg(replay->speed()));
    if (recording.skippedLine() > 0)
        commandManager.log(Startup::tr("%1:%2: the last line is cut off; it is skipped")
                               .arg(recording.fileName())
                               .arg(recording.skippedLine()));
    if (replay->loops())
        commandManager.log(Startup::tr("The replay starts over at its end (--loop)"));
    const QList<QByteArray> refused = simulated->model().startReplay(std::move(replay));
    for (const QByteArray &note : refused)
        commandManager.log(
            Startup::tr("The simulated controller refuses the recording's %1").arg(QString::fromLatin1(note)));
    CommandManager *manager = &commandManager;
    QObject::connect(simulated, &SimController::replayEvent, manager,
                     [manager](int event, qint64 lines, const QString &error) {
        manager->log(replayEventText(event, lines, error));
    });
}

// The first setting the controller refuses, which ends the program as a
// wrong option does; empty when it takes them all. One that cannot be sent
// is logged.
QString FrontendSession::applySimulationSettings()
{
    for (const QString &setting : options.simulateSettings) {
        char reply[IOManager::ReplySize];
        const QByteArray text = setting.toLatin1();
        const int result = commandManager.sendCommand(reply, "orvel2 simulate %s", text.constData());
        if (result > 0)
            return Startup::tr("the controller refuses the simulation setting \"%1\": %2")
                .arg(setting, QString::fromLatin1(reply));
        if (result != 0)
            commandManager.log(Startup::tr("Simulation setting \"%1\" refused: %2 %3")
                                   .arg(setting, CommandManager::errorText(result), QString::fromLatin1(reply)));
    }
    return QString();
}

void FrontendSession::readVersions()
{
    const int result = commandManager.readBackendVersions(&versions);
    if (result != 0) {
        commandManager.log(
            Startup::tr("Cannot read the controller's versions: %1").arg(CommandManager::errorText(result)));
        return;
    }
    commandManager.log(Startup::tr("Controller: %1, product version %2.%3.%4, backend version %5.%6.%7")
                           .arg(versions.productName)
                           .arg(versions.productVersion[0])
                           .arg(versions.productVersion[1])
                           .arg(versions.productVersion[2])
                           .arg(versions.backendVersion[0])
                           .arg(versions.backendVersion[1])
                           .arg(versions.backendVersion[2]));
}

// The library of --plugin is loaded at start; otherwise every module of the modules folder.
void FrontendSession::loadModules()
{
    if (options.pluginPath.isEmpty())
        loader->loadFolder(ModuleLoader::defaultModulesFolder());
    const QStringList notes = loader->notes();
    for (const QString &note : notes)
        commandManager.log(note);
    const QList<ModuleLoader::Module> modules = loader->modules();
    // The module names its menus and dialogs when it is installed.
    if (!modules.isEmpty()) {
        const QString problem = language.installModuleTranslation(QCoreApplication::instance());
        if (!problem.isEmpty())
            commandManager.log(problem);
    }
    for (const ModuleLoader::Module &module : modules) {
        window.installModule(module.root, module.interface, options.observerMode);
        commandManager.log(Startup::tr("Loaded %1 from %2").arg(window.moduleNames().constLast(), module.fileName));
    }
    if (modules.isEmpty() && options.pluginPath.isEmpty())
        window.setModuleError(Startup::tr("no module in %1").arg(ModuleLoader::defaultModulesFolder()));
}

// Without a screenshot, --show opens the screen and leaves it to the operator.
void FrontendSession::openScreen()
{
    if (options.screen == FrontendOptions::Screen::Window)
        return;
    // Kept with the window: it is on the stack of the dialogs it opened.
    auto *navigator = new ScreenNavigator(&window, options.screen, &window);
    const QString name = FrontendOptions::screenName(options.screen);
    CommandManager *manager = &commandManager;
    QObject::connect(navigator, &ScreenNavigator::reached, &window,
                     [=]() { manager->log(Startup::tr("Showing %1, as --show asks").arg(name)); });
    QObject::connect(navigator, &ScreenNavigator::failed, &window,
                     [=](const QString &reason) { manager->log(Startup::tr("Cannot show %1: %2").arg(name, reason)); });
    navigator->start();
}
