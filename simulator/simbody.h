#ifndef SIMBODY_H
#define SIMBODY_H

#include <QByteArray>

// What the controller keeps per measurement tool or reference. References
// use only bodyCalibrated.
struct SimBody
{
    bool bodyCalibrated = false;
    // Measurement tools:
    int reference = -1;      // 0-based reference index, -1 for none
    QByteArray deviceVendor; // radio device; empty vendor for none
    QByteArray deviceModel;
    QByteArray deviceSerial;
    double tipRadius = 1.0; // mm
    bool tipCalibrated = false;
    double measurementDuration = 1.0;     // s
    double measurementTipTolerance = 1.5; // mm
    bool measurementStartSimulation = false;
    double measurementStartAngle = 40.0;   // deg
    double measurementStartLeadTime = 0.2; // s
};

#endif // SIMBODY_H
