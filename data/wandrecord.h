#ifndef WANDRECORD_H
#define WANDRECORD_H

#include <cstdint>

// A wand: a tracked body with buttons and joystick axes.
struct WandRecord
{
    int32_t id;          // 0-based index
    double quality;      // -1.0: not tracked
    int32_t buttonCount; // valid entries of buttons; negative means none
    int32_t buttons[16]; // 1 pressed, 0 not
    int32_t axisCount;   // valid entries of axes; negative means none
    double axes[8];      // -1.0 to 1.0
    double pos[3];       // mm
    double rot[9];       // rotation matrix in line order
};

#endif // WANDRECORD_H
