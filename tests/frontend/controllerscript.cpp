#include "controllerscript.h"

#include <QMutexLocker>

void ControllerScript::set(const QByteArray &line, Kind kind, const QByteArray &bytes, int delayMs)
{
    QMutexLocker locker(&mutex);
    actions.insert(line, Action{kind, bytes, delayMs});
}

ControllerScript::Action ControllerScript::take(const QByteArray &line)
{
    QMutexLocker locker(&mutex);
    lines.append(line);
    return actions.value(line, Action{Reply, "orvel2 err 1 unknown command", 0});
}

QList<QByteArray> ControllerScript::received() const
{
    QMutexLocker locker(&mutex);
    return lines;
}

void ControllerScript::clear(bool all)
{
    QMutexLocker locker(&mutex);
    lines.clear();
    if (all)
        actions.clear();
}
