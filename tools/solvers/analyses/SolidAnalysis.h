#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

// Three-dimensional solids (17): linear statics of bricks, wedges and tetrahedra.
namespace SolidAnalysis {

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress = nullptr);

} // namespace SolidAnalysis
