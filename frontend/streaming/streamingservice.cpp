#include "frontend/streaming/streamingservice.h"

#include <cstring>

#include <QVector>

#include "frontend/commandmanager.h"
#include "frontend/controllerlink.h"
#include "frontend/streaming/igtlclient.h"
#include "frontend/streaming/igtlserver.h"
#include "host/controllerfacts.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"

namespace {

// The outputs the display reads, in its order.
constexpr const char *OutputTypes[] = {"6dmt", "6dmt2", "6dmtr"};
constexpr int IdleRetryMs = 20;
// Far beyond any controller's tools: a broken or forged count in the data
// must not hold the window in a long run of queries.
constexpr int MaxReferencedTools = 1024;

bool isStreamed(const QByteArray &line)
{
    for (const char *type : OutputTypes) {
        const int length = int(std::strlen(type));
        if (line.startsWith(type) && (line.size() == length || line.at(length) == ' '))
            return true;
    }
    return false;
}

} // namespace

StreamingService::StreamingService(CommandManager *commandManager, const StreamingOptions &options, QObject *parent)
    : QObject(parent)
    , manager(commandManager)
    , address(options.address)
{
    if (!options.enabled())
        return;
    thread.setObjectName(QStringLiteral("igtl"));
    igtl = new IgtlServer(options.maxRateHz);
    igtl->moveToThread(&thread);
    connect(igtl, &IgtlServer::logged, manager, &CommandManager::log);
    connect(igtl, &IgtlServer::clientCountChanged, this, &StreamingService::statusChanged);
    connect(igtl, &IgtlServer::toolCountChanged, this, &StreamingService::toolCountChanged);
    idleRetry.setSingleShot(true);
    idleRetry.setInterval(IdleRetryMs);
    connect(&idleRetry, &QTimer::timeout, this, &StreamingService::runWhenIdle);
    thread.start();
    // The outcome is known before the front-end goes on; the log says it.
    QMetaObject::invokeMethod(
        igtl, [this, options]() { return igtl->listen(options.address, options.port); }, Qt::BlockingQueuedConnection,
        &running);
    if (!running) {
        listenError = tr("OpenIGTLink: cannot listen on %1: %2")
                          .arg(IgtlServer::endpoint(address, options.port), igtl->listenError());
        return;
    }
    manager->addRequester(this);
    for (const char *type : OutputTypes)
        manager->subscribeOutput(type, this);
    if (manager->link())
        lineConnection = connect(
            manager->link(), &ControllerLink::dataLine, this, [this](const QByteArray &line) { takeLine(line); },
            Qt::DirectConnection);
    if (options.maxRateHz > 0)
        manager->log(tr("OpenIGTLink: at most %1 poses per second to each client").arg(options.maxRateHz));
}

StreamingService::~StreamingService()
{
    if (!igtl)
        return;
    disconnect(lineConnection);
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
    if (!listenError.isEmpty())
        return listenError;
    if (!running)
        return tr("OpenIGTLink: off");
    const int clients = clientCount();
    const QString where = IgtlServer::endpoint(address, port());
    return clients == 1 ? tr("OpenIGTLink: %1, 1 client").arg(where)
                        : tr("OpenIGTLink: %1, %2 clients").arg(where).arg(clients);
}

// As the link hands the line on, on the window's thread: not held back while
// commands wait, as the module's copy is.
void StreamingService::takeLine(const QByteArray &line)
{
    if (isStreamed(line))
        igtl->postLine(line, IgtlClient::wallNow(), IgtlClient::steadyNow());
}

// The copy the command manager delivers may have been held while commands
// waited; the server has the line from the link already.
int StreamingService::handleDataLine(const char *, const char *)
{
    return 0;
}

// Queued behind the lines posted so far, ahead of those to come.
int StreamingService::measurementStarted()
{
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server]() { server->forgetItems(); }, Qt::QueuedConnection);
    measuring = true;
    preparing = true;
    idleRetry.start(0);
    return 0;
}

// Also when the controller is lost; its return starts the measurement again.
int StreamingService::measurementStopped()
{
    measuring = false;
    preparing = false;
    readingReferences = false;
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server]() { server->stopTracking(); }, Qt::QueuedConnection);
    return 0;
}

void StreamingService::toolCountChanged(int tools)
{
    if (!measuring || tools == knownTools)
        return;
    knownTools = tools;
    readingReferences = true;
    idleRetry.start(0);
}

// Our commands wait for no command of the module's: run inside its wait
// they would lengthen it and hold its data back.
void StreamingService::runWhenIdle()
{
    if (manager->commandWaiting()) {
        idleRetry.start(IdleRetryMs);
        return;
    }
    if (preparing) {
        preparing = false;
        prepareMeasurement();
    }
    if (readingReferences && !manager->commandWaiting()) {
        readingReferences = false;
        readReferences();
    }
}

void StreamingService::prepareMeasurement()
{
    const BackendVersions *versions = manager->backendVersions();
    if (!ControllerFacts::measurementToolAvailable(manager, versions)) {
        if (!toldUnavailable)
            manager->log(tr("OpenIGTLink: the controller offers no measurement tools; nothing is streamed"));
        toldUnavailable = true;
        return;
    }
    bool output6dmt = true;
    if (VersionGate::supports(versions, Feature::OutputFormat)
        && manager->getBoolParameter(&output6dmt, "measurementtool output_6dmt") != 0)
        output6dmt = true;
    // Once per format, as the display does: the command manager switches
    // them on again for a controller that restarted.
    const Format format = output6dmt ? Format::Older : Format::Newer;
    if (format != switchedOn) {
        const int first
            = manager->setParameter(output6dmt ? "output active chmon 6dmt yes" : "output active chmon 6dmt2 yes");
        const int second = manager->setParameter("output active chmon 6dmtr yes");
        if (first != 0 || second != 0)
            manager->log(tr("OpenIGTLink: cannot switch the measurement tool outputs on: %1")
                             .arg(CommandManager::errorText(first != 0 ? first : second)));
        else
            switchedOn = format;
    }
    int tools = 0;
    if (manager->getIntParameter(&tools, "measurementtool number_of_tools") == 0) {
        knownTools = tools;
        readingReferences = true;
    }
}

// Asked once per measurement and when the count changes, never per line.
void StreamingService::readReferences()
{
    QVector<int> references;
    for (int i = 0; i < knownTools && i < MaxReferencedTools; ++i) {
        ReplyBuffer reply;
        int number = 0;
        const int result = manager->getParameter(reply.data(), "measurementtool reference_of_tool %s",
                                                 NumberedItem::body(i).c_str());
        // Not connected or no reply: the references known stay, to be read at the next start.
        if (result < 0)
            return;
        const bool known = result == 0 && !reply.is(ReplyWord::None) && NumberedItem::readNumber(reply.text(), &number)
            && number > 0;
        references.append(known ? number : 0);
    }
    IgtlServer *server = igtl;
    QMetaObject::invokeMethod(
        server, [server, references]() { server->setReferences(references); }, Qt::QueuedConnection);
}
