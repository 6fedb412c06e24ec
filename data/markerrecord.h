#ifndef MARKERRECORD_H
#define MARKERRECORD_H

#include <cstdint>

// A single marker, not part of a body.
struct MarkerRecord
{
    int32_t id;
    double quality;
    double pos[3]; // mm
};

#endif // MARKERRECORD_H
