#include "TorsionAnalysis.h"

#include "SolverInput.h"

SolverOutcome TorsionAnalysis::Solve(const SolverInput& /*input*/, SolverProgress* /*progress*/) {
    return SolverOutcome::Failure(QStringLiteral("the torsion of profiles is not solved yet"));
}
