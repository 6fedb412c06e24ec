#include "simulator/simstate.h"

#include "simulator/simcommand.h"
#include "simulator/simerror.h"
#include "simulator/simsettingtable.h"
#include "simulator/simvalue.h"

#include <QtGlobal>

namespace {

using P = SimParameterTable;

QByteArray triple(const int v[3])
{
    return QByteArray::number(v[0]) + ' ' + QByteArray::number(v[1]) + ' ' + QByteArray::number(v[2]);
}

QByteArray joined(const QList<QByteArray> &words)
{
    QByteArray text;
    for (const QByteArray &word : words) {
        if (!text.isEmpty())
            text += ' ';
        text += word;
    }
    return text;
}

} // namespace

SimState::SimState()
{
    // Power-on values come from the settings' table, which --help shows.
    for (const SimSetting &setting : SimSettingTable::settings())
        setting.applyDefault(*this);
}

QByteArray SimState::errorReply(int code)
{
    return "orvel2 err " + QByteArray::number(code) + ' ' + SimError::message(code);
}

void SimState::update()
{
    const qint64 now = clock.nowMs();
    if (activity == Calibrating) {
        calibration.update(now);
        if (calibration.phase() == SimCalibration::Finished) {
            activity = None;
            resultTool = calibratingTool;
            resultResidual = calResidual;
            resultPending = true;
        } else if (calibration.phase() == SimCalibration::Failed) {
            activity = Error;
            errorNumber = CalibrationErrorNumber;
            errorText = calibration.failText();
        }
    }
    if (activity == Waiting && !syncMissing) {
        activity = Measuring;
        trackingStartMs = now;
    }
}

SimResponse SimState::respond(const QByteArray &line)
{
    SimResponse response;
    update();
    const SimCommand command = SimCommand::parse(line);
    if (command.kind == SimCommand::Invalid) {
        response.reply = errorReply(command.error);
        return response;
    }
    if (command.kind == SimCommand::Simulate) {
        const QByteArray value = joined(command.words.mid(1));
        QByteArray reason;
        const int error = simulate(command.words.at(0), value, &reason);
        response.reply = error == SimError::None ? QByteArray("orvel2 ok")
                                                 : "orvel2 err " + QByteArray::number(error) + ' ' + reason;
        return response;
    }

    response.delayMs = faults.delayMs();
    if (faults.takeDrop()) {
        response.dropped = true;
        return response;
    }
    if (faults.shouldFail(joined(command.words))) {
        response.reply = errorReply(SimError::InjectedFault);
        return response;
    }

    if (command.kind == SimCommand::Action) {
        const int error = action(command.words);
        response.reply = error == SimError::None ? QByteArray("orvel2 ok") : errorReply(error);
        return response;
    }

    SimParameterTable::Match match;
    int error = SimParameterTable::find(command.words, backendVersion, &match);
    if (error != SimError::None) {
        response.reply = errorReply(error);
        return response;
    }
    const QList<QByteArray> name = command.words.mid(0, match.nameWords);
    const QList<QByteArray> rest = command.words.mid(match.nameWords);
    if (command.kind == SimCommand::Get) {
        QByteArray value;
        error = rest.isEmpty() ? get(match, &value) : int(SimError::Malformed);
        response.reply = error == SimError::None ? "orvel2 set " + joined(name) + ' ' + value : errorReply(error);
    } else {
        error = set(match, rest);
        response.reply = error == SimError::None ? QByteArray("orvel2 ok") : errorReply(error);
    }
    return response;
}

bool SimState::backendAtLeast(int major, int minor) const
{
    return SimParameterTable::isAtLeast(backendVersion, major, minor);
}

bool SimState::calibrationAvailable() const
{
    if (calAvailability != CalAuto)
        return calAvailability == CalYes;
    return featureAvailable && trackingAvailable && bodies.toolToCalibrate() >= 0;
}

QByteArray SimState::stepPause(int step) const
{
    const int seconds = step == 1 ? calConfig.firstPauseSeconds : calConfig.pauseSeconds;
    return seconds > 0 ? "yes " + QByteArray::number(seconds) : QByteArray("no 0");
}

QByteArray SimState::stepDescription(int step)
{
    return step == 1 ? "\"Seesaw the Measurement Tool around its fixed tip\""
                     : "\"Turn the Measurement Tool by 90 degrees and seesaw again\"";
}

QByteArray SimState::activityWord() const
{
    switch (activity) {
    case Measuring: return "meas";
    case Calibrating: return "cal";
    case Error: return "err";
    case Waiting: return "wait";
    case None: break;
    }
    return "none";
}

int SimState::get(const SimParameterTable::Match &m, QByteArray *value)
{
    switch (m.family) {
    case P::System: return getSystem(m, value);
    case P::Status: return getStatus(m, value);
    case P::Calibration: return getCalibration(m, value);
    case P::Bodies: return bodies.get(m, value);
    case P::Radio: return radio.get(m, clock.nowMs(), value);
    case P::Output: return output.get(m, value);
    }
    return SimError::UnknownParameter;
}

int SimState::getSystem(const SimParameterTable::Match &m, QByteArray *value) const
{
    switch (m.param) {
    case P::SystemProductName: *value = productName; break;
    case P::SystemProductVersion: *value = triple(productVersion); break;
    case P::SystemBackendVersion: *value = triple(backendVersion); break;
    case P::ConfigIsChangeable: *value = SimValue::yesNo(!locked); break;
    case P::TrackingAvailable: *value = SimValue::yesNo(trackingAvailable); break;
    case P::MtAvailable: *value = SimValue::yesNo(featureAvailable); break;
    default: return SimError::UnknownParameter;
    }
    return SimError::None;
}

int SimState::getStatus(const SimParameterTable::Match &m, QByteArray *value) const
{
    switch (m.param) {
    case P::StatusActive: *value = activityWord(); break;
    case P::StatusStepActive:
        if (activity != Calibrating)
            *value = activityWord();
        else if (calibration.phase() == SimCalibration::Pause)
            *value = "pause " + QByteArray::number(calibration.stepAfterPause());
        else
            *value = "cal " + QByteArray::number(calibration.step());
        break;
    case P::StatusProgress: *value = SimValue::fixed(calibration.progress(), 3); break;
    case P::StatusStepProgress:
        *value = QByteArray::number(calibration.step()) + ' ' + SimValue::fixed(calibration.stepProgress(), 3);
        break;
    case P::StatusErr: *value = QByteArray::number(errorNumber) + " \"" + errorText + '"'; break;
    default: return SimError::UnknownParameter;
    }
    return SimError::None;
}

int SimState::getCalibration(const SimParameterTable::Match &m, QByteArray *value) const
{
    const bool perStep = m.param == P::CalStepPause || m.param == P::CalStepDesc || m.param == P::CalStepDuration;
    if (perStep && (m.item < 1 || m.item > calConfig.steps))
        return SimError::NoSuchItem;
    const bool ofResult = m.param == P::MtCalibrationBodyId || m.param == P::MtCalibrationTipResidual;
    if (ofResult && resultTool < 0)
        return SimError::NotAllowed;
    switch (m.param) {
    case P::CalAvailable: *value = SimValue::yesNo(calibrationAvailable()); break;
    case P::CalTypeDesc: *value = "\"Measurement Tool tip calibration\""; break;
    case P::CalNumberOfSteps: *value = QByteArray::number(calConfig.steps); break;
    case P::CalStepPause: *value = stepPause(m.item); break;
    case P::CalStepDesc: *value = stepDescription(m.item); break;
    case P::CalStepDuration: *value = SimValue::fixed(calConfig.stepSeconds, 3); break;
    case P::MtCalibrationBodyId: *value = SimValue::item('b', resultTool + 1); break;
    case P::MtCalibrationTipResidual: *value = SimValue::fixed(resultResidual, 4); break;
    default: return SimError::UnknownParameter;
    }
    return SimError::None;
}

int SimState::set(const SimParameterTable::Match &m, const QList<QByteArray> &words)
{
    if (!m.writable)
        return SimError::ReadOnly;
    if (words.isEmpty())
        return SimError::BadValue;
    // Outputs are not configuration: they switch also while locked or calibrating.
    if (m.param == P::OutputActiveChmon)
        return output.setSwitch(m.keyword, words);
    if (locked || activity == Calibrating)
        return SimError::NotAllowed;
    if (m.param == P::MtOutput6dmt)
        return output.setFormat(words);
    return bodies.set(m, words);
}

int SimState::action(const QList<QByteArray> &words)
{
    const QByteArray &first = words.at(0);
    if (first == "tracking")
        return trackingAction(words);
    if (first == "cal")
        return calibrationAction(words);
    if (first == "measurementtool" && words.size() >= 2 && words.at(1) == "accept_new_calibration")
        return acceptCalibration(words);
    return SimError::UnknownParameter;
}

// "tracking start|stop"
int SimState::trackingAction(const QList<QByteArray> &words)
{
    if (words.size() < 2)
        return SimError::Malformed;
    const QByteArray &verb = words.at(1);
    if ((verb == "start" || verb == "stop") && words.size() != 2)
        return SimError::Malformed;
    if (verb == "start") {
        if (activity == Calibrating || !trackingAvailable)
            return SimError::NotAllowed;
        if (activity == Measuring || activity == Waiting)
            return SimError::None;
        errorNumber = 0;
        errorText.clear();
        activity = syncMissing ? Waiting : Measuring;
        trackingStartMs = clock.nowMs();
        return SimError::None;
    }
    if (verb == "stop") {
        if (activity == Calibrating)
            return SimError::NotAllowed;
        if (activity == Measuring || activity == Waiting)
            activity = None;
        return SimError::None;
    }
    return SimError::UnknownParameter;
}

// "cal <type> start|stop|start_step sNN"
int SimState::calibrationAction(const QList<QByteArray> &words)
{
    if (words.size() < 3)
        return SimError::Malformed;
    const bool typeKnown = SimParameterTable::isCalibrationType(words.at(1)) && backendAtLeast(1, 3);
    if (!typeKnown)
        return SimError::UnknownParameter;
    const QByteArray &verb = words.at(2);
    if ((verb == "start" || verb == "stop") && words.size() != 3)
        return SimError::Malformed;
    if (verb == "start")
        return startCalibration();
    if (verb == "stop") {
        if (activity == Calibrating) {
            calibration.stop();
            activity = None;
        }
        return SimError::None;
    }
    if (verb == "start_step") {
        int step = 0;
        if (words.size() != 4 || !SimValue::toItem('s', words.at(3), &step))
            return SimError::Malformed;
        if (step != 2 || calConfig.steps != 2)
            return SimError::NoSuchItem;
        if (activity != Calibrating || !calibration.startSecondStep(clock.nowMs()))
            return SimError::NotAllowed;
        return SimError::None;
    }
    return SimError::UnknownParameter;
}

int SimState::startCalibration()
{
    if (locked || activity == Calibrating || activity == Measuring || activity == Waiting)
        return SimError::NotAllowed;
    if (!calibrationAvailable() || bodies.toolToCalibrate() < 0)
        return SimError::NotAllowed;
    calibratingTool = bodies.toolToCalibrate();
    resultPending = false;
    errorNumber = 0;
    errorText.clear();
    calibration.start(clock.nowMs(), calConfig);
    activity = Calibrating;
    return SimError::None;
}

int SimState::acceptCalibration(const QList<QByteArray> &words)
{
    if (!backendAtLeast(1, 3))
        return SimError::UnknownParameter;
    if (words.size() != 2)
        return SimError::Malformed;
    if (!resultPending || activity == Calibrating)
        return SimError::NotAllowed;
    bodies.acceptTip(resultTool);
    resultPending = false;
    return SimError::None;
}

bool SimState::isTracking()
{
    update();
    return activity == Measuring;
}

QList<QByteArray> SimState::nextFrame()
{
    update();
    if (activity != Measuring)
        return {};
    ++frameCounter;
    const double seconds = double(clock.nowMs() - trackingStartMs) / 1000.0;
    // Older backends know only the older tool format.
    return output.frame(frameCounter, seconds, bodies, motion, buttonCount, backendAtLeast(1, 13));
}

QList<QByteArray> SimState::settingNames()
{
    return SimSettingTable::names();
}

int SimState::simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason)
{
    const SimSetting *found = SimSettingTable::find(setting);
    if (!found) {
        if (reason)
            *reason = "unknown setting";
        return SimError::UnknownParameter;
    }
    const int error = found->apply(*this, value.simplified());
    if (reason && error != SimError::None)
        *reason = SimError::message(error);
    update();
    return error;
}
