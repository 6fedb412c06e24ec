#include "simulator/simoutput.h"

#include "simulator/simbodies.h"
#include "simulator/simdatawriter.h"
#include "simulator/simerror.h"
#include "simulator/simvalue.h"

int SimOutput::get(const SimParameterTable::Match &m, QByteArray *value) const
{
    if (m.param == SimParameterTable::MtOutput6dmt)
        *value = SimValue::yesNo(olderToolFormat);
    else
        *value = SimValue::yesNo(outputsOn.contains(m.keyword));
    return SimError::None;
}

int SimOutput::setSwitch(const QByteArray &type, const QList<QByteArray> &words)
{
    bool on = false;
    if (words.size() != 1 || !SimValue::toBool(words.at(0), &on))
        return SimError::BadValue;
    outputsOn.removeAll(type);
    if (on)
        outputsOn.append(type);
    return SimError::None;
}

int SimOutput::setFormat(const QList<QByteArray> &words)
{
    bool older = false;
    if (words.size() != 1 || !SimValue::toBool(words.at(0), &older))
        return SimError::BadValue;
    olderToolFormat = older;
    return SimError::None;
}

QList<QByteArray> SimOutput::frame(quint32 counter, double seconds, const SimBodies &bodies, SimMotion motion,
                                   int buttonCount, bool newFormatKnown) const
{
    if (outputsOn.isEmpty())
        return {};
    QList<QByteArray> lines;
    lines.append(SimDataWriter::frameLine(counter));
    lines.append(SimDataWriter::timestampLine(seconds));
    const bool newFormat = !olderToolFormat && newFormatKnown;
    if (outputsOn.contains(newFormat ? "6dmt2" : "6dmt"))
        lines.append(toolLine(seconds, bodies, motion, buttonCount, newFormat));
    if (outputsOn.contains("6dmtr"))
        lines.append(referenceLine(seconds, bodies, motion));
    return lines;
}

QByteArray SimOutput::toolLine(double seconds, const SimBodies &bodies, SimMotion motion, int buttonCount,
                               bool newFormat)
{
    QList<SimPose> poses;
    int calibrated = 0;
    for (int i = 0; i < bodies.toolCount(); ++i) {
        const SimBody &tool = bodies.tool(i);
        SimPose pose = motion.tool(i, seconds, buttonCount, tool.tipRadius);
        pose.tracked = pose.tracked && tool.bodyCalibrated;
        calibrated += tool.bodyCalibrated ? 1 : 0;
        poses.append(pose);
    }
    return newFormat ? SimDataWriter::toolLine6dmt2(calibrated, poses) : SimDataWriter::toolLine6dmt(poses);
}

QByteArray SimOutput::referenceLine(double seconds, const SimBodies &bodies, SimMotion motion)
{
    QList<SimPose> poses;
    for (int i = 0; i < bodies.referenceCount(); ++i) {
        SimPose pose = motion.reference(i, seconds);
        pose.tracked = pose.tracked && bodies.reference(i).bodyCalibrated;
        poses.append(pose);
    }
    return SimDataWriter::referenceLine6dmtr(poses);
}
