// orvel-controller-sim: the simulated controller as a network server.
#include "simulator/simcontroller.h"
#include "simulator/simmodel.h"
#include "simulator/simserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QHostAddress>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {

bool splitAddress(const QString &text, QHostAddress *address, quint16 *port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    const uint number = text.midRef(colon + 1).toUInt(&ok);
    if (!ok || number > 65535 || !address->setAddress(text.left(colon)))
        return false;
    *port = quint16(number);
    return true;
}

QString optionName(const QByteArray &setting)
{
    return QString::fromLatin1(setting).replace(QLatin1Char('_'), QLatin1Char('-'));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvel-controller-sim"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Orvel controller: command lines over TCP, data output over UDP.\n"
        "Every simulation setting of \"orvel2 simulate <setting> <value>\" is also an option\n"
        "(underscores written as dashes), e.g. --backend-version \"1 12 0\" --locked yes."));
    parser.addHelpOption();
    const QCommandLineOption listenOption(QStringLiteral("listen"), QStringLiteral("TCP address for commands."),
                                          QStringLiteral("host:port"), QStringLiteral("127.0.0.1:5025"));
    const QCommandLineOption dataOption(QStringLiteral("data-to"), QStringLiteral("UDP address for data lines."),
                                        QStringLiteral("host:port"));
    const QCommandLineOption idleOption(QStringLiteral("idle-timeout"),
                                        QStringLiteral("Seconds before a silent client is closed (0: never)."),
                                        QStringLiteral("seconds"), QStringLiteral("600"));
    const QCommandLineOption stdinOption(QStringLiteral("quit-on-eof"),
                                         QStringLiteral("End when standard input closes (the parent that "
                                                        "started it has gone)."));
    parser.addOption(listenOption);
    parser.addOption(dataOption);
    parser.addOption(idleOption);
    parser.addOption(stdinOption);
    const QList<QByteArray> settings = SimModel::settingNames();
    for (const QByteArray &setting : settings) {
        if (setting != "reset")
            parser.addOption(QCommandLineOption(optionName(setting), QStringLiteral("Simulation setting."),
                                                QStringLiteral("value")));
    }
    parser.process(app);

    SimController controller;
    for (const QByteArray &setting : settings) {
        const QString name = optionName(setting);
        if (setting == "reset" || !parser.isSet(name))
            continue;
        QByteArray reason;
        if (controller.model().simulate(setting, parser.value(name).toLatin1(), &reason) != 0) {
            err << "--" << name << ": " << reason << '\n';
            return 2;
        }
    }

    QHostAddress listenAddress;
    quint16 listenPort = 0;
    if (!splitAddress(parser.value(listenOption), &listenAddress, &listenPort)) {
        err << "--listen: expected host:port\n";
        return 2;
    }
    bool ok = false;
    const int idleSeconds = parser.value(idleOption).toInt(&ok);
    if (!ok || idleSeconds < 0 || idleSeconds > 86400) {
        err << "--idle-timeout: expected 0 to 86400 seconds\n";
        return 2;
    }

    SimServer server(&controller);
    server.setIdleTimeoutMs(idleSeconds * 1000);
    if (parser.isSet(dataOption)) {
        QHostAddress dataAddress;
        quint16 dataPort = 0;
        if (!splitAddress(parser.value(dataOption), &dataAddress, &dataPort) || dataPort == 0) {
            err << "--data-to: expected host:port\n";
            return 2;
        }
        server.setDataTarget(dataAddress, dataPort);
    }
    if (!server.listen(listenAddress, listenPort)) {
        err << "cannot listen on " << parser.value(listenOption) << ": " << server.errorString() << '\n';
        return 1;
    }
    std::printf("listening on %s:%u\n", listenAddress.toString().toLatin1().constData(), unsigned(server.port()));
    std::fflush(stdout);

    // A test that crashes leaves no controller behind holding its ports.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(parser.isSet(stdinOption));
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input]() {
        char buffer[256];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    return app.exec();
}
