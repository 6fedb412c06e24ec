#ifndef SIMERROR_H
#define SIMERROR_H

// Error numbers of the simulated controller's "orvel2 err <n> <message>".
namespace SimError {
enum Code {
    None = 0,
    UnknownParameter = 1,   // no such parameter, command or setting (also: too new for the backend)
    BadValue = 2,           // value missing, unreadable or out of range
    NotAllowed = 3,         // not now: configuration locked, calibration running, ...
    Malformed = 4,          // not an "orvel2 ..." line, control characters, stray value
    LineTooLong = 5,        // more than SimModel::MaxLineLength bytes
    InjectedFault = 6,      // fault injection ("orvel2 simulate fail_rate" / "fail_param")
    NoSuchItem = 7,         // body, device or step number outside the current counts
    ReadOnly = 8,           // the parameter cannot be set
    TooManyConnections = 9, // the server's client limit is reached
};

inline const char *message(int code)
{
    switch (code) {
    case UnknownParameter: return "unknown parameter";
    case BadValue: return "bad value";
    case NotAllowed: return "not allowed now";
    case Malformed: return "malformed command";
    case LineTooLong: return "line too long";
    case InjectedFault: return "injected fault";
    case NoSuchItem: return "no such item";
    case ReadOnly: return "read-only parameter";
    case TooManyConnections: return "too many connections";
    default: return "error";
    }
}
} // namespace SimError

#endif // SIMERROR_H
