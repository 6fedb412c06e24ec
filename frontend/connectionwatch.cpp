#include "frontend/connectionwatch.h"

#include "frontend/commandmanager.h"
#include "frontend/controllerlink.h"
#include "frontend/datadelivery.h"
#include "frontend/textprotocol.h"
#include "host/iomanager.h"

namespace {

constexpr int WatchIntervalMs = 100;
// A controller's text in the log is cut to this.
constexpr int MaxActivityLength = 1024;

} // namespace

ConnectionWatch::ConnectionWatch(CommandManager *commandManager, ControllerLink *link, DataDelivery *dataDelivery,
                                 QObject *parent)
    : QObject(parent)
    , manager(commandManager)
    , controller(link)
    , delivery(dataDelivery)
{
    watchTimer.setInterval(WatchIntervalMs);
    connect(&watchTimer, &QTimer::timeout, this, &ConnectionWatch::watch);
    if (!controller)
        return;
    connect(controller, &ControllerLink::lost, this, &ConnectionWatch::markLost);
    connect(controller, &ControllerLink::checked, this, &ConnectionWatch::noteChecked);
    watchTimer.start();
}

QString ConnectionWatch::connectionText(Connection connection)
{
    switch (connection) {
    case Connection::Connecting: return tr("connecting");
    case Connection::Connected: return tr("connected");
    case Connection::Lost: return tr("lost");
    case Connection::Reconnecting: return tr("reconnecting");
    }
    return QString();
}

void ConnectionWatch::connectInBackground()
{
    if (!controller)
        return;
    firstAttemptOver = false;
    reason.clear();
    setConnection(Connection::Connecting);
    sinceAttempt.start();
    check(Check::Search);
}

void ConnectionWatch::noteOpened(bool opened, const QString &error)
{
    if (opened) {
        connectedFirst();
        return;
    }
    reason = error;
    sinceAttempt.start();
    setConnection(Connection::Connecting);
    manager->log(tr("Cannot connect to the controller at %1: %2; looking for it every %3 ms")
                     .arg(manager->description(), error, QString::number(ReconnectIntervalMs)));
}

// Failing at once: waiting a time-out for each command would stall the caller for nothing.
bool ConnectionWatch::admits(const QByteArray &line)
{
    if (state == Connection::Connected)
        return true;
    const bool never = state == Connection::Connecting;
    const QString text = QString::fromLatin1(line);
    if (never) {
        manager->log(
            tr("\"%1\": not sent, the controller at %2 has not answered yet").arg(text, manager->description()));
    } else {
        manager->log(tr("\"%1\": not sent, the controller at %2 has not answered since %3")
                         .arg(text, manager->description(), lostAt.toString(QStringLiteral("HH:mm:ss"))));
    }
    // The operator's last word on tracking while the controller is away is what happens when it is there.
    if (line == TextProtocol::TrackingStart && !resumeMeasurement) {
        resumeMeasurement = true;
        manager->log(never ? tr("The measurement starts when the controller answers")
                           : tr("The measurement starts when the controller answers again"));
    } else if (line == TextProtocol::TrackingStop && resumeMeasurement) {
        resumeMeasurement = false;
        manager->log(never ? tr("The measurement will not start when the controller answers")
                           : tr("The measurement will not start again when the controller answers"));
    }
    return false;
}

void ConnectionWatch::noteSent()
{
    sinceSent.start();
}

void ConnectionWatch::noteFailure(const QByteArray &line, ControllerTransport::Status status)
{
    manager->log(tr("\"%1\": %2 (%3)")
                     .arg(QString::fromLatin1(line), ControllerTransport::statusText(status), manager->description()));
    markLost(ControllerTransport::statusText(status));
}

// Tracking started or stopped by whoever sends the command: every requester hears of it.
void ConnectionWatch::noteCommandReply(const QByteArray &line, const QByteArray &reply)
{
    if (reply != TextProtocol::OkReply)
        return;
    if (line == TextProtocol::TrackingStart) {
        resumeMeasurement = false;
        setMeasuring(true);
        delivery->deliverStarted();
    } else if (line == TextProtocol::TrackingStop) {
        resumeMeasurement = false;
        setMeasuring(false);
        delivery->deliverStopped();
    }
}

// Remembered whatever comes of it: the requester counts its output as on either
// way, and switches each on only once.
void ConnectionWatch::noteOutputSwitch(const QByteArray &text)
{
    QByteArray output;
    if (!TextProtocol::outputSwitch(text, &output))
        return;
    if (!outputSwitches.contains(output) && outputSwitches.size() >= MaxOutputSwitches)
        return;
    outputSwitches.insert(output, text);
}

void ConnectionWatch::noteMeasurementRunning()
{
    if (measuring)
        return;
    setMeasuring(true);
    delivery->deliverStarted();
}

void ConnectionWatch::noteDataLine()
{
    if (measuring)
        sinceData.start();
}

void ConnectionWatch::setMeasuring(bool running)
{
    ++measurementChanges;
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

void ConnectionWatch::setConnection(Connection connection)
{
    if (state == connection)
        return;
    state = connection;
    emit connectionChanged(connection);
}

void ConnectionWatch::enterLost(const QString &why)
{
    lostAt = QDateTime::currentDateTime();
    reason = why;
    sinceAttempt.start();
    setConnection(Connection::Lost);
}

void ConnectionWatch::markLost(const QString &why)
{
    if (state != Connection::Connected)
        return;
    enterLost(why);
    manager->log(tr("Lost the controller at %1: %2. Commands fail until it answers again; looking for it every %3 ms")
                     .arg(manager->description(), why, QString::number(ReconnectIntervalMs)));
    if (measuring) {
        resumeMeasurement = true;
        setMeasuring(false);
        delivery->deliverStopped();
    }
}

void ConnectionWatch::check(Check purpose)
{
    pending = purpose;
    measurementChangesAtCheck = measurementChanges;
    noteSent();
    controller->check(QByteArray(TextProtocol::StatusQuery), qMin(manager->timeout(), CheckTimeoutMs));
}

// Timers do not run while a command waits, so neither does this; a command is traffic enough.
void ConnectionWatch::watch()
{
    if (!controller || pending != Check::None)
        return;
    if (state == Connection::Connected) {
        if (measuring && sinceData.isValid() && sinceData.elapsed() > silenceMs)
            check(Check::Silence);
        else if (sinceSent.isValid() && sinceSent.elapsed() >= KeepAliveMs)
            check(Check::KeepAlive);
        return;
    }
    if (sinceAttempt.isValid() && sinceAttempt.elapsed() < ReconnectIntervalMs)
        return;
    sinceAttempt.start();
    if (state != Connection::Connecting)
        setConnection(Connection::Reconnecting);
    check(Check::Search);
}

void ConnectionWatch::noteChecked(ControllerTransport::Status status, const QByteArray &reply, const QString &why)
{
    const Check purpose = pending;
    pending = Check::None;
    QByteArray activity;
    const bool isStatus = status == ControllerTransport::Status::Ok && TextProtocol::statusActivity(reply, &activity);
    if (state == Connection::Connected) {
        checkWhileConnected(purpose, status, isStatus, activity);
        return;
    }
    // Only a status is an answer: a server that turns the connection away
    // ("orvel2 err 9 too many connections") closes it right after.
    if (!isStatus) {
        if (status == ControllerTransport::Status::Ok)
            noteNoAnswer(tr("it answered \"%1\"").arg(QString::fromLatin1(reply.left(MaxActivityLength))));
        else
            noteNoAnswer(why.isEmpty() ? ControllerTransport::statusText(status) : why);
        return;
    }
    if (state == Connection::Connecting)
        connectedFirst();
    else
        reconnected(activity);
}

void ConnectionWatch::checkWhileConnected(Check purpose, ControllerTransport::Status status, bool isStatus,
                                          const QByteArray &activity)
{
    if (status != ControllerTransport::Status::Ok) {
        // Whichever check it was: the operator sees the display stop first.
        const bool dataStopped = measuring && sinceData.isValid() && sinceData.elapsed() > silenceMs;
        const QString got = ControllerTransport::statusText(status);
        markLost(dataStopped ? tr("the data output stopped and a check got %1").arg(got)
                             : tr("a status query got %1").arg(got));
        return;
    }
    // It answers: the data output has only paused (its switches may be off), unless it no longer tracks.
    if (purpose == Check::Silence)
        sinceData.start();
    if (measuring && isStatus && activity != "meas" && measurementChangesAtCheck == measurementChanges) {
        manager->log(tr("The controller at %1 no longer tracks (status \"%2\")")
                         .arg(manager->description(), QString::fromLatin1(activity.left(MaxActivityLength))));
        setMeasuring(false);
        delivery->deliverStopped();
    }
}

void ConnectionWatch::noteNoAnswer(const QString &why)
{
    if (state != Connection::Connecting) {
        setConnection(Connection::Lost);
        return;
    }
    const bool changed = reason != why;
    reason = why;
    if (!firstAttemptOver) {
        manager->log(tr("Cannot connect to the controller at %1: %2; looking for it every %3 ms")
                         .arg(manager->description(), why, QString::number(ReconnectIntervalMs)));
        endFirstAttempt(false);
    }
    if (changed)
        emit connectionChanged(state);
}

// The start-up reads the versions and installs the module on firstConnected();
// a start the operator chose meanwhile comes after that.
void ConnectionWatch::connectedFirst()
{
    reason.clear();
    noteSent();
    manager->log(tr("Connected to the controller at %1").arg(manager->description()));
    setConnection(Connection::Connected);
    emit firstConnected();
    endFirstAttempt(true);
    if (resumeMeasurement && state == Connection::Connected)
        startWanted(tr("Measurement started"), tr("Cannot start the measurement: %1"));
}

// failed: with the error for "%1".
void ConnectionWatch::startWanted(const QString &started, const QString &failed)
{
    char answer[IOManager::ReplySize];
    const int result = manager->sendCommand(answer, "%s", TextProtocol::TrackingStart);
    if (result == 0)
        manager->log(started);
    else
        manager->log(failed.arg(CommandManager::errorText(result)));
}

void ConnectionWatch::endFirstAttempt(bool connected)
{
    if (firstAttemptOver)
        return;
    firstAttemptOver = true;
    emit firstAttemptEnded(connected);
}

void ConnectionWatch::reconnected(const QByteArray &activity)
{
    const qint64 seconds = lostAt.secsTo(QDateTime::currentDateTime());
    noteSent();
    manager->log(tr("The controller at %1 answers again, after %2 s").arg(manager->description()).arg(seconds));
    setConnection(Connection::Connected);
    // It may have been replaced by another one, of other versions.
    if (versionRecord) {
        const int result = manager->readBackendVersions(versionRecord);
        if (result != 0)
            manager->log(tr("Cannot read the controller's versions: %1").arg(CommandManager::errorText(result)));
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
        delivery->deliverStarted();
        return;
    }
    if (wanted)
        startWanted(tr("Measurement started again"), tr("Cannot start the measurement again: %1"));
}

void ConnectionWatch::restoreOutputSwitches()
{
    for (const QByteArray &text : qAsConst(outputSwitches)) {
        QByteArray reply;
        if (manager->exchange(QByteArray(TextProtocol::SetPrefix) + text, &reply) != 0)
            return;
    }
}
