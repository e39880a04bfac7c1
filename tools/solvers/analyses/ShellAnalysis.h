#pragma once

#include "MeshModel.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"
#include "StaticResults.h"

struct SolverInput;

// Statics of systems of shells of revolution (type 2): the answers as JSON, the protocol and
// the result file of bar statics (kind 1), whose components are ur uz rot and whose element
// forces are Ns Nt Ms Mt Q at both ends, all per unit length of the circumference.
namespace ShellAnalysis {

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress);

// The protocol's text: the model, the conventions, how the equations were solved (`method`,
// empty for the direct solution not asked for), the check and per load case the tables.
QString Protocol(const QString& typeName, const MeshModel& model, const StaticResults& results,
                 double backward, const QString& method);

} // namespace ShellAnalysis
