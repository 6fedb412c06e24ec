#ifndef FRONTENDBENCH_H
#define FRONTENDBENCH_H

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStringList>
#include <QTimer>

#include "frontend/commandmanager.h"

// For the benchmarks that measure what a part of the front-end costs.

inline double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// CPU time of the process's thread of that name (its first 15 characters), from /proc.
inline double threadCpuSeconds(const QByteArray &name)
{
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != name.left(15))
            continue;
        QFile schedstat(QStringLiteral("/proc/self/task/%1/schedstat").arg(task));
        if (schedstat.open(QIODevice::ReadOnly))
            return schedstat.readAll().split(' ').value(0).toDouble() / 1e9; // ns on the CPU
    }
    return 0;
}

// CPU seconds a second of the process, the calling (window's) thread and,
// if named, one more thread, while the event loop runs for ms.
struct CpuPhase
{
    double process = 0;
    double gui = 0;
    double thread = 0;
};

inline CpuPhase runPhase(int ms, const QByteArray &threadName = QByteArray())
{
    const double process = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double gui = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double thread = threadName.isEmpty() ? 0 : threadCpuSeconds(threadName);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double seconds = ms / 1000.0;
    return {(cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process) / seconds,
            (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - gui) / seconds,
            threadName.isEmpty() ? 0 : (threadCpuSeconds(threadName) - thread) / seconds};
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values.at(values.size() / 2);
}

// A command to the controller; a failure is printed.
inline bool command(CommandManager *manager, const char *text)
{
    char reply[IOManager::ReplySize];
    const int result = manager->sendCommand(reply, "%s", text);
    if (result != 0)
        std::fprintf(stderr, "\"%s\" failed: %d %s\n", text, result, reply);
    return result == 0;
}

#endif // FRONTENDBENCH_H
