#pragma once

#include "ShaftModes.h"
#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

#include <QString>

// Shaft lines (12): the natural frequencies of bending and torsion, answered by a report (no
// result file, no viewer) and, for programs, by JSON.
namespace ShaftAnalysis {

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress = nullptr);

// A mode's shape drawn in characters over the length of the shaft: rows from +1 down to -1,
// the bearings (^) and discs (o) marked below.
QString ShapePlot(const ShaftModel& model, const ShaftModes::Mode& mode);

} // namespace ShaftAnalysis
