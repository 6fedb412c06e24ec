#ifndef BENCHMARKMAIN_H
#define BENCHMARKMAIN_H

#include <benchmark/benchmark.h>

// Runs the registered benchmarks as the library's own main does: an
// argument it does not know ends the program with 1 before any runs.
inline int runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#endif // BENCHMARKMAIN_H
