#ifndef SETTINGSWRITER_H
#define SETTINGSWRITER_H

#include <QCoreApplication>
#include <QList>
#include <QString>

#include "settings/pointmeasurement.h"
#include "settings/radiodevice.h"

class IOManager;
class SettingsReader;

// The settings dialog's writes to the controller. The counts go at once
// (from the spin boxes, and back on Cancel); OK writes the rest, each value
// only where the controller's differs. A failed write is logged and the
// next one follows.
class SettingsWriter
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    enum class Count { Tools, References };

    explicit SettingsWriter(IOManager *commandManager);

    // False, and the failure logged, when the controller refuses the count.
    bool setCount(Count count, int value);
    // OK: the count only where the controller's differs; an unreadable one does.
    void applyCount(Count count, int wanted);
    // Cancel: the loaded counts back, where they were changed.
    void restoreCounts(int tools, int loadedTools, int references, int loadedReferences);

    // Every tool's reference (-1: none) and device, whether changed or not.
    void applyReferences(const QList<int> &references, int tools);
    void applyDevices(const QList<RadioDevice> &devices, int tools);

    // The one value of each parameter for every tool, parameter by parameter.
    void applyPointMeasurement(const PointMeasurement &wanted, int tools);

    void applyOutputFormat(bool useOldFormat);
    // The controller keeps radii: half of each tool's diameter, where it
    // differs from the controller's (0.0 for a tool the list has no entry for).
    void applyTipRadii(const QList<double> &tipDiameters, int tools, SettingsReader reader);

private:
    void restoreCount(Count count, int current, int loaded);
    void applyParameter(const char *parameter, double wanted, int tools, const QString &failure);
    void applyStartSimulation(bool wanted, int tools);
    bool sendCount(Count count, int value, const QString &failure);

    IOManager *pCommandManager;
};

#endif // SETTINGSWRITER_H
