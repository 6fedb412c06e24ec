// orvel-controller-sim: the simulated controller as a network server.
#include "simulator/simcontroller.h"
#include "simulator/simreplay.h"
#include "simulator/simserver.h"
#include "simulator/simserveroptions.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <utility>
#include <unistd.h>

namespace {

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
    QCoreApplication::setApplicationVersion(QStringLiteral(MT_SIMULATOR_VERSION));

    SimController controller;
    SimServerOptions options;
    if (!options.parse(QCoreApplication::arguments(), &controller.model())) {
        if (options.exitNow) {
            std::fputs(qPrintable(options.outputText), stdout);
            return 0;
        }
        if (!options.usageMistake) { // a recording that cannot be replayed
            std::fprintf(stderr, "orvel-controller-sim: %s\n", qPrintable(options.errorText));
            return 2;
        }
        std::fprintf(stderr, "orvel-controller-sim: %s\n%sTry --help for the options.\n", qPrintable(options.errorText),
                     qPrintable(options.usageText));
        return 2;
    }

    SimServer server(&controller);
    server.setIdleTimeoutMs(options.idleSeconds * 1000);
    if (options.dataPort != 0)
        server.setDataTarget(options.dataAddress, options.dataPort);
    if (!server.listen(options.listenAddress, options.listenPort)) {
        std::fprintf(stderr, "orvel-controller-sim: cannot listen on %s port %u: %s\n",
                     qPrintable(options.listenAddress.toString()), unsigned(options.listenPort),
                     qPrintable(server.errorString()));
        return 1;
    }
    // Written as --listen takes it.
    QString host = options.listenAddress.toString();
    if (options.listenAddress.protocol() == QAbstractSocket::IPv6Protocol)
        host = QLatin1Char('[') + host + QLatin1Char(']');
    std::printf("listening on %s:%u\n", qPrintable(host), unsigned(server.port()));
    std::fflush(stdout);
    for (const QString &note : std::as_const(options.replayNotes))
        std::printf("%s\n", qPrintable(note));
    std::fflush(stdout);
    QObject::connect(&controller, &SimController::replayEvent, [](int event, qint64 lines, const QString &error) {
        std::printf("%s\n", qPrintable(SimReplay::eventText(event, lines, error)));
        std::fflush(stdout);
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(options.quitOnEof);
    quitAtEndOfInput(&input);
    return app.exec();
}
