#ifndef REQUESTER_H
#define REQUESTER_H

// The host's callback interface for data output and measurement start/stop.
// Shared with the host binary: the order of the virtual functions is its ABI.
class Requester
{
public:
    // outputType is the line's type word; the line is NUL-terminated.
    virtual int handleDataLine(const char *outputType, const char *line)
    {
        (void)outputType;
        (void)line;
        return 0;
    }
    virtual int measurementStarted() { return 0; }
    virtual int measurementStopped() { return 0; }

protected:
    Requester() = default;
    Requester(const Requester &) = default;
    Requester &operator=(const Requester &) = default;
    // Never deleted through this interface: the host only calls back.
    ~Requester() = default;
};

#endif // REQUESTER_H
