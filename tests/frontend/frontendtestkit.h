#ifndef FRONTENDTESTKIT_H
#define FRONTENDTESTKIT_H

// Set-up shared by the front-end's tests: files, the programs as processes,
// and the command manager's log.
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QStringList>

inline QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// The system's environment, offscreen.
inline QProcessEnvironment offscreen()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

inline void end(QProcess *process)
{
    if (process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

struct Run
{
    bool finished = false;
    int status = -1; // -1: crashed or killed
    qint64 ms = 0;
    QString output;
};

// A program run to its end, or killed after the limit; its output merged.
inline Run runProgram(const QString &program, const QStringList &arguments, const QProcessEnvironment &env,
                      int limitMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    Run result;
    result.finished = process.waitForFinished(limitMs);
    result.ms = clock.elapsed();
    end(&process);
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

#ifdef MT_CONTROLLER_SIM
// Starts the simulated controller listening on 127.0.0.1 (port 0 picks one)
// and returns the port it prints, 0 if none; what it printed is in banner.
inline quint16 startController(QProcess *process, const QStringList &arguments, quint16 port = 0,
                               QByteArray *banner = nullptr)
{
    process->start(QStringLiteral(MT_CONTROLLER_SIM),
                   QStringList{"--listen", QStringLiteral("127.0.0.1:%1").arg(port)} + arguments);
    QByteArray output;
    const auto listening = [&output]() {
        const int at = output.indexOf("listening on ");
        return at >= 0 && output.indexOf('\n', at) > at;
    };
    while (!listening() && process->waitForReadyRead(5000))
        output += process->readAllStandardOutput();
    if (banner)
        *banner = output;
    const int colon = listening() ? output.indexOf(':', output.indexOf("listening on ")) : -1;
    return colon < 0 ? 0 : quint16(output.mid(colon + 1, output.indexOf('\n', colon) - colon - 1).toUInt());
}
#endif

// Every text a command manager logs, collected into the list.
template <typename Manager>
void collectLog(Manager *manager, QObject *context, QStringList *log)
{
    QObject::connect(manager, &Manager::messageLogged, context,
                     [log](const QDateTime &, const QString &, const QString &, int, const QString &text) {
        *log << text;
    });
}

#endif // FRONTENDTESTKIT_H
