#include "frontend/controllertransport.h"

ControllerTransport::ControllerTransport(QObject *parent)
    : QObject(parent)
{ }

QString ControllerTransport::statusText(Status status)
{
    switch (status) {
    case Status::Ok: return tr("ok");
    case Status::TimedOut: return tr("no reply within the time-out");
    case Status::Lost: return tr("connection lost");
    case Status::NotConnected: return tr("not connected");
    }
    return QString();
}
