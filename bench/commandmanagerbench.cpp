// Round-trip of one getParameter through the front-end's command manager:
// in-process (the simulated controller on its worker thread) and over
// loopback TCP to the simulator's server, one query and 1,000 in a row.
// Each figure is the median of several repetitions, in wall-clock time
// (the waiting is the point).

#include <memory>
#include "bench/benchmarkmain.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QThread>

#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/tcptransport.h"
#include "simulator/simcontroller.h"
#include "simulator/simserver.h"

namespace {

constexpr int Repetitions = 9;
constexpr int Queries = 1000;

// The simulator's TCP server on a thread of its own.
class ServerThread
{
public:
    ServerThread()
    {
        // The anchor runs calls on the server thread and goes with it.
        anchor->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, anchor, &QObject::deleteLater);
        thread.start();
        QMetaObject::invokeMethod(
            anchor,
            [this]() {
            controller = new SimController;
            server = new SimServer(controller);
            if (server->listen(QHostAddress::LocalHost, 0))
                port = server->port();
            },
            Qt::BlockingQueuedConnection);
    }
    ~ServerThread()
    {
        QMetaObject::invokeMethod(
            anchor,
            [this]() {
            delete server;
            delete controller;
            },
            Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }

    quint16 port = 0;

private:
    QThread thread;
    QObject *anchor = new QObject;
    SimController *controller = nullptr;
    SimServer *server = nullptr;
};

void query(benchmark::State &state, CommandManager &manager, int count)
{
    char reply[IOManager::ReplySize];
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            if (manager.getParameter(reply, "measurementtool available") != 0) {
                state.SkipWithError("getParameter failed");
                return;
            }
        }
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void runEmbedded(benchmark::State &state)
{
    CommandManager manager(std::make_unique<EmbeddedTransport>());
    query(state, manager, int(state.range(0)));
}

void runTcp(benchmark::State &state)
{
    ServerThread server;
    CommandManager manager(std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), server.port));
    if (!server.port || !manager.open()) {
        state.SkipWithError("no simulator server");
        return;
    }
    query(state, manager, int(state.range(0)));
}

// The argument is the number of queries per iteration: the median of the
// first is the round-trip, of the second the time to answer 1,000 queries.
void roundTrips(benchmark::internal::Benchmark *runs)
{
    runs->Arg(1)
        ->Arg(Queries)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true)
        ->UseRealTime();
}

} // namespace

BENCHMARK(runEmbedded)->Name("GetParameter/Embedded")->Apply(roundTrips);
BENCHMARK(runTcp)->Name("GetParameter/LoopbackTcp")->Apply(roundTrips);

int main(int argc, char **argv)
{
    // Sockets and the simulator's timers want an application object.
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
