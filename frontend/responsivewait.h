#ifndef RESPONSIVEWAIT_H
#define RESPONSIVEWAIT_H

#include <functional>

// Keeps the window painting while its thread waits for the controller. The
// thread's events run, except user input, which the window system keeps
// queued until the wait is over, and timer events, which are held back so
// that no timer slot runs in the middle of the call that waits (a Qt timer
// fires until it is stopped: a held tick comes again one interval later).
// Queued calls do run; a command they make waits its turn on the link.
class ResponsiveWait
{
public:
    // Runs events until done() is true or timeoutMs have passed; false on the time-out.
    static bool until(const std::function<bool()> &done, int timeoutMs);
};

#endif // RESPONSIVEWAIT_H
