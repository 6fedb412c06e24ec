#include "frontend/commandmanager.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "frontend/controllertransport.h"
#include "host/backendversions.h"
#include "host/cnumber.h"

namespace {

const QByteArray GetPrefix("orvel2 get ");
const QByteArray SetPrefix("orvel2 set ");
const QByteArray OkReply("orvel2 ok");
const QByteArray ErrorWord("orvel2 err");
const QByteArray TrackingStart("orvel2 tracking start");
const QByteArray TrackingStop("orvel2 tracking stop");

constexpr int MaxLogTextLength = 4096;

// Command texts are formatted in the "C" locale for this thread only, so a
// decimal comma of the process locale never reaches the controller.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

// Copies a reply into a caller's buffer of IOManager::ReplySize bytes: a
// longer reply is cut, and the NUL always lies inside the buffer.
void copyReply(char *buffer, const QByteArray &reply)
{
    if (!buffer)
        return;
    const int length = qMin(reply.size(), IOManager::ReplySize - 1);
    std::memcpy(buffer, reply.constData(), size_t(length));
    buffer[length] = '\0';
}

// "orvel2 err <n> <message>" gives n; any other reply 0.
int controllerError(const QByteArray &reply)
{
    if (!reply.startsWith(ErrorWord))
        return 0;
    if (reply.size() == ErrorWord.size())
        return CommandManager::UnexpectedReply;
    if (reply.at(ErrorWord.size()) != ' ')
        return 0;

    const int start = ErrorWord.size() + 1;
    int end = start;
    while (end < reply.size() && end - start <= 10 && reply.at(end) >= '0' && reply.at(end) <= '9')
        ++end;
    if (end == start || end - start > 10 || (end < reply.size() && reply.at(end) != ' '))
        return CommandManager::UnexpectedReply;
    const QByteArray digits = reply.mid(start, end - start);
    const long number = CNumber::toLong(digits.constData(), nullptr, 10);
    if (number <= 0 || number > INT_MAX)
        return CommandManager::UnexpectedReply;
    return int(number);
}

// The whole value must be the number; blanks around it are allowed.
bool wholeNumber(const QByteArray &value, const char *end)
{
    while (*end == ' ')
        ++end;
    return end == value.constData() + value.size();
}

bool readInt(const QByteArray &value, int *number)
{
    char *end = nullptr;
    errno = 0;
    const long parsed = CNumber::toLong(value.constData(), &end, 10);
    if (end == value.constData() || errno == ERANGE || !wholeNumber(value, end))
        return false;
    if (parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *number = int(parsed);
    return true;
}

bool readBool(const QByteArray &value, bool *flag)
{
    if (value != "yes" && value != "no")
        return false;
    *flag = value == "yes";
    return true;
}

bool readDouble(const QByteArray &value, double *number)
{
    char *end = nullptr;
    const double parsed = CNumber::toDouble(value.constData(), &end);
    if (end == value.constData() || !wholeNumber(value, end) || !std::isfinite(parsed))
        return false;
    *number = parsed;
    return true;
}

// "<major> <minor> <patch>"
bool readTriple(const QByteArray &value, qint32 (&triple)[3])
{
    const QList<QByteArray> parts = value.simplified().split(' ');
    if (parts.size() != 3)
        return false;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        if (!readInt(parts.at(i), &numbers[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i)
        triple[i] = numbers[i];
    return true;
}

} // namespace

CommandManager::CommandManager(ControllerTransport *transport, QObject *parent)
    : QObject(parent)
    , controller(transport)
{
    if (controller)
        connect(controller, &ControllerTransport::dataLine, this, &CommandManager::routeDataLine);
}

CommandManager::~CommandManager() = default;

QString CommandManager::errorText(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("no error");
    case TimedOut:
        return QStringLiteral("no reply within the time-out");
    case ConnectionLost:
        return QStringLiteral("connection lost");
    case NotConnected:
        return QStringLiteral("not connected");
    case TextTooLong:
        return QStringLiteral("command text too long");
    case BadArgument:
        return QStringLiteral("bad argument");
    case UnexpectedReply:
        return QStringLiteral("unexpected reply");
    case BadValue:
        return QStringLiteral("value of the wrong type");
    case NotSupported:
        return QStringLiteral("operation not supported");
    }
    return error > 0 ? QStringLiteral("controller error %1").arg(error)
                     : QStringLiteral("error %1").arg(error);
}

int CommandManager::formatText(const char *format, va_list args, QByteArray *text)
{
    if (!format)
        return BadArgument;
    char buffer[MaxCommandLength + 1];
    const locale_t previous = uselocale(cLocale());
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    uselocale(previous);
    if (length < 0)
        return BadArgument;
    if (length >= int(sizeof buffer))
        return TextTooLong;
    *text = QByteArray(buffer, length);
    return 0;
}

int CommandManager::exchange(const QByteArray &line, QByteArray *reply)
{
    reply->clear();
    if (line.size() > MaxCommandLength)
        return TextTooLong;
    if (!controller)
        return NotConnected;

    const ControllerTransport::Status status = controller->exchange(line, timeoutMs, reply);
    if (status != ControllerTransport::Status::Ok) {
        log(QStringLiteral("\"%1\": %2 (%3)")
                .arg(QString::fromLatin1(line), ControllerTransport::statusText(status),
                     controller->description()));
    }
    switch (status) {
    case ControllerTransport::Status::Ok:
        return controllerError(*reply);
    case ControllerTransport::Status::TimedOut:
        return TimedOut;
    case ControllerTransport::Status::Lost:
        return ConnectionLost;
    case ControllerTransport::Status::NotConnected:
        return NotConnected;
    }
    return ConnectionLost;
}

// "orvel2 get <text>" answered "orvel2 set <text> <value>" gives <value>.
int CommandManager::query(const QByteArray &text, QByteArray *value)
{
    QByteArray reply;
    const int result = exchange(GetPrefix + text, &reply);
    if (result != 0)
        return result;
    const QByteArray expected = SetPrefix + text + ' ';
    if (!reply.startsWith(expected))
        return UnexpectedReply;
    *value = reply.mid(expected.size());
    return 0;
}

int CommandManager::vquery(const char *format, va_list args, QByteArray *value)
{
    QByteArray text;
    const int result = formatText(format, args, &text);
    return result != 0 ? result : query(text, value);
}

int CommandManager::reserved1()
{
    return NotSupported;
}

// The module presets (0, 5000, 0); our time-out is the front-end's to choose.
int CommandManager::commandPreset(int, int, int)
{
    return 0;
}

int CommandManager::sendCommand(char *reply, const char *format, ...)
{
    if (reply)
        reply[0] = '\0';
    QByteArray line;
    va_list args;
    va_start(args, format);
    int result = formatText(format, args, &line);
    va_end(args);
    if (result != 0)
        return result;

    QByteArray answer;
    result = exchange(line, &answer);
    copyReply(reply, answer);
    if (result == 0)
        noteMeasurementCommand(line, answer);
    return result;
}

int CommandManager::reserved4()
{
    return NotSupported;
}

int CommandManager::getParameter(char *reply, const char *format, ...)
{
    if (!reply)
        return BadArgument;
    reply[0] = '\0';
    QByteArray value;
    va_list args;
    va_start(args, format);
    const int result = vquery(format, args, &value);
    va_end(args);
    if (result == 0)
        copyReply(reply, value);
    return result;
}

// The typed getters read the whole value the controller gives; a value of
// another type is an error, and the variable keeps what it held.
template <typename T>
int CommandManager::vtyped(T *value, const char *format, va_list args, bool (*read)(const QByteArray &, T *))
{
    if (!value)
        return BadArgument;
    QByteArray text;
    const int result = vquery(format, args, &text);
    if (result != 0)
        return result;
    return read(text, value) ? 0 : BadValue;
}

int CommandManager::getIntParameter(int *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vtyped(value, format, args, readInt);
    va_end(args);
    return result;
}

int CommandManager::getDoubleParameter(double *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vtyped(value, format, args, readDouble);
    va_end(args);
    return result;
}

int CommandManager::getBoolParameter(bool *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vtyped(value, format, args, readBool);
    va_end(args);
    return result;
}

int CommandManager::reserved9()
{
    return NotSupported;
}

int CommandManager::reserved10()
{
    return NotSupported;
}

int CommandManager::setParameter(const char *format, ...)
{
    QByteArray text;
    va_list args;
    va_start(args, format);
    int result = formatText(format, args, &text);
    va_end(args);
    if (result != 0)
        return result;

    QByteArray reply;
    result = exchange(SetPrefix + text, &reply);
    if (result != 0)
        return result;
    return reply == OkReply ? 0 : UnexpectedReply;
}

int CommandManager::subscribeOutput(const char *outputType, Requester *requester)
{
    if (!outputType || !requester)
        return BadArgument;
    router.subscribe(QByteArray(outputType), requester);
    return 0;
}

int CommandManager::unsubscribeOutput(const char *outputType, Requester *requester)
{
    if (!outputType || !requester)
        return BadArgument;
    router.unsubscribe(QByteArray(outputType), requester);
    return 0;
}

int CommandManager::addRequester(Requester *requester)
{
    if (!requester)
        return BadArgument;
    router.addRequester(requester);
    return 0;
}

// Re-registers the requester; its subscriptions stay as they are.
int CommandManager::renewRequester(Requester *requester, const char *, int)
{
    if (!requester)
        return BadArgument;
    router.renewRequester(requester);
    return 0;
}

int CommandManager::logMessage(const char *category, const char *source, int level, const char *text)
{
    auto latin1 = [](const char *raw) {
        return raw ? QString::fromLatin1(raw, int(qstrnlen(raw, MaxLogTextLength))) : QString();
    };
    const QDateTime now = QDateTime::currentDateTime();
    const QString message = latin1(text);
    const QString from = latin1(source);
    std::fprintf(stderr, "%s %s: %s\n", qPrintable(now.toString(QStringLiteral("HH:mm:ss.zzz"))),
                 qPrintable(from), qPrintable(message));
    emit messageLogged(now, latin1(category), from, level, message);
    return 0;
}

void CommandManager::log(const QString &text)
{
    const QByteArray latin1 = text.toLatin1();
    logMessage("standard", "frontend", 1, latin1.constData());
}

int CommandManager::readBackendVersions(BackendVersions *versions)
{
    if (!versions)
        return BadArgument;
    QByteArray value;
    int firstFailure = query("system product_name", &value);
    if (firstFailure == 0)
        versions->productName = QString::fromLatin1(value);

    auto readVersion = [&](const QByteArray &text, qint32(&triple)[3]) {
        int result = query(text, &value);
        if (result == 0 && !readTriple(value, triple))
            result = BadValue;
        if (firstFailure == 0)
            firstFailure = result;
    };
    readVersion("system product_version", versions->productVersion);
    readVersion("system backend_version", versions->backendVersion);
    return firstFailure;
}

int CommandManager::readMeasurementState()
{
    QByteArray value;
    const int result = query("status active", &value);
    if (result == 0 && value == "meas" && !measuring) {
        setMeasuring(true);
        router.notifyMeasurementStarted();
    }
    return result;
}

// Tracking started or stopped by whoever sends the command: every
// requester hears of it.
void CommandManager::noteMeasurementCommand(const QByteArray &line, const QByteArray &reply)
{
    if (reply != OkReply)
        return;
    if (line == TrackingStart) {
        setMeasuring(true);
        router.notifyMeasurementStarted();
    } else if (line == TrackingStop) {
        setMeasuring(false);
        router.notifyMeasurementStopped();
    }
}

void CommandManager::setMeasuring(bool running)
{
    if (measuring == running)
        return;
    measuring = running;
    emit measurementStateChanged(running);
}

void CommandManager::routeDataLine(const QByteArray &line)
{
    router.routeLine(line);
}
