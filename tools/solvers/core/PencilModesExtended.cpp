#include "PencilModes.h"
#include "SymmetricLargest.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <Eigen/SparseCholesky>
#include <algorithm>
#include <cmath>
#include <exception>
#include <numeric>

namespace {

using Pencil = PencilModes::Extended;
using Real = Pencil::Real;
using Sparse = Pencil::Sparse;
using VectorL = Pencil::Vector;
using MatrixL = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using Block = Pencil::Block;
using Factor = Eigen::SimplicialLLT<Sparse, Eigen::Lower, Eigen::AMDOrdering<int>>;

// y = s G^-1 M G^-T x with A = K + s M = G G^T, as the Lanczos iteration asks for it: its
// eigenvalues are s / (lambda + s), 1 for a rigid motion and 0 for an unknown without mass.
class ShiftedOperator {
public:
    using Scalar = double;

    ShiftedOperator(const Factor& factor, const Sparse& mass, double shift)
        : factor_(factor), mass_(mass), shift_(shift) {}

    Eigen::Index rows() const { return mass_.rows(); }
    Eigen::Index cols() const { return mass_.rows(); }
    void perform_op(const double* in, double* out) const {
        const Eigen::Map<const Eigen::VectorXd> x(in, rows());
        const VectorL mz = mass_ * HalfSolveTransposed(x);
        VectorL y = factor_.permutationP() * mz;
        factor_.matrixL().solveInPlace(y);
        Eigen::Map<Eigen::VectorXd>(out, rows()) = (shift_ * y).cast<double>();
    }
    // G^-T x, the motion of an eigenvector x of the operator.
    VectorL HalfSolveTransposed(const Eigen::VectorXd& x) const {
        VectorL y = x.cast<Real>();
        factor_.matrixU().solveInPlace(y);
        return factor_.permutationPinv() * y;
    }

private:
    const Factor& factor_;
    const Sparse& mass_;
    Real shift_;
};

struct Found {
    std::vector<std::pair<double, VectorL>> Modes; // lambda, free unknowns
};

// Keeps the values mu = s / (lambda + s) after the `rigid` largest, which are the rigid
// motions (lambda = 0), down to those of unknowns without mass (mu = 0).
template <typename VectorOf>
Found Collect(const Eigen::VectorXd& mu, VectorOf vectorOf, int rigid, int count, double shift) {
    std::vector<Eigen::Index> order(static_cast<size_t>(mu.size()));
    std::iota(order.begin(), order.end(), Eigen::Index(0));
    std::sort(order.begin(), order.end(),
              [&mu](Eigen::Index a, Eigen::Index b) { return mu[a] > mu[b]; });
    Found found;
    for (size_t k = static_cast<size_t>(rigid); k < order.size(); ++k) {
        const double m = mu[order[k]];
        if (static_cast<int>(found.Modes.size()) == count || !(m > 1e-12))
            break;
        found.Modes.emplace_back(shift / m - shift, vectorOf(order[k]));
    }
    return found;
}

// M = B B^T from the blocks: the values wanted are those of B^T A^-1 B, as small as the
// unknowns that carry mass (a few discs on a light shaft) however long the shaft. False when
// the mass reaches too many unknowns for that.
bool Reduced(const Factor& factor, const Pencil& pencil, int count, double shift, Found& found) {
    if (pencil.Masses.empty())
        return false;
    const auto n = static_cast<int>(pencil.K.rows());
    int rank = 0;
    for (const Block& block : pencil.Masses)
        for (int equation : block.Equations)
            rank += equation >= 0 ? 1 : 0;
    if (!(rank < n && rank <= PencilModes::ReducedLimit &&
          static_cast<double>(rank) * n <= PencilModes::ReducedEntries))
        return false;
    Eigen::MatrixXd b = Eigen::MatrixXd::Zero(n, rank);
    int column = 0;
    for (const Block& block : pencil.Masses) {
        std::vector<int> free;
        for (size_t i = 0; i < block.Equations.size(); ++i)
            if (block.Equations[i] >= 0)
                free.push_back(static_cast<int>(i));
        // A disc on a rigid bearing may have all its mass where nothing moves.
        if (free.empty())
            continue;
        const auto size = static_cast<Eigen::Index>(free.size());
        Eigen::MatrixXd part(size, size);
        for (Eigen::Index i = 0; i < size; ++i)
            for (Eigen::Index j = 0; j < size; ++j)
                part(i, j) =
                    block.Values(free[static_cast<size_t>(i)], free[static_cast<size_t>(j)]);
        // A square root that allows a block without mass in some directions.
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split(part);
        const Eigen::MatrixXd root =
            split.eigenvectors() * split.eigenvalues().cwiseMax(0).cwiseSqrt().asDiagonal();
        for (Eigen::Index i = 0; i < size; ++i)
            for (Eigen::Index j = 0; j < size; ++j)
                b(block.Equations[static_cast<size_t>(free[static_cast<size_t>(i)])], column + j) =
                    root(i, j);
        column += static_cast<int>(size);
    }
    const Eigen::MatrixXd solved = factor.solve(b.cast<Real>()).cast<double>();
    const Eigen::MatrixXd small = shift * (b.transpose() * solved);
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eigen((small + small.transpose()) / 2);
    if (eigen.info() != Eigen::Success)
        throw SolverError(pencil.OutOfRange);
    found = Collect(
        eigen.eigenvalues(),
        [&](Eigen::Index i) -> VectorL {
            return (solved * eigen.eigenvectors().col(i)).cast<Real>();
        },
        pencil.Rigid, count, shift);
    return true;
}

// The lowest `count` modes of the pencil factorised as K + shift M over the free unknowns,
// with `rigid` motions of K x = 0 that carry mass and are skipped.
Found Solve(const Factor& factor, const Pencil& pencil, int count, double shift) {
    const auto n = static_cast<int>(pencil.K.rows());
    const int rigid = pencil.Rigid;
    const int wanted = std::min(count + rigid, n);

    if (Found found; Reduced(factor, pencil, count, shift, found))
        return found;
    ShiftedOperator op(factor, pencil.M, shift);
    const SymmetricLargest largest = SymmetricLargest::Of(op, wanted, wanted + 2 >= n, 1e-8);
    if (largest.Result == SymmetricLargest::Outcome::OutOfRange)
        throw SolverError(pencil.OutOfRange);
    if (largest.Result == SymmetricLargest::Outcome::NotConverged)
        throw SolverError(PencilModes::NotConverged());
    return Collect(
        largest.Values,
        [&](Eigen::Index i) { return op.HalfSolveTransposed(largest.Vectors.col(i)); }, rigid,
        count, shift);
}

// The modes as found carry the rounding of the factorisation, as large as the condition of
// K + s M; the best combination of them (Rayleigh-Ritz) under the element-wise stiffness
// squares that error.
void Refine(Found& found, const Pencil& pencil) {
    const auto p = static_cast<Eigen::Index>(found.Modes.size());
    if (p == 0)
        return;
    MatrixL x(pencil.M.rows(), p), kx(pencil.M.rows(), p);
    for (Eigen::Index i = 0; i < p; ++i) {
        x.col(i) = found.Modes[static_cast<size_t>(i)].second;
        x.col(i) /= x.col(i).cwiseAbs().maxCoeff();
        kx.col(i) = pencil.Product(VectorL(x.col(i)));
    }
    const MatrixL onK = x.transpose() * kx, onM = x.transpose() * (pencil.M * x);
    const MatrixL inertia = (onM + onM.transpose()) / 2;
    // Motions that are not independent under the mass are kept as the iteration gave them.
    if (Eigen::LLT<MatrixL>(inertia).info() != Eigen::Success)
        return;
    const Eigen::GeneralizedSelfAdjointEigenSolver<MatrixL> eigen((onK + onK.transpose()) / 2,
                                                                  inertia);
    if (eigen.info() != Eigen::Success || !eigen.eigenvalues().allFinite())
        return;
    const MatrixL vectors = x * eigen.eigenvectors();
    for (Eigen::Index i = 0; i < p; ++i)
        found.Modes[static_cast<size_t>(i)] = {static_cast<double>(eigen.eigenvalues()[i]),
                                               vectors.col(i)};
}

} // namespace

std::vector<PencilModes::ExtendedMode> PencilModes::Lowest(const Extended& pencil, int count) {
    // The shift makes K + s M definite whatever the rigid motions. A value far below it loses
    // the digits of s / lambda, one far above those of lambda / s: the first guess is
    // corrected once, to the middle of the values found, when far from the lowest.
    double shift = pencil.Shift;
    Found found;
    for (int pass = 0; pass < 2; ++pass) {
        const Factor factor(pencil.K + shift * pencil.M);
        if (factor.info() != Eigen::Success)
            throw SolverError(pencil.Unsolvable);
        found = Solve(factor, pencil, count, shift);
        if (found.Modes.empty())
            break;
        const double lowest = found.Modes.front().first, highest = found.Modes.back().first;
        if (!(lowest > 0) || (lowest < 1e3 * shift && lowest > 1e-3 * shift))
            break;
        shift = std::sqrt(lowest * highest);
    }
    Refine(found, pencil);
    std::vector<ExtendedMode> modes;
    for (auto& [lambda, shape] : found.Modes) {
        const VectorL rounded = shape.cast<double>().cast<Real>();
        const Real moved = rounded.dot(pencil.Product(rounded)) / rounded.dot(pencil.M * rounded);
        modes.push_back({lambda, shape.cast<double>(),
                         static_cast<double>(std::abs(moved - Real(lambda)) / lambda)});
    }
    return modes;
}
