#ifndef COMMANDOBSERVER_H
#define COMMANDOBSERVER_H

#include <QByteArray>
#include <QtGlobal>

// Told of every command the command manager handles, on the thread that
// sent it, once its result is known. Keeps whatever watches the commands
// (a recording) out of the command manager.
class CommandObserver
{
public:
    CommandObserver() = default;
    CommandObserver(const CommandObserver &) = delete;
    CommandObserver &operator=(const CommandObserver &) = delete;
    virtual ~CommandObserver() = default;

    // result: the command manager's (0, its own negative failures, or the
    // controller's error number); a command not sent has an empty reply.
    virtual void commandExchanged(const QByteArray &command, const QByteArray &reply, int result, qint64 durationNs)
        = 0;
};

#endif // COMMANDOBSERVER_H
