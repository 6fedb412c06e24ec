#include "simulator/simclock.h"

SimClock::SimClock()
    : manual(false)
    , offsetMs(0)
{
    elapsed.start();
}

qint64 SimClock::nowMs() const
{
    return manual ? offsetMs : elapsed.elapsed() + offsetMs;
}

void SimClock::setManual(bool on)
{
    if (on == manual)
        return;
    const qint64 now = nowMs();
    manual = on;
    offsetMs = manual ? now : now - elapsed.elapsed();
}

void SimClock::advance(qint64 ms)
{
    if (ms > 0)
        offsetMs += ms;
}
