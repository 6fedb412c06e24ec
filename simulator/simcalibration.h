#ifndef SIMCALIBRATION_H
#define SIMCALIBRATION_H

#include <QByteArray>
#include <QtGlobal>

// One run of a controller calibration on the controller's clock: its steps,
// in a two-step run optional pauses before step 1 (ended by its time) and
// before step 2 (ended by its time or by "start_step s02"),
// a short calculation at the end, and success or the configured failure.
class SimCalibration
{
public:
    enum Phase { Idle, Running, Pause, Calculating, Finished, Failed };

    struct Config
    {
        int steps = 1;             // 1 or 2
        double stepSeconds = 4.0;  // duration of each step
        int firstPauseSeconds = 0; // pause before step 1 of a two-step run (0: none)
        int pauseSeconds = 0;      // pause before step 2 (0: none)
        double calcSeconds = 0.5;  // calculating after the last step
        QByteArray failText;       // non-empty: the run ends in this error
    };

    void start(qint64 nowMs, const Config &config);
    void stop();
    // "start_step s02" during the pause; false when not pausing.
    bool startSecondStep(qint64 nowMs);
    // Moves the run to its state at nowMs (time never runs backwards here).
    void update(qint64 nowMs);

    Phase phase() const { return currentPhase; }
    bool isActive() const { return currentPhase == Running || currentPhase == Pause || currentPhase == Calculating; }
    int step() const { return currentStep; }
    // During a pause, the step that follows it.
    int stepAfterPause() const { return pauseBefore; }
    double progress() const { return overallProgress; }
    double stepProgress() const { return currentStepProgress; }
    const QByteArray &failText() const { return config.failText; }

private:
    qint64 stepMs() const;

    Config config;
    Phase currentPhase = Idle;
    int currentStep = 1;
    int pauseBefore = 1;
    qint64 phaseStartMs = 0; // when the current step, pause or calculation began
    double overallProgress = 0.0;
    double currentStepProgress = 0.0;
};

#endif // SIMCALIBRATION_H
