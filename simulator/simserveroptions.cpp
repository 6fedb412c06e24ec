#include "simulator/simserveroptions.h"

#include "simulator/optionvalue.h"
#include "simulator/simmodel.h"
#include "simulator/simsettingtable.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostInfo>

#include <memory>

bool SimServerOptions::resolve(const QString &host, QHostAddress *address)
{
    QHostAddress literal;
    if (literal.setAddress(host)) {
        *address = literal;
        return true;
    }
    const QList<QHostAddress> found = QHostInfo::fromName(host).addresses();
    if (found.isEmpty())
        return false;
    *address = found.constFirst();
    for (const QHostAddress &candidate : found) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            *address = candidate;
            break;
        }
    }
    return true;
}

bool SimServerOptions::readAddress(const QString &option, const QString &text, quint16 leastPort, QHostAddress *address,
                                   quint16 *port)
{
    QString host;
    if (!OptionValue::hostPort(text, leastPort, &host, port)) {
        errorText = QStringLiteral("--%1 wants host:port, not \"%2\"").arg(option, text);
        return false;
    }
    if (!resolve(host, address)) {
        errorText = QStringLiteral("--%1: no address for \"%2\"").arg(option, host);
        return false;
    }
    return true;
}

bool SimServerOptions::parse(const QStringList &arguments, SimModel *model)
{
    const QString listen = QStringLiteral("listen"), dataTo = QStringLiteral("data-to"),
                  idle = QStringLiteral("idle-timeout"), quit = QStringLiteral("quit-on-eof");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Orvel controller: command lines over TCP, data output over UDP.\n"
        "Every simulation setting of \"orvel2 simulate <setting> <value>\" is also an option\n"
        "(underscores written as dashes, versions dotted), e.g. --backend-version 1.12.0 --locked yes."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        listen,
        QStringLiteral("TCP address for commands: a host name, an IPv4 address or an IPv6 address in brackets; "
                       "port 0 picks a free one (default 127.0.0.1:%1).")
            .arg(DefaultListenPort),
        QStringLiteral("host:port")));
    parser.addOption(QCommandLineOption(dataTo,
                                        QStringLiteral("UDP address for the data lines, written as for --listen "
                                                       "(default: none, no data output)."),
                                        QStringLiteral("host:port")));
    parser.addOption(QCommandLineOption(
        idle,
        QStringLiteral("Seconds before a client that sends nothing is closed, 0 to %1; 0: never (default %2).")
            .arg(MaxIdleSeconds)
            .arg(DefaultIdleSeconds),
        QStringLiteral("seconds")));
    parser.addOption(QCommandLineOption(quit,
                                        QStringLiteral("End when standard input closes, as when the parent "
                                                       "that started it has gone (default: run until "
                                                       "stopped).")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("replay"),
        QStringLiteral("Replay a recording of the front-end, or a raw capture of data lines, in place of the "
                       "simulated motion: its data lines while tracking runs and their outputs are on, at the "
                       "recorded pace (a raw capture at --rate frames per second); the tools and references "
                       "as recorded (default: none, the simulated motion)."),
        QStringLiteral("file")));
    parser.addOption(QCommandLineOption(QStringLiteral("speed"),
                                        QStringLiteral("Replay speed, the recorded times divided by it: %1 to %2 "
                                                       "(default 1).")
                                            .arg(SimReplay::LeastSpeed)
                                            .arg(SimReplay::MostSpeed),
                                        QStringLiteral("x")));
    parser.addOption(QCommandLineOption(QStringLiteral("loop"),
                                        QStringLiteral("Replay from the beginning again at the end (default: the "
                                                       "data stops at the end).")));
    SimSettingTable::addOptions(&parser);
    // The program's name, not the path it was started with.
    usageText = QStringLiteral("Usage: %1 [options]\n").arg(QCoreApplication::applicationName());
    QString helpText = parser.helpText();
    helpText.replace(0, helpText.indexOf(QLatin1Char('\n')) + 1, usageText);

    if (!parser.parse(arguments)) {
        errorText = parser.errorText();
        return false;
    }
    if (parser.isSet(help) || parser.isSet(version) || parser.optionNames().contains(QStringLiteral("help-all"))) {
        exitNow = true;
        outputText = parser.isSet(version)
            ? QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())
            : helpText;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        errorText = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return false;
    }
    if (parser.isSet(listen) && !readAddress(listen, parser.value(listen), 0, &listenAddress, &listenPort))
        return false;
    if (parser.isSet(dataTo) && !readAddress(dataTo, parser.value(dataTo), 1, &dataAddress, &dataPort))
        return false;
    if (parser.isSet(idle) && !OptionValue::number(parser.value(idle), 0, MaxIdleSeconds, &idleSeconds)) {
        errorText = QStringLiteral("--%1 wants seconds from 0 to %2, not \"%3\"")
                        .arg(idle)
                        .arg(MaxIdleSeconds)
                        .arg(parser.value(idle));
        return false;
    }
    quitOnEof = parser.isSet(quit);
    // The recording first, so that a setting given here overrides what it says.
    return readReplay(parser, model) && SimSettingTable::applyOptions(parser, model, &errorText);
}

bool SimServerOptions::readReplay(const QCommandLineParser &parser, SimModel *model)
{
    const QString file = parser.value(QStringLiteral("replay"));
    double speed = 1.0;
    if (file.isEmpty() && (parser.isSet(QStringLiteral("speed")) || parser.isSet(QStringLiteral("loop")))) {
        errorText = QStringLiteral("--speed and --loop go with --replay");
        return false;
    }
    if (parser.isSet(QStringLiteral("speed")) && !SimReplay::readSpeed(parser.value(QStringLiteral("speed")), &speed)) {
        errorText = QStringLiteral("--speed wants a number from %1 to %2, not \"%3\"")
                        .arg(SimReplay::LeastSpeed)
                        .arg(SimReplay::MostSpeed)
                        .arg(parser.value(QStringLiteral("speed")));
        return false;
    }
    if (file.isEmpty())
        return true;
    auto recording = std::make_unique<SimRecording>();
    if (!recording->open(file)) {
        errorText = recording->errorText();
        usageMistake = false;
        return false;
    }
    if (recording->skippedLine() > 0)
        replayNotes << QStringLiteral("replay: %1:%2: the last line is cut off; it is skipped")
                           .arg(file)
                           .arg(recording->skippedLine());
    auto replay = std::make_unique<SimReplay>(std::move(recording), speed, parser.isSet(QStringLiteral("loop")));
    replayNotes.prepend(QStringLiteral("replaying ") + replay->summary());
    const QList<QByteArray> refused = model->startReplay(std::move(replay));
    for (const QByteArray &note : refused)
        replayNotes
            << QStringLiteral("replay: the controller refuses the recording's %1").arg(QString::fromLatin1(note));
    return true;
}
