#ifndef SIMMOTION_H
#define SIMMOTION_H

#include "simulator/simpose.h"

// Where the simulated bodies are at a time: tools sweep smoothly around
// their own centres, references drift slightly, buttons get pressed and
// bodies lose tracking now and then. A pure function of the time, so a
// manual clock gives reproducible frames.
class SimMotion
{
public:
    void setTrackingLoss(bool on) { trackingLoss = on; }
    void setButtonPresses(bool on) { buttonPresses = on; }
    bool hasTrackingLoss() const { return trackingLoss; }
    bool hasButtonPresses() const { return buttonPresses; }

    // index: 0-based tool; seconds: time since tracking started.
    SimPose tool(int index, double seconds, int buttonCount, double tipRadius) const;
    SimPose reference(int index, double seconds) const;

    // R = Rx(rx) Ry(ry) Rz(rz), angles in degrees, written column by column.
    static void rotation(double rx, double ry, double rz, double rot[9]);

private:
    bool trackingLoss = true;
    bool buttonPresses = true;
};

#endif // SIMMOTION_H
