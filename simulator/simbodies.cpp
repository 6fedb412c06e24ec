#include "simulator/simbodies.h"

#include "simulator/simerror.h"
#include "simulator/simvalue.h"

#include <QtGlobal>

namespace {

using P = SimParameterTable;

const int MaxDeviceWord = 16;

// A tool's decimal values, read with three decimals and set within their range.
struct DecimalValue
{
    P::Param param;
    double SimBody::*field;
    double low;
    double high;
};

const DecimalValue DecimalValues[] = {
    {P::MtTipRadius, &SimBody::tipRadius, 0.0, 20.0},
    {P::MtMeasurementDuration, &SimBody::measurementDuration, 0.2, 10.0},
    {P::MtMeasurementTipTolerance, &SimBody::measurementTipTolerance, 0.1, 5.0},
    {P::MtMeasurementStartAngle, &SimBody::measurementStartAngle, 10.0, 120.0},
    {P::MtMeasurementStartLeadTime, &SimBody::measurementStartLeadTime, 0.1, 1.0},
};

// Null for a parameter that is no decimal value.
const DecimalValue *decimalValue(P::Param param)
{
    for (const DecimalValue &value : DecimalValues) {
        if (value.param == param)
            return &value;
    }
    return nullptr;
}

} // namespace

SimBodies::SimBodies()
    : tools(ToolLimit)
    , references(ReferenceLimit)
{
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

int SimBodies::maxTools() const
{
    return qBound(0, bodyCapacity - referencesInUse, ToolLimit);
}

int SimBodies::maxReferences() const
{
    return qBound(0, bodyCapacity - toolsInUse, ReferenceLimit);
}

int SimBodies::toolToCalibrate() const
{
    int first = -1;
    for (int i = 0; i < toolsInUse; ++i) {
        if (!tools.at(i).bodyCalibrated)
            continue;
        if (!tools.at(i).tipCalibrated)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}

// A capacity below the bodies in use lowers the references first, then the
// tools, so that no count stays above its maximum.
void SimBodies::setCapacity(int capacity)
{
    bodyCapacity = qBound(0, capacity, MaxCapacity);
    referencesInUse = qMin(referencesInUse, qMax(0, bodyCapacity - toolsInUse));
    toolsInUse = qMin(toolsInUse, bodyCapacity - referencesInUse);
}

void SimBodies::setFlag(Flag flag, int number, bool on)
{
    switch (flag) {
    case BodyCalibrated: tools[number - 1].bodyCalibrated = on; break;
    case TipCalibrated: tools[number - 1].tipCalibrated = on; break;
    case ReferenceCalibrated: references[number - 1].bodyCalibrated = on; break;
    }
}

int SimBodies::get(const SimParameterTable::Match &m, QByteArray *value) const
{
    switch (m.param) {
    case P::MtMaxNumberOfTools: *value = QByteArray::number(maxTools()); break;
    case P::MtMaxNumberOfReferences: *value = QByteArray::number(maxReferences()); break;
    case P::MtNumberOfTools: *value = QByteArray::number(toolsInUse); break;
    case P::MtNumberOfReferences: *value = QByteArray::number(referencesInUse); break;
    case P::BodyCalibratedReference:
        if (m.item < 1 || m.item > referencesInUse)
            return SimError::NoSuchItem;
        *value = SimValue::yesNo(references.at(m.item - 1).bodyCalibrated);
        break;
    default: return getToolValue(m, value);
    }
    return SimError::None;
}

int SimBodies::getToolValue(const SimParameterTable::Match &m, QByteArray *value) const
{
    if (m.item < 1 || m.item > toolsInUse)
        return SimError::NoSuchItem;
    const SimBody &tool = tools.at(m.item - 1);
    if (const DecimalValue *decimal = decimalValue(m.param)) {
        *value = SimValue::fixed(tool.*decimal->field, 3);
        return SimError::None;
    }
    switch (m.param) {
    case P::MtReferenceOfTool:
        *value = tool.reference < 0 ? QByteArray("none") : SimValue::item('b', tool.reference + 1);
        break;
    case P::MtDevice:
        *value = tool.deviceVendor.isEmpty()
            ? QByteArray("none")
            : "kinwave " + tool.deviceVendor + ' ' + tool.deviceModel + ' ' + tool.deviceSerial;
        break;
    case P::MtTipCalibrated: *value = SimValue::yesNo(tool.tipCalibrated); break;
    case P::BodyCalibratedTool: *value = SimValue::yesNo(tool.bodyCalibrated); break;
    case P::MtMeasurementStartSimulation: *value = SimValue::yesNo(tool.measurementStartSimulation); break;
    default: return SimError::UnknownParameter;
    }
    return SimError::None;
}

int SimBodies::set(const SimParameterTable::Match &m, const QList<QByteArray> &words)
{
    if (m.param == P::MtDevice)
        return setDevice(m.item, words);
    if (words.size() != 1)
        return SimError::BadValue;
    const QByteArray &text = words.at(0);
    if (m.param == P::MtNumberOfTools || m.param == P::MtNumberOfReferences)
        return setCount(m, text);
    if (m.item < 1 || m.item > toolsInUse)
        return SimError::NoSuchItem;
    return setToolValue(tools[m.item - 1], m, text);
}

// "none" or "kinwave <vendor> <model> <serial>"
int SimBodies::setDevice(int item, const QList<QByteArray> &words)
{
    if (item < 1 || item > toolsInUse)
        return SimError::NoSuchItem;
    SimBody &tool = tools[item - 1];
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

// Each count bounds the other's maximum within the capacity.
int SimBodies::setCount(const SimParameterTable::Match &m, const QByteArray &text)
{
    const bool ofTools = m.param == P::MtNumberOfTools;
    int number = 0;
    if (!SimValue::toInt(text, &number) || number < 0 || number > (ofTools ? maxTools() : maxReferences()))
        return SimError::BadValue;
    (ofTools ? toolsInUse : referencesInUse) = number;
    return SimError::None;
}

int SimBodies::setToolValue(SimBody &tool, const SimParameterTable::Match &m, const QByteArray &text)
{
    int number = 0;
    bool flag = false;
    switch (m.param) {
    case P::MtReferenceOfTool:
        if (text == "none") {
            tool.reference = -1;
            return SimError::None;
        }
        if (!SimValue::toItem('b', text, &number))
            return SimError::BadValue;
        if (number < 1 || number > referencesInUse)
            return SimError::NoSuchItem;
        tool.reference = number - 1;
        return SimError::None;
    case P::MtMeasurementStartSimulation:
        if (!SimValue::toBool(text, &flag))
            return SimError::BadValue;
        tool.measurementStartSimulation = flag;
        return SimError::None;
    default: break;
    }

    double real = 0.0;
    if (!SimValue::toDouble(text, &real))
        return SimError::BadValue;
    const DecimalValue *decimal = decimalValue(m.param);
    if (!decimal)
        return SimError::ReadOnly;
    if (!SimValue::inRange(real, decimal->low, decimal->high))
        return SimError::BadValue;
    tool.*decimal->field = real;
    return SimError::None;
}
