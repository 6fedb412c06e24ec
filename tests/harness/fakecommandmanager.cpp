#include "fakecommandmanager.h"

#include <QtGlobal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>

#include "host/cnumber.h"

namespace {

constexpr int MaxTextSize = 1024;

// Whole text a number, nothing after it.
bool readLong(const QByteArray &text, long *value)
{
    char *end = nullptr;
    *value = CNumber::toLong(text.constData(), &end, 10);
    return !text.isEmpty() && end && *end == '\0';
}

bool readDouble(const QByteArray &text, double *value)
{
    char *end = nullptr;
    const double number = CNumber::toDouble(text.constData(), &end);
    const bool ok = !text.isEmpty() && end && *end == '\0';
    if (ok)
        *value = number;
    return ok;
}

} // namespace

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
    const QString prefix = operation + QLatin1Char(' ');
    for (const QString &call : calls)
        if (call == operation || call.startsWith(prefix))
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
    char text[MaxTextSize];
    const int length = std::vsnprintf(text, sizeof text, format, args);
    if (length < 0 || length >= MaxTextSize) {
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
    va_list args;
    va_start(args, format);
    const int result = reply("sendCommand", replyBuffer, format, args);
    va_end(args);
    return result;
}

int FakeCommandManager::getParameter(char *replyBuffer, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = reply("getParameter", replyBuffer, format, args);
    va_end(args);
    return result;
}

// The typed getters read the whole reply text; anything else is not a value.
int FakeCommandManager::typedReply(const char *operation, const char *format, va_list args,
                                   const std::function<bool(const QByteArray &)> &read)
{
    char text[IOManager::ReplySize];
    const int result = reply(operation, text, format, args);
    if (result != 0)
        return result;
    return read(QByteArray(text)) ? result : NotANumber;
}

int FakeCommandManager::getIntParameter(int *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = typedReply("getIntParameter", format, args, [value](const QByteArray &text) {
        long number = 0;
        const bool ok = readLong(text, &number) && number >= INT_MIN && number <= INT_MAX;
        if (ok)
            *value = int(number);
        return ok;
    });
    va_end(args);
    return result;
}

int FakeCommandManager::getDoubleParameter(double *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = typedReply("getDoubleParameter", format, args,
                                  [value](const QByteArray &text) { return readDouble(text, value); });
    va_end(args);
    return result;
}

int FakeCommandManager::getBoolParameter(bool *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = typedReply("getBoolParameter", format, args, [value](const QByteArray &text) {
        if (text != "yes" && text != "no")
            return false;
        *value = text == "yes";
        return true;
    });
    va_end(args);
    return result;
}

int FakeCommandManager::setParameter(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = reply("setParameter", nullptr, format, args);
    va_end(args);
    return result;
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
    calls.append(QStringLiteral("renewRequester %1 %2")
                     .arg(outputType ? QLatin1String(outputType) : QLatin1String("(null)"))
                     .arg(flags));
    renewedRequesters.append(requester);
    return 0;
}

int FakeCommandManager::logMessage(const char *category, const char *source, int level, const char *text)
{
    calls.append(QStringLiteral("logMessage %1 %2 %3 %4")
                     .arg(QLatin1String(category), QLatin1String(source))
                     .arg(level)
                     .arg(QString::fromLatin1(text)));
    return 0;
}
