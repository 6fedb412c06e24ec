#include "simulator/simradio.h"

#include "simulator/simerror.h"

QList<SimRadio::Device> SimRadio::devicesAt(qint64 nowMs) const
{
    QList<Device> devices = {
        {"simco", "mt4b", "42"},
        {"simco", "mt2b", "1234"},
        {"simco", "mtx", "7"},
    };
    const bool visitorInRange = churnSeconds == 0 || (nowMs / (qint64(churnSeconds) * 1000)) % 2 == 1;
    if (visitorInRange)
        devices.append({"radix", "mt4b", "123456"});
    return devices;
}

bool SimRadio::modelDescription(const QByteArray &vendor, const QByteArray &model, QByteArray *description)
{
    if (vendor != "simco" && vendor != "radix")
        return false;
    if (model == "mt4b")
        *description = "\"Measurement Tool 4 buttons\"";
    else if (model == "mt2b")
        *description = "\"Measurement Tool 2 buttons\"";
    else if (model == "mtx")
        *description = "\"Measurement Tool without buttons\"";
    else
        return false;
    return true;
}

int SimRadio::get(const SimParameterTable::Match &m, qint64 nowMs, QByteArray *value) const
{
    if (m.param == SimParameterTable::KinwaveDeviceModelDesc)
        return modelDescription(m.vendor, m.model, value) ? int(SimError::None) : int(SimError::NoSuchItem);
    const QList<Device> devices = devicesAt(nowMs);
    if (m.param == SimParameterTable::MtNumberOfKinwaveDevices) {
        *value = QByteArray::number(devices.size());
        return SimError::None;
    }
    if (m.item < 1)
        return SimError::NoSuchItem;
    // A device may leave between the count and this query: "none".
    if (m.item > devices.size()) {
        *value = "none";
    } else {
        const Device &d = devices.at(m.item - 1);
        *value = d.vendor + ' ' + d.model + ' ' + d.serial;
    }
    return SimError::None;
}
