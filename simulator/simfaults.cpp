#include "simulator/simfaults.h"

#include <QtGlobal>

SimFaults::SimFaults()
    : rate(0.0)
    , delay(0)
    , drops(0)
    , random(1u)
{ }

void SimFaults::setFailRate(double newRate)
{
    rate = qBound(0.0, newRate, 1.0);
}

bool SimFaults::addFailingParameter(const QByteArray &words)
{
    if (words.isEmpty() || words.count(' ') + 1 > MaxFailingWords)
        return false;
    if (failing.contains(words))
        return true;
    if (failing.size() >= MaxFailingParameters)
        return false;
    failing.append(words);
    return true;
}

void SimFaults::clearFailingParameters()
{
    failing.clear();
}

void SimFaults::setDelayMs(int ms)
{
    delay = qBound(0, ms, MaxDelayMs);
}

void SimFaults::setDropNext(int count)
{
    drops = qMax(0, count);
}

void SimFaults::setSeed(quint32 seed)
{
    random.seed(seed);
}

bool SimFaults::shouldFail(const QByteArray &text)
{
    for (const QByteArray &words : qAsConst(failing)) {
        // Whole words only: "measurementtool device" must not catch "measurementtool device_x".
        if (text.startsWith(words) && (text.size() == words.size() || text.at(words.size()) == ' '))
            return true;
    }
    return rate > 0.0 && random.generateDouble() < rate;
}

bool SimFaults::takeDrop()
{
    if (drops <= 0)
        return false;
    --drops;
    return true;
}
