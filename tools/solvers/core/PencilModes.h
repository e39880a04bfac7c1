#pragma once

#include "EquationSystem.h"
#include "SolverError.h"

#include <Eigen/SparseCore>
#include <QString>
#include <functional>
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

// `b` holds the upper triangle of B. Up to `count` modes, lowest first; throws SolverError
// when the iteration fails.
std::vector<Mode> Lowest(const EquationSystem& system, const EquationSystem::SparseMatrix& b,
                         int count);

// Why the Lanczos iteration found nothing, whichever pencil it solved.
QString NotConverged();

// Equations up to which the dense solver is used.
inline constexpr int DenseLimit = 400;

// The extended-precision option, for a pencil whose stiffness spans more decades than double
// carries (a long beam mesh: the number of its elements^4 from its lowest mode to its
// highest), which may have motions without stiffness. K + s M is factorised in extended
// precision with a shift s that makes it definite, the lowest values of that shifted pencil
// are found (by a dense solver on the unknowns that carry mass when they are few, else by
// Lanczos) and refined against the stiffness given element by element.
struct Extended {
    using Real = long double;
    using Sparse = Eigen::SparseMatrix<Real>;
    using Vector = Eigen::Matrix<Real, Eigen::Dynamic, 1>;
    // A symmetric mass of some equations (an element's, a point's); -1 marks one held.
    struct Block {
        std::vector<int> Equations;
        Eigen::MatrixXd Values;
    };

    Sparse K, M; // both triangles, over the free equations
    // M is their sum; empty when the unknowns that carry mass are too many for the dense
    // solver on them (more than ReducedLimit), which is then not tried.
    std::vector<Block> Masses;
    // K x to the last digit, element by element, where the assembled K cancels digits.
    std::function<Vector(const Vector&)> Product;
    int Rigid = 0;      // motions with K x = 0 that carry mass: found at 0 and skipped
    double Shift = 0;   // a first guess near the lowest values, positive
    QString OutOfRange; // why values beyond the reach of the computation gave nothing
    QString Unsolvable; // why K + s M could not be factorised
};

struct ExtendedMode {
    double Lambda = 0;
    Eigen::VectorXd Shape; // one value per equation
    // How far lambda moves, relative, when the shape is rounded to double: the shapes come
    // through the eigen-solver in double with up to a hundred times that rounding; where the
    // stiffnesses are too far apart lambda is rounding itself, and only this tells.
    double Noise = 0;
};

// Up to `count` modes, lowest first; throws SolverError when they cannot be found.
std::vector<ExtendedMode> Lowest(const Extended& pencil, int count);

// The dense solver on the unknowns with mass is used when they are fewer than all unknowns
// and at most ReducedLimit (and ReducedEntries times all unknowns).
inline constexpr int ReducedLimit = 600;
inline constexpr double ReducedEntries = 4e6;

} // namespace PencilModes
