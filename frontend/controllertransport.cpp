#include "frontend/controllertransport.h"

ControllerTransport::ControllerTransport(QObject *parent)
    : QObject(parent)
{
}

QString ControllerTransport::statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return QStringLiteral("ok");
    case Status::TimedOut:
        return QStringLiteral("no reply within the time-out");
    case Status::Lost:
        return QStringLiteral("connection lost");
    case Status::NotConnected:
        return QStringLiteral("not connected");
    }
    return QString();
}
