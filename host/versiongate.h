#ifndef VERSIONGATE_H
#define VERSIONGATE_H

#include <QtGlobal>

struct BackendVersions;

// The backend version 1.<minor> from which the controller knows each feature
// the module uses.
enum class Feature : qint32 {
    MeasurementTool = 3,   // "measurementtool ..." parameters and the tool calibration
    StepDuration = 4,      // "cal step_duration", the calibration's remaining time
    ConfigurationLock = 9, // "config is_changeable"
    OutputFormat = 13,     // "measurementtool output_6dmt", the newer tool line
    TipRadius = 13,        // "measurementtool tip_radius"
    RadioDevices = 14,     // "measurementtool device", "kinwave ..."
};

// Feature gates on the controller's version triples, compared
// lexicographically as signed integers.
class VersionGate
{
public:
    // (v[0], v[1], v[2]) >= (major, minor, patch)
    static bool atLeast(const qint32 (&version)[3], qint32 major, qint32 minor, qint32 patch);

    // Backend at least major.minor, that is against (major, minor, -1), so
    // every patch of major.minor passes, -1 included. No record: closed.
    static bool backendAtLeast(const BackendVersions *versions, qint32 major, qint32 minor);

    // The common form: backend at least 1.minor.
    static bool backendAtLeast(const BackendVersions *versions, qint32 minor)
    {
        return backendAtLeast(versions, 1, minor);
    }

    static bool supports(const BackendVersions *versions, Feature feature)
    {
        return backendAtLeast(versions, 1, qint32(feature));
    }
};

#endif // VERSIONGATE_H
