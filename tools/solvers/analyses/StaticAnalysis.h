#pragma once

#include "SolverProgress.h"
#include "StaticResults.h"
#include "StiffnessSystem.h"

// Linear statics of a bar model for every load case: nodal loads and evenly spread element
// loads, solved on one factorisation of the stiffness matrix.
namespace StaticAnalysis {

// The displacements, reactions and element forces of every load case, with how well the
// answer checks (the residual of K u = f and the balance of loads and reactions). `system`
// must have been prepared. `progress` (may be null) hears each load case begin.
StaticResults Run(const StiffnessSystem& system, SolverProgress* progress = nullptr);

// The stage of assembling and factorising a model's stiffness equations, as reported before
// the work begins (the number of equations is known only after it).
QString AssemblyStage(const BarModel& model);

// Section forces at the two ends of a bar from its local end forces, in the order of
// StaticResults::ForceNames of the model's type.
std::vector<double> SectionForces(const BarModel& model, const BarElement::Vector12& local);
QStringList ForceNames(const BarModel& model);

// The loads of one load case that has any: indices into the model's nodal and element loads.
struct CaseLoads {
    int Case = 0;
    std::vector<int> Nodal, Element;
};
// The cases from 1 to `cases` that have loads, ascending. What they hold follows the loads of
// the file, whatever count of cases it claims.
std::vector<CaseLoads> LoadedCases(const BarModel& model, int cases);

// The load vector of one case over the equations of `system`, whose elements are `elements`:
// the nodal loads and the consistent loads of the element loads.
Eigen::VectorXd LoadVector(const BarModel& model, const std::vector<BarElement>& elements,
                           const EquationSystem& system, const CaseLoads& loads);

} // namespace StaticAnalysis
