#pragma once

#include "LinearSolver.h"

#include <QJsonObject>
#include <QString>

// How a model's equations were solved, as the protocol and the JSON tell it: the method and why
// it was chosen, what became of the processes asked for, and an iteration's counts and
// residual.
namespace SolverReport {

QString Protocol(const LinearSolver::Report& report, const LinearSolver::Options& options);
// Whether the method is worth a word: the families that were always solved directly (bars,
// shells of revolution) say nothing of the direct solution they were not asked for.
bool Worded(const LinearSolver::Report& report, const LinearSolver::Options& options);
QJsonObject Json(const LinearSolver::Report& report, const LinearSolver::Options& options);
// The backward error the answer is held to: an iteration stops at its residual, and the check
// allows it that.
double BackwardTolerance(const LinearSolver::Report& report, const LinearSolver::Options& options);

} // namespace SolverReport
