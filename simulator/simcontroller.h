#ifndef SIMCONTROLLER_H
#define SIMCONTROLLER_H

#include "simulator/simresponse.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

class QTimer;
class SimModel;

// The simulated controller: answers command lines and, while tracking runs,
// emits the data output lines at the configured rate.
class SimController : public QObject
{
    Q_OBJECT
public:
    explicit SimController(QObject *parent = nullptr);
    ~SimController() override;

    // Answers one command line (no line end) with one reply line (no line
    // end). Safe to call from any thread. May block the calling thread for
    // the configured reply delay. An empty result means "no answer" (an
    // injected dropped connection): the caller treats it as lost.
    QByteArray execute(const QByteArray &line);

    // The same without blocking: the caller delivers the reply after
    // response.delayMs itself (the TCP server, which must never sleep).
    SimResponse respond(const QByteArray &line);

    // Configuration before or while running (thread-safe); the same settings
    // as "orvel2 simulate ...".
    SimModel &model();

signals:
    // One data output line (no line end), emitted from this object's thread
    // while tracking runs, at the configured rate (default 60 Hz).
    void dataLine(const QByteArray &line);
    // While replaying: a SimReplay::Event, the lines played at its end, the
    // reason of a failure.
    void replayEvent(int event, qint64 lines, const QString &error);

private slots:
    void syncTimer();
    void emitFrame();

private:
    void requestTimerSync();
    void emitReplay();

    SimModel *simModel;
    QTimer *frameTimer; // child: moves with the object to its thread
    QElapsedTimer pace; // since the first frame of this tracking run
    qint64 framesSent;  // frames of this run so far
    int paceRate;       // the rate the run is paced at
};

#endif // SIMCONTROLLER_H
