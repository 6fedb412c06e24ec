#ifndef HOSTMETATYPES_H
#define HOSTMETATYPES_H

#include <QMetaType>

#include "host/backendversions.h"
#include "host/iomanager.h"

// Host and module store their objects in QVariant; the type ids agree only
// because both register these exact names in the process-wide registry.
inline void registerHostMetaTypes()
{
    qRegisterMetaType<IOManager *>("IOManager*");
    qRegisterMetaType<BackendVersions *>("BackendVersions*");
}

#endif // HOSTMETATYPES_H
