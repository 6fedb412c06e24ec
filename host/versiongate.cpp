#include "host/versiongate.h"

#include "host/backendversions.h"

bool VersionGate::atLeast(const qint32 (&version)[3], qint32 major, qint32 minor, qint32 patch)
{
    if (version[0] != major)
        return version[0] > major;
    if (version[1] != minor)
        return version[1] > minor;
    return version[2] >= patch;
}

bool VersionGate::backendAtLeast(const BackendVersions *versions, qint32 major, qint32 minor)
{
    return versions && atLeast(versions->backendVersion, major, minor, -1);
}
