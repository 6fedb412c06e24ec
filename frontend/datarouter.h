#ifndef DATAROUTER_H
#define DATAROUTER_H

#include <QByteArray>
#include <QHash>
#include <QList>

class Requester;

// The host's side of the data output: the registered requesters, which are
// told of measurement starts and stops, and the subscriptions by output type,
// through which every data line reaches the requesters that asked for its
// type. Requesters belong to the module; they are never deleted here.
class DataRouter
{
public:
    // The longest line a requester gets: a line fills at most one UDP
    // datagram (65,507 bytes), and with its NUL fits 64 KiB. Longer ones,
    // which only an in-process controller could make, are dropped and
    // counted. A requester with a smaller buffer refuses longer lines itself.
    static constexpr int MaxLineLength = 64 * 1024 - 1;

    void addRequester(Requester *requester);
    void removeRequester(Requester *requester);
    // Registers the requester again, at the end of the list.
    void renewRequester(Requester *requester);
    bool hasRequester(Requester *requester) const;
    int requesterCount() const { return requesters.size(); }

    void subscribe(const QByteArray &outputType, Requester *requester);
    void unsubscribe(const QByteArray &outputType, Requester *requester);
    bool isSubscribed(const QByteArray &outputType, Requester *requester) const;

    // Hands the line to every requester subscribed to its type, the line's
    // first word. Returns how many requesters got it.
    int routeLine(const QByteArray &line);

    void notifyMeasurementStarted();
    void notifyMeasurementStopped();

    // Forgets every requester and subscription (before the module deletes its widgets).
    void clear();

    int droppedLines() const { return dropped; }

    static QByteArray typeOf(const QByteArray &line);

private:
    QList<Requester *> requesters;
    QHash<QByteArray, QList<Requester *>> subscriptions;
    int dropped = 0;
};

#endif // DATAROUTER_H
