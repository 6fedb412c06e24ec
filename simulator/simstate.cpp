#include "simulator/simstate.h"

#include "simulator/simcommand.h"
#include "simulator/simdatawriter.h"
#include "simulator/simerror.h"
#include "simulator/simvalue.h"

#include <QtGlobal>

namespace {

using P = SimParameterTable;

const int MaxProductName = 64;
const int MaxFailText = 100;
const int MaxDeviceWord = 16;
const double Eps = 1e-9;

QByteArray triple(const int v[3])
{
    return QByteArray::number(v[0]) + ' ' + QByteArray::number(v[1]) + ' ' + QByteArray::number(v[2]);
}

bool readTriple(const QByteArray &text, int v[3])
{
    const QList<QByteArray> parts = text.split(' ');
    if (parts.size() != 3)
        return false;
    int read[3];
    for (int i = 0; i < 3; ++i) {
        if (!SimValue::toInt(parts.at(i), &read[i]) || read[i] < -1000 || read[i] > 1000)
            return false;
    }
    for (int i = 0; i < 3; ++i)
        v[i] = read[i];
    return true;
}

bool inRange(double value, double low, double high)
{
    return value >= low - Eps && value <= high + Eps;
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

// Printable text without double quotes (they delimit it in replies).
bool isQuotableText(const QByteArray &text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '"')
            return false;
    }
    return true;
}

QByteArray unquoted(const QByteArray &text)
{
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        return text.mid(1, text.size() - 2);
    return text;
}

const char *const Settings[] = {
    "product_name", "product_version", "backend_version", "rate", "locked", "tracking_available",
    "measurementtool_available", "sync_missing", "body_capacity", "tool_calibrated", "tip_calibrated",
    "reference_calibrated", "cal_available", "cal_steps", "cal_duration", "cal_pause1", "cal_pause2",
    "cal_fail", "cal_residual", "clock", "clock_advance", "tracking_loss", "button_presses", "button_count",
    "radio_churn", "fail_rate", "fail_param", "reply_delay", "drop_next", "seed", "reset",
};

} // namespace

SimState::SimState()
    : productName("BRIXEL 3"),
      productVersion{3, 2, 0},
      backendVersion{1, 14, 0},
      rate(60),
      locked(false),
      trackingAvailable(true),
      featureAvailable(true),
      syncMissing(false),
      bodyCapacity(6),
      calAvailability(CalAuto),
      calResidual(0.1234),
      buttonCount(4),
      tools(ToolLimit),
      references(ReferenceLimit),
      toolCount(2),
      referenceCount(2),
      output6dmt(true),
      activity(None),
      errorNumber(0),
      trackingStartMs(0),
      frameCounter(0),
      calibratingTool(-1),
      resultTool(-1),
      resultResidual(0.0),
      resultPending(false)
{
    calConfig.steps = 1;
    calConfig.stepSeconds = 4.0;
    calConfig.firstPauseSeconds = 0;
    calConfig.pauseSeconds = 3;
    calConfig.calcSeconds = 0.5;

    // Tool 1 is ready to measure; tool 2 awaits its tip calibration against
    // an uncalibrated reference; tools 3 and 4 are not set up.
    tools[0].bodyCalibrated = true;
    tools[0].tipCalibrated = true;
    tools[0].reference = 0;
    tools[0].tipRadius = 1.5;
    tools[0].deviceVendor = "simco";
    tools[0].deviceModel = "mt4b";
    tools[0].deviceSerial = "42";
    tools[1].bodyCalibrated = true;
    tools[1].reference = 1;
    tools[1].tipRadius = 1.234;
    tools[2].bodyCalibrated = true;
    references[0].bodyCalibrated = true;
    references[2].bodyCalibrated = true;
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

int SimState::maxTools() const
{
    return qBound(0, bodyCapacity - referenceCount, ToolLimit);
}

int SimState::maxReferences() const
{
    return qBound(0, bodyCapacity - toolCount, ReferenceLimit);
}

bool SimState::calibrationAvailable() const
{
    if (calAvailability != CalAuto)
        return calAvailability == CalYes;
    return featureAvailable && trackingAvailable && toolToCalibrate() >= 0;
}

int SimState::toolToCalibrate() const
{
    // The first calibrated tool that still lacks its tip, else the first calibrated tool.
    int first = -1;
    for (int i = 0; i < toolCount; ++i) {
        if (!tools.at(i).bodyCalibrated)
            continue;
        if (!tools.at(i).tipCalibrated)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
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
    const bool toolItem = m.item >= 1 && m.item <= toolCount;
    const SimBody *tool = toolItem ? &tools.at(m.item - 1) : nullptr;
    switch (m.param) {
    case P::SystemProductName: *value = productName; break;
    case P::SystemProductVersion: *value = triple(productVersion); break;
    case P::SystemBackendVersion: *value = triple(backendVersion); break;
    case P::ConfigIsChangeable: *value = SimValue::yesNo(!locked); break;
    case P::TrackingAvailable: *value = SimValue::yesNo(trackingAvailable); break;
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
    case P::CalAvailable: *value = SimValue::yesNo(calibrationAvailable()); break;
    case P::CalTypeDesc: *value = "\"Measurement Tool tip calibration\""; break;
    case P::CalNumberOfSteps: *value = QByteArray::number(calConfig.steps); break;
    case P::CalStepPause:
    case P::CalStepDesc:
    case P::CalStepDuration:
        if (m.item < 1 || m.item > calConfig.steps)
            return SimError::NoSuchItem;
        if (m.param == P::CalStepPause)
            *value = stepPause(m.item);
        else if (m.param == P::CalStepDesc)
            *value = stepDescription(m.item);
        else
            *value = SimValue::fixed(calConfig.stepSeconds, 3);
        break;
    case P::MtAvailable: *value = SimValue::yesNo(featureAvailable); break;
    case P::MtMaxNumberOfTools: *value = QByteArray::number(maxTools()); break;
    case P::MtMaxNumberOfReferences: *value = QByteArray::number(maxReferences()); break;
    case P::MtNumberOfTools: *value = QByteArray::number(toolCount); break;
    case P::MtNumberOfReferences: *value = QByteArray::number(referenceCount); break;
    case P::MtOutput6dmt: *value = SimValue::yesNo(output6dmt); break;
    case P::MtReferenceOfTool:
    case P::MtDevice:
    case P::MtTipRadius:
    case P::MtTipCalibrated:
    case P::BodyCalibratedTool:
    case P::MtMeasurementDuration:
    case P::MtMeasurementTipTolerance:
    case P::MtMeasurementStartSimulation:
    case P::MtMeasurementStartAngle:
    case P::MtMeasurementStartLeadTime:
        if (!tool)
            return SimError::NoSuchItem;
        switch (m.param) {
        case P::MtReferenceOfTool:
            *value = tool->reference < 0 ? QByteArray("none") : SimValue::item('b', tool->reference + 1);
            break;
        case P::MtDevice:
            *value = tool->deviceVendor.isEmpty()
                         ? QByteArray("none")
                         : "kinwave " + tool->deviceVendor + ' ' + tool->deviceModel + ' ' + tool->deviceSerial;
            break;
        case P::MtTipRadius: *value = SimValue::fixed(tool->tipRadius, 3); break;
        case P::MtTipCalibrated: *value = SimValue::yesNo(tool->tipCalibrated); break;
        case P::BodyCalibratedTool: *value = SimValue::yesNo(tool->bodyCalibrated); break;
        case P::MtMeasurementDuration: *value = SimValue::fixed(tool->measurementDuration, 3); break;
        case P::MtMeasurementTipTolerance: *value = SimValue::fixed(tool->measurementTipTolerance, 3); break;
        case P::MtMeasurementStartSimulation: *value = SimValue::yesNo(tool->measurementStartSimulation); break;
        case P::MtMeasurementStartAngle: *value = SimValue::fixed(tool->measurementStartAngle, 3); break;
        default: *value = SimValue::fixed(tool->measurementStartLeadTime, 3); break;
        }
        break;
    case P::BodyCalibratedReference:
        if (m.item < 1 || m.item > referenceCount)
            return SimError::NoSuchItem;
        *value = SimValue::yesNo(references.at(m.item - 1).bodyCalibrated);
        break;
    case P::MtNumberOfKinwaveDevices: *value = QByteArray::number(radio.devicesAt(clock.nowMs()).size()); break;
    case P::MtKinwaveDevice: {
        if (m.item < 1)
            return SimError::NoSuchItem;
        // A device may leave between the count and this query: "none".
        const QList<SimRadio::Device> devices = radio.devicesAt(clock.nowMs());
        if (m.item > devices.size()) {
            *value = "none";
        } else {
            const SimRadio::Device &d = devices.at(m.item - 1);
            *value = d.vendor + ' ' + d.model + ' ' + d.serial;
        }
        break;
    }
    case P::KinwaveDeviceModelDesc:
        if (!SimRadio::modelDescription(m.vendor, m.model, value))
            return SimError::NoSuchItem;
        break;
    case P::MtCalibrationBodyId:
        if (resultTool < 0)
            return SimError::NotAllowed;
        *value = SimValue::item('b', resultTool + 1);
        break;
    case P::MtCalibrationTipResidual:
        if (resultTool < 0)
            return SimError::NotAllowed;
        *value = SimValue::fixed(resultResidual, 4);
        break;
    case P::OutputActiveChmon: *value = SimValue::yesNo(outputsOn.contains(m.keyword)); break;
    }
    return SimError::None;
}

int SimState::set(const SimParameterTable::Match &m, const QList<QByteArray> &words)
{
    if (!m.writable)
        return SimError::ReadOnly;
    if (words.isEmpty())
        return SimError::BadValue;
    if (m.param == P::OutputActiveChmon) {
        bool on = false;
        if (words.size() != 1 || !SimValue::toBool(words.at(0), &on))
            return SimError::BadValue;
        outputsOn.removeAll(m.keyword);
        if (on)
            outputsOn.append(m.keyword);
        return SimError::None;
    }
    // Everything else is configuration.
    if (locked || activity == Calibrating)
        return SimError::NotAllowed;

    if (m.param == P::MtDevice) {
        if (m.item < 1 || m.item > toolCount)
            return SimError::NoSuchItem;
        SimBody &tool = tools[m.item - 1];
        if (words.size() == 1 && words.at(0) == "none") {
            tool.deviceVendor.clear();
            tool.deviceModel.clear();
            tool.deviceSerial.clear();
            return SimError::None;
        }
        if (words.size() != 4 || words.at(0) != "kinwave")
            return SimError::BadValue;
        for (int i = 1; i < 4; ++i) {
            if (!SimValue::isPlainWord(words.at(i), MaxDeviceWord))
                return SimError::BadValue;
        }
        tool.deviceVendor = words.at(1);
        tool.deviceModel = words.at(2);
        tool.deviceSerial = words.at(3);
        return SimError::None;
    }

    if (words.size() != 1)
        return SimError::BadValue;
    const QByteArray &text = words.at(0);
    int number = 0;
    double real = 0.0;
    bool flag = false;
    switch (m.param) {
    case P::MtNumberOfTools:
        if (!SimValue::toInt(text, &number) || number < 0 || number > maxTools())
            return SimError::BadValue;
        toolCount = number;
        return SimError::None;
    case P::MtNumberOfReferences:
        if (!SimValue::toInt(text, &number) || number < 0 || number > maxReferences())
            return SimError::BadValue;
        referenceCount = number;
        return SimError::None;
    case P::MtOutput6dmt:
        if (!SimValue::toBool(text, &flag))
            return SimError::BadValue;
        output6dmt = flag;
        return SimError::None;
    default:
        break;
    }

    if (m.item < 1 || m.item > toolCount)
        return SimError::NoSuchItem;
    SimBody &tool = tools[m.item - 1];
    switch (m.param) {
    case P::MtReferenceOfTool:
        if (text == "none") {
            tool.reference = -1;
            return SimError::None;
        }
        if (!SimValue::toItem('b', text, &number))
            return SimError::BadValue;
        if (number < 1 || number > referenceCount)
            return SimError::NoSuchItem;
        tool.reference = number - 1;
        return SimError::None;
    case P::MtMeasurementStartSimulation:
        if (!SimValue::toBool(text, &flag))
            return SimError::BadValue;
        tool.measurementStartSimulation = flag;
        return SimError::None;
    default:
        break;
    }

    if (!SimValue::toDouble(text, &real))
        return SimError::BadValue;
    double *target = nullptr;
    double low = 0.0, high = 0.0;
    switch (m.param) {
    case P::MtTipRadius: target = &tool.tipRadius; low = 0.0; high = 20.0; break;
    case P::MtMeasurementDuration: target = &tool.measurementDuration; low = 0.2; high = 10.0; break;
    case P::MtMeasurementTipTolerance: target = &tool.measurementTipTolerance; low = 0.1; high = 5.0; break;
    case P::MtMeasurementStartAngle: target = &tool.measurementStartAngle; low = 10.0; high = 120.0; break;
    case P::MtMeasurementStartLeadTime: target = &tool.measurementStartLeadTime; low = 0.1; high = 1.0; break;
    default: return SimError::ReadOnly;
    }
    if (!inRange(real, low, high))
        return SimError::BadValue;
    *target = real;
    return SimError::None;
}

int SimState::action(const QList<QByteArray> &words)
{
    const QByteArray &first = words.at(0);
    if (first == "tracking" && words.size() == 2) {
        if (words.at(1) == "start") {
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
        if (words.at(1) == "stop") {
            if (activity == Calibrating)
                return SimError::NotAllowed;
            if (activity == Measuring || activity == Waiting)
                activity = None;
            return SimError::None;
        }
        return SimError::UnknownParameter;
    }
    if (first == "cal")
        return calibrationAction(words);
    if (first == "measurementtool" && words.size() >= 2 && words.at(1) == "accept_new_calibration") {
        if (!backendAtLeast(1, 3))
            return SimError::UnknownParameter;
        if (words.size() != 2)
            return SimError::Malformed;
        if (!resultPending || activity == Calibrating)
            return SimError::NotAllowed;
        tools[resultTool].tipCalibrated = true;
        resultPending = false;
        return SimError::None;
    }
    return SimError::UnknownParameter;
}

int SimState::calibrationAction(const QList<QByteArray> &words)
{
    // "cal <type> start|stop|start_step sNN"
    if (words.size() < 3)
        return SimError::Malformed;
    const bool typeKnown = SimParameterTable::isCalibrationType(words.at(1)) && backendAtLeast(1, 3);
    if (!typeKnown)
        return SimError::UnknownParameter;
    const QByteArray &verb = words.at(2);
    if (verb == "start" || verb == "stop") {
        if (words.size() != 3)
            return SimError::Malformed;
        if (verb == "stop") {
            if (activity == Calibrating) {
                calibration.stop();
                activity = None;
            }
            return SimError::None;
        }
        if (locked || activity == Calibrating || activity == Measuring || activity == Waiting)
            return SimError::NotAllowed;
        if (!calibrationAvailable() || toolToCalibrate() < 0)
            return SimError::NotAllowed;
        calibratingTool = toolToCalibrate();
        resultPending = false;
        errorNumber = 0;
        errorText.clear();
        calibration.start(clock.nowMs(), calConfig);
        activity = Calibrating;
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
    if (outputsOn.isEmpty())
        return {};

    const double seconds = double(clock.nowMs() - trackingStartMs) / 1000.0;
    QList<QByteArray> lines;
    lines.append(SimDataWriter::frameLine(frameCounter));
    lines.append(SimDataWriter::timestampLine(seconds));

    // Older backends know only the older tool format.
    const bool newFormat = !output6dmt && backendAtLeast(1, 13);
    const QByteArray toolType = newFormat ? "6dmt2" : "6dmt";
    if (outputsOn.contains(toolType)) {
        QList<SimPose> poses;
        int calibrated = 0;
        for (int i = 0; i < toolCount; ++i) {
            const SimBody &tool = tools.at(i);
            SimPose pose = motion.tool(i, seconds, buttonCount, tool.tipRadius);
            pose.tracked = pose.tracked && tool.bodyCalibrated;
            calibrated += tool.bodyCalibrated ? 1 : 0;
            poses.append(pose);
        }
        lines.append(newFormat ? SimDataWriter::toolLine6dmt2(calibrated, poses) : SimDataWriter::toolLine6dmt(poses));
    }
    if (outputsOn.contains("6dmtr")) {
        QList<SimPose> poses;
        for (int i = 0; i < referenceCount; ++i) {
            SimPose pose = motion.reference(i, seconds);
            pose.tracked = pose.tracked && references.at(i).bodyCalibrated;
            poses.append(pose);
        }
        lines.append(SimDataWriter::referenceLine6dmtr(poses));
    }
    return lines;
}

QList<QByteArray> SimState::settingNames()
{
    QList<QByteArray> names;
    for (const char *name : Settings)
        names.append(name);
    return names;
}

int SimState::setBodyFlag(const QList<QByteArray> &words, int which)
{
    // "<number> yes|no", the 1-based number of the tool (which 0, 1) or reference (2)
    int number = 0;
    bool flag = false;
    const int limit = which == 2 ? ReferenceLimit : ToolLimit;
    if (words.size() != 2 || !SimValue::toInt(words.at(0), &number) || number < 1 || number > limit
        || !SimValue::toBool(words.at(1), &flag))
        return SimError::BadValue;
    if (which == 0)
        tools[number - 1].bodyCalibrated = flag;
    else if (which == 1)
        tools[number - 1].tipCalibrated = flag;
    else
        references[number - 1].bodyCalibrated = flag;
    return SimError::None;
}

int SimState::simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason)
{
    const QList<QByteArray> words = value.simplified().split(' ');
    const QByteArray v = value.simplified();
    int number = 0;
    double real = 0.0;
    bool flag = false;
    int error = SimError::None;

    auto badValue = [&]() { error = SimError::BadValue; };
    auto readInt = [&](int low, int high) {
        if (!SimValue::toInt(v, &number) || number < low || number > high) {
            badValue();
            return false;
        }
        return true;
    };
    auto readDouble = [&](double low, double high) {
        if (!SimValue::toDouble(v, &real) || !inRange(real, low, high)) {
            badValue();
            return false;
        }
        return true;
    };
    auto readBool = [&]() {
        if (!SimValue::toBool(v, &flag)) {
            badValue();
            return false;
        }
        return true;
    };

    if (setting == "product_name") {
        if (isQuotableText(v, MaxProductName))
            productName = v;
        else
            badValue();
    } else if (setting == "product_version") {
        if (!readTriple(v, productVersion))
            badValue();
    } else if (setting == "backend_version") {
        if (!readTriple(v, backendVersion))
            badValue();
    } else if (setting == "rate") {
        if (readInt(1, 1000))
            rate = number;
    } else if (setting == "locked") {
        if (readBool())
            locked = flag;
    } else if (setting == "tracking_available") {
        if (readBool())
            trackingAvailable = flag;
    } else if (setting == "measurementtool_available") {
        if (readBool())
            featureAvailable = flag;
    } else if (setting == "sync_missing") {
        if (readBool())
            syncMissing = flag;
    } else if (setting == "body_capacity") {
        if (readInt(0, MaxCapacity))
            bodyCapacity = number;
    } else if (setting == "tool_calibrated") {
        error = setBodyFlag(words, 0);
    } else if (setting == "tip_calibrated") {
        error = setBodyFlag(words, 1);
    } else if (setting == "reference_calibrated") {
        error = setBodyFlag(words, 2);
    } else if (setting == "cal_available") {
        if (v == "auto")
            calAvailability = CalAuto;
        else if (readBool())
            calAvailability = flag ? CalYes : CalNo;
    } else if (setting == "cal_steps") {
        if (readInt(1, 2))
            calConfig.steps = number;
    } else if (setting == "cal_duration") {
        if (readDouble(0.1, 600.0))
            calConfig.stepSeconds = real;
    } else if (setting == "cal_pause1") {
        if (readInt(0, 60))
            calConfig.firstPauseSeconds = number;
    } else if (setting == "cal_pause2") {
        if (readInt(0, 60))
            calConfig.pauseSeconds = number;
    } else if (setting == "cal_fail") {
        const QByteArray text = unquoted(v);
        if (v == "none")
            calConfig.failText.clear();
        else if (isQuotableText(text, MaxFailText))
            calConfig.failText = text;
        else
            badValue();
    } else if (setting == "cal_residual") {
        if (readDouble(0.0, 100.0))
            calResidual = real;
    } else if (setting == "clock") {
        if (v == "manual" || v == "real")
            clock.setManual(v == "manual");
        else
            badValue();
    } else if (setting == "clock_advance") {
        if (readInt(0, 3600 * 1000))
            clock.advance(number);
    } else if (setting == "tracking_loss") {
        if (readBool())
            motion.setTrackingLoss(flag);
    } else if (setting == "button_presses") {
        if (readBool())
            motion.setButtonPresses(flag);
    } else if (setting == "button_count") {
        if (readInt(0, MaxButtons))
            buttonCount = number;
    } else if (setting == "radio_churn") {
        if (readInt(0, 3600))
            radio.setChurnSeconds(number);
    } else if (setting == "fail_rate") {
        if (readDouble(0.0, 1.0))
            faults.setFailRate(real);
    } else if (setting == "fail_param") {
        if (v == "none")
            faults.clearFailingParameters();
        else if (!isQuotableText(v, 200) || !faults.addFailingParameter(v))
            badValue();
    } else if (setting == "reply_delay") {
        if (readInt(0, SimFaults::MaxDelayMs))
            faults.setDelayMs(number);
    } else if (setting == "drop_next") {
        if (readInt(0, 100))
            faults.setDropNext(number);
    } else if (setting == "seed") {
        if (readInt(0, 0x7fffffff))
            faults.setSeed(quint32(number));
    } else if (setting == "reset") {
        *this = SimState();
    } else {
        error = SimError::UnknownParameter;
        if (reason)
            *reason = "unknown setting";
        return error;
    }
    if (reason && error != SimError::None)
        *reason = SimError::message(error);
    update();
    return error;
}
