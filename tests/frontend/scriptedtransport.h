#ifndef SCRIPTEDTRANSPORT_H
#define SCRIPTEDTRANSPORT_H

#include "frontend/controllertransport.h"

class ControllerScript;

// A controller in-process that answers from a script at once: a reply
// delayed beyond the time-out, or none at all, is a time-out; a closed
// connection is a loss.
class ScriptedTransport : public ControllerTransport
{
    Q_OBJECT

public:
    explicit ScriptedTransport(ControllerScript *controllerScript) : script(controllerScript) {}
    Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) override;
    QString description() const override { return QStringLiteral("scripted controller"); }

private:
    ControllerScript *script;
};

#endif // SCRIPTEDTRANSPORT_H
