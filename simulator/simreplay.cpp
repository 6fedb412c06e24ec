#include "simulator/simreplay.h"

#include "simulator/simparametertable.h"
#include "simulator/simvalue.h"

#include <QtGlobal>

bool SimReplay::readSpeed(const QString &text, double *speed)
{
    const QByteArray latin = text.toLatin1();
    double value = 0.0;
    if (QString::fromLatin1(latin) != text || !SimValue::toDouble(latin, &value) || value < LeastSpeed
        || value > MostSpeed)
        return false;
    if (speed)
        *speed = value;
    return true;
}

SimReplay::SimReplay(std::unique_ptr<SimRecording> recording, double speed, bool loop)
    : file(std::move(recording))
    , pace(qBound(LeastSpeed, speed, MostSpeed))
    , loop(loop)
{ }

QString SimReplay::summary() const
{
    const QString how
        = QStringLiteral("at speed %1, %2").arg(pace).arg(loop ? QStringLiteral("looping") : QStringLiteral("once"));
    if (file->isRaw())
        return QStringLiteral("%1: a raw capture of %2 data lines in %3 frames, at the controller's frame rate, %4")
            .arg(file->fileName())
            .arg(file->dataLines())
            .arg(file->dataLines() > 0 ? file->lastAt() + 1 : 0)
            .arg(how);
    return QStringLiteral("%1: %2 data lines over %3 s, %4")
        .arg(file->fileName())
        .arg(file->dataLines())
        .arg(double(file->lastAt() - file->firstAt()) / 1000.0, 0, 'f', 1)
        .arg(how);
}

QString SimReplay::eventText(int event, qint64 lines, const QString &error)
{
    switch (event) {
    case Ended: return QStringLiteral("replay: end of the recording after %1 data lines; the data stops").arg(lines);
    case StartedOver: return QStringLiteral("replay: end of the recording; it starts over, and so at every end");
    case Rewound: return QStringLiteral("replay: tracking started again; the recording plays from its beginning");
    case Failed: return QStringLiteral("replay stopped: %1").arg(error);
    default: break;
    }
    return QString();
}

QList<QByteArray> SimReplay::due(qint64 nowMs, bool tracking, int rate, const QList<QByteArray> &outputsOn,
                                 Report *report)
{
    // A raw capture counts frames of the controller's rate, a recording milliseconds.
    unitMs = file->isRaw() ? 1000.0 / double(qMax(1, rate)) : 1.0;
    if (tracking && wasTracking && lastNowMs >= 0 && nowMs > lastNowMs)
        position += double(nowMs - lastNowMs) * pace;
    if (tracking && !wasTracking && ended && !file->failed()) {
        rewind();
        report->event = Rewound;
    }
    lastNowMs = nowMs;
    wasTracking = tracking;
    QList<QByteArray> lines;
    if (!tracking || ended)
        return lines;
    for (int taken = 0; hasPending || fetch(report); ++taken) {
        const double offset = double(pending.at - file->firstAt()) * unitMs;
        if (offset > position)
            break;
        if (taken == MaxLinesPerCall) {
            position = offset; // behind: slower, not a burst
            break;
        }
        hasPending = false;
        ++played;
        ++playedThisPass;
        if (isSwitchedOn(pending.type, outputsOn))
            lines.append(pending.line);
    }
    return lines;
}

void SimReplay::rewind()
{
    file->rewind();
    position = 0.0;
    ended = false;
    hasPending = false;
    played = 0;
    playedThisPass = 0;
}

bool SimReplay::fetch(Report *report)
{
    hasPending = file->next(&pending);
    if (!hasPending && !file->failed() && loop && playedThisPass > 0) {
        // The next pass follows the last record after the recording's usual step.
        position -= double(file->lastAt() - file->firstAt() + file->loopGap()) * unitMs;
        file->rewind();
        playedThisPass = 0;
        if (!saidStartedOver) {
            saidStartedOver = true;
            report->event = StartedOver;
        }
        hasPending = file->next(&pending);
    }
    if (hasPending)
        return true;
    ended = true;
    if (file->failed()) {
        report->event = Failed;
        report->error = file->errorText();
    } else {
        report->event = Ended;
        report->lines = played;
    }
    return false;
}

bool SimReplay::isSwitchedOn(const QByteArray &type, const QList<QByteArray> &outputsOn)
{
    return SimParameterTable::isOutputType(type) ? outputsOn.contains(type) : !outputsOn.isEmpty();
}
