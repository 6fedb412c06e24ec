// What a recording costs the front-end: the embedded controller streams at
// 1 kHz with four tools and two references (fr, ts, 6dmt2, 6dmtr: four lines
// a frame) through the command manager, alternately without and with a
// recording. Prints the CPU time a second that recording adds: the window's
// thread in the recorder's calls (wall clock, timed by the recorder) and the
// writer's thread (from /proc); the whole process's and the window's thread's
// CPU time in both phases for comparison (noisy: the simulated controller in
// the same process varies more than recording adds); the longest the
// window's thread spent on one record and on one hand-over to the writer;
// and the file's growth, with the size of an hour. Medians of the repetitions.
//   build-*/bench/bench_recording [seconds per phase, default 2] [repetitions, default 5]

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/frontendbench.h"
#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/sessionrecorder.h"
#include "host/backendversions.h"

namespace { } // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int phaseMs = argc > 1 ? qBound(1, atoi(argv[1]), 60) * 1000 : 2000;
    const int repetitions = argc > 2 ? qBound(1, atoi(argv[2]), 20) : 5;

    CommandManager manager(std::make_unique<EmbeddedTransport>());
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    if (!manager.open() || manager.readBackendVersions(&versions) != 0)
        return 1;
    for (const char *text : {"orvel2 simulate rate 1000", "orvel2 set measurementtool number_of_references 2",
                             "orvel2 set measurementtool number_of_tools 4",
                             "orvel2 set measurementtool output_6dmt no", "orvel2 set output active chmon 6dmt2 yes",
                             "orvel2 set output active chmon 6dmtr yes", "orvel2 tracking start"}) {
        if (!command(&manager, text))
            return 1;
    }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.rec"));
    SessionRecorder recorder(&manager, &versions);
    runPhase(500); // the stream settles
    std::vector<double> plainProcess, plainGui, recordingProcess, recordingGui, addedProcess, addedGui, inRecorder,
        inWriter, growth;
    qint64 lines = 0, dropped = 0, longestRecord = 0, longestHandOver = 0;
    for (int i = 0; i < repetitions; ++i) {
        const CpuPhase plain = runPhase(phaseMs);
        plainProcess.push_back(plain.process);
        plainGui.push_back(plain.gui);

        recorder.start(path);
        const double writerBefore = threadCpuSeconds("recording writer");
        const CpuPhase recording = runPhase(phaseMs);
        recorder.stop(SessionRecorder::Stop::Operator);
        inWriter.push_back((threadCpuSeconds("recording writer") - writerBefore) / (phaseMs / 1000.0));
        recordingProcess.push_back(recording.process);
        recordingGui.push_back(recording.gui);
        addedProcess.push_back(recording.process - plain.process);
        addedGui.push_back(recording.gui - plain.gui);
        inRecorder.push_back(recorder.busyNs() / 1e9 / (phaseMs / 1000.0));
        lines += recorder.lines();
        dropped += recorder.dropped();
        longestRecord = std::max(longestRecord, recorder.longestRecordNs());
        longestHandOver = std::max(longestHandOver, recorder.longestHandOverNs());
        runPhase(300); // the writer closes the file
        growth.push_back(double(QFileInfo(path).size()) / (phaseMs / 1000.0));
    }

    const double bytesPerSecond = median(growth);
    std::printf("recording at 1 kHz, 4 tools + 2 references, %d x %d ms per phase (medians)\n", repetitions, phaseMs);
    std::printf("  added CPU per second: %.2f ms = %.2f ms on the window's thread in the recorder's calls + %.2f ms "
                "of the writer's thread\n",
                (median(inRecorder) + median(inWriter)) * 1e3, median(inRecorder) * 1e3, median(inWriter) * 1e3);
    std::printf("  (whole process, phases compared: %.1f ms without, %.1f ms with, %+.1f ms; window's thread %.1f, "
                "%.1f, %+.1f ms; noisy)\n",
                median(plainProcess) * 1e3, median(recordingProcess) * 1e3, median(addedProcess) * 1e3,
                median(plainGui) * 1e3, median(recordingGui) * 1e3, median(addedGui) * 1e3);
    std::printf("  longest on the window's thread: %.1f us for one record, %.1f us for one hand-over (flush)\n",
                longestRecord / 1e3, longestHandOver / 1e3);
    std::printf("  %lld lines recorded, %lld dropped; file grows %.0f kB/s, one hour %.2f GB\n", lines, dropped,
                bytesPerSecond / 1e3, bytesPerSecond * 3600 / 1e9);
    return 0;
}
