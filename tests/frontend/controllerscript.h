#ifndef CONTROLLERSCRIPT_H
#define CONTROLLERSCRIPT_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>

// What a scripted controller does with each command line. Thread-safe, so a
// server thread and the test can share it.
class ControllerScript
{
public:
    // A reply line after a delay; no reply; a close; bytes as they are, then a close.
    enum Kind { Reply, Silent, Close, CloseAfter };
    struct Action { Kind kind; QByteArray bytes; int delayMs; };

    void set(const QByteArray &line, Kind kind, const QByteArray &bytes = {}, int delayMs = 0);
    void reply(const QByteArray &line, const QByteArray &reply, int delayMs = 0) { set(line, Reply, reply, delayMs); }
    // Records the line; an unknown line gets "orvel2 err 1 unknown command".
    Action take(const QByteArray &line);
    QList<QByteArray> received() const;
    // Forgets the received lines, or with all also the actions.
    void clear(bool all = false);

private:
    mutable QMutex mutex;
    QHash<QByteArray, Action> actions;
    QList<QByteArray> lines;
};

#endif // CONTROLLERSCRIPT_H
