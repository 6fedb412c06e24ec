#ifndef RECORDINGREQUESTER_H
#define RECORDINGREQUESTER_H

#include <QStringList>
#include <functional>

#include "host/requester.h"

// A requester that records what the host tells it, in order:
// "line <type> <line>", "started", "stopped".
class RecordingRequester : public Requester
{
public:
    int handleDataLine(const char *outputType, const char *line) override
    {
        events << QStringLiteral("line %1 %2").arg(QLatin1String(outputType), QLatin1String(line));
        return onLine ? onLine(), 0 : 0;
    }
    int measurementStarted() override { return events << "started", 0; }
    int measurementStopped() override { return events << "stopped", 0; }

    QStringList events;
    std::function<void()> onLine; // runs inside handleDataLine, after the line is recorded
};

#endif // RECORDINGREQUESTER_H
