// orvel-controller-sim: the simulated controller as a network server.
#include "simulator/simcontroller.h"
#include "simulator/simserver.h"
#include "simulator/simsettingtable.h"

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

// The server's own options; the simulation settings come from their table.
void addOptions(QCommandLineParser *parser)
{
    parser->setApplicationDescription(QStringLiteral(
        "Simulated Orvel controller: command lines over TCP, data output over UDP.\n"
        "Every simulation setting of \"orvel2 simulate <setting> <value>\" is also an option\n"
        "(underscores written as dashes), e.g. --backend-version \"1 12 0\" --locked yes."));
    parser->addHelpOption();
    parser->addOption(QCommandLineOption(QStringLiteral("listen"), QStringLiteral("TCP address for commands."),
                                         QStringLiteral("host:port"), QStringLiteral("127.0.0.1:5025")));
    parser->addOption(QCommandLineOption(QStringLiteral("data-to"), QStringLiteral("UDP address for data lines."),
                                         QStringLiteral("host:port")));
    parser->addOption(QCommandLineOption(QStringLiteral("idle-timeout"),
                                         QStringLiteral("Seconds before a silent client is closed (0: never)."),
                                         QStringLiteral("seconds"), QStringLiteral("600")));
    parser->addOption(QCommandLineOption(QStringLiteral("quit-on-eof"),
                                         QStringLiteral("End when standard input closes (the parent that "
                                                        "started it has gone).")));
    SimSettingTable::addOptions(parser);
}

struct ServerOptions
{
    QHostAddress listenAddress;
    quint16 listenPort = 0;
    int idleSeconds = 0;
    QHostAddress dataAddress;
    quint16 dataPort = 0; // 0: no data output
};

// False with the complaint about the first wrong value.
bool readOptions(const QCommandLineParser &parser, ServerOptions *options, QString *error)
{
    if (!splitAddress(parser.value(QStringLiteral("listen")), &options->listenAddress, &options->listenPort)) {
        *error = QStringLiteral("--listen: expected host:port");
        return false;
    }
    bool ok = false;
    options->idleSeconds = parser.value(QStringLiteral("idle-timeout")).toInt(&ok);
    if (!ok || options->idleSeconds < 0 || options->idleSeconds > 86400) {
        *error = QStringLiteral("--idle-timeout: expected 0 to 86400 seconds");
        return false;
    }
    if (parser.isSet(QStringLiteral("data-to"))
        && (!splitAddress(parser.value(QStringLiteral("data-to")), &options->dataAddress, &options->dataPort)
            || options->dataPort == 0)) {
        *error = QStringLiteral("--data-to: expected host:port");
        return false;
    }
    return true;
}

// A test that crashes leaves no controller behind holding its ports.
void quitAtEndOfInput(QSocketNotifier *input)
{
    QObject::connect(input, &QSocketNotifier::activated, QCoreApplication::instance(), [input]() {
        char buffer[256];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            input->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvel-controller-sim"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    addOptions(&parser);
    parser.process(app);

    SimController controller;
    QString refused;
    ServerOptions options;
    if (!SimSettingTable::applyOptions(parser, &controller.model(), &refused)
        || !readOptions(parser, &options, &refused)) {
        err << refused << '\n';
        return 2;
    }

    SimServer server(&controller);
    server.setIdleTimeoutMs(options.idleSeconds * 1000);
    if (options.dataPort != 0)
        server.setDataTarget(options.dataAddress, options.dataPort);
    if (!server.listen(options.listenAddress, options.listenPort)) {
        err << "cannot listen on " << parser.value(QStringLiteral("listen")) << ": " << server.errorString() << '\n';
        return 1;
    }
    std::printf("listening on %s:%u\n", options.listenAddress.toString().toLatin1().constData(),
                unsigned(server.port()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(parser.isSet(QStringLiteral("quit-on-eof")));
    quitAtEndOfInput(&input);
    return app.exec();
}
