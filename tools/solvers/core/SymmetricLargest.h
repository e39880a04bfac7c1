#pragma once

#include <Eigen/Eigenvalues>
#include <Spectra/SymEigsSolver.h>
#include <algorithm>
#include <exception>

// The largest eigenvalues and vectors of a symmetric operator given by its product (Spectra's
// rows() and perform_op()): all of them by a dense solver of its columns, or the `wanted`
// largest by Spectra's Lanczos iteration to `tolerance`. What the eigen-solver's plain and
// extended-precision pencils share.
struct SymmetricLargest {
    enum class Outcome {
        Found,
        OutOfRange,   // values that are not finite met on the way
        NotConverged, // the iteration ran out of steps
    };
    Outcome Result = Outcome::Found;
    Eigen::VectorXd Values;
    Eigen::MatrixXd Vectors; // one column per value

    template <typename Operator>
    static SymmetricLargest Of(Operator& op, int wanted, bool dense, double tolerance);
};

template <typename Operator>
SymmetricLargest SymmetricLargest::Of(Operator& op, int wanted, bool dense, double tolerance) {
    SymmetricLargest found;
    const Eigen::Index n = op.rows();
    if (dense) {
        Eigen::MatrixXd c(n, n);
        Eigen::VectorXd unit = Eigen::VectorXd::Zero(n), column(n);
        for (Eigen::Index j = 0; j < n; ++j) {
            unit[j] = 1;
            op.perform_op(unit.data(), column.data());
            c.col(j) = column;
            unit[j] = 0;
        }
        if (!c.allFinite()) {
            found.Result = Outcome::OutOfRange;
            return found;
        }
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver((c + c.transpose()) / 2);
        if (solver.info() != Eigen::Success) {
            found.Result = Outcome::OutOfRange;
            return found;
        }
        found.Values = solver.eigenvalues();
        found.Vectors = solver.eigenvectors();
        return found;
    }
    const auto ncv =
        static_cast<int>(std::min<Eigen::Index>(n, std::max(2 * wanted + 1, wanted + 20)));
    Spectra::SymEigsSolver<Operator> eigs(op, wanted, ncv);
    eigs.init();
    try {
        eigs.compute(Spectra::SortRule::LargestAlge, 1000, tolerance,
                     Spectra::SortRule::LargestAlge);
    } catch (const std::exception&) {
        // Spectra throws where its small eigenproblem meets values that are not finite.
        found.Result = Outcome::OutOfRange;
        return found;
    }
    if (eigs.info() != Spectra::CompInfo::Successful) {
        found.Result = Outcome::NotConverged;
        return found;
    }
    found.Values = eigs.eigenvalues();
    found.Vectors = eigs.eigenvectors();
    return found;
}
