#include "host/failurelog.h"

#include <QByteArray>

#include "host/iomanager.h"

void FailureLog::report(IOManager *commandManager, const QString &text)
{
    if (!commandManager)
        return;
    const QByteArray latin1 = text.toLatin1();
    commandManager->logMessage(Category, Source, Level, latin1.constData());
}

void FailureLog::report(IOManager *commandManager, const QString &text, int value)
{
    report(commandManager, text.arg(value));
}

void FailureLog::report(IOManager *commandManager, const QString &text, const QString &value)
{
    report(commandManager, text.arg(value));
}

void FailureLog::report(IOManager *commandManager, const QString &text, const char *value)
{
    report(commandManager, text.arg(QString::fromLatin1(value)));
}
