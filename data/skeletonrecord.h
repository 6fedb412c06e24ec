#ifndef SKELETONRECORD_H
#define SKELETONRECORD_H

#include "data/jointrecord.h"

#include <cstdint>

struct SkeletonRecord
{
    static constexpr int MaxJoints = 20;

    int32_t id;
    int32_t jointCount; // valid entries of joints, in line order; negative means none
    JointRecord joints[MaxJoints];
};

#endif // SKELETONRECORD_H
