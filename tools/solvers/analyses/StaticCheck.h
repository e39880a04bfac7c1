#pragma once

#include "BarModel.h"
#include "FieldResults.h"
#include "StaticResults.h"

#include <QString>

// Whether the answer of a static analysis can be trusted: every value finite, the equations
// solved (the residual of K u = f) and the loads balanced by the reactions. A structure that is
// nearly a mechanism (a bar far too short, a truss node whose bars all lie in one plane) or
// loads near the largest number solve into nonsense that only such a check reveals.
namespace StaticCheck {

// The largest |K u - f| relative to the largest load, and the largest share of the loads out of
// balance with the reactions (as LoadBalance measures it), that an answer may have.
inline constexpr double ResidualTolerance = 1e-6;
inline constexpr double BalanceTolerance = 1e-4;
// A mesh's residual relative to |K| |u| + |f| (EquationSystem::BackwardError): a sound
// factorisation leaves it near 1e-15, whatever the mesh's fineness.
inline constexpr double BackwardTolerance = 1e-9;

// Empty when the answer holds; otherwise why it is refused, with the likely cause.
QString Verdict(const BarModel& model, const StaticResults& results);
// The same for a mesh (plane, plate, shell): empty when every value is finite, the residual
// (as a backward error) within BackwardTolerance and the balance within BalanceTolerance.
// An answer found by iteration is held to the backward error its stopping residual allows.
QString FieldVerdict(const FieldResults& results, const QString& forceUnit,
                     double backward = BackwardTolerance);
// The protocol's line on the check of a mesh.
QString MeshSummary(double residual, double imbalance, double backward = BackwardTolerance);
// The protocol's line on the check.
QString Summary(const StaticResults& results);
// A share as the protocol gives it, "beyond measure" when it is not finite.
QString Share(double value);
// What in the model most likely spoils an answer: loads near the largest number, a flat truss
// node, or the shortest bar.
QString LikelyCause(const BarModel& model);

} // namespace StaticCheck
