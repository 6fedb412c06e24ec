#ifndef RECORDWRITER_H
#define RECORDWRITER_H

#include <memory>

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

class QFile;
class QThread;

// Writes a recording on a worker thread of its own, so that the window's
// thread never waits for the disk: it hands over blocks of whole records,
// which the worker writes as they come. What waits is bounded; a block that
// does not fit is refused, and the caller counts what it held as dropped.
// A write that fails cuts the file back to its last whole record, closes it
// and ignores the blocks that follow until the next open. While a file is
// open the worker asks for the next block (due()), so that records reach the
// file within about DueMs whatever the caller is doing.
class RecordWriter : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 MaxQueuedBytes = 16 * 1024 * 1024;
    // While a file is open, due() comes at least this often.
    static constexpr int DueMs = 100;

    explicit RecordWriter(QObject *parent = nullptr);
    // Writes what was handed over and closes the file: at exit, the one wait for the disk.
    ~RecordWriter() override;

    // Each returns at once; the worker follows them in order. The header
    // counts against no bound.
    void open(const QString &path, const QByteArray &header);
    // False, taking nothing, when the block does not fit what waits.
    bool write(const QByteArray &records);
    void close(const QByteArray &last);

signals:
    // From the worker: time to hand over what was gathered. A queued call,
    // which runs even while the window's thread waits for a command.
    void due();
    // From the worker: the file holds the records up to the last whole one.
    void failed(const QString &path, const QString &reason);

private:
    struct Job
    {
        enum Kind { Open, Write, Close } kind;
        QByteArray data;
        QString path;
    };

    void hand(Job job);
    void run();
    // On the worker thread.
    void perform(const Job &job, QFile *file);
    void writeBlock(const QByteArray &records, QFile *file);

    QMutex mutex;
    QWaitCondition wake;
    QList<Job> jobs;
    qint64 queuedBytes = 0;
    bool quitting = false;

    // The worker's own.
    qint64 fileSize = 0;
    bool broken = false;
    QString path;

    std::unique_ptr<QThread> worker;
};

#endif // RECORDWRITER_H
