#pragma once

#include "BenchMeasure.h"
#include "MeshStatics.h"

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>

// One model solved twice in one run, by the sparse Cholesky factorisation and by conjugate
// gradients with multigrid, so that the two are timed side by side on the same machine load:
// the seconds of each whole statics (assembly, solution, recovery), their ratio, the
// iterations of the first load case, and how far the two answers part (the largest difference
// of a displacement, relative to the largest displacement).
inline void CompareSolvers(benchmark::State& state, const MeshModel& model) {
    MeshStatics::Outcome direct, iterative;
    double directSeconds = 0, iterativeSeconds = 0;
    QString refused; // an iteration that does not converge is itself the finding
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        try {
            direct = MeshStatics::Run(model, {.Use = LinearSolver::Method::Direct});
        } catch (const SolverError& error) {
            state.SkipWithError(qPrintable(error.Text()));
            return;
        }
        directSeconds = Seconds(clock);
        clock.restart();
        try {
            iterative = MeshStatics::Run(model, {.Use = LinearSolver::Method::Iterative});
        } catch (const SolverError& error) {
            refused = error.Text();
        }
        iterativeSeconds = Seconds(clock);
    }
    state.counters["peak_MiB"] = PeakMiB();
    state.counters["direct_s"] = directSeconds;
    state.counters["iterative_s"] = iterativeSeconds;
    state.counters["iterative_over_direct"] = iterativeSeconds / directSeconds;
    if (!refused.isEmpty()) {
        state.SetLabel(refused.toStdString());
        return;
    }
    if (!iterative.Solver.Iterations.empty())
        state.counters["iterations"] = iterative.Solver.Iterations.front();
    const std::vector<double>& a = direct.Results.Cases.front().Displacements;
    const std::vector<double>& b = iterative.Results.Cases.front().Displacements;
    double largest = 0, apart = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        largest = std::max(largest, std::abs(a[i]));
        apart = std::max(apart, std::abs(a[i] - b[i]));
    }
    state.counters["apart"] = largest > 0 ? apart / largest : apart;
}
