#ifndef SIMDATAWRITER_H
#define SIMDATAWRITER_H

#include "simulator/simpose.h"

#include <QByteArray>
#include <QList>

// Writes the controller's ASCII data output lines. Numbers in the "C"
// locale; an untracked tool keeps its slot with quality -1, an untracked
// reference is left out of its line.
class SimDataWriter
{
public:
    static QByteArray frameLine(quint32 frameCounter); // "fr 123"
    static QByteArray timestampLine(double seconds);   // "ts 4.567"
    // Older tool format: every tool in order, four button bits.
    static QByteArray toolLine6dmt(const QList<SimPose> &tools);
    // Newer tool format; the first count is the number of calibrated tools.
    static QByteArray toolLine6dmt2(int calibratedTools, const QList<SimPose> &tools);
    // References: the first count is the number of references, the groups
    // are those tracked.
    static QByteArray referenceLine6dmtr(const QList<SimPose> &references);

private:
    static void appendNumbers(QByteArray &line, const double *values, int count, int decimals);
};

#endif // SIMDATAWRITER_H
