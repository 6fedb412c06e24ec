#ifndef VERSIONGATE_H
#define VERSIONGATE_H

#include <QtGlobal>

struct BackendVersions;

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
};

#endif // VERSIONGATE_H
