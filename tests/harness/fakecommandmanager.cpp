#include "fakecommandmanager.h"

#include <climits>
#include <cstdio>

#include "host/cnumber.h"

namespace {
// The whole text read as a number, nothing after it.
bool whole(const QByteArray &text, const char *end)
{
    return !text.isEmpty() && end && *end == '\0';
}
} // namespace

// The body of a variadic operation: the call, given the arguments as args.
#define MT_WITH_ARGS(...)                                                                                              \
    va_list args;                                                                                                      \
    va_start(args, format);                                                                                            \
    const int result = __VA_ARGS__;                                                                                    \
    va_end(args);                                                                                                      \
    return result

void FakeCommandManager::answer(const QByteArray &text, int result, const QByteArray &reply)
{
    answers.insert(text, {Answer{result, reply}});
}

void FakeCommandManager::queue(const QByteArray &text, const QList<Answer> &list)
{
    answers.insert(text, list);
}

void FakeCommandManager::whenAsked(const QByteArray &text, const std::function<void()> &action)
{
    actions.insert(text, action);
}

QStringList FakeCommandManager::callsOf(const QString &operation) const
{
    QStringList result;
    for (const QString &call : calls)
        if (call == operation || call.startsWith(operation + QLatin1Char(' ')))
            result.append(call);
    return result;
}

FakeCommandManager::Answer FakeCommandManager::take(const char *operation, const QByteArray &text)
{
    calls.append(QString::fromLatin1(operation) + QLatin1Char(' ') + QString::fromLatin1(text));
    // A copy: the action may replace itself.
    const std::function<void()> action = actions.value(text);
    if (action)
        action();
    auto it = answers.find(text);
    if (it == answers.end() || it->isEmpty())
        return Answer{defaultResult, QByteArray()};
    return it->size() > 1 ? it->takeFirst() : it->first();
}

int FakeCommandManager::reply(const char *operation, char *reply, const char *format, va_list args)
{
    // Formatted as a host would; a text that does not fit is reported, not cut.
    char text[1024];
    const int length = std::vsnprintf(text, sizeof text, format, args);
    if (length < 0 || length >= int(sizeof text)) {
        calls.append(QString::fromLatin1(operation) + QStringLiteral(" <text too long>"));
        return TextTooLong;
    }
    const Answer answer = take(operation, QByteArray(text, length));
    if (reply)
        qstrncpy(reply, answer.reply.constData(), IOManager::ReplySize);
    return answer.result;
}

int FakeCommandManager::reserved(const char *name)
{
    calls.append(QString::fromLatin1(name));
    return -1;
}

int FakeCommandManager::commandPreset(int a, int b, int c)
{
    calls.append(QStringLiteral("commandPreset %1 %2 %3").arg(a).arg(b).arg(c));
    return 0;
}

int FakeCommandManager::sendCommand(char *replyBuffer, const char *format, ...)
{
    MT_WITH_ARGS(reply("sendCommand", replyBuffer, format, args));
}

int FakeCommandManager::getParameter(char *replyBuffer, const char *format, ...)
{
    MT_WITH_ARGS(reply("getParameter", replyBuffer, format, args));
}

int FakeCommandManager::setParameter(const char *format, ...)
{
    MT_WITH_ARGS(reply("setParameter", nullptr, format, args));
}

// The typed getters read the whole reply text; anything else is not a value.
int FakeCommandManager::typedReply(const char *operation, const char *format, va_list args,
                                   const std::function<bool(const QByteArray &)> &read)
{
    char text[IOManager::ReplySize];
    const int result = reply(operation, text, format, args);
    return result != 0 || read(QByteArray(text)) ? result : NotANumber;
}

int FakeCommandManager::getIntParameter(int *value, const char *format, ...)
{
    MT_WITH_ARGS(typedReply("getIntParameter", format, args, [value](const QByteArray &text) {
        char *end = nullptr;
        const long number = CNumber::toLong(text.constData(), &end, 10);
        const bool ok = whole(text, end) && number >= INT_MIN && number <= INT_MAX;
        if (ok)
            *value = int(number);
        return ok;
    }));
}

int FakeCommandManager::getDoubleParameter(double *value, const char *format, ...)
{
    MT_WITH_ARGS(typedReply("getDoubleParameter", format, args, [value](const QByteArray &text) {
        char *end = nullptr;
        const double number = CNumber::toDouble(text.constData(), &end);
        if (whole(text, end))
            *value = number;
        return whole(text, end);
    }));
}

int FakeCommandManager::getBoolParameter(bool *value, const char *format, ...)
{
    MT_WITH_ARGS(typedReply("getBoolParameter", format, args, [value](const QByteArray &text) {
        if (text == "yes" || text == "no")
            *value = text == "yes";
        return text == "yes" || text == "no";
    }));
}

int FakeCommandManager::subscribeOutput(const char *outputType, Requester *requester)
{
    calls.append(QStringLiteral("subscribeOutput %1").arg(QLatin1String(outputType)));
    subscriptions.append(qMakePair(QByteArray(outputType), requester));
    return 0;
}

int FakeCommandManager::unsubscribeOutput(const char *outputType, Requester *requester)
{
    calls.append(QStringLiteral("unsubscribeOutput %1").arg(QLatin1String(outputType)));
    subscriptions.removeAll(qMakePair(QByteArray(outputType), requester));
    return 0;
}

int FakeCommandManager::addRequester(Requester *requester)
{
    calls.append(QStringLiteral("addRequester"));
    requesters.append(requester);
    return 0;
}

int FakeCommandManager::renewRequester(Requester *requester, const char *outputType, int flags)
{
    calls.append(
        QStringLiteral("renewRequester %1 %2").arg(QLatin1String(outputType ? outputType : "(null)")).arg(flags));
    renewedRequesters.append(requester);
    return 0;
}

int FakeCommandManager::logMessage(const char *category, const char *source, int level, const char *text)
{
    calls.append(QStringLiteral("logMessage %1 %2 %3 %4")
                     .arg(QString::fromLatin1(category), QString::fromLatin1(source), QString::number(level),
                          QString::fromLatin1(text)));
    return 0;
}
