#ifndef SIMMODEL_H
#define SIMMODEL_H

#include "simulator/simreplay.h"
#include "simulator/simresponse.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <memory>

class SimState;

// The simulated controller's state and its simulation settings. Every public
// function is thread-safe (one lock) and never blocks beyond it: an injected
// reply delay is reported in the response, not slept here.
class SimModel
{
public:
    static constexpr int MaxLineLength = 1024; // bytes of a command line, line end excluded

    SimModel();
    ~SimModel();
    SimModel(const SimModel &) = delete;
    SimModel &operator=(const SimModel &) = delete;

    // Answers one command line (no line end).
    SimResponse respond(const QByteArray &line);

    // The setting of "orvel2 simulate <setting> <value>": SimError::None or
    // an error number, with a short reason in *reason.
    int simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason = nullptr);
    // Names of every simulate setting, for help texts and command-line options.
    static QList<QByteArray> settingNames();

    // Typed shortcuts of frequent settings.
    void setProductName(const QByteArray &name);
    void setProductVersion(int major, int minor, int patch);
    void setBackendVersion(int major, int minor, int patch);
    void setDataRate(int hz);
    void setLocked(bool locked);
    // A manual clock stands still until advanced: calibrations and motion
    // become deterministic for tests.
    void setManualClock(bool manual);
    void advanceClock(qint64 ms);
    // Back to the power-on state and default settings.
    void reset();

    int dataRate() const;
    // "status active" is "meas": frames are due.
    bool isTracking() const;
    // The data output lines of the next frame: empty while tracking is off
    // or no output is switched on.
    QList<QByteArray> nextFrame();

    // Replays a recording in place of the simulated motion (see SimReplay)
    // and sets the controller up as the recording says; what it refuses of
    // that comes back as "<command>: <reply>". A reset keeps the replay,
    // sets up again and plays it from the beginning.
    QList<QByteArray> startReplay(std::unique_ptr<SimReplay> recorded);
    bool isReplaying() const;
    // The replay's data lines due now; *report tells what became of it.
    QList<QByteArray> nextReplayLines(SimReplay::Report *report);

private:
    QList<QByteArray> setUpReplay();

    mutable QMutex mutex;
    std::unique_ptr<SimState> state;
    std::unique_ptr<SimReplay> replay;
};

#endif // SIMMODEL_H
