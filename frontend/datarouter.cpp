#include "frontend/datarouter.h"

#include "host/requester.h"

void DataRouter::addRequester(Requester *requester)
{
    if (requester && !requesters.contains(requester))
        requesters.append(requester);
}

void DataRouter::removeRequester(Requester *requester)
{
    requesters.removeAll(requester);
}

void DataRouter::renewRequester(Requester *requester)
{
    removeRequester(requester);
    addRequester(requester);
}

bool DataRouter::hasRequester(Requester *requester) const
{
    return requesters.contains(requester);
}

void DataRouter::subscribe(const QByteArray &outputType, Requester *requester)
{
    if (!requester || outputType.isEmpty())
        return;
    QList<Requester *> &list = subscriptions[outputType];
    if (!list.contains(requester))
        list.append(requester);
}

void DataRouter::unsubscribe(const QByteArray &outputType, Requester *requester)
{
    auto it = subscriptions.find(outputType);
    if (it == subscriptions.end())
        return;
    it->removeAll(requester);
    if (it->isEmpty())
        subscriptions.erase(it);
}

bool DataRouter::isSubscribed(const QByteArray &outputType, Requester *requester) const
{
    return subscriptions.value(outputType).contains(requester);
}

QByteArray DataRouter::typeOf(const QByteArray &line)
{
    const int space = line.indexOf(' ');
    return space < 0 ? line : line.left(space);
}

int DataRouter::routeLine(const QByteArray &line)
{
    const QByteArray type = typeOf(line);
    if (line.size() > MaxLineLength || type.isEmpty()) {
        ++dropped;
        return 0;
    }
    auto it = subscriptions.constFind(type);
    if (it == subscriptions.constEnd())
        return 0;

    // A requester may change the subscriptions while it handles the line:
    // walk a copy and skip whoever has left in the meantime.
    const QList<Requester *> targets = *it;
    int delivered = 0;
    for (Requester *requester : targets) {
        if (!isSubscribed(type, requester))
            continue;
        requester->handleDataLine(type.constData(), line.constData());
        ++delivered;
    }
    return delivered;
}

void DataRouter::notifyMeasurementStarted()
{
    const QList<Requester *> targets = requesters;
    for (Requester *requester : targets) {
        if (hasRequester(requester))
            requester->measurementStarted();
    }
}

void DataRouter::notifyMeasurementStopped()
{
    const QList<Requester *> targets = requesters;
    for (Requester *requester : targets) {
        if (hasRequester(requester))
            requester->measurementStopped();
    }
}

void DataRouter::clear()
{
    requesters.clear();
    subscriptions.clear();
}
