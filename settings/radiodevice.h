#ifndef RADIODEVICE_H
#define RADIODEVICE_H

#include <QString>

// A radio device as the controller names it. All four texts empty: no device.
struct RadioDevice
{
    // Serials are shown with at least this many characters, "0" in front.
    static constexpr int SerialLength = 5;

    QString vendor;
    QString model;     // the controller's model word
    QString serial;    // left-padded with "0" to five characters at least
    QString modelDesc; // readable model description, else the model word

    // A tool's device, "<family> <vendor> <model> <serial>": the family is
    // not kept, and a serial longer than five characters stays whole.
    static RadioDevice fromToolReply(const char *reply);
    // An entry of the controller's device list, "<vendor> <model> <serial>":
    // the list shows exactly five serial characters, padded in front or cut.
    static RadioDevice fromListReply(const char *reply);

    // Identity is vendor, model and serial; the description only shows it.
    bool isNone() const { return vendor.isEmpty() && model.isEmpty() && serial.isEmpty(); }
    bool isSameDevice(const RadioDevice &other) const
    {
        return vendor == other.vendor && model == other.model && serial == other.serial;
    }
    void clear() { *this = RadioDevice(); }
};

#endif // RADIODEVICE_H
