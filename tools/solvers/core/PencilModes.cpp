#include "PencilModes.h"

#include <Eigen/Eigenvalues>
#include <Spectra/SymEigsSolver.h>
#include <algorithm>
#include <exception>

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
                                                   const EquationSystem::SparseMatrix& b, int count,
                                                   QString& error) {
    const int n = system.Equations();
    if (n == 0 || count < 1)
        return {};
    // No system has more modes than equations; a larger count only asks for all of them.
    count = std::min(count, n);
    ReducedOperator op(system, b);
    if (n <= DenseLimit || count + 2 >= n) {
        Eigen::MatrixXd c(n, n);
        Eigen::VectorXd unit = Eigen::VectorXd::Zero(n), column(n);
        for (int j = 0; j < n; ++j) {
            unit[j] = 1;
            op.perform_op(unit.data(), column.data());
            c.col(j) = column;
            unit[j] = 0;
        }
        if (!c.allFinite()) {
            error = OutOfRange();
            return {};
        }
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver((c + c.transpose()) / 2);
        if (solver.info() != Eigen::Success) {
            error = OutOfRange();
            return {};
        }
        return Collect(system, solver.eigenvalues(), solver.eigenvectors(), count);
    }
    const int ncv = std::min(n, std::max(2 * count + 1, count + 20));
    Spectra::SymEigsSolver<ReducedOperator> eigs(op, count, ncv);
    eigs.init();
    try {
        eigs.compute(Spectra::SortRule::LargestAlge, 1000, 1e-10, Spectra::SortRule::LargestAlge);
    } catch (const std::exception&) {
        // Spectra throws where its small eigenproblem meets values that are not finite.
        error = OutOfRange();
        return {};
    }
    if (eigs.info() != Spectra::CompInfo::Successful) {
        error = QStringLiteral("the iteration for the lowest modes did not converge");
        return {};
    }
    return Collect(system, eigs.eigenvalues(), eigs.eigenvectors(), count);
}
