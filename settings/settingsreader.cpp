#include "settings/settingsreader.h"

#include <cmath>

#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"

SettingsReader::SettingsReader(IOManager *commandManager, const BackendVersions *versions)
    : pCommandManager(commandManager)
    , pBackendVersions(versions)
{ }

bool SettingsReader::readCount(const char *parameter, int maxCount, int *value) const
{
    int read = 0;
    if (pCommandManager->getIntParameter(&read, "measurementtool %s", parameter) != 0)
        return false;
    *value = qBound(0, read, maxCount);
    return true;
}

// A value read is used as read, also "inf" or "nan": the spin box keeps it
// within its range.
double SettingsReader::firstToolParameter(const char *parameter, double defaultValue, const QString &failure) const
{
    double read = 0.0;
    if (pCommandManager->getDoubleParameter(&read, "measurementtool %s b01", parameter) == 0)
        return read;
    FailureLog::report(pCommandManager, failure);
    return defaultValue;
}

bool SettingsReader::firstToolStartSimulation() const
{
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool measurement_start_simulation b01") == 0)
        return reply.is(ReplyWord::Yes);
    FailureLog::report(pCommandManager, tr("Error: Unable to get state of measurement start simulation"));
    return false;
}

bool SettingsReader::oldOutputFormat() const
{
    ReplyBuffer reply;
    return pCommandManager->getParameter(reply.data(), "measurementtool output_6dmt") != 0 || !reply.is(ReplyWord::No);
}

double SettingsReader::tipDiameter(int index) const
{
    if (!VersionGate::supports(pBackendVersions, Feature::TipRadius))
        return 0.0;
    double radius = 0.0;
    if (pCommandManager->getDoubleParameter(&radius, "measurementtool tip_radius %s", NumberedItem::body(index).c_str())
            != 0
        || !(radius >= 0.0))
        radius = 0.0;
    const double diameter = 2.0 * radius;
    return std::isfinite(diameter) ? diameter : 0.0;
}

bool SettingsReader::radioDevices() const
{
    return VersionGate::supports(pBackendVersions, Feature::RadioDevices);
}

bool SettingsReader::toolDevice(int index, RadioDevice *device) const
{
    if (!radioDevices())
        return false;
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool device %s", NumberedItem::body(index).c_str()) != 0
        || reply.is(ReplyWord::None))
        return false;
    *device = RadioDevice::fromToolReply(reply.text());
    return true;
}

int SettingsReader::deviceCount(int maxCount) const
{
    if (!radioDevices())
        return 0;
    int count = 0;
    if (pCommandManager->getIntParameter(&count, "measurementtool number_of_kinwave_devices") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get number of Measurementtools"));
        return 0;
    }
    return qBound(0, count, maxCount);
}

bool SettingsReader::listedDevice(int index, RadioDevice *device) const
{
    if (!radioDevices())
        return false;
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool kinwave_device %s",
                                      NumberedItem::device(index).c_str())
        != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get device info of MeasurementTool d0%1"),
                           NumberedItem::number(index));
        return false;
    }
    if (reply.is(ReplyWord::None))
        return false;
    *device = RadioDevice::fromListReply(reply.text());
    return true;
}

QString SettingsReader::modelDescription(const RadioDevice &device) const
{
    if (!radioDevices())
        return device.model;
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "kinwave device_model_desc %s %s",
                                      device.vendor.toLatin1().constData(), device.model.toLatin1().constData())
        != 0) {
        FailureLog::report(
            pCommandManager,
            tr("Error: Unable to get model description of vendor %1 model %2").arg(device.vendor, device.model));
        return device.model;
    }
    return QString::fromLatin1(reply.text()).remove(QLatin1Char('"'));
}
