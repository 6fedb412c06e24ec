#include "host/controllerfacts.h"

#include "host/iomanager.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"

bool ControllerFacts::measurementToolAvailable(IOManager *commandManager, const BackendVersions *versions)
{
    if (!commandManager || !VersionGate::supports(versions, Feature::MeasurementTool))
        return false;
    ReplyBuffer reply;
    return commandManager->getParameter(reply.data(), "measurementtool available") == 0 && reply.is(ReplyWord::Yes);
}

bool ControllerFacts::configurationLocked(IOManager *commandManager, const BackendVersions *versions)
{
    if (!commandManager || !VersionGate::supports(versions, Feature::ConfigurationLock))
        return false;
    ReplyBuffer reply;
    return commandManager->getParameter(reply.data(), "config is_changeable") == 0 && reply.is(ReplyWord::No);
}
