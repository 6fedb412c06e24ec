#include "simulator/simdatawriter.h"

#include "simulator/simvalue.h"

namespace {

const double NotTracked = -1.0;
const double Untracked[3] = {0.0, 0.0, 0.0};
const double Identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

} // namespace

void SimDataWriter::appendNumbers(QByteArray &line, const double *values, int count, int decimals)
{
    line += '[';
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            line += ' ';
        line += SimValue::fixed(values[i], decimals);
    }
    line += ']';
}

QByteArray SimDataWriter::frameLine(quint32 frameCounter)
{
    return "fr " + QByteArray::number(frameCounter);
}

QByteArray SimDataWriter::timestampLine(double seconds)
{
    return "ts " + SimValue::fixed(seconds, 3);
}

QByteArray SimDataWriter::toolLine6dmt(const QList<SimPose> &tools)
{
    QByteArray line = "6dmt " + QByteArray::number(tools.size());
    for (int i = 0; i < tools.size(); ++i) {
        const SimPose &tool = tools.at(i);
        const quint32 bits = tool.tracked ? (tool.buttons & 0xfu) : 0u;
        line += " [" + QByteArray::number(i) + ' ' + SimValue::fixed(tool.tracked ? tool.quality : NotTracked, 3) + ' '
            + QByteArray::number(bits) + ']';
        appendNumbers(line, tool.tracked ? tool.pos : Untracked, 3, 3);
        appendNumbers(line, tool.tracked ? tool.rot : Identity, 9, 6);
    }
    return line;
}

QByteArray SimDataWriter::toolLine6dmt2(int calibratedTools, const QList<SimPose> &tools)
{
    QByteArray line = "6dmt2 " + QByteArray::number(calibratedTools) + ' ' + QByteArray::number(tools.size());
    for (int i = 0; i < tools.size(); ++i) {
        const SimPose &tool = tools.at(i);
        const int buttonCount = qBound(0, tool.buttonCount, 32);
        line += " [" + QByteArray::number(i) + ' ' + SimValue::fixed(tool.tracked ? tool.quality : NotTracked, 3) + ' '
            + QByteArray::number(buttonCount) + ' ' + SimValue::fixed(tool.tipRadius, 3) + ']';
        appendNumbers(line, tool.tracked ? tool.pos : Untracked, 3, 3);
        appendNumbers(line, tool.tracked ? tool.rot : Identity, 9, 6);
        // One word per started group of 32 buttons; the count stops at 32 here.
        const quint32 mask = buttonCount >= 32 ? 0xffffffffu : ((quint32(1) << buttonCount) - 1u);
        line += '[';
        if (buttonCount > 0)
            line += QByteArray::number(tool.tracked ? (tool.buttons & mask) : 0u);
        line += ']';
        const double zeros[6] = {0, 0, 0, 0, 0, 0};
        appendNumbers(line, tool.tracked ? tool.extra : zeros, 6, 3);
    }
    return line;
}

QByteArray SimDataWriter::referenceLine6dmtr(const QList<SimPose> &references)
{
    int tracked = 0;
    for (const SimPose &reference : references)
        tracked += reference.tracked ? 1 : 0;
    QByteArray line = "6dmtr " + QByteArray::number(references.size()) + ' ' + QByteArray::number(tracked);
    for (int i = 0; i < references.size(); ++i) {
        const SimPose &reference = references.at(i);
        if (!reference.tracked)
            continue;
        line += " [" + QByteArray::number(i) + ' ' + SimValue::fixed(reference.quality, 3) + ']';
        appendNumbers(line, reference.pos, 3, 3);
        appendNumbers(line, reference.rot, 9, 6);
    }
    return line;
}
