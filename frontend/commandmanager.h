#ifndef COMMANDMANAGER_H
#define COMMANDMANAGER_H

#include <cstdarg>
#include <memory>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include "frontend/connectionwatch.h"
#include "frontend/datadelivery.h"
#include "frontend/datarouter.h"
#include "frontend/datawatch.h"
#include "frontend/textprotocol.h"
#include "host/iomanager.h"

class CommandObserver;
class ControllerLink;
class ControllerTransport;
struct BackendVersions;

// The host's command manager: the module's calls become the controller's
// text protocol (TextProtocol), and the controller's data output reaches
// the module's requesters (DataDelivery, DataRouter). Every call is
// synchronous and ends within the time-out; the window keeps painting
// meanwhile (the link's worker does the waiting). A ConnectionWatch finds a
// lost controller, fails the commands at once while it is away and puts
// things back when it answers again; a DataWatch tells when a measurement's
// data output does not come in.
class CommandManager : public QObject, public IOManager
{
    Q_OBJECT

public:
    using Connection = ConnectionWatch::Connection;

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

    static constexpr int MaxCommandLength = TextProtocol::MaxCommandLength;
    static constexpr int DefaultTimeoutMs = 5000;

    // Without a transport every command fails with NotConnected.
    explicit CommandManager(std::unique_ptr<ControllerTransport> transport, QObject *parent = nullptr);
    ~CommandManager() override;

    void setTimeout(int milliseconds) { timeoutMs = milliseconds; }
    int timeout() const { return timeoutMs; }
    // How long the data output may pause during a measurement before the controller is checked.
    void setSilencePeriod(int milliseconds) { watch.setSilencePeriod(milliseconds); }
    // How long a measurement with outputs on may go without a data line before it counts as missing.
    void setNoDataPeriod(int milliseconds) { dataWatch.setPeriod(milliseconds); }
    bool isDataMissing() const { return dataWatch.isMissing(); }

    DataRouter &dataRouter() { return router; }
    // Told of every command once its result is known (one at a time; null: none).
    void setCommandObserver(CommandObserver *commandObserver) { observer = commandObserver; }
    ControllerLink *link() const { return controller.get(); }
    // Where the commands go: "none" without a transport.
    QString description() const;

    // Connects at once, the caller waiting; without success the controller
    // is looked for every ConnectionWatch::ReconnectIntervalMs. Logs either way.
    bool open();
    // Connects in the background (Connecting until the controller answers):
    // firstConnected() and firstAttemptEnded() tell how it went.
    void connectInBackground() { watch.connectInBackground(); }
    // Before connectInBackground(): a measurement to start once the controller answers.
    void startWhenConnected() { watch.startWhenConnected(); }
    Connection connection() const { return watch.connection(); }
    QDateTime lostSince() const { return watch.lostSince(); }
    QString lossReason() const { return watch.lossReason(); }
    // A measurement that ran when the controller was lost starts again when it is back.
    bool resumesMeasurement() const { return watch.resumesMeasurement(); }
    static QString connectionText(Connection connection) { return ConnectionWatch::connectionText(connection); }

    // Fills the record from the controller's "system" parameters; fields it
    // cannot read stay as they are. Returns the first failure, or 0.
    int readBackendVersions(BackendVersions *versions);
    // The record the module reads, read again after each reconnection.
    void setBackendVersions(BackendVersions *versions)
    {
        versionRecord = versions;
        watch.setBackendVersions(versions);
    }
    const BackendVersions *backendVersions() const { return versionRecord; }

    // Asks the controller whether it is tracking already ("status active"
    // is "meas") and, if so, tells the requesters that a measurement runs.
    int readMeasurementState();
    bool isMeasuring() const { return watch.isMeasuring(); }

    // Sends a whole command line as it is and reads its reply: 0, or the
    // failure (a controller's error reply is its number).
    int exchange(const QByteArray &line, QByteArray *reply);
    // A command waits for its reply: what runs now runs nested inside that wait.
    bool commandWaiting() const { return commandsWaiting > 0; }

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
    void messageLogged(const QDateTime &time, const QString &category, const QString &source, int level,
                       const QString &text);
    void measurementStateChanged(bool measuring);
    void connectionChanged(ConnectionWatch::Connection connection);
    void firstConnected();
    void firstAttemptEnded(bool connected);
    void dataMissingChanged(bool missing);

private slots:
    void routeDataLine(const QByteArray &line);

private:
    int transact(const QByteArray &line, QByteArray *reply);
    int query(const QByteArray &text, QByteArray *value);
    int vquery(const char *format, va_list args, QByteArray *value);
    template <typename T>
    int vtyped(T *value, const char *format, va_list args, bool (*read)(const QByteArray &, T *));

    // In this order: each part uses those before it.
    std::unique_ptr<ControllerLink> controller;
    DataRouter router;
    DataDelivery delivery;
    ConnectionWatch watch;
    DataWatch dataWatch;
    int timeoutMs = DefaultTimeoutMs;
    CommandObserver *observer = nullptr;
    BackendVersions *versionRecord = nullptr;
    int commandsWaiting = 0;
};

#endif // COMMANDMANAGER_H
