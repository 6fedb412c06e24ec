#ifndef BACKENDVERSIONS_H
#define BACKENDVERSIONS_H

#include <QMetaType>
#include <QString>

// The host's record of the controller's versions. Shared with the host
// binary: field order and types are its layout.
struct BackendVersions
{
    qint32 productVersion[3]; // major, minor, patch
    qint32 backendVersion[3]; // major, minor, patch
    QString productName;
};

Q_DECLARE_METATYPE(BackendVersions *)

#endif // BACKENDVERSIONS_H
