#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"

// Natural modes of space trusses, space frames and plane frames (".p" files of types 4 and 7,
// type 8) and buckling of plane frames (type 15).
namespace StructuralDynamics {

SolverOutcome Modes(const SolverInput& input);
SolverOutcome Buckling(const SolverInput& input);

} // namespace StructuralDynamics
