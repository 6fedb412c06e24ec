#ifndef SIMRESPONSE_H
#define SIMRESPONSE_H

#include <QByteArray>

// What the simulated controller does with one command line: the reply and
// how it is delivered. A dropped response has no reply at all; the server
// closes the connection, an in-process caller gets an empty line.
struct SimResponse
{
    QByteArray reply;     // one line, no line end; empty when dropped
    int delayMs = 0;      // injected reply delay
    bool dropped = false; // injected lost connection
};

#endif // SIMRESPONSE_H
