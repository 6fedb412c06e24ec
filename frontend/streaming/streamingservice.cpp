#include "frontend/streaming/streamingservice.h"

#include <QTimer>
#include <QVector>

#include "frontend/commandmanager.h"
#include "frontend/streaming/igtlclient.h"
#include "frontend/streaming/igtlserver.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"

namespace {

// The outputs the display reads, in its order.
constexpr const char *OutputTypes[] = {"6dmt", "6dmt2", "6dmtr"};

} // namespace

StreamingService::StreamingService(CommandManager *commandManager, const StreamingOptions &options, QObject *parent)
    : QObject(parent)
    , manager(commandManager)
{
    if (!options.enabled())
        return;
    thread.setObjectName(QStringLiteral("igtl"));
    igtl = new IgtlServer(options.maxRateHz);
    igtl->moveToThread(&thread);
    connect(igtl, &IgtlServer::logged, manager, &CommandManager::log);
    connect(igtl, &IgtlServer::clientCountChanged, this, &StreamingService::statusChanged);
    connect(igtl, &IgtlServer::toolCountChanged, this, &StreamingService::readReferences);
    thread.start();
    // The outcome is known before the front-end goes on; the log says it.
    QMetaObject::invokeMethod(
        igtl, [this, options]() { return igtl->listen(options.address, options.port); }, Qt::BlockingQueuedConnection,
        &running);
    if (!running)
        return;
    manager->addRequester(this);
    for (const char *type : OutputTypes)
        manager->subscribeOutput(type, this);
    if (options.maxRateHz > 0)
        manager->log(tr("OpenIGTLink: at most %1 poses per second to each client").arg(options.maxRateHz));
}

StreamingService::~StreamingService()
{
    if (!igtl)
        return;
    if (running) {
        manager->dataRouter().removeRequester(this);
        for (const char *type : OutputTypes)
            manager->dataRouter().unsubscribe(type, this);
    }
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server]() { delete server; }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}

quint16 StreamingService::port() const
{
    return igtl ? igtl->port() : 0;
}

int StreamingService::clientCount() const
{
    return igtl ? igtl->clientCount() : 0;
}

QString StreamingService::statusText() const
{
    if (!running)
        return tr("OpenIGTLink: off");
    const int clients = clientCount();
    return clients == 1 ? tr("OpenIGTLink: port %1, 1 client").arg(port())
                        : tr("OpenIGTLink: port %1, %2 clients").arg(port()).arg(clients);
}

// The window's thread only copies the line and stamps its arrival.
int StreamingService::handleDataLine(const char *, const char *line)
{
    if (!line)
        return -1;
    const qint64 wallNs = IgtlClient::wallNow();
    const qint64 steadyNs = IgtlClient::steadyNow();
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server, text = QByteArray(line), wallNs, steadyNs]() { server->handleLine(text, wallNs, steadyNs); },
        Qt::QueuedConnection);
    return 0;
}

// Not within the command manager's call: its commands come from the event loop.
int StreamingService::measurementStarted()
{
    QTimer::singleShot(0, this, &StreamingService::prepareMeasurement);
    return 0;
}

// Also when the controller is lost; its return starts the measurement again.
int StreamingService::measurementStopped()
{
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server]() { server->stopTracking(); }, Qt::QueuedConnection);
    return 0;
}

void StreamingService::prepareMeasurement()
{
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server]() { server->forgetItems(); }, Qt::QueuedConnection);
    bool output6dmt = true;
    if (manager->getBoolParameter(&output6dmt, "measurementtool output_6dmt") != 0)
        output6dmt = true;
    const int first
        = manager->setParameter(output6dmt ? "output active chmon 6dmt yes" : "output active chmon 6dmt2 yes");
    const int second = manager->setParameter("output active chmon 6dmtr yes");
    if (first != 0 || second != 0)
        manager->log(tr("OpenIGTLink: cannot switch the measurement tool outputs on: %1")
                         .arg(CommandManager::errorText(first != 0 ? first : second)));
    int tools = 0;
    if (manager->getIntParameter(&tools, "measurementtool number_of_tools") == 0)
        readReferences(tools);
}

// Asked once per measurement and when the count changes, never per line.
void StreamingService::readReferences(int tools)
{
    QVector<int> references;
    for (int i = 0; i < tools && i < 1000; ++i) {
        ReplyBuffer reply;
        int number = 0;
        const bool known
            = manager->getParameter(reply.data(), "measurementtool reference_of_tool %s", NumberedItem::body(i).c_str())
                == 0
            && !reply.is(ReplyWord::None) && NumberedItem::readNumber(reply.text(), &number) && number > 0;
        references.append(known ? number : 0);
    }
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server, references]() { server->setReferences(references); }, Qt::QueuedConnection);
}
