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

// Watches the controller behind the command manager. A closed connection,
// a command without a reply, or data output that stops during a measurement
// and a check that finds no answer, make the controller lost: the requesters
// hear that the measurement stopped, and commands fail at once until a check
// every ReconnectIntervalMs finds the controller again. Then its versions
// are read again, the data outputs the requesters had switched on are
// switched on again (a restarted controller starts with them off), the
// measurement the operator had running starts again, and the requesters
// hear of it.
class ConnectionWatch : public QObject
{
    Q_OBJECT

public:
    enum class Connection { Connected, Lost, Reconnecting };
    Q_ENUM(Connection)

    static constexpr int DefaultSilenceMs = 400;
    // A check, by the silence watch or for a reconnection, gives up sooner
    // than a command: a stopped controller is found within a second.
    static constexpr int CheckTimeoutMs = 400;
    static constexpr int ReconnectIntervalMs = 500;
    // Output switches remembered for a reconnection; more outputs are not restored.
    static constexpr int MaxOutputSwitches = 64;

    // Without a link nothing is watched.
    ConnectionWatch(CommandManager *manager, ControllerLink *link, DataDelivery *delivery, QObject *parent = nullptr);

    void setSilencePeriod(int milliseconds) { silenceMs = milliseconds; }
    int silencePeriod() const { return silenceMs; }
    void setBackendVersions(BackendVersions *versions) { versionRecord = versions; }

    Connection connection() const { return state; }
    QDateTime lostSince() const { return lostAt; }
    QString lossReason() const { return reason; }
    bool isMeasuring() const { return measuring; }
    bool resumesMeasurement() const { return resumeMeasurement; }
    static QString connectionText(Connection connection);

    // What the command manager sees, as it happens.
    void noteOpened(bool opened, const QString &error);
    // A command that is not sent because the controller is away: false, and logged.
    bool admits(const QByteArray &line);
    void noteFailure(const QByteArray &line, ControllerTransport::Status status);
    void noteCommandReply(const QByteArray &line, const QByteArray &reply);
    void noteOutputSwitch(const QByteArray &text);
    void noteMeasurementRunning();
    void noteDataLine();

signals:
    void connectionChanged(ConnectionWatch::Connection connection);
    void measurementStateChanged(bool measuring);

public slots:
    // Once, on the loss of a connected controller: logged, and a running measurement stopped.
    void markLost(const QString &why);

private slots:
    void watch();
    void noteChecked(ControllerTransport::Status status, const QByteArray &reply);

private:
    void setMeasuring(bool running);
    void setConnection(Connection connection);
    void enterLost(const QString &why);
    void reconnected(const QByteArray &activity);
    void restoreOutputSwitches();
    void check();

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
    bool checking = false;          // a check is on its way
    QElapsedTimer sinceData;        // valid once data came in this measurement
    QElapsedTimer sinceAttempt;     // since the last look for a lost controller
    QTimer watchTimer;
    QMap<QByteArray, QByteArray> outputSwitches; // output -> the text of its last switch
};

#endif // CONNECTIONWATCH_H
