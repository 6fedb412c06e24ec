#include "simulator/simradio.h"

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
