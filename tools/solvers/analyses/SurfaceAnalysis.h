#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

// Plates (13) and shells of arbitrary form (14): linear statics, and the natural modes of
// plates (".p13" files).
namespace SurfaceAnalysis {

SolverOutcome Statics(const SolverInput& input, SolverProgress* progress = nullptr);
SolverOutcome Modes(const SolverInput& input, SolverProgress* progress = nullptr);

} // namespace SurfaceAnalysis
