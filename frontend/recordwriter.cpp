#include "frontend/recordwriter.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

RecordWriter::RecordWriter(QObject *parent)
    : QObject(parent)
{
    worker.reset(QThread::create([this]() { run(); }));
    worker->setObjectName(QStringLiteral("recording writer"));
    worker->start();
}

RecordWriter::~RecordWriter()
{
    {
        QMutexLocker lock(&mutex);
        quitting = true;
        wake.wakeOne();
    }
    worker->wait();
}

void RecordWriter::open(const QString &file, const QByteArray &header)
{
    hand({Job::Open, header, file});
}

bool RecordWriter::write(const QByteArray &records)
{
    QMutexLocker lock(&mutex);
    if (queuedBytes + records.size() > MaxQueuedBytes)
        return false;
    queuedBytes += records.size();
    jobs.append({Job::Write, records, QString()});
    wake.wakeOne();
    return true;
}

void RecordWriter::close(const QByteArray &last)
{
    hand({Job::Close, last, QString()});
}

void RecordWriter::hand(Job job)
{
    QMutexLocker lock(&mutex);
    jobs.append(std::move(job));
    wake.wakeOne();
}

void RecordWriter::run()
{
    QFile file;
    QDeadlineTimer nextDue(DueMs);
    for (;;) {
        QList<Job> taken;
        {
            QMutexLocker lock(&mutex);
            if (jobs.isEmpty() && !quitting)
                wake.wait(&mutex, file.isOpen() ? nextDue : QDeadlineTimer(QDeadlineTimer::Forever));
            if (jobs.isEmpty() && quitting)
                break;
            taken.swap(jobs);
        }
        for (const Job &job : qAsConst(taken)) {
            perform(job, &file);
            if (job.kind == Job::Write) {
                QMutexLocker lock(&mutex);
                queuedBytes -= job.data.size();
            }
        }
        if (file.isOpen() && nextDue.hasExpired()) {
            emit due();
            nextDue.setRemainingTime(DueMs);
        }
    }
    if (file.isOpen())
        perform({Job::Close, QByteArray(), QString()}, &file);
}

void RecordWriter::perform(const Job &job, QFile *file)
{
    switch (job.kind) {
    case Job::Open:
        file->close();
        path = job.path;
        file->setFileName(path);
        fileSize = 0;
        broken = !file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        if (broken)
            emit failed(path, file->errorString());
        else
            writeBlock(job.data, file);
        break;
    case Job::Write:
        if (!broken)
            writeBlock(job.data, file);
        break;
    case Job::Close:
        if (broken)
            break;
        writeBlock(job.data, file);
        if (!broken)
            file->close();
        broken = true; // until the next open
        break;
    }
}

void RecordWriter::writeBlock(const QByteArray &records, QFile *file)
{
    qint64 done = 0;
    while (done < records.size()) {
        // A short write is followed by one that fails and says why.
        const qint64 count = file->write(records.constData() + done, records.size() - done);
        if (count <= 0)
            break;
        done += count;
    }
    if (done == records.size()) {
        fileSize += done;
        return;
    }
    const QString reason = file->errorString();
    const qint64 whole = done > 0 ? records.left(int(done)).lastIndexOf('\n') + 1 : 0;
    // A device such as /dev/full cannot be cut; what reached it is whole records or nothing.
    file->resize(fileSize + whole);
    fileSize += whole;
    file->close();
    broken = true;
    emit failed(path, reason);
}
