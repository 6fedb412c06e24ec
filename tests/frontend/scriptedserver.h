#ifndef SCRIPTEDSERVER_H
#define SCRIPTEDSERVER_H

#include <QAtomicInt>
#include <QSemaphore>
#include <QThread>

class ControllerScript;

// A controller on loopback TCP that answers from a script, on a thread of
// its own, since the client blocks its thread while it waits.
class ScriptedServer : public QThread
{
    Q_OBJECT

public:
    explicit ScriptedServer(ControllerScript *controllerScript) : script(controllerScript) {}
    ~ScriptedServer() override { quit(), wait(); }
    // Starts the thread and listens on a free port; false if it cannot.
    bool startListening() { return start(), ready.acquire(), port() != 0; }
    quint16 port() const { return quint16(listenPort.loadAcquire()); }
    int connectionCount() const { return accepted.loadAcquire(); }

protected:
    void run() override;

private:
    ControllerScript *script;
    QSemaphore ready;
    QAtomicInt listenPort;
    QAtomicInt accepted;
};

#endif // SCRIPTEDSERVER_H
