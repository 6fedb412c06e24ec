#ifndef QUITONSIGNAL_H
#define QUITONSIGNAL_H

#include <QObject>

class QSocketNotifier;

// Ends the event loop on SIGINT, SIGTERM or SIGHUP as closing the window
// does, so that a recording ends with its last whole record and the module
// is released. A second signal takes the action it had before (the default:
// a program that no longer ends can still be stopped); one ignored, as under
// nohup, stays ignored.
class QuitOnSignal : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

signals:
    void received(int signalNumber);

private slots:
    void readSignal();

private:
    static void handle(int signalNumber);

    QSocketNotifier *notifier = nullptr;
};

#endif // QUITONSIGNAL_H
