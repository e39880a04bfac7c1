#pragma once

#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

#include <Eigen/Dense>
#include <QJsonArray>
#include <QString>

// The mathematics problems 21 to 27: each reads its tables and returns the answers as JSON and
// as the report the protocol and the solver's window show.
namespace MathSolvers {

// `progress` (may be null) hears which problem is being solved.
SolverOutcome Solve(const SolverInput& input, SolverProgress* progress = nullptr);
// What the solver of a problem does, as its window shows it ("Solving the linear system").
QString Stage(int problem);

SolverOutcome LinearSystem(const ParsedData& data);   // 21
SolverOutcome Characteristic(const ParsedData& data); // 22
SolverOutcome Inverse(const ParsedData& data);        // 23
SolverOutcome Fourier(const ParsedData& data);        // 24
SolverOutcome Polynomial(const ParsedData& data);     // 25
SolverOutcome Differential(const ParsedData& data);   // 26
SolverOutcome SturmLiouville(const ParsedData& data); // 27

// Shared by the problems: a table as a matrix, and matrices and vectors as JSON and text.
Eigen::MatrixXd TableMatrix(const ParsedData& data, int table);
QJsonArray Rows(const Eigen::MatrixXd& matrix);
QJsonArray Values(const Eigen::VectorXd& vector);
QString MatrixText(const Eigen::MatrixXd& matrix);
QString VectorText(const Eigen::VectorXd& vector);

} // namespace MathSolvers
