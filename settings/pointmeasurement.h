#ifndef POINTMEASUREMENT_H
#define POINTMEASUREMENT_H

#include <QtGlobal>
#include <climits>
#include <cmath>

// The point measurement parameters as the settings dialog shows them: one
// value for every tool. Initially the defaults, which the dialog also shows
// while no tool exists or when the controller's value cannot be read.
struct PointMeasurement
{
    static constexpr double DefaultDuration = 1.0;      // s
    static constexpr double DefaultTipTolerance = 1.5;  // mm
    static constexpr double DefaultStartAngle = 30.0;   // degrees
    static constexpr double DefaultStartLeadTime = 0.2; // s

    double duration = DefaultDuration;
    double tipTolerance = DefaultTipTolerance;
    bool startSimulation = false;
    double startAngle = DefaultStartAngle;
    double startLeadTime = DefaultStartLeadTime;

    // The start angle as its spin box holds it, in whole degrees: truncated
    // toward zero, bounded first so that no controller value overflows the
    // conversion. "nan", no angle at all, shows as the box's minimum.
    static int wholeDegrees(double degrees)
    {
        if (std::isnan(degrees))
            return INT_MIN;
        return int(std::trunc(qBound(-1.0e6, degrees, 1.0e6)));
    }
};

#endif // POINTMEASUREMENT_H
