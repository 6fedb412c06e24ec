#include "simulator/simmodel.h"

#include "simulator/simerror.h"
#include "simulator/simstate.h"

#include <QMutexLocker>

SimModel::SimModel()
    : state(new SimState)
{ }

SimModel::~SimModel() = default;

SimResponse SimModel::respond(const QByteArray &line)
{
    QMutexLocker lock(&mutex);
    return state->respond(line);
}

int SimModel::simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason)
{
    QMutexLocker lock(&mutex);
    return state->simulate(setting, value, reason);
}

QList<QByteArray> SimModel::settingNames()
{
    return SimState::settingNames();
}

static QByteArray triple(int major, int minor, int patch)
{
    return QByteArray::number(major) + ' ' + QByteArray::number(minor) + ' ' + QByteArray::number(patch);
}

void SimModel::setProductName(const QByteArray &name)
{
    simulate("product_name", name);
}

void SimModel::setProductVersion(int major, int minor, int patch)
{
    simulate("product_version", triple(major, minor, patch));
}

void SimModel::setBackendVersion(int major, int minor, int patch)
{
    simulate("backend_version", triple(major, minor, patch));
}

void SimModel::setDataRate(int hz)
{
    simulate("rate", QByteArray::number(hz));
}

void SimModel::setLocked(bool locked)
{
    simulate("locked", locked ? "yes" : "no");
}

void SimModel::setManualClock(bool manual)
{
    simulate("clock", manual ? "manual" : "real");
}

void SimModel::advanceClock(qint64 ms)
{
    simulate("clock_advance", QByteArray::number(ms));
}

void SimModel::reset()
{
    QMutexLocker lock(&mutex);
    state.reset(new SimState);
    if (replay) {
        setUpReplay();
        replay->rewind();
    }
}

int SimModel::dataRate() const
{
    QMutexLocker lock(&mutex);
    return state->dataRate();
}

bool SimModel::isTracking() const
{
    QMutexLocker lock(&mutex);
    return state->isTracking();
}

QList<QByteArray> SimModel::nextFrame()
{
    QMutexLocker lock(&mutex);
    return state->nextFrame();
}

QList<QByteArray> SimModel::startReplay(std::unique_ptr<SimReplay> recorded)
{
    QMutexLocker lock(&mutex);
    replay = std::move(recorded);
    return setUpReplay();
}

QList<QByteArray> SimModel::setUpReplay()
{
    QList<QByteArray> refused;
    if (!replay)
        return refused;
    const QList<QByteArray> commands = replay->recording().setup().commands();
    for (const QByteArray &command : commands) {
        const QByteArray reply = state->respond(command).reply;
        if (reply != "orvel2 ok")
            refused << command + ": " + (reply.isEmpty() ? QByteArray("no reply") : reply);
    }
    return refused;
}

bool SimModel::isReplaying() const
{
    QMutexLocker lock(&mutex);
    return replay != nullptr;
}

QList<QByteArray> SimModel::nextReplayLines(SimReplay::Report *report)
{
    QMutexLocker lock(&mutex);
    if (!replay)
        return {};
    const bool tracking = state->isTracking();
    return replay->due(state->nowMs(), tracking, state->dataRate(), state->dataOutput().switchedOn(), report);
}
