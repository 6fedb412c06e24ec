#ifndef COMMANDMANAGER_H
#define COMMANDMANAGER_H

#include <cstdarg>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include "frontend/datarouter.h"
#include "host/iomanager.h"

class ControllerTransport;
struct BackendVersions;

// The host's command manager: the module's calls become the controller's
// text protocol ("orvel2 get ...", "orvel2 set ...", whole command lines),
// and the controller's data output reaches the module's requesters.
// Every call is synchronous and ends within the time-out.
class CommandManager : public QObject, public IOManager
{
    Q_OBJECT

public:
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

    explicit CommandManager(ControllerTransport *transport, QObject *parent = nullptr);
    ~CommandManager() override;

    void setTimeout(int milliseconds) { timeoutMs = milliseconds; }
    int timeout() const { return timeoutMs; }

    DataRouter &dataRouter() { return router; }
    ControllerTransport *transport() const { return controller; }

    // Fills the record from the controller's "system" parameters; fields it
    // cannot read stay as they are. Returns the first failure, or 0.
    int readBackendVersions(BackendVersions *versions);

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

private slots:
    void routeDataLine(const QByteArray &line);

private:
    int formatText(const char *format, va_list args, QByteArray *text);
    int exchange(const QByteArray &line, QByteArray *reply);
    int query(const QByteArray &text, QByteArray *value);
    int vquery(const char *format, va_list args, QByteArray *value);
    template <typename T>
    int vtyped(T *value, const char *format, va_list args, bool (*read)(const QByteArray &, T *));
    void noteMeasurementCommand(const QByteArray &line, const QByteArray &reply);
    void setMeasuring(bool running);

    ControllerTransport *controller;
    DataRouter router;
    int timeoutMs = DefaultTimeoutMs;
    bool measuring = false;
};

#endif // COMMANDMANAGER_H
