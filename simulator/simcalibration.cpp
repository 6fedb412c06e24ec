#include "simulator/simcalibration.h"

#include <QtGlobal>

void SimCalibration::start(qint64 nowMs, const Config &newConfig)
{
    config = newConfig;
    config.steps = qBound(1, config.steps, 2);
    // A one-step run has no pause: its announced pause is the operator's
    // countdown before the start.
    const bool firstPause = config.steps == 2 && config.firstPauseSeconds > 0;
    currentPhase = firstPause ? Pause : Running;
    pauseBefore = 1;
    currentStep = 1;
    phaseStartMs = nowMs;
    overallProgress = 0.0;
    currentStepProgress = 0.0;
}

void SimCalibration::stop()
{
    currentPhase = Idle;
}

bool SimCalibration::startSecondStep(qint64 nowMs)
{
    if (currentPhase != Pause || pauseBefore != 2)
        return false;
    currentPhase = Running;
    currentStep = 2;
    phaseStartMs = nowMs;
    currentStepProgress = 0.0;
    return true;
}

qint64 SimCalibration::stepMs() const
{
    return qMax<qint64>(1, qRound64(config.stepSeconds * 1000.0));
}

void SimCalibration::update(qint64 nowMs)
{
    // Each pass ends one phase whose time is over; a big clock step runs
    // through several.
    for (int guard = 0; guard < 8; ++guard) {
        const qint64 elapsed = qMax<qint64>(0, nowMs - phaseStartMs);
        switch (currentPhase) {
        case Running: {
            const qint64 duration = stepMs();
            if (elapsed < duration) {
                currentStepProgress = double(elapsed) / double(duration);
                overallProgress = (double(currentStep - 1) + currentStepProgress) / double(config.steps);
                return;
            }
            currentStepProgress = 1.0;
            overallProgress = double(currentStep) / double(config.steps);
            const qint64 end = phaseStartMs + duration;
            if (currentStep < config.steps && config.pauseSeconds > 0) {
                currentPhase = Pause;
                pauseBefore = 2;
                phaseStartMs = end;
            } else if (currentStep < config.steps) {
                currentStep = 2;
                currentStepProgress = 0.0;
                phaseStartMs = end;
            } else {
                currentPhase = Calculating;
                phaseStartMs = end;
            }
            break;
        }
        case Pause: {
            const qint64 pauseMs = qint64(pauseBefore == 1 ? config.firstPauseSeconds : config.pauseSeconds) * 1000;
            if (elapsed < pauseMs)
                return;
            currentPhase = Running;
            currentStep = pauseBefore;
            phaseStartMs += pauseMs;
            currentStepProgress = 0.0;
            break;
        }
        case Calculating:
            if (elapsed < qRound64(config.calcSeconds * 1000.0))
                return;
            currentPhase = config.failText.isEmpty() ? Finished : Failed;
            return;
        case Idle:
        case Finished:
        case Failed: return;
        }
    }
}
