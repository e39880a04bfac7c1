#pragma once

#include <Eigen/Core>
#include <Eigen/SparseCore>
#include <complex>
#include <functional>
#include <vector>

// The response of a structure to dynamic loads by the superposition of its natural modes,
// written once for every family: each mode is a single degree of freedom of unit mass,
// q'' + 2 zeta w q' + w^2 q = phi^T f(t), and the response is the sum of the shapes times
// their coordinates. Harmonic loads give each mode's steady state; load histories and ground
// accelerations are followed exactly for loads linear between the instants; design spectra
// give each mode's peak, combined over the modes by SRSS or CQC.
namespace ModalResponse {

using SparseMatrix = Eigen::SparseMatrix<double>;

// The modes the response is made of: circular frequencies (rad/s) and shapes scaled to a
// modal mass of 1 (phi^T M phi = 1), one column per mode, one row per equation.
struct Basis {
    Eigen::VectorXd Omega;
    Eigen::MatrixXd Shapes;

    // From the values lambda = w^2 and shapes of the eigen-solver; `mass` holds the upper
    // triangle of M.
    static Basis Of(const std::vector<double>& lambdas, const std::vector<Eigen::VectorXd>& shapes,
                    const SparseMatrix& mass);
    Eigen::Index Count() const { return Omega.size(); }
};

// How much of a ground motion each mode takes: along the influence vector r (1 on every
// translation along the direction of the motion, 0 elsewhere), the participation factor
// Gamma = phi^T M r and the effective mass Gamma^2, of the total r^T M r.
struct Participation {
    Eigen::VectorXd Factors, Effective;
    double Total = 0;
    // The share of the total that the modes carry: 1 with every mode.
    double Share() const { return Total > 0 ? Effective.sum() / Total : 0; }
};
Participation Participate(const Basis& basis, const SparseMatrix& mass,
                          const Eigen::VectorXd& influence);

// The steady state under the force F cos(W t): the complex amplitudes U, u(t) = Re(U e^(iWt)),
// so that |U| is the amplitude and arg U the phase (negative: behind the force). `zeta`: the
// damping ratio of each mode.
Eigen::VectorXcd Harmonic(const Basis& basis, const Eigen::VectorXd& zeta,
                          const Eigen::VectorXd& force, double forcing);
// The same as each mode's complex coordinate: U = Shapes * coordinates.
Eigen::VectorXcd HarmonicCoordinates(const Basis& basis, const Eigen::VectorXd& zeta,
                                     const Eigen::VectorXd& force, double forcing);

// One mode's step over dt from (q, q') under a modal load linear from p0 to p1: exact for any
// damping, the rigid motion at w = 0 too (the exponential of the mode's state equation with
// the load's value and slope in it).
class ModeStep {
public:
    ModeStep(double omega, double zeta, double dt);
    void Advance(double& q, double& v, double p0, double p1) const;

private:
    Eigen::Matrix2d transition_;
    Eigen::Vector2d fromValue_, fromSlope_; // the state's response to p0 and to (p1 - p0) / dt
    double dt_ = 0;
};

// The modal coordinates from rest at the instants 0, dt, ..., steps dt under the modal loads
// `load` (t, p) fills (phi^T f(t) per mode); one column per instant.
Eigen::MatrixXd History(const Basis& basis, const Eigen::VectorXd& zeta, double dt, int steps,
                        const std::function<void(double, Eigen::VectorXd&)>& load);

// Peak modal responses combined over the modes: the square root of the sum of squares, or the
// complete quadratic combination with the correlation of Der Kiureghian (1981), which counts
// modes of close frequencies together.
enum class Rule { Srss, Cqc };
double Correlation(double omegaI, double omegaJ, double zetaI, double zetaJ);
// `peaks`: one row per quantity, one column per mode; the combined value of each quantity.
Eigen::VectorXd Combine(const Eigen::MatrixXd& peaks, const Eigen::VectorXd& omega,
                        const Eigen::VectorXd& zeta, Rule rule);

// Responses to the components of a ground motion combined: by SRSS, or as the larger of each
// component in full with 30 % of the others (the 100/30 rule); one vector per direction.
enum class Directions { Srss, Rule100And30 };
Eigen::VectorXd Combine(const std::vector<Eigen::VectorXd>& each, Directions rule);

} // namespace ModalResponse
