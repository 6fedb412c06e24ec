#include "frontend/commandmanager.h"

#include <cstdio>

#include <QElapsedTimer>

#include "frontend/commandobserver.h"
#include "frontend/controllerlink.h"
#include "host/backendversions.h"

namespace {

constexpr int MaxLogTextLength = 4096;

std::unique_ptr<ControllerLink> makeLink(std::unique_ptr<ControllerTransport> transport)
{
    return transport ? std::make_unique<ControllerLink>(transport.release()) : nullptr;
}

} // namespace

CommandManager::CommandManager(std::unique_ptr<ControllerTransport> transport, QObject *parent)
    : QObject(parent)
    , controller(makeLink(std::move(transport)))
    , delivery(&router)
    , watch(this, controller.get(), &delivery)
    , dataWatch(description(), controller ? controller->dataDescription() : QString())
{
    connect(&delivery, &DataDelivery::logged, this, &CommandManager::log);
    connect(&dataWatch, &DataWatch::logged, this, &CommandManager::log);
    connect(&dataWatch, &DataWatch::missingChanged, this, &CommandManager::dataMissingChanged);
    connect(&watch, &ConnectionWatch::connectionChanged, this, &CommandManager::connectionChanged);
    connect(&watch, &ConnectionWatch::measurementStateChanged, &dataWatch, &DataWatch::setMeasuring);
    connect(&watch, &ConnectionWatch::measurementStateChanged, this, &CommandManager::measurementStateChanged);
    connect(&watch, &ConnectionWatch::firstConnected, this, &CommandManager::firstConnected);
    connect(&watch, &ConnectionWatch::firstAttemptEnded, this, &CommandManager::firstAttemptEnded);
    if (controller)
        connect(controller.get(), &ControllerLink::dataLine, this, &CommandManager::routeDataLine);
}

CommandManager::~CommandManager() = default;

QString CommandManager::errorText(int error)
{
    switch (error) {
    case 0: return tr("no error");
    case TimedOut: return ControllerTransport::statusText(ControllerTransport::Status::TimedOut);
    case ConnectionLost: return ControllerTransport::statusText(ControllerTransport::Status::Lost);
    case NotConnected: return ControllerTransport::statusText(ControllerTransport::Status::NotConnected);
    case TextTooLong: return tr("command text too long");
    case BadArgument: return tr("bad argument");
    case UnexpectedReply: return tr("unexpected reply");
    case BadValue: return tr("value of the wrong type");
    case NotSupported: return tr("operation not supported");
    }
    return error > 0 ? tr("controller error %1").arg(error) : tr("error %1").arg(error);
}

QString CommandManager::description() const
{
    return controller ? controller->description() : tr("none");
}

bool CommandManager::open()
{
    if (!controller)
        return false;
    QString error;
    const bool opened = controller->open(timeoutMs, &error);
    watch.noteOpened(opened, error);
    return opened;
}

int CommandManager::exchange(const QByteArray &line, QByteArray *reply)
{
    QElapsedTimer took;
    took.start();
    const int result = transact(line, reply);
    if (observer)
        observer->commandExchanged(line, *reply, result, took.nsecsElapsed());
    return result;
}

int CommandManager::transact(const QByteArray &line, QByteArray *reply)
{
    reply->clear();
    if (line.size() > MaxCommandLength)
        return TextTooLong;
    if (!controller)
        return NotConnected;
    if (!watch.admits(line))
        return NotConnected;

    delivery.commandStarted();
    watch.noteSent();
    ++commandsWaiting;
    const ControllerTransport::Status status = controller->exchange(line, timeoutMs, reply);
    --commandsWaiting;
    // Still counted as waiting: the requester whose command this is hears of a stop afterwards.
    if (status != ControllerTransport::Status::Ok)
        watch.noteFailure(line, status);
    delivery.commandFinished();

    switch (status) {
    case ControllerTransport::Status::Ok: return TextProtocol::controllerError(*reply);
    case ControllerTransport::Status::TimedOut: return TimedOut;
    case ControllerTransport::Status::Lost: return ConnectionLost;
    case ControllerTransport::Status::NotConnected: return NotConnected;
    }
    return ConnectionLost;
}

int CommandManager::query(const QByteArray &text, QByteArray *value)
{
    QByteArray reply;
    const int result = exchange(QByteArray(TextProtocol::GetPrefix) + text, &reply);
    return result != 0 ? result : TextProtocol::queryValue(text, reply, value);
}

int CommandManager::vquery(const char *format, va_list args, QByteArray *value)
{
    QByteArray text;
    const int result = TextProtocol::format(format, args, &text);
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
    int result = TextProtocol::format(format, args, &line);
    va_end(args);
    if (result != 0)
        return result;

    QByteArray answer;
    result = exchange(line, &answer);
    TextProtocol::copyReply(reply, answer);
    if (result == 0)
        watch.noteCommandReply(line, answer);
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
        TextProtocol::copyReply(reply, value);
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
    const int result = vtyped(value, format, args, TextProtocol::readInt);
    va_end(args);
    return result;
}

int CommandManager::getDoubleParameter(double *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vtyped(value, format, args, TextProtocol::readDouble);
    va_end(args);
    return result;
}

int CommandManager::getBoolParameter(bool *value, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vtyped(value, format, args, TextProtocol::readBool);
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
    int result = TextProtocol::format(format, args, &text);
    va_end(args);
    if (result != 0)
        return result;

    watch.noteOutputSwitch(text);
    dataWatch.noteOutputSwitch(text);
    QByteArray reply;
    result = exchange(QByteArray(TextProtocol::SetPrefix) + text, &reply);
    if (result != 0)
        return result;
    return reply == TextProtocol::OkReply ? 0 : UnexpectedReply;
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
    std::fprintf(stderr, "%s %s: %s\n", qPrintable(now.toString(QStringLiteral("HH:mm:ss.zzz"))), qPrintable(from),
                 qPrintable(message));
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
        if (result == 0 && !TextProtocol::readTriple(value, triple))
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
    if (result == 0 && value == "meas")
        watch.noteMeasurementRunning();
    return result;
}

void CommandManager::routeDataLine(const QByteArray &line)
{
    watch.noteDataLine();
    dataWatch.noteDataLine();
    delivery.deliverLine(line);
}
