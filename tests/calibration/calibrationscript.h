#ifndef CALIBRATIONSCRIPT_H
#define CALIBRATIONSCRIPT_H

#include <QRegularExpression>

#include "fakecommandmanager.h"

// Scripts the controller: "text=reply" answers, "!" fails the query, "!reply" fails it with
// that reply text all the same, "a|b" answers a, then b.
inline void applyScript(FakeCommandManager *fake, const QStringList &script)
{
    for (const QString &line : script) {
        QList<FakeCommandManager::Answer> answers;
        for (const QString &reply : line.section(QLatin1Char('='), 1).split(QLatin1Char('|'))) {
            const bool fails = reply.startsWith(QLatin1Char('!'));
            answers.append({fails ? 1 : 0, (fails ? reply.mid(1) : reply).toLatin1()});
        }
        fake->queue(line.section(QLatin1Char('='), 0, 0).toLatin1(), answers);
    }
}

// The commands sent, the messages logged and the test's own notes ("* ..."), in order.
inline QString transcript(const QStringList &calls)
{
    QStringList events = calls.filter(QRegularExpression(QStringLiteral("^(sendCommand orvel2 |logMessage |\\* )")));
    events.replaceInStrings(QRegularExpression(QStringLiteral("^(sendCommand orvel2 |\\* )")), QString());
    events.replaceInStrings(QStringLiteral("logMessage standard ORVEL3 1 "), QStringLiteral("log: "));
    return events.join(QLatin1String("; "));
}

#endif // CALIBRATIONSCRIPT_H
