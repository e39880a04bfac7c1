#include "ModalResponse.h"

#include <algorithm>
#include <cmath>
#include <unsupported/Eigen/MatrixFunctions>

namespace ModalResponse {

Basis Basis::Of(const std::vector<double>& lambdas, const std::vector<Eigen::VectorXd>& shapes,
                const SparseMatrix& mass) {
    Basis basis;
    const auto count = static_cast<Eigen::Index>(std::min(lambdas.size(), shapes.size()));
    basis.Omega.resize(count);
    basis.Shapes.resize(mass.rows(), count);
    for (Eigen::Index i = 0; i < count; ++i) {
        const Eigen::VectorXd& shape = shapes[static_cast<size_t>(i)];
        const double modal = shape.dot(mass.selfadjointView<Eigen::Upper>() * shape);
        // A rigid rotation about a bar's axis may carry no mass; its shape stays as it is.
        basis.Shapes.col(i) = modal > 0 ? Eigen::VectorXd(shape / std::sqrt(modal)) : shape;
        basis.Omega[i] = std::sqrt(std::max(0.0, lambdas[static_cast<size_t>(i)]));
    }
    return basis;
}

Participation Participate(const Basis& basis, const SparseMatrix& mass,
                          const Eigen::VectorXd& influence) {
    const Eigen::VectorXd inertia = mass.selfadjointView<Eigen::Upper>() * influence;
    Participation p;
    p.Factors = basis.Shapes.transpose() * inertia;
    p.Effective = p.Factors.cwiseAbs2();
    p.Total = influence.dot(inertia);
    return p;
}

Eigen::VectorXcd Harmonic(const Basis& basis, const Eigen::VectorXd& zeta,
                          const Eigen::VectorXd& force, double forcing) {
    return basis.Shapes.cast<std::complex<double>>() *
           HarmonicCoordinates(basis, zeta, force, forcing);
}

Eigen::VectorXcd HarmonicCoordinates(const Basis& basis, const Eigen::VectorXd& zeta,
                                     const Eigen::VectorXd& force, double forcing) {
    const Eigen::VectorXd modal = basis.Shapes.transpose() * force;
    Eigen::VectorXcd coordinates(basis.Count());
    for (Eigen::Index i = 0; i < basis.Count(); ++i) {
        const double w = basis.Omega[i];
        coordinates[i] =
            modal[i] / std::complex<double>(w * w - forcing * forcing, 2 * zeta[i] * w * forcing);
    }
    return coordinates;
}

ModeStep::ModeStep(double omega, double zeta, double dt) : dt_(dt) {
    // The state (q, q', p, p'), the load linear: p' constant. The exponential of this system
    // over dt is the exact step, whatever the damping.
    Eigen::Matrix4d system = Eigen::Matrix4d::Zero();
    system(0, 1) = 1;
    system(1, 0) = -omega * omega;
    system(1, 1) = -2 * zeta * omega;
    system(1, 2) = 1;
    system(2, 3) = 1;
    const Eigen::Matrix4d step = (system * dt).exp();
    transition_ = step.topLeftCorner<2, 2>();
    fromValue_ = step.block<2, 1>(0, 2);
    fromSlope_ = step.block<2, 1>(0, 3);
}

void ModeStep::Advance(double& q, double& v, double p0, double p1) const {
    const Eigen::Vector2d next =
        transition_ * Eigen::Vector2d(q, v) + fromValue_ * p0 + fromSlope_ * ((p1 - p0) / dt_);
    q = next[0];
    v = next[1];
}

Eigen::MatrixXd History(const Basis& basis, const Eigen::VectorXd& zeta, double dt, int steps,
                        const std::function<void(double, Eigen::VectorXd&)>& load) {
    const Eigen::Index modes = basis.Count();
    std::vector<ModeStep> each;
    each.reserve(static_cast<size_t>(modes));
    for (Eigen::Index i = 0; i < modes; ++i)
        each.emplace_back(basis.Omega[i], zeta[i], dt);
    Eigen::MatrixXd q = Eigen::MatrixXd::Zero(modes, steps + 1);
    Eigen::VectorXd velocity = Eigen::VectorXd::Zero(modes);
    Eigen::VectorXd before(modes), after(modes);
    load(0, before);
    for (int k = 1; k <= steps; ++k) {
        load(k * dt, after);
        for (Eigen::Index i = 0; i < modes; ++i) {
            double value = q(i, k - 1);
            each[static_cast<size_t>(i)].Advance(value, velocity[i], before[i], after[i]);
            q(i, k) = value;
        }
        std::swap(before, after);
    }
    return q;
}

double Correlation(double omegaI, double omegaJ, double zetaI, double zetaJ) {
    if (omegaI == omegaJ)
        return 1;
    if (!(omegaI > 0) || !(omegaJ > 0))
        return 0;
    const double r = omegaJ / omegaI;
    const double numerator = 8 * std::sqrt(zetaI * zetaJ) * (zetaI + r * zetaJ) * std::pow(r, 1.5);
    const double denominator = (1 - r * r) * (1 - r * r) + 4 * zetaI * zetaJ * r * (1 + r * r) +
                               4 * (zetaI * zetaI + zetaJ * zetaJ) * r * r;
    return numerator / denominator;
}

Eigen::VectorXd Combine(const Eigen::MatrixXd& peaks, const Eigen::VectorXd& omega,
                        const Eigen::VectorXd& zeta, Rule rule) {
    if (rule == Rule::Srss)
        return peaks.rowwise().norm();
    const Eigen::Index modes = peaks.cols();
    Eigen::MatrixXd rho(modes, modes);
    for (Eigen::Index i = 0; i < modes; ++i)
        for (Eigen::Index j = 0; j < modes; ++j)
            rho(i, j) = Correlation(omega[i], omega[j], zeta[i], zeta[j]);
    // Each row's quadratic form; the correlations are positive definite, so only rounding
    // can make it negative.
    const Eigen::VectorXd squares = (peaks * rho).cwiseProduct(peaks).rowwise().sum();
    return squares.cwiseMax(0).cwiseSqrt();
}

Eigen::VectorXd Combine(const std::vector<Eigen::VectorXd>& each, Directions rule) {
    if (each.empty())
        return {};
    Eigen::VectorXd combined = Eigen::VectorXd::Zero(each.front().size());
    if (rule == Directions::Srss) {
        for (const Eigen::VectorXd& e : each)
            combined += e.cwiseAbs2();
        return combined.cwiseSqrt();
    }
    for (size_t full = 0; full < each.size(); ++full) {
        Eigen::VectorXd sum = each[full].cwiseAbs();
        for (size_t other = 0; other < each.size(); ++other)
            if (other != full)
                sum += 0.3 * each[other].cwiseAbs();
        combined = combined.cwiseMax(sum);
    }
    return combined;
}

} // namespace ModalResponse
