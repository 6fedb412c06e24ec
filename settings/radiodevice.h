#ifndef RADIODEVICE_H
#define RADIODEVICE_H

#include <QString>

// A radio device as the controller names it. All four texts empty: no device.
struct RadioDevice
{
    QString vendor;
    QString model;     // the controller's model word
    QString serial;    // left-padded with "0" to five characters at least
    QString modelDesc; // readable model description, else the model word

    // Identity is vendor, model and serial; the description only shows it.
    bool isNone() const { return vendor.isEmpty() && model.isEmpty() && serial.isEmpty(); }
    void clear() { *this = RadioDevice(); }
};

#endif // RADIODEVICE_H
