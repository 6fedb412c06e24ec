#ifndef SESSIONRECORDER_H
#define SESSIONRECORDER_H

#include <memory>

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "frontend/commandobserver.h"
#include "frontend/connectionwatch.h"
#include "frontend/toolfacts.h"

class CommandManager;
class RecordWriter;
struct BackendVersions;

// Records a session into a file (RecordFormat): every data line the
// controller delivers, of whatever output, and every command with its reply,
// result and duration, each with its time since the recording began. The
// window's thread only appends records to a block in memory; the block goes
// to the writer's thread whenever the writer asks (every 100 ms, also while a
// command waits) or when it grows large. A block the writer cannot take is
// dropped and counted, and a comment marks the gap. Losing the controller and
// its return are noted in the file; the recording goes on.
class SessionRecorder : public QObject, public CommandObserver
{
    Q_OBJECT

public:
    enum class State { Off, Waiting, Recording };
    enum class Stop { Operator, Quit };

    // A block this large goes to the writer at once.
    static constexpr int MaxPendingBytes = 1024 * 1024;

    SessionRecorder(CommandManager *manager, const BackendVersions *versions, QObject *parent = nullptr);
    ~SessionRecorder() override;

    // Begins at once when the controller has answered since the start; else
    // waits for versionsKnown(), since the header holds the versions.
    void start(const QString &path);
    void stop(Stop reason);
    // The controller's versions have been read for the first time.
    void versionsKnown();

    State state() const { return current; }
    QString fileName() const { return path; }
    qint64 elapsedMs() const;
    qint64 lines() const { return dataCount + commandCount; }
    qint64 dataLines() const { return dataCount; }
    qint64 commands() const { return commandCount; }
    qint64 dropped() const { return droppedCount; }
    // The longest time the window's thread spent on one record and on one hand-over to the writer.
    qint64 longestRecordNs() const { return longestRecord; }
    qint64 longestHandOverNs() const { return longestHandOver; }
    // All the window's thread spent on the recording since its start.
    qint64 busyNs() const { return busy; }

    void commandExchanged(const QByteArray &command, const QByteArray &reply, int result, qint64 durationNs) override;

public slots:
    void recordDataLine(const QByteArray &line);

signals:
    void stateChanged();
    // What the status bar should say of a failure or of the end; the log has it too.
    void told(const QString &text);

private slots:
    void handOver();
    void writerFailed(const QString &file, const QString &reason);
    void noteConnection(ConnectionWatch::Connection connection);
    void noteMeasurement(bool measuring);

private:
    void begin();
    void noteComment(const QByteArray &text);
    void noteTime(qint64 ns, qint64 *longest);
    void setState(State state);
    void tell(const QString &text);

    CommandManager *manager;
    const BackendVersions *versions;
    ToolFacts facts;
    std::unique_ptr<RecordWriter> writer;
    State current = State::Off;
    QString path;
    QElapsedTimer clock;
    bool away = false;

    QByteArray pending; // whole records not yet handed over
    int pendingData = 0;
    int pendingCommands = 0;
    qint64 dataCount = 0;
    qint64 commandCount = 0;
    qint64 droppedCount = 0;
    qint64 droppedUnnoted = 0;
    qint64 longestRecord = 0;
    qint64 longestHandOver = 0;
    qint64 busy = 0;
};

#endif // SESSIONRECORDER_H
