#ifndef RECORDINGREQUESTER_H
#define RECORDINGREQUESTER_H

#include <functional>

#include <QByteArrayList>
#include <QRegularExpression>
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
    int measurementStarted() override { return events << QStringLiteral("started"), 0; }
    int measurementStopped() override { return events << QStringLiteral("stopped"), 0; }
    // The measurement's starts and stops without the data lines.
    QStringList notifications() const { return events.filter(QRegularExpression("^[^:]*$")); }

    QStringList events;
    QByteArrayList lines;
    std::function<void()> onLine;
};

#endif // RECORDINGREQUESTER_H
