#include "settings/settingswriter.h"

#include "host/cnumber.h"
#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "settings/settingsreader.h"

namespace {

const char *parameterOf(SettingsWriter::Count count)
{
    return count == SettingsWriter::Count::Tools ? "number_of_tools" : "number_of_references";
}

// A body number in a message: two digits ("07").
QString twoDigits(int index)
{
    return QStringLiteral("%1").arg(NumberedItem::number(index), 2, 10, QLatin1Char('0'));
}

} // namespace

SettingsWriter::SettingsWriter(IOManager *commandManager)
    : pCommandManager(commandManager)
{ }

bool SettingsWriter::setCount(Count count, int value)
{
    return sendCount(count, value,
                     count == Count::Tools ? tr("Error: Unable to set number of mea tools = %1")
                                           : tr("Error: Unable to set number of mea references = %1"));
}

void SettingsWriter::applyCount(Count count, int wanted)
{
    int current = -1;
    if (pCommandManager->getIntParameter(&current, "measurementtool %s", parameterOf(count)) != 0)
        current = -1;
    if (current != wanted)
        setCount(count, wanted);
}

void SettingsWriter::restoreCounts(int tools, int loadedTools, int references, int loadedReferences)
{
    // The controller derives each kind's maximum from the other count: with
    // tools removed, the references go back first so that the tools fit.
    if (loadedTools > tools) {
        restoreCount(Count::References, references, loadedReferences);
        restoreCount(Count::Tools, tools, loadedTools);
    } else {
        restoreCount(Count::Tools, tools, loadedTools);
        restoreCount(Count::References, references, loadedReferences);
    }
}

void SettingsWriter::restoreCount(Count count, int current, int loaded)
{
    if (current == loaded)
        return;
    // Cancel words the references' failure its own way.
    if (count == Count::Tools)
        setCount(count, loaded);
    else
        sendCount(count, loaded, tr("Error: Unable to set number of references = %1"));
}

bool SettingsWriter::sendCount(Count count, int value, const QString &failure)
{
    if (pCommandManager->setParameter("measurementtool %s %d", parameterOf(count), value) == 0)
        return true;
    FailureLog::report(pCommandManager, failure, value);
    return false;
}

void SettingsWriter::applyReferences(const QList<int> &references, int tools)
{
    for (int i = 0; i < tools; ++i) {
        const NumberedItem tool = NumberedItem::body(i);
        const int reference = references.value(i, -1);
        const int result = reference < 0
            ? pCommandManager->setParameter("measurementtool reference_of_tool %s none", tool.c_str())
            : pCommandManager->setParameter("measurementtool reference_of_tool %s %s", tool.c_str(),
                                            NumberedItem::body(reference).c_str());
        if (result != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set ref. body"));
    }
}

void SettingsWriter::applyDevices(const QList<RadioDevice> &devices, int tools)
{
    for (int i = 0; i < tools; ++i) {
        const NumberedItem tool = NumberedItem::body(i);
        const RadioDevice device = devices.value(i);
        const int result = device.isNone()
            ? pCommandManager->setParameter("measurementtool device %s none", tool.c_str())
            : pCommandManager->setParameter("measurementtool device %s kinwave %s %s %s", tool.c_str(),
                                            device.vendor.toUtf8().constData(), device.model.toUtf8().constData(),
                                            device.serial.toUtf8().constData());
        if (result != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set radio device"));
    }
}

void SettingsWriter::applyPointMeasurement(const PointMeasurement &wanted, int tools)
{
    applyParameter("measurement_duration", wanted.duration, tools,
                   tr("Error: Unable to set mea duration for body b%1"));
    applyParameter("measurement_tip_tolerance", wanted.tipTolerance, tools,
                   tr("Error: Unable to set tip tolerance for body b%1"));
    applyStartSimulation(wanted.startSimulation, tools);
    applyParameter("measurement_start_angle", wanted.startAngle, tools,
                   tr("Error: Unable to set mea angular speed for body b%1"));
    applyParameter("measurement_start_lead_time", wanted.startLeadTime, tools,
                   tr("Error: Unable to set mea. start lead time for body b%1"));
}

void SettingsWriter::applyParameter(const char *parameter, double wanted, int tools, const QString &failure)
{
    for (int i = 0; i < tools; ++i) {
        const NumberedItem body = NumberedItem::body(i);
        // An unreadable value counts as different.
        double current = -1.0;
        if (pCommandManager->getDoubleParameter(&current, "measurementtool %s %s", parameter, body.c_str()) != 0)
            current = -1.0;
        if (current == wanted)
            continue;
        if (pCommandManager->setParameter("measurementtool %s %s %s", parameter, body.c_str(),
                                          CNumber::fixed3(wanted).c_str())
            != 0)
            FailureLog::report(pCommandManager, failure, twoDigits(i));
    }
}

void SettingsWriter::applyStartSimulation(bool wanted, int tools)
{
    for (int i = 0; i < tools; ++i) {
        const NumberedItem body = NumberedItem::body(i);
        ReplyBuffer reply;
        // An unreadable state matches neither box state.
        if (pCommandManager->getParameter(reply.data(), "measurementtool measurement_start_simulation %s", body.c_str())
                == 0
            && reply.is(ReplyWord::Yes) == wanted)
            continue;
        if (pCommandManager->setParameter("measurementtool measurement_start_simulation %s %s", body.c_str(),
                                          wanted ? ReplyWord::Yes : ReplyWord::No)
            != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to activate start simulation for body b%1"),
                               twoDigits(i));
    }
}

void SettingsWriter::applyOutputFormat(bool useOldFormat)
{
    // An unreadable switch counts as the old format being on.
    bool oldFormat = true;
    if (pCommandManager->getBoolParameter(&oldFormat, "measurementtool output_6dmt") != 0)
        oldFormat = true;
    if (useOldFormat && !oldFormat) {
        if (pCommandManager->setParameter("measurementtool output_6dmt yes") != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set to old output format"));
    } else if (!useOldFormat && oldFormat) {
        if (pCommandManager->setParameter("measurementtool output_6dmt no") != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to (un)set to old output format"));
    }
}

void SettingsWriter::applyTipRadii(const QList<double> &tipDiameters, int tools, SettingsReader reader)
{
    for (int i = 0; i < tools; ++i) {
        const double radius = 0.5 * tipDiameters.value(i, 0.0);
        if (radius == 0.5 * reader.tipDiameter(i))
            continue;
        if (pCommandManager->setParameter("measurementtool tip_radius %s %s", NumberedItem::body(i).c_str(),
                                          CNumber::fixed3(radius).c_str())
            != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set tip radius of mea tool b0%1"),
                               NumberedItem::number(i));
    }
}
