#include "frontend/sessionrecorder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "frontend/commandmanager.h"
#include "frontend/controllerlink.h"
#include "frontend/recordformat.h"
#include "frontend/recordwriter.h"
#include "host/backendversions.h"

namespace {

// The file's own words, never translated.
QByteArray stopWord(SessionRecorder::Stop reason)
{
    return reason == SessionRecorder::Stop::Quit ? "quit" : "operator";
}

} // namespace

SessionRecorder::SessionRecorder(CommandManager *commandManager, const BackendVersions *backendVersions,
                                 QObject *parent)
    : QObject(parent)
    , manager(commandManager)
    , versions(backendVersions)
{
    manager->setCommandObserver(this);
    if (manager->link())
        connect(manager->link(), &ControllerLink::dataLine, this, &SessionRecorder::recordDataLine);
    connect(manager, &CommandManager::connectionChanged, this, &SessionRecorder::noteConnection);
    connect(manager, &CommandManager::measurementStateChanged, this, &SessionRecorder::noteMeasurement);
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this]() { stop(Stop::Quit); });
}

SessionRecorder::~SessionRecorder()
{
    stop(Stop::Quit);
    manager->setCommandObserver(nullptr);
}

void SessionRecorder::start(const QString &file)
{
    stop(Stop::Operator);
    path = QFileInfo(file).absoluteFilePath(); // the log says where the file is
    dataCount = commandCount = droppedCount = droppedUnnoted = 0;
    longestRecord = longestHandOver = busy = 0;
    if (manager->connection() == CommandManager::Connection::Connecting) {
        manager->log(tr("Recording to %1 begins when the controller answers").arg(path));
        setState(State::Waiting);
        return;
    }
    begin();
}

void SessionRecorder::versionsKnown()
{
    if (current == State::Waiting)
        begin();
}

void SessionRecorder::begin()
{
    if (!writer) {
        writer = std::make_unique<RecordWriter>();
        connect(writer.get(), &RecordWriter::due, this, &SessionRecorder::handOver);
        connect(writer.get(), &RecordWriter::failed, this, &SessionRecorder::writerFailed);
    }
    RecordFormat::Header header;
    header.frontendVersion = QCoreApplication::applicationVersion().toLatin1();
    header.productName = versions ? versions->productName : QString();
    for (int i = 0; i < 3; ++i) {
        header.productVersion[i] = versions ? versions->productVersion[i] : 0;
        header.backendVersion[i] = versions ? versions->backendVersion[i] : 0;
    }
    header.started = QDateTime::currentDateTimeUtc();
    header.tools = facts.tools();
    header.references = facts.references();
    header.referencesOfTools = facts.referenceValues();
    clock.start();
    writer->open(path, RecordFormat::header(header));
    away = manager->connection() == CommandManager::Connection::Lost
        || manager->connection() == CommandManager::Connection::Reconnecting;
    setState(State::Recording);
    if (away)
        noteComment("lost " + manager->lossReason().toLatin1());
    if (manager->isMeasuring())
        noteComment("measurement running");
    manager->log(tr("Recording to %1").arg(path));
}

void SessionRecorder::stop(Stop reason)
{
    if (current == State::Off)
        return;
    const bool wasRecording = current == State::Recording;
    setState(State::Off);
    if (!wasRecording) {
        manager->log(tr("Recording to %1 not begun: stopped before the controller answered").arg(path));
        return;
    }
    handOver();
    // A block the writer refused leaves its note of the gap here; the close takes it whatever the bound.
    QByteArray last = pending;
    pending.clear();
    RecordFormat::appendComment(&last, "stopped " + stopWord(reason));
    writer->close(last);
    QString text = tr("Recording ended after %1 s: %2 lines in %3")
                       .arg(QLocale().toString(clock.elapsed() / 1000.0, 'f', 1), QLocale().toString(lines()), path);
    if (droppedCount > 0)
        text += tr(" (%1 lines dropped: the disk did not keep up)").arg(QLocale().toString(droppedCount));
    tell(text);
}

qint64 SessionRecorder::elapsedMs() const
{
    return current == State::Recording ? clock.elapsed() : 0;
}

void SessionRecorder::recordDataLine(const QByteArray &line)
{
    if (current != State::Recording)
        return;
    QElapsedTimer took;
    took.start();
    const int before = pending.size();
    RecordFormat::appendData(&pending, clock.elapsed(), line);
    if (pending.size() != before) {
        ++pendingData;
        ++dataCount;
    }
    if (pending.size() >= MaxPendingBytes)
        handOver();
    noteTime(took.nsecsElapsed(), &longestRecord);
}

void SessionRecorder::commandExchanged(const QByteArray &command, const QByteArray &reply, int result,
                                       qint64 durationNs)
{
    facts.noteCommand(command, reply, result);
    if (current != State::Recording)
        return;
    QElapsedTimer took;
    took.start();
    // Stamped when the reply came: the records' times never go back.
    RecordFormat::appendCommand(&pending, clock.elapsed(), durationNs / 1000000, result, command, reply);
    ++pendingCommands;
    ++commandCount;
    if (pending.size() >= MaxPendingBytes)
        handOver();
    noteTime(took.nsecsElapsed(), &longestRecord);
}

void SessionRecorder::handOver()
{
    if (current != State::Recording || pending.isEmpty())
        return;
    QElapsedTimer took;
    took.start();
    if (writer->write(pending)) {
        droppedUnnoted = 0;
        pending.clear();
    } else {
        const int records = pendingData + pendingCommands;
        dataCount -= pendingData;
        commandCount -= pendingCommands;
        droppedCount += records;
        droppedUnnoted += records;
        // The gap is marked where it is, in the block that follows.
        pending.clear();
        RecordFormat::appendComment(&pending,
                                    "dropped " + QByteArray::number(droppedUnnoted) + " records: the disk fell behind");
    }
    pendingData = pendingCommands = 0;
    noteTime(took.nsecsElapsed(), &longestHandOver);
}

void SessionRecorder::writerFailed(const QString &file, const QString &reason)
{
    if (file != path)
        return;
    if (current == State::Recording) {
        setState(State::Off);
        pending.clear();
        pendingData = pendingCommands = 0;
    }
    tell(tr("Recording stopped: cannot write %1: %2. The file holds the records up to the last whole one.")
             .arg(file, reason));
}

void SessionRecorder::noteConnection(ConnectionWatch::Connection connection)
{
    const bool nowAway
        = connection == CommandManager::Connection::Lost || connection == CommandManager::Connection::Reconnecting;
    if (nowAway && !away)
        noteComment("lost " + manager->lossReason().toLatin1());
    else if (connection == CommandManager::Connection::Connected && away)
        noteComment("reconnected");
    away = nowAway;
}

void SessionRecorder::noteMeasurement(bool measuring)
{
    noteComment(measuring ? "measurement started" : "measurement stopped");
}

void SessionRecorder::noteComment(const QByteArray &text)
{
    if (current == State::Recording)
        RecordFormat::appendComment(&pending, text);
}

void SessionRecorder::noteTime(qint64 ns, qint64 *longest)
{
    busy += ns;
    if (ns > *longest)
        *longest = ns;
}

void SessionRecorder::setState(State state)
{
    if (state == current)
        return;
    current = state;
    emit stateChanged();
}

void SessionRecorder::tell(const QString &text)
{
    manager->log(text);
    emit told(text);
}
