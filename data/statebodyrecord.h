#ifndef STATEBODYRECORD_H
#define STATEBODYRECORD_H

#include <cstdint>

// A body reported with a tracking state and an error instead of a quality.
struct StateBodyRecord
{
    int32_t id;
    int32_t state;
    double error;
    double pos[3]; // mm
    double rot[9]; // rotation matrix in line order
};

#endif // STATEBODYRECORD_H
