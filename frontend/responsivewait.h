#ifndef RESPONSIVEWAIT_H
#define RESPONSIVEWAIT_H

#include <functional>

// Keeps the window painting while its thread waits for the controller. Between
// short waits for the result, the thread's pending events run, except user
// input, which the window system keeps queued until the wait is over, and
// timers, whose due ticks come once the wait is over: no timer slot runs in
// the middle of the call that waits. Queued calls do run; a command they make
// waits its turn on the link. A dialog such a call opens runs as usual, timers
// and all, inside the wait.
class ResponsiveWait
{
public:
    // How long the window may go without its events while a result is awaited.
    static constexpr int SliceMs = 10;

    // waitFor(ms) blocks up to ms for the result and tells whether it is there.
    // Returns true once it is, false when timeoutMs have passed without it.
    static bool until(const std::function<bool(int)> &waitFor, int timeoutMs);
};

#endif // RESPONSIVEWAIT_H
