#ifndef JOINTRECORD_H
#define JOINTRECORD_H

#include <cstdint>

// One joint of a skeleton.
struct JointRecord
{
    int32_t id; // as the line gives it; not an index
    double quality;
    double pos[3];    // mm
    double angles[3]; // as the line gives them
    double rot[9];    // rotation matrix in line order
};

#endif // JOINTRECORD_H
