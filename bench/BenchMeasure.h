#pragma once

#include <QElapsedTimer>
#include <sys/resource.h>

// What the solver benchmarks report besides Google Benchmark's own time: the seconds of a
// piece of a run, and the process's peak memory so far.
inline double Seconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) * 1e-9;
}

inline double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}
