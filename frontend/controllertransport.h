#ifndef CONTROLLERTRANSPORT_H
#define CONTROLLERTRANSPORT_H

#include <QByteArray>
#include <QObject>
#include <QString>

// The way to the controller: one command line out, one reply line back,
// within a time-out; and the controller's data output lines coming in.
// A transport lives on the worker thread of its ControllerLink: its calls
// block that thread, never the window's.
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
    Q_ENUM(Status)

    // Reply lines longer than this are cut here already; the command manager
    // cuts further to the caller's buffer.
    static constexpr int MaxReplyLength = 4096;

    explicit ControllerTransport(QObject *parent = nullptr);

    // Makes the connection, dropping any old one; false with the reason if none could be made.
    virtual bool open(int timeoutMs, QString *error) = 0;

    // Sends one command line (no line end) and waits at most timeoutMs for
    // its reply (no line end). Without a connection it tries to make one first.
    virtual Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) = 0;

    // Where the commands go, for the window and the log.
    virtual QString description() const = 0;
    // Where the data output comes in, for the log: the first place to look when none does.
    virtual QString dataDescription() const = 0;
    // Why the last connection could not be made; empty when it could.
    virtual QString connectError() const { return QString(); }

    static QString statusText(Status status);

signals:
    // One data output line (no line end), delivered on this object's thread.
    void dataLine(const QByteArray &line);
    // The connection ended between commands (the controller closed it or went away).
    void lost(const QString &reason);
};

#endif // CONTROLLERTRANSPORT_H
