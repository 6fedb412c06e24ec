#include "simulator/simmotion.h"

#include <cmath>

namespace {

const double DegToRad = 0.017453292519943295;

// Inside a window of `length` seconds that recurs every `period` seconds.
bool inWindow(double seconds, double phase, double period, double length)
{
    const double t = std::fmod(seconds + phase, period);
    return t >= period - length;
}

} // namespace

void SimMotion::rotation(double rx, double ry, double rz, double rot[9])
{
    const double a = rx * DegToRad, b = ry * DegToRad, c = rz * DegToRad;
    const double ca = std::cos(a), sa = std::sin(a);
    const double cb = std::cos(b), sb = std::sin(b);
    const double cc = std::cos(c), sc = std::sin(c);
    // Rows of Rx*Ry*Rz.
    const double m[3][3] = {
        {cb * cc, -cb * sc, sb},
        {sa * sb * cc + ca * sc, -sa * sb * sc + ca * cc, -sa * cb},
        {-ca * sb * cc + sa * sc, ca * sb * sc + sa * cc, ca * cb},
    };
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row)
            rot[column * 3 + row] = m[row][column];
    }
}

SimPose SimMotion::tool(int index, double seconds, int buttonCount, double tipRadius) const
{
    SimPose pose;
    const double phase = 1.7 * index;
    const double t = seconds;
    pose.tracked = !(trackingLoss && inWindow(t, 2.9 * index, 9.0, 0.8));
    pose.quality = 0.9 + 0.1 * std::cos(1.1 * t + phase);
    pose.pos[0] = -150.0 + 150.0 * index + 80.0 * std::sin(0.5 * t + phase);
    pose.pos[1] = 40.0 + 60.0 * std::sin(0.7 * t + phase);
    pose.pos[2] = -1500.0 + 40.0 * std::sin(0.3 * t + phase);
    const double rx = 30.0 * std::sin(0.4 * t + phase);
    const double ry = 20.0 * std::sin(0.3 * t + 0.5 * phase);
    const double rz = 45.0 * std::sin(0.2 * t + phase);
    rotation(rx, ry, rz, pose.rot);

    pose.buttonCount = buttonCount;
    pose.tipRadius = tipRadius;
    if (buttonPresses) {
        for (int k = 0; k < buttonCount && k < 32; ++k) {
            if (inWindow(t, 1.3 * index + 0.9 * k, 6.0, 0.5))
                pose.buttons |= quint32(1) << k;
        }
    }
    // The tip lies 150 mm along the tool's z axis (third column).
    for (int i = 0; i < 3; ++i) {
        pose.extra[3 + i] = pose.rot[6 + i];
        pose.extra[i] = pose.pos[i] + 150.0 * pose.rot[6 + i];
    }
    return pose;
}

SimPose SimMotion::reference(int index, double seconds) const
{
    SimPose pose;
    const double t = seconds;
    pose.tracked = !(trackingLoss && inWindow(t, 3.7 * index, 11.0, 0.7));
    pose.quality = 0.95 + 0.05 * std::cos(0.9 * t + index);
    pose.pos[0] = -100.0 + 200.0 * index + 2.0 * std::sin(0.1 * t + index);
    pose.pos[1] = -60.0 + 1.5 * std::sin(0.13 * t);
    pose.pos[2] = -1700.0 + std::sin(0.07 * t);
    rotation(5.0 * index, 10.0 + std::sin(0.05 * t), -15.0 * index, pose.rot);
    return pose;
}
