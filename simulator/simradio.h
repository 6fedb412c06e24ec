#ifndef SIMRADIO_H
#define SIMRADIO_H

#include "simulator/simparametertable.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The radio ("kinwave") devices in range of the controller. Three are always
// there; a fourth comes and goes every churn period, so the front-end's
// device list has something to follow. Answers the parameters of the Radio
// family.
class SimRadio
{
public:
    struct Device
    {
        QByteArray vendor;
        QByteArray model;
        QByteArray serial; // as the radio reports it: not padded, may be longer than five
    };

    // 0 keeps every device in range all the time.
    void setChurnSeconds(int seconds) { churnSeconds = qMax(0, seconds); }
    int churn() const { return churnSeconds; }

    QList<Device> devicesAt(qint64 nowMs) const;
    // The readable model name of a vendor's model, in double quotes; false
    // for a model without a description.
    static bool modelDescription(const QByteArray &vendor, const QByteArray &model, QByteArray *description);

    int get(const SimParameterTable::Match &m, qint64 nowMs, QByteArray *value) const;

private:
    int churnSeconds = 5;
};

#endif // SIMRADIO_H
