#ifndef FRONTENDOPTIONS_H
#define FRONTENDOPTIONS_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "frontend/streaming/streamingoptions.h"

// The front-end's command line.
class FrontendOptions
{
    Q_DECLARE_TR_FUNCTIONS(FrontendOptions)

public:
    // Devices is the settings dialog on its radio device page; Help to Error
    // are reached from the tip calibration dialog.
    enum class Screen { Window, Settings, Calibration, Display, Devices, Help, Progress, Countdown, Result, Error };

    static constexpr quint16 DefaultDataPort = 5001;
    static constexpr int DefaultDelayMs = 500;

    // Qt's application object would take "--plugin" for a plug-in of its
    // own: this takes our option out of argv before the application is
    // made, to be handed to parse() after the application's arguments.
    static QStringList takeOwnOptions(int *argc, char **argv);

    // Whether the command line asks only for text (--help, --version), which
    // needs no display and so no QApplication.
    static bool asksForTextOnly(int argc, char **argv);

    // The value of --language, looked for before the arguments are parsed:
    // the help and the messages about the arguments come in that language.
    static QString languageArgument(const QStringList &arguments);

    // Reads the arguments (the program name first). On a mistake it returns
    // false with a message; for --help and --version it returns false with
    // exitNow set and the text to print in outputText.
    bool parse(const QStringList &arguments);

    // What a usage error prints on stderr before the program exits with
    // UsageErrorStatus: "<program>: <error>" and the usage line.
    static QString usageError(const QString &error);
    static constexpr int UsageErrorStatus = 2;

    // The name --show takes for a screen ("countdown").
    static QString screenName(Screen screen);

    QString errorText;
    QString helpText;   // begins with the usage line
    QString outputText; // for --help and --version
    bool exitNow = false;

    QString pluginPath; // empty: every module in the modules folder
    bool observerMode = false;
    QString controllerHost; // empty: the embedded simulated controller
    quint16 controllerPort = 0;
    quint16 dataPort = DefaultDataPort;
    int timeoutMs = 0; // 0: the command manager's default
    int silenceMs = 0; // 0: the command manager's default
    int noDataMs = 0;  // 0: the data watch's default
    QString language;  // "de", "en"; empty: the system's
    bool startMeasurement = false;

    // Settings for the simulated controller, as "orvel2 simulate <setting> <value>" texts.
    QStringList simulateSettings;

    QString replayFile;       // empty: the simulated motion
    double replaySpeed = 0.0; // 0: not given, 1
    bool replayLoop = false;

    QString recordFile; // empty: no recording from the start
    QString csvFile;    // --export-csv: write the CSV of exportedRecording and exit
    QString exportedRecording;

    QString screenshotFile;
    Screen screen = Screen::Window;
    int delayMs = DefaultDelayMs;

    StreamingOptions streaming; // the OpenIGTLink server

    bool embedded() const { return controllerHost.isEmpty(); }
};

#endif // FRONTENDOPTIONS_H
