#include "settings/radiodevice.h"

namespace {

// Words of a reply split at single blanks; a missing word is empty.
QString word(const QString &reply, int index)
{
    return reply.section(QLatin1Char(' '), index, index);
}

} // namespace

RadioDevice RadioDevice::fromToolReply(const char *reply)
{
    const QString text = QString::fromLatin1(reply);
    RadioDevice device;
    device.vendor = word(text, 1);
    device.model = word(text, 2);
    device.serial = word(text, 3);
    while (device.serial.size() < SerialLength)
        device.serial.prepend(QLatin1Char('0'));
    return device;
}

RadioDevice RadioDevice::fromListReply(const char *reply)
{
    const QString text = QString::fromLatin1(reply);
    RadioDevice device;
    device.vendor = word(text, 0);
    device.model = word(text, 1);
    device.serial = word(text, 2).rightJustified(SerialLength, QLatin1Char('0'), true);
    return device;
}
