#ifndef MEATOOLRECORD_H
#define MEATOOLRECORD_H

#include <cstdint>

// A measurement tool: a tracked probe with a tip and buttons.
struct MeaToolRecord
{
    int32_t id;          // 0-based index of the tool
    double quality;      // -1.0: not tracked
    int32_t buttonCount; // valid entries of buttons (0 to 16)
    int32_t buttons[16]; // 1 pressed, 0 not; 0 from buttonCount on
    double pos[3];       // tool position, mm
    double rot[9];       // rotation matrix in line order
    double tipRadius;    // 0 in the older line format
    double extra[6];     // the newer format's last block; 0 in the older one
};

#endif // MEATOOLRECORD_H
