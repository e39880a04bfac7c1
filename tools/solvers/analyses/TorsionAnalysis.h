#pragma once

#include "SolverOutcome.h"
#include "SolverProgress.h"

struct SolverInput;

// Saint-Venant torsion of a meshed profile (type 16).
namespace TorsionAnalysis {

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress);

} // namespace TorsionAnalysis
