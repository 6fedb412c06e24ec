#ifndef COMMANDMANAGER_H
#define COMMANDMANAGER_H

#include <cstdarg>
#include <memory>

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include "frontend/controllertransport.h"
#include "frontend/datarouter.h"
#include "host/iomanager.h"

class ControllerLink;
struct BackendVersions;

// The host's command manager: the module's calls become the controller's
// text protocol ("orvel2 get ...", "orvel2 set ...", whole command lines),
// and the controller's data output reaches the module's requesters.
// Every call is synchronous and ends within the time-out; the window keeps
// painting meanwhile (the link's worker does the waiting).
//
// It also watches the connection. A closed connection, a command without a
// reply, or data output that stops during a measurement and a check that
// finds no answer, make the controller lost: the requesters hear that the
// measurement stopped, and every command fails at once until a check every
// ReconnectIntervalMs finds the controller again. Then the data outputs the
// requesters had switched on are switched on again, the measurement the
// operator had running starts again, and the requesters hear of it.
class CommandManager : public QObject, public IOManager
{
    Q_OBJECT

public:
    enum class Connection { Connected, Lost, Reconnecting };
    Q_ENUM(Connection)

    // Failures of our own are negative; the controller's error numbers
    // ("orvel2 err <n> ...") are positive.
    enum Error : int {
        TimedOut = -1,        // no reply within the time-out
        ConnectionLost = -2,  // the connection closed, or the controller dropped the command
        NotConnected = -3,    // no connection could be made
        TextTooLong = -4,     // the formatted text does not fit a command line
        BadArgument = -5,     // a null format, buffer or variable, or a bad format
        UnexpectedReply = -6, // a reply of the wrong form
        BadValue = -7,        // the value is not of the type asked for
        NotSupported = -8,    // a reserved operation
    };

    // The controller refuses longer lines.
    static constexpr int MaxCommandLength = 1024;
    static constexpr int DefaultTimeoutMs = 5000;
    static constexpr int DefaultSilenceMs = 400;
    // A status check, by the silence watch or for a reconnection, gives up
    // sooner than a command: a stopped controller is found within a second.
    static constexpr int CheckTimeoutMs = 400;
    static constexpr int ReconnectIntervalMs = 500;
    // Data lines held back while a command waits; a burst beyond is dropped.
    static constexpr int MaxHeldDeliveries = 1024;
    // Output switches remembered for a reconnection; more outputs are not restored.
    static constexpr int MaxOutputSwitches = 64;

    // Without a transport every command fails with NotConnected.
    explicit CommandManager(std::unique_ptr<ControllerTransport> transport, QObject *parent = nullptr);
    ~CommandManager() override;

    void setTimeout(int milliseconds) { timeoutMs = milliseconds; }
    int timeout() const { return timeoutMs; }
    // How long the data output may pause during a measurement before the controller is checked.
    void setSilencePeriod(int milliseconds) { silenceMs = milliseconds; }
    int silencePeriod() const { return silenceMs; }

    DataRouter &dataRouter() { return router; }
    ControllerLink *link() const { return controller.get(); }
    // Where the commands go: "none" without a transport.
    QString description() const;

    // Connects at start-up; without success the controller counts as lost
    // and is looked for every ReconnectIntervalMs. Logs either way.
    bool open();
    Connection connection() const { return state; }
    QDateTime lostSince() const { return lostAt; }
    QString lossReason() const { return reason; }
    // A measurement that ran when the controller was lost starts again when it is back.
    bool resumesMeasurement() const { return resumeMeasurement; }
    static QString connectionText(Connection connection);

    // Fills the record from the controller's "system" parameters; fields it
    // cannot read stay as they are. Returns the first failure, or 0.
    int readBackendVersions(BackendVersions *versions);
    // The record the module reads, read again after each reconnection.
    void setBackendVersions(BackendVersions *versions) { versionRecord = versions; }

    // Asks the controller whether it is tracking already ("status active"
    // is "meas") and, if so, tells the requesters that a measurement runs.
    int readMeasurementState();
    bool isMeasuring() const { return measuring; }

    static QString errorText(int error);

    // IOManager
    int reserved1() override;
    int commandPreset(int, int, int) override;
    int sendCommand(char *reply, const char *format, ...) override IOMANAGER_PRINTF(3, 4);
    int reserved4() override;
    int getParameter(char *reply, const char *format, ...) override IOMANAGER_PRINTF(3, 4);
    int getIntParameter(int *value, const char *format, ...) override IOMANAGER_PRINTF(3, 4);
    int getDoubleParameter(double *value, const char *format, ...) override IOMANAGER_PRINTF(3, 4);
    int getBoolParameter(bool *value, const char *format, ...) override IOMANAGER_PRINTF(3, 4);
    int reserved9() override;
    int reserved10() override;
    int setParameter(const char *format, ...) override IOMANAGER_PRINTF(2, 3);
    int subscribeOutput(const char *outputType, Requester *requester) override;
    int unsubscribeOutput(const char *outputType, Requester *requester) override;
    int addRequester(Requester *requester) override;
    int renewRequester(Requester *requester, const char *outputType, int flags) override;
    int logMessage(const char *category, const char *source, int level, const char *text) override;

    // Our own messages, in the same log as the module's.
    void log(const QString &text);

signals:
    void messageLogged(const QDateTime &time, const QString &category, const QString &source,
                       int level, const QString &text);
    void measurementStateChanged(bool measuring);
    void connectionChanged(CommandManager::Connection connection);

private slots:
    void routeDataLine(const QByteArray &line);
    void noteChecked(ControllerTransport::Status status, const QByteArray &reply);
    void watchConnection();
    void deliverHeld();

private:
    // What a requester is told, in the order it happened.
    struct Delivery
    {
        enum Kind { Line, Started, Stopped } kind;
        QByteArray line;
    };

    int formatText(const char *format, va_list args, QByteArray *text);
    int exchange(const QByteArray &line, QByteArray *reply);
    int query(const QByteArray &text, QByteArray *value);
    int vquery(const char *format, va_list args, QByteArray *value);
    template <typename T>
    int vtyped(T *value, const char *format, va_list args, bool (*read)(const QByteArray &, T *));
    void noteMeasurementCommand(const QByteArray &line, const QByteArray &reply);
    void noteUnsentCommand(const QByteArray &line);
    void noteOutputSwitch(const QByteArray &text);
    void restoreOutputSwitches();
    void setMeasuring(bool running);
    void setConnection(Connection connection);
    void enterLost(const QString &why);
    // Once, on the loss of a connected controller: logged, and a running measurement stopped.
    void markLost(const QString &why);
    void reconnected(const QByteArray &activity);
    void deliver(Delivery::Kind kind, const QByteArray &line = QByteArray());
    void perform(const Delivery &delivery);
    void queueDelivery();

    std::unique_ptr<ControllerLink> controller;
    DataRouter router;
    BackendVersions *versionRecord = nullptr;
    int timeoutMs = DefaultTimeoutMs;
    int silenceMs = DefaultSilenceMs;
    bool measuring = false;

    Connection state = Connection::Connected;
    QDateTime lostAt;
    QString reason;
    bool resumeMeasurement = false;
    bool checking = false;          // a check is on its way
    QElapsedTimer sinceData;        // valid once data came in this measurement
    QElapsedTimer sinceAttempt;     // since the last look for a lost controller
    QTimer watchTimer;
    QMap<QByteArray, QByteArray> outputSwitches; // output -> its last switch that succeeded

    // Requesters are told nothing while a command of theirs may be waiting:
    // what comes meanwhile is held and delivered from the event loop.
    int commandsWaiting = 0;
    QList<Delivery> held;
    bool deliveryQueued = false;
    int droppedLines = 0;           // beyond MaxHeldDeliveries, logged at the next delivery
};

#endif // COMMANDMANAGER_H
