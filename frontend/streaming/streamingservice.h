#ifndef STREAMINGSERVICE_H
#define STREAMINGSERVICE_H

#include <QObject>
#include <QString>
#include <QThread>

#include "frontend/streaming/streamingoptions.h"
#include "host/requester.h"

class CommandManager;
class IgtlServer;

// The front-end's side of the OpenIGTLink server: a requester of its own,
// beside the module's, subscribed to the measurement tool outputs, which
// hands every line on to the server's thread the moment it arrives. At a
// measurement start it switches those outputs on, as the display does when
// shown, and reads each tool's reference; so nothing changes while the
// server is off.
class StreamingService : public QObject, public Requester
{
    Q_OBJECT

public:
    // Starts the server when the options ask for one; logs how that went.
    StreamingService(CommandManager *manager, const StreamingOptions &options, QObject *parent = nullptr);
    ~StreamingService() override;

    bool isRunning() const { return running; }
    quint16 port() const;
    int clientCount() const;
    // "OpenIGTLink: off", "OpenIGTLink: port 18944, 2 clients".
    QString statusText() const;
    IgtlServer *server() const { return igtl; }

    int handleDataLine(const char *outputType, const char *line) override;
    int measurementStarted() override;
    int measurementStopped() override;

signals:
    void statusChanged();

private slots:
    void prepareMeasurement();
    void readReferences(int tools);

private:
    CommandManager *manager;
    QThread thread;
    IgtlServer *igtl = nullptr;
    bool running = false;
};

#endif // STREAMINGSERVICE_H
