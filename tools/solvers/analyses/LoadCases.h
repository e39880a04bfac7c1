#pragma once

#include "EquationSystem.h"

#include <Eigen/Dense>
#include <algorithm>
#include <vector>

// Linear statics over load cases, whatever the elements: the cases from 1 to their count in
// order, those with loads solved a block at a time on the one factorisation (the columns of a
// block share the triangular solves, and a block is few enough columns that a mesh of
// millions of nodes keeps them small), each handed on with its solution, a case without loads
// with none.
namespace LoadCases {

// How the residual |K u - f| is measured: relative to the loads (bar structures), or to
// |K| |u| + |f| (meshes, whose condition grows with their fineness; see
// EquationSystem::BackwardError).
enum class Measure { Loads, Backward };

// `loaded`: the numbers of the cases with loads, ascending. `begin(number)` hears a case
// begin, `fill(number, column)` adds its loads into a zero column of the equations,
// `take(number, solution)` gets its solution (null for a case without loads). Returns the
// largest residual of the blocks, by `measure`.
template <typename Begin, typename Fill, typename Take>
double Solve(const EquationSystem& system, int cases, const std::vector<int>& loaded, size_t block,
             Begin begin, Fill fill, Take take, Measure measure = Measure::Loads) {
    double residual = 0;
    Eigen::MatrixXd solutions;
    size_t first = 0, size = 0, next = 0;
    for (int number = 1; number <= cases; ++number) {
        begin(number);
        const bool hasLoads = next < loaded.size() && loaded[next] == number;
        if (!hasLoads) {
            take(number, static_cast<const Eigen::VectorXd*>(nullptr));
            continue;
        }
        if (next >= first + size) {
            first = next;
            size = std::min(block, loaded.size() - next);
            Eigen::MatrixXd f =
                Eigen::MatrixXd::Zero(system.Equations(), static_cast<Eigen::Index>(size));
            for (size_t k = 0; k < size; ++k) {
                Eigen::VectorXd column = Eigen::VectorXd::Zero(system.Equations());
                fill(loaded[first + k], column);
                f.col(static_cast<Eigen::Index>(k)) = column;
            }
            solutions = system.Solve(f);
            residual =
                std::max(residual, measure == Measure::Backward ? system.BackwardError(solutions, f)
                                                                : system.Residual(solutions, f));
        }
        const Eigen::VectorXd solution = solutions.col(static_cast<Eigen::Index>(next++ - first));
        take(number, &solution);
    }
    return residual;
}

} // namespace LoadCases
