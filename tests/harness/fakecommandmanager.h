#ifndef FAKECOMMANDMANAGER_H
#define FAKECOMMANDMANAGER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>
#include <cstdarg>
#include <functional>

#include "host/iomanager.h"

// A scripted command manager that records every call, in order, as one
// readable line ("getParameter measurementtool available"). Answers are
// looked up by the formatted text; a text without an answer fails.
class FakeCommandManager : public IOManager
{
public:
    struct Answer
    {
        int result;
        QByteArray reply; // the reply text, or the value a typed getter reads
    };

    // The same answer every time the text is asked.
    void answer(const QByteArray &text, int result, const QByteArray &reply = QByteArray());
    void answer(const QByteArray &text, const QByteArray &reply) { answer(text, 0, reply); }
    // Successive answers for a polled text; the last one repeats.
    void queue(const QByteArray &text, const QList<Answer> &answers);
    // Result (with an empty reply) for texts without an answer.
    void setDefaultResult(int result) { defaultResult = result; }
    // Runs the action each time the text is asked, after recording the call
    // and before answering: a host that runs events during a command.
    void whenAsked(const QByteArray &text, const std::function<void()> &action);

    QStringList calls;
    QList<Requester *> requesters;
    QList<Requester *> renewedRequesters;
    QList<QPair<QByteArray, Requester *>> subscriptions;

    // Calls whose line starts with the given operation name.
    QStringList callsOf(const QString &operation) const;
    QStringList logMessages() const { return callsOf(QStringLiteral("logMessage")); }

    // IOManager
    int reserved1() override { return reserved("reserved1"); }
    int commandPreset(int a, int b, int c) override;
    int sendCommand(char *reply, const char *format, ...) override;
    int reserved4() override { return reserved("reserved4"); }
    int getParameter(char *reply, const char *format, ...) override;
    int getIntParameter(int *value, const char *format, ...) override;
    int getDoubleParameter(double *value, const char *format, ...) override;
    int getBoolParameter(bool *value, const char *format, ...) override;
    int reserved9() override { return reserved("reserved9"); }
    int reserved10() override { return reserved("reserved10"); }
    int setParameter(const char *format, ...) override;
    int subscribeOutput(const char *outputType, Requester *requester) override;
    int unsubscribeOutput(const char *outputType, Requester *requester) override;
    int addRequester(Requester *requester) override;
    int renewRequester(Requester *requester, const char *outputType, int flags) override;
    int logMessage(const char *category, const char *source, int level, const char *text) override;

    // Failure results of the fake itself.
    static constexpr int DefaultFailure = 1;
    static constexpr int TextTooLong = -101;
    static constexpr int NotANumber = -102;

private:
    Answer take(const char *operation, const QByteArray &text);
    int reply(const char *operation, char *reply, const char *format, va_list args);
    int typedReply(const char *operation, const char *format, va_list args,
                   const std::function<bool(const QByteArray &)> &read);
    int reserved(const char *name);

    QHash<QByteArray, QList<Answer>> answers;
    QHash<QByteArray, std::function<void()>> actions;
    int defaultResult = DefaultFailure;
};

#endif // FAKECOMMANDMANAGER_H
