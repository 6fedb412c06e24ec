#ifndef SIMCOMMAND_H
#define SIMCOMMAND_H

#include <QByteArray>
#include <QList>

// One command line split into its kind and words. Words are separated by
// runs of blanks; control characters and over-long lines are refused.
class SimCommand
{
public:
    enum Kind {
        Invalid,  // see error
        Get,      // "orvel2 get <words>"
        Set,      // "orvel2 set <words>" (name words followed by the value)
        Simulate, // "orvel2 simulate <setting> [<value>]"
        Action,   // any other "orvel2 <words>"
    };

    static constexpr int MaxWords = 24;

    static SimCommand parse(const QByteArray &line);

    Kind kind = Invalid;
    int error = 0;           // SimError code when Invalid
    QList<QByteArray> words; // after "orvel2 get|set|simulate", or after "orvel2"
};

#endif // SIMCOMMAND_H
