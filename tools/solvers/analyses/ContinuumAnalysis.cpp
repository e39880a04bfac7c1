#include "ContinuumAnalysis.h"

#include "SolverInput.h"

SolverOutcome ContinuumAnalysis::Solve(const SolverInput& /*input*/, SolverProgress* /*progress*/) {
    return SolverOutcome::Failure(QStringLiteral("continuum statics are not solved yet"));
}
