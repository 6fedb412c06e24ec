// What the OpenIGTLink server costs the front-end and how soon it sends: the
// embedded controller streams at 1 kHz with four tools and two references
// through the command manager; four clients in another process read all
// that comes. Prints, over all repetitions, the median and 99th percentile
// of the time from the controller link's emitting a data line (its arrival,
// on the window's thread) to its messages being written into the four
// clients' sockets, and of the part of it on the server's thread (the rest
// is the hand-over between the threads); the CPU time a second of the whole
// process with and without the server (the simulated controller runs in it
// too), of the server's thread and of the window's thread; the poses dropped.
//   build-*/bench/bench_igtl [seconds per phase, default 3] [repetitions, default 3]

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTcpServer>

#include "bench/frontendbench.h"
#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/streaming/igtlserver.h"
#include "frontend/streaming/streamingservice.h"
#include "host/backendversions.h"

namespace {

constexpr int Clients = 4;

// --read PORT: the clients, reading everything at once until the server goes.
int readAll(quint16 port)
{
    std::vector<pollfd> sockets;
    for (int i = 0; i < Clients; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            return 1;
        sockets.push_back({fd, POLLIN, 0});
    }
    static char buffer[1 << 16];
    for (int open = Clients; open > 0 && ::poll(sockets.data(), sockets.size(), -1) > 0;) {
        for (pollfd &socket : sockets) {
            if (socket.fd >= 0 && (socket.revents & (POLLIN | POLLHUP | POLLERR))
                && ::read(socket.fd, buffer, sizeof buffer) <= 0) {
                ::close(socket.fd);
                socket.fd = -1;
                --open;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--read") == 0)
        return readAll(quint16(atoi(argv[2])));
    QCoreApplication app(argc, argv);
    const int phaseMs = argc > 1 ? qBound(1, atoi(argv[1]), 60) * 1000 : 3000;
    const int repetitions = argc > 2 ? qBound(1, atoi(argv[2]), 20) : 3;

    CommandManager manager(std::make_unique<EmbeddedTransport>());
    if (!manager.open())
        return 1;
    for (const char *text : {"orvel2 simulate rate 1000", "orvel2 set measurementtool number_of_references 2",
                             "orvel2 set measurementtool number_of_tools 4", "orvel2 tracking start"}) {
        if (!command(&manager, text))
            return 1;
    }
    BackendVersions versions; // the service asks what the controller offers
    if (manager.readBackendVersions(&versions) != 0)
        return 1;
    manager.setBackendVersions(&versions);
    StreamingOptions options;
    QTcpServer probe; // a port free for the moment
    probe.listen(QHostAddress::LocalHost, 0);
    options.port = probe.serverPort();
    probe.close();

    std::vector<double> latencies, sending;
    std::vector<double> with, without, gui, server;
    qint64 dropped = 0, droppedLines = 0;
    for (int i = 0; i < repetitions; ++i) {
        auto service = std::make_unique<StreamingService>(&manager, options);
        service->measurementStarted(); // switches the outputs on, reads the references, once idle
        QProcess readers;
        readers.setProcessChannelMode(QProcess::ForwardedChannels);
        readers.start(QCoreApplication::applicationFilePath(), {"--read", QString::number(options.port)});
        while (service->clientCount() < Clients)
            runPhase(50);
        runPhase(500); // the stream settles
        service->server()->keepLatencies(true);
        const CpuPhase streaming = runPhase(phaseMs, "igtl");
        service->server()->keepLatencies(false);
        runPhase(1100); // the drops of the last second are counted
        for (const IgtlServer::Latency &latency : service->server()->takeLatencies()) {
            latencies.push_back(double(latency.total));
            sending.push_back(double(latency.sending));
        }
        dropped += service->server()->droppedPoses();
        droppedLines += service->server()->droppedLines();
        with.push_back(streaming.process);
        gui.push_back(streaming.gui);
        server.push_back(streaming.thread);
        service.reset();
        readers.waitForFinished();
        without.push_back(runPhase(phaseMs).process);
    }

    const auto percentile = [](std::vector<double> values, double share) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values.at(size_t(share * double(values.size() - 1))) / 1e3;
    };
    std::printf("OpenIGTLink at 1 kHz, 4 tools + 2 references, %d clients, %d x %d ms (CPU: medians)\n", Clients,
                repetitions, phaseMs);
    std::printf("  data line to messages in every client's socket: median %.1f us, 99th percentile %.1f us, "
                "max %.1f us (%zu lines)\n",
                percentile(latencies, 0.5), percentile(latencies, 0.99), percentile(latencies, 1.0), latencies.size());
    std::printf("  of which on the server's thread (parse, pack, write): median %.1f us, 99th percentile %.1f us, "
                "max %.1f us\n",
                percentile(sending, 0.5), percentile(sending, 0.99), percentile(sending, 1.0));
    std::printf("  CPU per second: process %.1f ms with the server, %.1f ms without (%+.1f ms); server's thread "
                "%.1f ms; window's thread %.1f ms with the server\n",
                median(with) * 1e3, median(without) * 1e3, (median(with) - median(without)) * 1e3, median(server) * 1e3,
                median(gui) * 1e3);
    std::printf("  poses dropped: %lld, lines dropped before the server's thread: %lld\n", dropped, droppedLines);
    return 0;
}
