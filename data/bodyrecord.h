#ifndef BODYRECORD_H
#define BODYRECORD_H

#include <cstdint>

// A standard body, and also a measurement tool reference.
struct BodyRecord
{
    int32_t id;     // 0-based index of the body
    double quality; // -1.0: not tracked
    double pos[3];  // mm
    double rot[9];  // rotation matrix in line order
};

#endif // BODYRECORD_H
