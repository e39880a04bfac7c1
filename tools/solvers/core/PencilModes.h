#pragma once

#include "EquationSystem.h"

#include <QString>
#include <vector>

// The lowest characteristic values of K x = lambda B x for a prepared stiffness system and a
// symmetric B (the lumped masses, or the negative geometric stiffness): the largest values
// mu = 1 / lambda of the symmetric matrix G^-1 B G^-T, by Spectra's Lanczos iteration on large
// systems and by a dense solver on small ones. Only positive lambda are kept.
namespace PencilModes {

struct Mode {
    double Lambda = 0;
    Eigen::VectorXd Shape; // one value per equation
};

// `b` holds the upper triangle of B. Up to `count` modes, lowest first; `error` is set when
// the iteration fails.
std::vector<Mode> Lowest(const EquationSystem& system, const EquationSystem::SparseMatrix& b,
                         int count, QString& error);

// Equations up to which the dense solver is used.
inline constexpr int DenseLimit = 400;

} // namespace PencilModes
