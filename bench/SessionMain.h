#pragma once

#include "IterativeSolver.h"

#include <benchmark/benchmark.h>

// The main of a benchmark that solves iteratively: PETSc's session outlives the solves, and
// under mpirun the other processes help with those of the first.
inline int RunWithSolverSession(int argc, char** argv) {
    IterativeSolver::Session session;
    if (session.Rank() != 0)
        return session.Serve();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
