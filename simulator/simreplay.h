#ifndef SIMREPLAY_H
#define SIMREPLAY_H

#include "simulator/simrecording.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// Plays a recording in place of the simulated motion: its data lines at
// their recorded pace (times divided by the speed; a raw capture one frame
// per frame of the controller's rate), each only while tracking runs and
// the output it was recorded as is switched on ("fr", "ts" and other frame
// lines while any output is). Its time runs only while tracking does: the
// first data line comes when tracking starts, and stopping pauses it. At
// the end it starts over with loop; without, the data stops, until a new
// tracking start plays it from the beginning again. Not thread-safe: the
// model's lock guards it.
class SimReplay
{
public:
    enum Event {
        NoEvent,
        Ended,       // the end reached, the data stops
        StartedOver, // the end reached the first time, looping (said once)
        Rewound,     // tracking started after the end: from the beginning again
        Failed,      // the file no longer reads as it did when opened
    };
    struct Report
    {
        Event event = NoEvent;
        qint64 lines = 0; // data lines played since the beginning, at Ended
        QString error;    // at Failed: "<file>:<line>: <reason>"
    };

    static constexpr double LeastSpeed = 0.01;
    static constexpr double MostSpeed = 100.0;
    static constexpr int DefaultRawRate = 60;
    // A decimal number in the "C" locale from LeastSpeed to MostSpeed; speed may be null.
    static bool readSpeed(const QString &text, double *speed);

    SimReplay(std::unique_ptr<SimRecording> recording, double speed, bool loop);

    const SimRecording &recording() const { return *file; }
    double speed() const { return pace; }
    bool loops() const { return loop; }
    // "<file>: 312 data lines over 5.2 s, at speed 1, once" and the like.
    QString summary() const;
    // What the server says of an event.
    static QString eventText(int event, qint64 lines, const QString &error);

    // The data lines due at nowMs of the controller's clock. rate: the
    // controller's frames per second, the pace of a raw capture;
    // outputsOn: the output types switched on. At most MaxLinesPerCall; a
    // replay behind by more is held back rather than burst out.
    QList<QByteArray> due(qint64 nowMs, bool tracking, int rate, const QList<QByteArray> &outputsOn, Report *report);
    // From the beginning again.
    void rewind();

private:
    static constexpr int MaxLinesPerCall = 10000;

    bool fetch(Report *report);
    static bool isSwitchedOn(const QByteArray &type, const QList<QByteArray> &outputsOn);

    std::unique_ptr<SimRecording> file;
    double pace;
    bool loop;
    double position = 0.0; // ms of the recording since its first record
    double unitMs = 1.0;   // ms per unit of the recording's times
    qint64 lastNowMs = -1;
    bool wasTracking = false;
    bool ended = false;
    bool saidStartedOver = false;
    bool hasPending = false;
    SimRecording::Record pending;
    qint64 played = 0; // since the beginning, over every pass
    qint64 playedThisPass = 0;
};

#endif // SIMREPLAY_H
