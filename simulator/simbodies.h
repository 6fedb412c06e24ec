#ifndef SIMBODIES_H
#define SIMBODIES_H

#include "simulator/simbody.h"
#include "simulator/simparametertable.h"

#include <QByteArray>
#include <QList>
#include <QVector>

// The controller's measurement tools and references: how many are in use
// within its body capacity, and what it keeps per body. Answers the
// parameters of the Bodies family. Per-body values survive when a count
// shrinks and grows again.
class SimBodies
{
public:
    static constexpr int ToolLimit = 4;      // measurement tools the controller can track
    static constexpr int ReferenceLimit = 4; // references likewise
    static constexpr int MaxCapacity = ToolLimit + ReferenceLimit;

    // The power-on bodies.
    SimBodies();

    int toolCount() const { return toolsInUse; }
    int referenceCount() const { return referencesInUse; }
    const SimBody &tool(int index) const { return tools.at(index); }
    const SimBody &reference(int index) const { return references.at(index); }
    // The first calibrated tool that still lacks its tip, else the first
    // calibrated tool; -1 for none.
    int toolToCalibrate() const;
    void acceptTip(int index) { tools[index].tipCalibrated = true; }

    // Simulation settings: the capacity, and the flags of a tool or reference by its 1-based number.
    enum Flag { BodyCalibrated, TipCalibrated, ReferenceCalibrated };
    void setCapacity(int capacity);
    void setFlag(Flag flag, int number, bool on);

    int get(const SimParameterTable::Match &m, QByteArray *value) const;
    int set(const SimParameterTable::Match &m, const QList<QByteArray> &words);

private:
    int maxTools() const;
    int maxReferences() const;
    int getToolValue(const SimParameterTable::Match &m, QByteArray *value) const;
    int setDevice(int item, const QList<QByteArray> &words);
    int setCount(const SimParameterTable::Match &m, const QByteArray &text);
    int setToolValue(SimBody &tool, const SimParameterTable::Match &m, const QByteArray &text);

    QVector<SimBody> tools;
    QVector<SimBody> references;
    int toolsInUse = 2;
    int referencesInUse = 2;
    int bodyCapacity = 6;
};

#endif // SIMBODIES_H
