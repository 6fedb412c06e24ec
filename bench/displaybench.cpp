// Cost of the live display: one refresh tick with 16 tools and 16
// references (offscreen), and one data line handed in by the host.
//   build-*/bench/bench_display
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QMetaObject>
#include <cstdio>
#include <memory>

#include "data/mtdatadisplay.h"
#include "fakecommandmanager.h"
#include "host/backendversions.h"

namespace {

constexpr int Bodies = 16;

QByteArray toolLine(int frame)
{
    QByteArray line = "6dmt2 " + QByteArray::number(Bodies) + " " + QByteArray::number(Bodies);
    char group[256];
    for (int i = 0; i < Bodies; ++i) {
        std::snprintf(group, sizeof group, " [%d %.3f %d 1.500][%.3f %.3f %.3f][1 0 0 0 1 0 0 0 1][%d][0 0 0 0 0 0]", i,
                      i % 5 ? 0.9 : -1.0, 4, 100.0 + frame, 20.5 * i, -300.25, frame % 16);
        line += group;
    }
    return line;
}

QByteArray refLine(int frame)
{
    QByteArray line = "6dmtr " + QByteArray::number(Bodies) + " " + QByteArray::number(Bodies);
    char group[160];
    for (int i = 0; i < Bodies; ++i) {
        std::snprintf(group, sizeof group, " [%d %.3f][%.3f %.3f %.3f][0.707 0.707 0 -0.707 0.707 0 0 0 1]", i,
                      i % 7 ? 0.8 : -1.0, 10.0 * i, 5.0 + frame, 1.0);
        line += group;
    }
    return line;
}

struct Fixture
{
    Fixture()
    {
        fake.setDefaultResult(0); // every body calibrated, no reference
        fake.answer("measurementtool available", "yes");
        fake.answer("measurementtool max_number_of_tools", "16");
        fake.answer("measurementtool max_number_of_references", "16");
        for (int i = 1; i <= Bodies; ++i) {
            const QByteArray b = QByteArray("b") + (i < 10 ? "0" : "") + QByteArray::number(i);
            fake.answer("body calibrated measurementtool " + b, "yes");
            fake.answer("measurementtool tip_calibrated " + b, "yes");
            fake.answer("body calibrated measurementtool_reference " + b, "yes");
            fake.answer("measurementtool reference_of_tool " + b, b);
        }
        display.reset(new MtDataDisplay(&fake, nullptr, &versions));
        display->measurementStarted();
        while (display->handleDataLine("6dmt2", "fr 1") == -2)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    FakeCommandManager fake;
    BackendVersions versions{{3, 0, 0}, {1, 14, 0}, QStringLiteral("ORVEL 3")};
    std::unique_ptr<MtDataDisplay> display;
};

void refreshTick(benchmark::State &state)
{
    Fixture f;
    const QByteArray tools = toolLine(0);
    const QByteArray refs = refLine(0);
    if (f.display->handleDataLine("6dmt2", tools.constData()) != 0
        || f.display->handleDataLine("6dmtr", refs.constData()) != 0) {
        state.SkipWithError("lines refused");
        return;
    }
    QMetaObject::invokeMethod(f.display.get(), "onUpdateDataDisplay"); // builds the rows
    const int callsBefore = f.fake.calls.size();
    for (auto _ : state)
        QMetaObject::invokeMethod(f.display.get(), "onUpdateDataDisplay");
    state.counters["queries"] = double(f.fake.calls.size() - callsBefore);
}

void handleDataLine(benchmark::State &state)
{
    Fixture f;
    const QByteArray line = toolLine(7);
    if (f.display->handleDataLine("6dmt2", line.constData()) != 0) {
        state.SkipWithError("line refused");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(f.display->handleDataLine("6dmt2", line.constData()));
    state.SetBytesProcessed(int64_t(state.iterations()) * line.size());
    state.counters["line bytes"] = line.size();
}

BENCHMARK(refreshTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(handleDataLine)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
