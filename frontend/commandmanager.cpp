#include "frontend/commandmanager.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "frontend/controllerlink.h"
#include "host/backendversions.h"
#include "host/cnumber.h"

namespace {

constexpr char GetPrefix[] = "orvel2 get ";
constexpr char SetPrefix[] = "orvel2 set ";
constexpr char OkReply[] = "orvel2 ok";
constexpr char ErrorWord[] = "orvel2 err";
constexpr char TrackingStart[] = "orvel2 tracking start";
constexpr char TrackingStop[] = "orvel2 tracking stop";
constexpr char StatusQuery[] = "orvel2 get status active";
constexpr char StatusReply[] = "orvel2 set status active ";
constexpr char OutputSwitch[] = "output active chmon ";

template <int N>
constexpr int textLength(const char (&)[N])
{
    return N - 1;
}

constexpr int WatchIntervalMs = 100;

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
    if (reply.size() == textLength(ErrorWord))
        return CommandManager::UnexpectedReply;
    if (reply.at(textLength(ErrorWord)) != ' ')
        return 0;

    const int start = textLength(ErrorWord) + 1;
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

CommandManager::CommandManager(std::unique_ptr<ControllerTransport> transport, QObject *parent)
    : QObject(parent)
{
    watchTimer.setInterval(WatchIntervalMs);
    connect(&watchTimer, &QTimer::timeout, this, &CommandManager::watchConnection);
    if (!transport)
        return;
    controller = std::make_unique<ControllerLink>(transport.release());
    connect(controller.get(), &ControllerLink::dataLine, this, &CommandManager::routeDataLine);
    connect(controller.get(), &ControllerLink::lost, this, &CommandManager::markLost);
    connect(controller.get(), &ControllerLink::checked, this, &CommandManager::noteChecked);
    watchTimer.start();
}

CommandManager::~CommandManager() = default;

QString CommandManager::errorText(int error)
{
    switch (error) {
    case 0:
        return tr("no error");
    case TimedOut:
        return ControllerTransport::statusText(ControllerTransport::Status::TimedOut);
    case ConnectionLost:
        return ControllerTransport::statusText(ControllerTransport::Status::Lost);
    case NotConnected:
        return ControllerTransport::statusText(ControllerTransport::Status::NotConnected);
    case TextTooLong:
        return tr("command text too long");
    case BadArgument:
        return tr("bad argument");
    case UnexpectedReply:
        return tr("unexpected reply");
    case BadValue:
        return tr("value of the wrong type");
    case NotSupported:
        return tr("operation not supported");
    }
    return error > 0 ? tr("controller error %1").arg(error) : tr("error %1").arg(error);
}

QString CommandManager::connectionText(Connection connection)
{
    switch (connection) {
    case Connection::Connected:
        return tr("connected");
    case Connection::Lost:
        return tr("lost");
    case Connection::Reconnecting:
        return tr("reconnecting");
    }
    return QString();
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
    if (controller->open(timeoutMs, &error)) {
        setConnection(Connection::Connected);
        return true;
    }
    enterLost(error);
    log(tr("Cannot connect to the controller at %1: %2; looking for it every %3 ms")
            .arg(description(), error)
            .arg(ReconnectIntervalMs));
    return false;
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
    if (state != Connection::Connected) {
        // Failing at once: waiting a time-out for each command would stall the caller for nothing.
        log(tr("\"%1\": not sent, the controller at %2 has not answered since %3")
                .arg(QString::fromLatin1(line), description(), lostAt.toString(QStringLiteral("HH:mm:ss"))));
        noteUnsentCommand(line);
        return NotConnected;
    }

    ++commandsWaiting;
    const ControllerTransport::Status status = controller->exchange(line, timeoutMs, reply);
    if (status != ControllerTransport::Status::Ok) {
        log(tr("\"%1\": %2 (%3)")
                .arg(QString::fromLatin1(line), ControllerTransport::statusText(status), description()));
        // Still counted as waiting: the requester whose command this is hears of the stop afterwards.
        markLost(ControllerTransport::statusText(status));
    }
    --commandsWaiting;
    if (commandsWaiting == 0 && !held.isEmpty())
        queueDelivery();

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
    const int result = exchange(QByteArray(GetPrefix) + text, &reply);
    if (result != 0)
        return result;
    const QByteArray expected = QByteArray(SetPrefix) + text + ' ';
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

    // Remembered whatever comes of it: the requester counts its outputs as on either way.
    noteOutputSwitch(text);
    QByteArray reply;
    result = exchange(QByteArray(SetPrefix) + text, &reply);
    if (result != 0)
        return result;
    return reply == OkReply ? 0 : UnexpectedReply;
}

// "output active chmon <output> yes|no": a restarted controller starts with
// its outputs off, and a requester switches each on only once.
void CommandManager::noteOutputSwitch(const QByteArray &text)
{
    if (!text.startsWith(OutputSwitch))
        return;
    const int blank = text.indexOf(' ', textLength(OutputSwitch));
    if (blank < 0)
        return;
    const QByteArray output = text.left(blank);
    if (!outputSwitches.contains(output) && outputSwitches.size() >= MaxOutputSwitches)
        return;
    outputSwitches.insert(output, text);
}

void CommandManager::restoreOutputSwitches()
{
    for (const QByteArray &text : qAsConst(outputSwitches)) {
        QByteArray reply;
        if (exchange(QByteArray(SetPrefix) + text, &reply) != 0)
            return;
    }
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
        deliver(Delivery::Started);
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
        resumeMeasurement = false;
        setMeasuring(true);
        deliver(Delivery::Started);
    } else if (line == TrackingStop) {
        resumeMeasurement = false;
        setMeasuring(false);
        deliver(Delivery::Stopped);
    }
}

// The operator's last word on tracking while the controller is away is what happens when it is back.
void CommandManager::noteUnsentCommand(const QByteArray &line)
{
    if (line == TrackingStart && !resumeMeasurement) {
        resumeMeasurement = true;
        log(tr("The measurement starts when the controller answers again"));
    } else if (line == TrackingStop && resumeMeasurement) {
        resumeMeasurement = false;
        log(tr("The measurement will not start again when the controller answers"));
    }
}

void CommandManager::setMeasuring(bool running)
{
    // The data output's silence counts from the start: a measurement without any line is noticed too.
    if (running)
        sinceData.start();
    else
        sinceData.invalidate();
    if (measuring == running)
        return;
    measuring = running;
    emit measurementStateChanged(running);
}

void CommandManager::setConnection(Connection connection)
{
    if (state == connection)
        return;
    state = connection;
    emit connectionChanged(connection);
}

void CommandManager::enterLost(const QString &why)
{
    lostAt = QDateTime::currentDateTime();
    reason = why;
    sinceAttempt.start();
    setConnection(Connection::Lost);
}

void CommandManager::markLost(const QString &why)
{
    if (state != Connection::Connected)
        return;
    enterLost(why);
    log(tr("Lost the controller at %1: %2. Commands fail until it answers again; looking for it every %3 ms")
            .arg(description(), why)
            .arg(ReconnectIntervalMs));
    if (measuring) {
        resumeMeasurement = true;
        setMeasuring(false);
        deliver(Delivery::Stopped);
    }
}

// Timers do not run while a command waits, so neither does this.
void CommandManager::watchConnection()
{
    if (!controller || checking)
        return;
    if (state == Connection::Connected) {
        if (measuring && sinceData.isValid() && sinceData.elapsed() > silenceMs) {
            checking = true;
            controller->check(QByteArray(StatusQuery), qMin(timeoutMs, CheckTimeoutMs));
        }
        return;
    }
    if (sinceAttempt.isValid() && sinceAttempt.elapsed() < ReconnectIntervalMs)
        return;
    checking = true;
    sinceAttempt.start();
    setConnection(Connection::Reconnecting);
    controller->check(QByteArray(StatusQuery), qMin(timeoutMs, CheckTimeoutMs));
}

void CommandManager::noteChecked(ControllerTransport::Status status, const QByteArray &reply)
{
    checking = false;
    if (state == Connection::Connected) {
        // It answers: the data output has only paused (its switches may be off),
        // unless it no longer tracks.
        if (status == ControllerTransport::Status::Ok) {
            sinceData.start();
            const QByteArray activity = reply.mid(textLength(StatusReply));
            if (measuring && reply.startsWith(StatusReply) && activity != "meas") {
                log(tr("The controller at %1 no longer tracks (status \"%2\")")
                        .arg(description(), QString::fromLatin1(activity.left(MaxLogTextLength / 4))));
                setMeasuring(false);
                deliver(Delivery::Stopped);
            }
        } else
            markLost(tr("the data output stopped and a check got %1").arg(ControllerTransport::statusText(status)));
        return;
    }
    if (status != ControllerTransport::Status::Ok) {
        setConnection(Connection::Lost);
        return;
    }
    reconnected(reply.startsWith(StatusReply) ? reply.mid(textLength(StatusReply)) : QByteArray());
}

void CommandManager::reconnected(const QByteArray &activity)
{
    const qint64 seconds = lostAt.secsTo(QDateTime::currentDateTime());
    setConnection(Connection::Connected);
    log(tr("The controller at %1 answers again, after %2 s").arg(description()).arg(seconds));
    // It may have been replaced by another one, of other versions.
    if (versionRecord) {
        const int result = readBackendVersions(versionRecord);
        if (result != 0)
            log(tr("Cannot read the controller's versions: %1").arg(errorText(result)));
    }

    restoreOutputSwitches();
    if (state != Connection::Connected)
        return; // lost again on the way

    const bool wanted = resumeMeasurement;
    resumeMeasurement = false;
    if (activity == "meas") {
        // Still tracking: the requesters switch their outputs on again.
        if (!measuring)
            setMeasuring(true);
        deliver(Delivery::Started);
        return;
    }
    if (!wanted)
        return;
    char answer[IOManager::ReplySize];
    const int result = sendCommand(answer, "%s", TrackingStart);
    if (result == 0)
        log(tr("Measurement started again"));
    else
        log(tr("Cannot start the measurement again: %1").arg(errorText(result)));
}

void CommandManager::perform(const Delivery &delivery)
{
    switch (delivery.kind) {
    case Delivery::Line:
        router.routeLine(delivery.line);
        break;
    case Delivery::Started:
        router.notifyMeasurementStarted();
        break;
    case Delivery::Stopped:
        router.notifyMeasurementStopped();
        break;
    }
}

void CommandManager::deliver(Delivery::Kind kind, const QByteArray &line)
{
    if (commandsWaiting == 0 && held.isEmpty()) {
        perform({kind, line});
        return;
    }
    if (kind == Delivery::Line && held.size() >= MaxHeldDeliveries) {
        ++droppedLines;
        return;
    }
    held.append({kind, line});
    if (commandsWaiting == 0)
        queueDelivery();
}

void CommandManager::queueDelivery()
{
    if (deliveryQueued)
        return;
    deliveryQueued = true;
    QMetaObject::invokeMethod(this, &CommandManager::deliverHeld, Qt::QueuedConnection);
}

void CommandManager::deliverHeld()
{
    deliveryQueued = false;
    if (droppedLines > 0) {
        log(tr("%1 data lines dropped while commands waited").arg(droppedLines));
        droppedLines = 0;
    }
    // A requester's command during a delivery holds what follows again.
    while (!held.isEmpty() && commandsWaiting == 0)
        perform(held.takeFirst());
}

void CommandManager::routeDataLine(const QByteArray &line)
{
    if (measuring)
        sinceData.start();
    deliver(Delivery::Line, line);
}
