#ifndef SETTINGSREADER_H
#define SETTINGSREADER_H

#include <QCoreApplication>
#include <QString>

#include "settings/radiodevice.h"

class IOManager;
struct BackendVersions;

// The settings dialog's reads of values from the controller, each with the
// fallback the dialog shows when the value cannot be read.
class SettingsReader
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    SettingsReader(IOManager *commandManager, const BackendVersions *versions);

    // A count or limit ("number_of_tools", "max_number_of_references", ...)
    // into *value, bounded to 0 .. maxCount; false, and *value untouched,
    // when it cannot be read.
    bool readCount(const char *parameter, int maxCount, int *value) const;

    // The first tool's point measurement parameter; the default where it
    // cannot be read, which is logged with the failure text.
    double firstToolParameter(const char *parameter, double defaultValue, const QString &failure) const;
    bool firstToolStartSimulation() const;

    // Only "no" turns the old output format off; an unreadable switch keeps it on.
    bool oldOutputFormat() const;

    // A tool's tip diameter from its radius; 0.0 below the backend that
    // knows tip radii, and where the radius cannot be read or is negative.
    double tipDiameter(int index) const;

    // Radio devices, where the backend knows them; below, there are none.
    // A tool's device into *device: false, and *device untouched, where the
    // tool has none or it cannot be read.
    bool toolDevice(int index, RadioDevice *device) const;
    // How many devices the controller lists, bounded to 0 .. maxCount; 0
    // where that cannot be read (logged).
    int deviceCount(int maxCount) const;
    // An entry of that list into *device: false for none, and where it
    // cannot be read (logged).
    bool listedDevice(int index, RadioDevice *device) const;
    // The model's readable description; the model word where it cannot be read (logged).
    QString modelDescription(const RadioDevice &device) const;

private:
    bool radioDevices() const;

    IOManager *pCommandManager;
    const BackendVersions *pBackendVersions;
};

#endif // SETTINGSREADER_H
