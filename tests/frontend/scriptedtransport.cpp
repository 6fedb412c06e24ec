#include "scriptedtransport.h"

#include "controllerscript.h"

ControllerTransport::Status ScriptedTransport::exchange(const QByteArray &line, int timeoutMs, QByteArray *reply)
{
    const ControllerScript::Action action = script->take(line);
    const int lineEnd = action.bytes.indexOf('\n');
    *reply = (lineEnd < 0 ? action.bytes : action.bytes.left(lineEnd)).left(MaxReplyLength);
    if (action.kind == ControllerScript::Reply)
        return action.delayMs > timeoutMs ? Status::TimedOut : Status::Ok;
    if (action.kind == ControllerScript::CloseAfter && lineEnd >= 0)
        return Status::Ok;
    return action.kind == ControllerScript::Silent ? Status::TimedOut : Status::Lost;
}
