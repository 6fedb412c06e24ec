#ifndef ROTATIONANGLES_H
#define ROTATIONANGLES_H

// The three angles, in degrees, of a rotation matrix given as nine values
// in data line order (the matrix read column by column): R = Rx(rx) Ry(ry) Rz(rz).
class RotationAngles
{
public:
    explicit RotationAngles(const double (&rot)[9]);

    double rx;
    double ry;
    double rz; // 0 where cos(ry) = 0 leaves it undetermined
};

#endif // ROTATIONANGLES_H
