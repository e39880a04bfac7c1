#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

// Natural modes of space trusses, space frames and plane frames (".p" files of types 4 and 7,
// type 8) and buckling of plane frames (type 15).
namespace StructuralDynamics {

// `progress` (may be null) hears the assembly, the eigenvalue search and each load case.
SolverOutcome Modes(const SolverInput& input, SolverProgress* progress = nullptr);
SolverOutcome Buckling(const SolverInput& input, SolverProgress* progress = nullptr);

} // namespace StructuralDynamics
