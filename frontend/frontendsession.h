#ifndef FRONTENDSESSION_H
#define FRONTENDSESSION_H

#include <memory>

#include <QString>

#include "frontend/commandmanager.h"
#include "frontend/frontendoptions.h"
#include "frontend/mainwindow.h"
#include "frontend/quitonsignal.h"
#include "frontend/sessionrecorder.h"
#include "frontend/streaming/streamingservice.h"
#include "frontend/uilanguage.h"
#include "host/backendversions.h"

class ModuleLoader;
class ScreenshotTaker;
class SimController;
class SimReplay;

// One run of the window against a controller: the command manager and what
// hangs on it (recorder, streaming, window), declared so that each goes
// before what it uses. The window comes at once, "connecting"; the module
// once the controller answers, for its versions; the screen asked for once
// the first try ended.
class FrontendSession
{
public:
    FrontendSession(const FrontendOptions &options, ModuleLoader *loader, UiLanguage language);
    ~FrontendSession();
    FrontendSession(const FrontendSession &) = delete;
    FrontendSession &operator=(const FrontendSession &) = delete;

    // Shows the window and starts connecting; replay may be null.
    void start(std::unique_ptr<SimReplay> replay, const QString &languageProblems);
    // The program's exit status, given the event loop's.
    int finish(int code);

private:
    void firstConnected();
    void firstAttemptEnded();
    void startReplay(std::unique_ptr<SimReplay> replay);
    QString applySimulationSettings();
    void readVersions();
    void loadModules();
    void openScreen();

    const FrontendOptions &options;
    ModuleLoader *loader;
    UiLanguage language;
    QString transportNote;
    SimController *simulated = nullptr;
    CommandManager commandManager;
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    SessionRecorder recorder;
    MainWindow window;
    StreamingService streaming;
    std::unique_ptr<ScreenshotTaker> screenshot;
    QuitOnSignal quitOnSignal;
    QString refusedSetting; // ends the program as a wrong option does
};

#endif // FRONTENDSESSION_H
