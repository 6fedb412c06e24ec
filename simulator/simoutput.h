#ifndef SIMOUTPUT_H
#define SIMOUTPUT_H

#include "simulator/simmotion.h"
#include "simulator/simparametertable.h"

#include <QByteArray>
#include <QList>

class SimBodies;

// The controller's data output: which outputs are switched on ("output
// active chmon <type>"), the format of the tool line ("measurementtool
// output_6dmt"), and the lines of one frame. Answers the parameters of the
// Output family.
class SimOutput
{
public:
    int get(const SimParameterTable::Match &m, QByteArray *value) const;
    int setSwitch(const QByteArray &type, const QList<QByteArray> &words);
    int setFormat(const QList<QByteArray> &words);
    const QList<QByteArray> &switchedOn() const { return outputsOn; }

    // The lines of a frame while tracking: none while no output is on; the
    // newer tool format only where the backend knows it.
    QList<QByteArray> frame(quint32 counter, double seconds, const SimBodies &bodies, SimMotion motion, int buttonCount,
                            bool newFormatKnown) const;

private:
    static QByteArray toolLine(double seconds, const SimBodies &bodies, SimMotion motion, int buttonCount,
                               bool newFormat);
    static QByteArray referenceLine(double seconds, const SimBodies &bodies, SimMotion motion);

    bool olderToolFormat = true;
    QList<QByteArray> outputsOn;
};

#endif // SIMOUTPUT_H
