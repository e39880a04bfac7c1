#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"

// The mathematics problems 21 to 27.
namespace MathSolvers {

SolverOutcome Solve(const SolverInput& input);

} // namespace MathSolvers
