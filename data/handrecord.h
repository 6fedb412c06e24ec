#ifndef HANDRECORD_H
#define HANDRECORD_H

#include "data/fingerrecord.h"

#include <cstdint>

struct HandRecord
{
    static constexpr int MaxFingers = 5;

    int32_t id;
    double quality;      // -1.0: not tracked
    int32_t handCode;    // the code the line gives after the quality
    int32_t fingerCount; // valid entries of fingers (at most 5); negative means none
    double pos[3];       // mm
    double rot[9];       // rotation matrix in line order
    FingerRecord fingers[MaxFingers];
};

#endif // HANDRECORD_H
