#include "data/rotationangles.h"

#include <cmath>

namespace {
constexpr double DegreesPerRadian = 57.29577951308232;
}

RotationAngles::RotationAngles(const double (&r)[9])
{
    ry = std::asin(r[6]) * DegreesPerRadian;
    // Exact comparisons on purpose: only a true gimbal lock takes this branch.
    if ((r[7] == 0.0 && r[8] == 0.0) || (r[3] == 0.0 && r[0] == 0.0)) {
        rz = 0.0;
        rx = std::atan2(r[5], r[4]) * DegreesPerRadian;
    } else {
        rz = -std::atan2(r[3], r[0]) * DegreesPerRadian;
        rx = -std::atan2(r[7], r[8]) * DegreesPerRadian;
    }
}
