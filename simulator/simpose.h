#ifndef SIMPOSE_H
#define SIMPOSE_H

#include <QtGlobal>

// One body as a data line reports it.
struct SimPose
{
    bool tracked = false;
    double quality = 1.0;                        // of a tracked body, 0..1
    double pos[3] = {0.0, 0.0, 0.0};             // mm
    double rot[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; // column by column
    int buttonCount = 0;
    quint32 buttons = 0;                  // bit k: button k pressed
    double tipRadius = 0.0;               // mm
    double extra[6] = {0, 0, 0, 0, 0, 0}; // tip position and tool axis
};

#endif // SIMPOSE_H
