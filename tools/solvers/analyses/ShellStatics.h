#pragma once

#include "ShellMeridian.h"
#include "SolverProgress.h"
#include "StaticResults.h"

#include <QString>

// Linear statics of a system of shells of revolution under axisymmetric loads: conical
// elements along the meridian, every load case with loads on one factorisation (a case without
// loads has zero results). A node on the axis is held in ur and rot by symmetry. Results per
// unit length of the circumference: displacements ur uz rot, reactions Fr Fz M (on the axis,
// where there is no circumference, per radian) and the section forces Ns Nt Ms Mt Q at both
// ends of every element.
namespace ShellStatics {

struct Outcome {
    StaticResults Results;
    QString Error; // why the model cannot be solved; empty when it was
};

Outcome Run(const ShellMeridian& model, SolverProgress* progress = nullptr);

// Empty when every value is finite, the equations are solved and the loads balance the
// reactions along the axis; otherwise why the answer is refused, with the likely cause.
QString Verdict(const ShellMeridian& model, const StaticResults& results);

} // namespace ShellStatics
