#include "frontend/datawatch.h"

#include "frontend/textprotocol.h"

namespace {

// Fine enough for a period of a second, rare enough to cost nothing.
constexpr int LookIntervalMs = 100;

} // namespace

DataWatch::DataWatch(const QString &controller, const QString &dataSource, QObject *parent)
    : QObject(parent)
    , where(controller)
    , source(dataSource)
{
    lookTimer.setInterval(LookIntervalMs);
    connect(&lookTimer, &QTimer::timeout, this, &DataWatch::look);
}

void DataWatch::noteOutputSwitch(const QByteArray &text)
{
    QByteArray output;
    if (!TextProtocol::outputSwitch(text, &output))
        return;
    const bool due = expectsData();
    if (text.mid(output.size()) == " yes") {
        if (!outputsOn.contains(output) && outputsOn.size() < MaxOutputs)
            outputsOn.insert(output);
    } else {
        outputsOn.remove(output);
    }
    // The period counts from the moment data became due.
    if (!due && expectsData())
        sinceLine.start();
    if (!expectsData())
        setMissing(false);
}

void DataWatch::noteDataLine()
{
    sinceLine.start();
    if (missing) {
        emit logged(tr("Data output from the controller at %1 comes in again").arg(where));
        setMissing(false);
    }
}

// A stop or a loss is told elsewhere: the missing data ends with it silently.
void DataWatch::setMeasuring(bool running)
{
    measuring = running;
    sinceLine.start();
    if (running) {
        lookTimer.start();
    } else {
        lookTimer.stop();
        setMissing(false);
    }
}

void DataWatch::look()
{
    if (missing || !expectsData() || sinceLine.elapsed() < periodMs)
        return;
    emit logged(tr("No data output from the controller at %1 for %2 ms although the measurement runs. Likely "
                   "causes: the data output does not reach %3, or another client switched the outputs off")
                    .arg(where, QString::number(periodMs), source));
    setMissing(true);
}

void DataWatch::setMissing(bool isMissing)
{
    if (missing == isMissing)
        return;
    missing = isMissing;
    emit missingChanged(missing);
}
