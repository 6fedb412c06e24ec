#ifndef FINGERRECORD_H
#define FINGERRECORD_H

// One finger of a tracked hand.
struct FingerRecord
{
    double pos[3];    // mm
    double rot[9];    // rotation matrix in line order
    double values[6]; // the six finger values in line order
};

#endif // FINGERRECORD_H
