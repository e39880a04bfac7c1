#include "PencilModes.h"

#include "SymmetricLargest.h"

#include <algorithm>

namespace {

// y = G^-1 B G^-T x, as Spectra asks for it.
class ReducedOperator {
public:
    using Scalar = double;

    ReducedOperator(const EquationSystem& system, const EquationSystem::SparseMatrix& b)
        : system_(system), b_(b) {}

    Eigen::Index rows() const { return system_.Equations(); }
    Eigen::Index cols() const { return system_.Equations(); }
    void perform_op(const double* in, double* out) const {
        const Eigen::Map<const Eigen::VectorXd> x(in, rows());
        const Eigen::VectorXd z = system_.HalfSolveTransposed(x);
        const Eigen::VectorXd bz = b_.selfadjointView<Eigen::Upper>() * z;
        Eigen::Map<Eigen::VectorXd>(out, rows()) = system_.HalfSolve(bz);
    }

private:
    const EquationSystem& system_;
    const EquationSystem::SparseMatrix& b_;
};

// Why the eigen-solver found nothing: it met values that are not finite.
QString OutOfRange() {
    return QStringLiteral("the natural modes cannot be calculated: the values of the model are "
                          "too large or too small to compute with (coordinates, stiffnesses and "
                          "masses far apart, or near the largest or smallest numbers)");
}

} // namespace

QString PencilModes::NotConverged() {
    return QStringLiteral("the iteration for the lowest modes did not converge");
}

namespace {

std::vector<PencilModes::Mode> Collect(const EquationSystem& system, const Eigen::VectorXd& mu,
                                       const Eigen::MatrixXd& vectors, int count) {
    std::vector<Eigen::Index> order;
    for (Eigen::Index i = 0; i < mu.size(); ++i) {
        if (mu[i] > 1e-12 * mu.cwiseAbs().maxCoeff())
            order.push_back(i);
    }
    std::sort(order.begin(), order.end(),
              [&mu](Eigen::Index a, Eigen::Index b) { return mu[a] > mu[b]; });
    std::vector<PencilModes::Mode> modes;
    for (Eigen::Index i : order) {
        if (static_cast<int>(modes.size()) == count)
            break;
        modes.push_back({1 / mu[i], system.HalfSolveTransposed(vectors.col(i))});
    }
    return modes;
}

} // namespace

std::vector<PencilModes::Mode> PencilModes::Lowest(const EquationSystem& system,
                                                   const EquationSystem::SparseMatrix& b,
                                                   int count) {
    const int n = system.Equations();
    if (n == 0 || count < 1)
        return {};
    // No system has more modes than equations; a larger count only asks for all of them.
    count = std::min(count, n);
    ReducedOperator op(system, b);
    const SymmetricLargest found =
        SymmetricLargest::Of(op, count, n <= DenseLimit || count + 2 >= n, 1e-10);
    if (found.Result == SymmetricLargest::Outcome::OutOfRange)
        throw SolverError(OutOfRange());
    if (found.Result == SymmetricLargest::Outcome::NotConverged)
        throw SolverError(NotConverged());
    return Collect(system, found.Values, found.Vectors, count);
}
