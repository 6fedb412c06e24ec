#ifndef STREAMINGSERVICE_H
#define STREAMINGSERVICE_H

#include <QHostAddress>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include "frontend/streaming/streamingoptions.h"
#include "host/requester.h"

class CommandManager;
class IgtlServer;

// The front-end's side of the OpenIGTLink server. The measurement tool
// lines are taken from the controller link as they arrive, stamped there
// and handed to the server's thread; the command manager's held copies are
// ignored. Still a requester of its own, beside the module's, subscribed to
// those outputs, for the measurement's starts and stops: at a start it
// switches the outputs on, as the display does when shown, and reads each
// tool's reference, though never inside a command that waits. So nothing
// changes while the server is off.
class StreamingService : public QObject, public Requester
{
    Q_OBJECT

public:
    // Starts the server when the options ask for one; logs how that went.
    StreamingService(CommandManager *manager, const StreamingOptions &options, QObject *parent = nullptr);
    ~StreamingService() override;

    quint16 port() const;
    int clientCount() const;
    // "OpenIGTLink: off", "OpenIGTLink: 127.0.0.1:18944, 2 clients",
    // "OpenIGTLink: cannot listen on 127.0.0.1:18944: <reason>".
    QString statusText() const;
    IgtlServer *server() const { return igtl; }

    int handleDataLine(const char *outputType, const char *line) override;
    int measurementStarted() override;
    int measurementStopped() override;

signals:
    void statusChanged();

private:
    void takeLine(const QByteArray &line);
    void toolCountChanged(int tools);
    void runWhenIdle();
    void prepareMeasurement();
    void readReferences();

    CommandManager *manager;
    const QHostAddress address;
    QThread thread;
    IgtlServer *igtl = nullptr;
    bool running = false;
    QString listenError;
    QMetaObject::Connection lineConnection;
    QTimer idleRetry;
    enum class Format { None, Older, Newer };
    Format switchedOn = Format::None;
    bool measuring = false;
    bool preparing = false;
    bool readingReferences = false;
    bool toldUnavailable = false;
    int knownTools = -1;
};

#endif // STREAMINGSERVICE_H
