#ifndef CONTROLLERTRANSPORT_H
#define CONTROLLERTRANSPORT_H

#include <QByteArray>
#include <QObject>
#include <QString>

// The way to the controller: one command line out, one reply line back,
// within a time-out; and the controller's data output lines coming in.
class ControllerTransport : public QObject
{
    Q_OBJECT

public:
    enum class Status {
        Ok,           // the reply is in
        TimedOut,     // no reply within the time-out; a late one is discarded
        Lost,         // the connection closed, or the controller dropped the command
        NotConnected, // no connection could be made
    };

    // Reply lines longer than this are cut here already; the command manager
    // cuts further to the caller's buffer.
    static constexpr int MaxReplyLength = 4096;

    explicit ControllerTransport(QObject *parent = nullptr);

    // Sends one command line (no line end) and waits at most timeoutMs for
    // its reply (no line end). Blocks the calling thread without running
    // its event loop, as the host's synchronous command calls require.
    virtual Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) = 0;

    // Where the commands go, for the window and the log.
    virtual QString description() const = 0;

    static QString statusText(Status status);

signals:
    // One data output line (no line end), delivered on this object's thread.
    void dataLine(const QByteArray &line);
};

#endif // CONTROLLERTRANSPORT_H
