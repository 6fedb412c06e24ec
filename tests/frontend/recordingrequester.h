#ifndef RECORDINGREQUESTER_H
#define RECORDINGREQUESTER_H

#include <functional>

#include <QByteArrayList>
#include <QStringList>

#include "host/requester.h"

// Records what the host tells a requester, in order: each data line as
// "<type>: <line>" and the measurement's "started" and "stopped" in events,
// the data lines alone, as they came, in lines.
struct RecordingRequester : Requester
{
    int handleDataLine(const char *type, const char *line) override
    {
        events << QStringLiteral("%1: %2").arg(QLatin1String(type), QLatin1String(line));
        lines << QByteArray(line);
        if (onLine)
            onLine();
        return 0;
    }
    int measurementStarted() override
    {
        events << QStringLiteral("started");
        return 0;
    }
    int measurementStopped() override
    {
        events << QStringLiteral("stopped");
        return 0;
    }

    // The measurement's starts and stops without the data lines.
    QStringList notifications() const
    {
        QStringList found;
        for (const QString &event : events) {
            if (!event.contains(QLatin1Char(':')))
                found << event;
        }
        return found;
    }

    QStringList events;
    QByteArrayList lines;
    std::function<void()> onLine;
};

#endif // RECORDINGREQUESTER_H
