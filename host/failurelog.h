#ifndef FAILURELOG_H
#define FAILURELOG_H

#include <QString>

class IOManager;

// Reports a failed controller exchange to the host's message log. Callers
// translate the text (tr() in their own context) and fill its "%1" here.
class FailureLog
{
public:
    static constexpr const char *Category = "standard";
    static constexpr const char *Source = "ORVEL3";
    static constexpr int Level = 1;

    static void report(IOManager *commandManager, const QString &text);
    static void report(IOManager *commandManager, const QString &text, int value);
    static void report(IOManager *commandManager, const QString &text, const QString &value);
    // Controller texts are Latin-1.
    static void report(IOManager *commandManager, const QString &text, const char *value);
    // Anything else would convert silently (a double to int, a bool to 1): say how to show it.
    template <typename T>
    static void report(IOManager *, const QString &, T) = delete;
};

#endif // FAILURELOG_H
