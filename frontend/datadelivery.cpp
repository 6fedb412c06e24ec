#include "frontend/datadelivery.h"

#include "frontend/datarouter.h"

DataDelivery::DataDelivery(DataRouter *dataRouter, QObject *parent)
    : QObject(parent)
    , router(dataRouter)
{ }

void DataDelivery::deliverLine(const QByteArray &line)
{
    deliver(Delivery::Line, line);
}

void DataDelivery::deliverStarted()
{
    deliver(Delivery::Started);
}

void DataDelivery::deliverStopped()
{
    deliver(Delivery::Stopped);
}

void DataDelivery::commandStarted()
{
    ++commandsWaiting;
}

void DataDelivery::commandFinished()
{
    --commandsWaiting;
    if (commandsWaiting == 0 && !held.isEmpty())
        queueDelivery();
}

void DataDelivery::deliver(Delivery::Kind kind, const QByteArray &line)
{
    if (commandsWaiting == 0 && held.isEmpty()) {
        perform({kind, line});
        return;
    }
    // Starts and stops are never dropped: a requester must not miss the end of a measurement.
    if (kind == Delivery::Line && (held.size() >= MaxHeldDeliveries || line.size() > MaxHeldBytes - heldBytes)) {
        ++droppedLines;
        return;
    }
    held.append({kind, line});
    heldBytes += line.size();
    if (commandsWaiting == 0)
        queueDelivery();
}

void DataDelivery::perform(const Delivery &delivery)
{
    switch (delivery.kind) {
    case Delivery::Line: router->routeLine(delivery.line); break;
    case Delivery::Started: router->notifyMeasurementStarted(); break;
    case Delivery::Stopped: router->notifyMeasurementStopped(); break;
    }
}

void DataDelivery::queueDelivery()
{
    if (deliveryQueued)
        return;
    deliveryQueued = true;
    QMetaObject::invokeMethod(this, &DataDelivery::deliverHeld, Qt::QueuedConnection);
}

void DataDelivery::deliverHeld()
{
    deliveryQueued = false;
    if (droppedLines > 0) {
        emit logged(tr("%1 data lines dropped while commands waited").arg(droppedLines));
        droppedLines = 0;
    }
    // A requester's command during a delivery holds what follows again.
    while (!held.isEmpty() && commandsWaiting == 0) {
        const Delivery next = held.takeFirst();
        heldBytes -= next.line.size();
        perform(next);
    }
}
