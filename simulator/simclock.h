#ifndef SIMCLOCK_H
#define SIMCLOCK_H

#include <QElapsedTimer>

// The controller's time in milliseconds. Real by default; a manual clock
// stands still until advanced, so tests step calibrations and motion
// without waiting.
class SimClock
{
public:
    SimClock();

    qint64 nowMs() const;
    bool isManual() const { return manual; }
    // Freezes the clock at its current time, or lets it run on from there.
    void setManual(bool on);
    // Moves the clock forward (in either mode).
    void advance(qint64 ms);

private:
    QElapsedTimer elapsed;
    bool manual;
    qint64 offsetMs; // real mode: added to the elapsed time; manual mode: the time itself
};

#endif // SIMCLOCK_H
