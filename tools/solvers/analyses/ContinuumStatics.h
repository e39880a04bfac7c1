#pragma once

#include "ContinuumModel.h"
#include "FieldResults.h"
#include "SolverProgress.h"

#include <QString>

// Linear statics of a plane or axisymmetric mesh: the elements of each cell, every load case
// with loads on one factorisation (a case without loads has zero results), the reactions, the
// stresses at the element centres and at the nodes (the mean of the elements' own values at that
// corner), the principal stresses in the plane of the model and the angle of the first. Loads and
// reactions of a body of revolution are ring values per unit length of the circumference at the
// node's radius.
namespace ContinuumStatics {

struct Timings {
    double Assembly = 0, Factorisation = 0, Solution = 0, Recovery = 0; // seconds
};

struct Outcome {
    FieldResults Results;
    QString Error; // why the model cannot be solved; empty when it was
    Timings Time;
};

Outcome Run(const ContinuumModel& model, SolverProgress* progress = nullptr);

// The names of the displacement components of a type, as the result file and the JSON list
// them; the stresses are named by the elements' result layout.
QStringList ComponentNames(ContinuumModel::Body body);

} // namespace ContinuumStatics
