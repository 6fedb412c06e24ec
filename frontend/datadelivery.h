#ifndef DATADELIVERY_H
#define DATADELIVERY_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class DataRouter;

// Hands the requesters the data lines and the measurement's starts and
// stops, in the order they happened, but never while a command may be
// waiting: a requester must not be called back in the middle of its own
// call. What comes meanwhile is held and delivered from the event loop once
// no command waits. The held lines are bounded in number and in bytes; a
// burst beyond is dropped, counted, and logged at the next delivery.
class DataDelivery : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxHeldDeliveries = 1024;
    // Room for the most lines of a few kilobytes, and for 256 of the longest.
    static constexpr int MaxHeldBytes = 16 * 1024 * 1024;

    explicit DataDelivery(DataRouter *router, QObject *parent = nullptr);

    void deliverLine(const QByteArray &line);
    void deliverStarted();
    void deliverStopped();

    // Around every command; they nest.
    void commandStarted();
    void commandFinished();

signals:
    void logged(const QString &text);

private slots:
    void deliverHeld();

private:
    struct Delivery
    {
        enum Kind { Line, Started, Stopped } kind;
        QByteArray line;
    };

    void deliver(Delivery::Kind kind, const QByteArray &line = QByteArray());
    void perform(const Delivery &delivery);
    void queueDelivery();

    DataRouter *router;
    int commandsWaiting = 0;
    QList<Delivery> held;
    int heldBytes = 0;
    bool deliveryQueued = false;
    int droppedLines = 0;
};

#endif // DATADELIVERY_H
