#pragma once

#include "SolverOutcome.h"
#include "SolverProgress.h"

struct SolverInput;

// Linear statics of plane stress (9), plane strain (10) and axisymmetric bodies (11): every
// load case on one factorisation.
namespace ContinuumAnalysis {

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress);

} // namespace ContinuumAnalysis
