#ifndef CONNECTIONWATCH_H
#define CONNECTIONWATCH_H

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include "frontend/controllertransport.h"

class CommandManager;
class ControllerLink;
class DataDelivery;
struct BackendVersions;

// Watches the controller behind the command manager. It is connected once a
// status query, sent in the background, is answered with a status. A closed
// connection, a command without a reply, a status query without an answer,
// or data output that stops during a measurement and a check that finds no
// answer, make the controller lost: the requesters hear that the
// measurement stopped, and commands fail at once until a check every
// ReconnectIntervalMs finds the controller again. Then its versions are read
// again, the data outputs the requesters had switched on are switched on
// again (a restarted controller starts with them off), the measurement the
// operator had running starts again, and the requesters hear of it.
class ConnectionWatch : public QObject
{
    Q_OBJECT

public:
    // Connecting: it has not answered yet since the start.
    enum class Connection { Connecting, Connected, Lost, Reconnecting };
    Q_ENUM(Connection)

    static constexpr int DefaultSilenceMs = 400;
    // A check gives up sooner than a command: a stopped controller is found within a second.
    static constexpr int CheckTimeoutMs = 400;
    static constexpr int ReconnectIntervalMs = 500;
    // Nothing sent for this long, a status query goes: a controller that
    // closes idle connections (the simulator after --idle-timeout, 600 s by
    // default) keeps ours, and one that stopped is noticed within about a
    // second even while nothing else is sent (data comes over UDP).
    static constexpr int KeepAliveMs = 1000;
    // Output switches remembered for a reconnection; more outputs are not restored.
    static constexpr int MaxOutputSwitches = 64;

    // Without a link nothing is watched.
    ConnectionWatch(CommandManager *manager, ControllerLink *link, DataDelivery *delivery, QObject *parent = nullptr);

    void setSilencePeriod(int milliseconds) { silenceMs = milliseconds; }
    void setBackendVersions(BackendVersions *versions) { versionRecord = versions; }

    Connection connection() const { return state; }
    QDateTime lostSince() const { return lostAt; }
    // Why it was lost; while connecting, why it could not be reached yet.
    QString lossReason() const { return reason; }
    bool isMeasuring() const { return measuring; }
    bool resumesMeasurement() const { return resumeMeasurement; }
    static QString connectionText(Connection connection);

    // Looks for the controller in the background, from now and then every
    // ReconnectIntervalMs until it answers; the window goes on meanwhile.
    void connectInBackground();
    // Before connectInBackground(): a measurement to start once the controller answers.
    void startWhenConnected() { resumeMeasurement = true; }

    // What the command manager sees, as it happens.
    void noteOpened(bool opened, const QString &error);
    // A command that is not sent because the controller is away: false, and logged.
    bool admits(const QByteArray &line);
    void noteSent();
    void noteFailure(const QByteArray &line, ControllerTransport::Status status);
    void noteCommandReply(const QByteArray &line, const QByteArray &reply);
    void noteOutputSwitch(const QByteArray &text);
    void noteMeasurementRunning();
    void noteDataLine();

signals:
    void connectionChanged(ConnectionWatch::Connection connection);
    void measurementStateChanged(bool measuring);
    // Once, when the controller answers for the first time.
    void firstConnected();
    // Once, when the first look for the controller ended; after firstConnected() when it answered.
    void firstAttemptEnded(bool connected);

public slots:
    // Once, on the loss of a connected controller: logged, and a running measurement stopped.
    void markLost(const QString &why);

private slots:
    void watch();
    void noteChecked(ControllerTransport::Status status, const QByteArray &reply, const QString &why);

private:
    // Why a check is on its way: its answer means something else for each.
    enum class Check { None, Silence, KeepAlive, Search };

    void setMeasuring(bool running);
    void setConnection(Connection connection);
    void enterLost(const QString &why);
    void checkWhileConnected(Check purpose, ControllerTransport::Status status, bool isStatus,
                             const QByteArray &activity);
    void noteNoAnswer(const QString &why);
    void connectedFirst();
    void reconnected(const QByteArray &activity);
    void startWanted(const QString &started, const QString &failed);
    void restoreOutputSwitches();
    void check(Check purpose);
    void endFirstAttempt(bool connected);

    CommandManager *manager;
    ControllerLink *controller;
    DataDelivery *delivery;
    BackendVersions *versionRecord = nullptr;
    int silenceMs = DefaultSilenceMs;

    Connection state = Connection::Connected;
    QDateTime lostAt;
    QString reason;
    bool measuring = false;
    bool resumeMeasurement = false;
    bool firstAttemptOver = true; // false from connectInBackground() until the first check ends
    Check pending = Check::None;  // the check on its way
    // Counts the measurement's starts and stops: a check's answer older than the last says nothing of it.
    int measurementChanges = 0;
    int measurementChangesAtCheck = 0;
    QElapsedTimer sinceData;    // valid once data came in this measurement
    QElapsedTimer sinceSent;    // valid once the controller answered
    QElapsedTimer sinceAttempt; // since the last look for a lost controller
    QTimer watchTimer;
    QMap<QByteArray, QByteArray> outputSwitches; // output -> the text of its last switch
};

#endif // CONNECTIONWATCH_H
