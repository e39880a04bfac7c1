#include "DirectIntegration.h"

#include "SolverError.h"
#include "SparseCholesky.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace DirectIntegration {

Rayleigh::Fit Rayleigh::From(double f1, double z1, double f2, double z2) {
    if (!std::isfinite(f1) || !std::isfinite(f2) || !(f1 > 0) || !(f2 > 0) || f1 == f2)
        return {{},
                QStringLiteral("the two frequencies of Rayleigh damping must be positive and "
                               "different")};
    if (!(z1 >= 0 && z1 < 1) || !(z2 >= 0 && z2 < 1))
        return {{}, QStringLiteral("a damping ratio must be at least 0 and less than 1")};
    // z_i = Mass / (2 w_i) + Stiffness w_i / 2 for i = 1, 2, solved by Cramer's rule.
    const double w1 = 2 * std::numbers::pi * f1, w2 = 2 * std::numbers::pi * f2;
    const double d = w2 * w2 - w1 * w1;
    const Rayleigh damping{2 * w1 * w2 * (z1 * w2 - z2 * w1) / d, 2 * (z2 * w2 - z1 * w1) / d};
    // A negative coefficient makes C indefinite: the modes far below (Mass) or far above
    // (Stiffness) the two frequencies would gain energy at every cycle, and the integration would
    // grow without bound however short its step.
    const bool firstLower = f1 < f2;
    const double lower = firstLower ? f1 : f2, higher = firstLower ? f2 : f1;
    if (damping.Mass < 0 || damping.Stiffness < 0)
        return {{},
                QStringLiteral("the damping ratio at %1 Hz is too %2 for the ratio at %3 Hz: "
                               "Rayleigh damping would drive the modes %4 instead of damping "
                               "them")
                    .arg(higher)
                    .arg(damping.Mass < 0 ? QStringLiteral("large") : QStringLiteral("small"))
                    .arg(lower)
                    .arg(damping.Mass < 0 ? QStringLiteral("of lowest frequency")
                                          : QStringLiteral("of highest frequency"))};
    return {damping, {}};
}

QString StepWarning(double step, double highestFrequency) {
    if (!(highestFrequency > 0))
        return {};
    const double period = 1 / highestFrequency;
    if (step <= period / 10)
        return {};
    return QStringLiteral("the time step %1 s is more than a tenth of the shortest period kept "
                          "(%2 s)")
        .arg(step, 0, 'g', 4)
        .arg(period, 0, 'g', 4);
}

Newmark::Newmark(const SparseMatrix& stiffness, const SparseMatrix& mass, Rayleigh damping,
                 double step, const std::vector<int>& blockStarts)
    : k_(stiffness), m_(mass), blockStarts_(blockStarts), damping_(damping), dt_(step),
      effective_(std::make_unique<SparseCholesky>()), u_(Eigen::VectorXd::Zero(stiffness.rows())),
      v_(Eigen::VectorXd::Zero(stiffness.rows())), a_(Eigen::VectorXd::Zero(stiffness.rows())) {
    if (!(step > 0) || !std::isfinite(step))
        throw std::invalid_argument("the time step of an integration is positive");
    if (k_.rows() != k_.cols() || m_.rows() != k_.rows() || m_.cols() != k_.cols())
        throw std::invalid_argument("the stiffness and mass of an integration differ in size");
    // K* = K + 4/dt^2 M + 2/dt C, with C = Mass M + Stiffness K.
    const SparseMatrix effective =
        (1 + 2 / dt_ * damping_.Stiffness) * k_ + (4 / (dt_ * dt_) + 2 / dt_ * damping_.Mass) * m_;
    const SparseCholesky::Result result = effective_->Factor(effective, blockStarts);
    if (result == SparseCholesky::Result::NotPositive)
        throw SolverError(QStringLiteral("the equations of motion cannot be solved: a part moves "
                                         "without stiffness and without mass"));
    if (result != SparseCholesky::Result::Factored)
        throw SolverError(
            QStringLiteral("the equations of motion cannot be solved (not enough memory)"));
}

Newmark::~Newmark() = default;

void Newmark::Start(const Eigen::VectorXd& displacements, const Eigen::VectorXd& velocities) {
    const Eigen::Index n = k_.rows();
    if ((displacements.size() != 0 && displacements.size() != n) ||
        (velocities.size() != 0 && velocities.size() != n))
        throw std::invalid_argument("the starting state of an integration has the wrong size");
    u_ = displacements.size() != 0 ? displacements : Eigen::VectorXd::Zero(n);
    v_ = velocities.size() != 0 ? velocities : Eigen::VectorXd::Zero(n);
    a_.setZero(n);
    step_ = 0;
    started_ = false;
}

Eigen::VectorXd Newmark::Force(const Load& load, double time) const {
    Eigen::VectorXd force = Eigen::VectorXd::Zero(k_.rows());
    if (load)
        load(time, force);
    return force;
}

// The accelerations of the starting state, from M a = f - C v - K u. Where M is positive
// definite, exactly. Where it is not (a rotation without mass in a frame of lumped masses), M a
// = r fixes no acceleration of the massless equations; then a solves the equation of motion
// with u and v advanced by a over one step, (M + dt/2 C + dt^2/4 K) a = r, which is dt^2/4 K*
// and needs no other factors: finite everywhere, within (w dt)^2 / 4 of the exact value in the
// modes the step follows (their response moves by about (w dt)^3 / 8 of its amplitude), and
// every step after is in equilibrium whatever it was.
void Newmark::Accelerate(const Eigen::VectorXd& force) {
    const Eigen::VectorXd held =
        k_.selfadjointView<Eigen::Upper>() * (u_ + damping_.Stiffness * v_);
    const Eigen::VectorXd moved = m_.selfadjointView<Eigen::Upper>() * v_;
    const Eigen::VectorXd residual = force - held - damping_.Mass * moved;
    if (residual.isZero(0)) {
        a_.setZero(k_.rows());
        return;
    }
    SparseCholesky masses;
    if (masses.Factor(m_, blockStarts_) == SparseCholesky::Result::Factored)
        a_ = masses.Solve(residual).col(0);
    else
        a_ = 4 / (dt_ * dt_) * effective_->Solve(residual).col(0);
}

void Newmark::Run(int steps, const Load& load, const Take& take) {
    if (!started_) {
        Accelerate(Force(load, Time()));
        started_ = true;
        if (take)
            take(step_, Time(), u_);
    }
    for (int s = 0; s < steps; ++s) {
        ++step_;
        // The equation of motion at the step's end, with a = 4/dt^2 du - 4/dt v - a and
        // v = 2/dt du - v from the trapezoidal rule on both: K* du = r. The residual is formed
        // from the state itself, not from the change of the load since the last step, so that
        // what rounding leaves out of equilibrium in one step is not carried on.
        const Eigen::VectorXd held =
            k_.selfadjointView<Eigen::Upper>() * (u_ - damping_.Stiffness * v_);
        const Eigen::VectorXd moving =
            m_.selfadjointView<Eigen::Upper>() * ((4 / dt_ + damping_.Mass) * v_ + a_);
        const Eigen::VectorXd residual = Force(load, Time()) - held + moving;
        const Eigen::VectorXd du = effective_->Solve(residual).col(0);
        u_ += du;
        a_ = 4 / (dt_ * dt_) * du - 4 / dt_ * v_ - a_;
        v_ = 2 / dt_ * du - v_;
        if (take)
            take(step_, Time(), u_);
    }
}

} // namespace DirectIntegration
