#pragma once

#include "SolverProgress.h"
#include "StaticResults.h"
#include "StiffnessSystem.h"

// Linear statics of a bar model for every load case: nodal loads and evenly spread element
// loads, solved on one factorisation of the stiffness matrix.
namespace StaticAnalysis {

// The load vectors of every case (columns), and the element forces of the bars as the
// results need them. `system` must have been prepared. `progress` (may be null) hears each
// load case begin.
StaticResults Run(const StiffnessSystem& system, SolverProgress* progress = nullptr);

// The stage of assembling and factorising a model's stiffness equations, as reported before
// the work begins (the number of equations is known only after it).
QString AssemblyStage(const BarModel& model);

// Section forces at the two ends of a bar from its local end forces, in the order of
// StaticResults::ForceNames of the model's type.
std::vector<double> SectionForces(const BarModel& model, const BarElement::Vector12& local);
QStringList ForceNames(const BarModel& model);

// The axial force of every bar under the loads of one case, for the geometric stiffness.
std::vector<double> NormalForces(const StiffnessSystem& system, int loadCase);

} // namespace StaticAnalysis
