#pragma once

#include <Eigen/Core>
#include <Eigen/SparseCore>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class SparseCholesky;

// The response of a linear structure to loads that vary in time, step by step in time:
// M a + C v + K u = f(t), with K and M as the equation system assembles them (the upper
// triangle of each) and C of Rayleigh's form. It checks the modal superposition and answers
// where the modes do not converge (a load that excites many of them). Units are the caller's,
// consistent; the warnings say seconds.
namespace DirectIntegration {

using SparseMatrix = Eigen::SparseMatrix<double>;

// Rayleigh damping C = Mass M + Stiffness K, which keeps the natural modes uncoupled: the mode
// of circular frequency w is damped at the ratio Mass / (2 w) + Stiffness w / 2.
struct Rayleigh {
    double Mass = 0;
    double Stiffness = 0;

    double Ratio(double omega) const { return Mass / (2 * omega) + Stiffness * omega / 2; }

    // The damping with the ratios z1 and z2 at the frequencies f1 and f2 (Hz), or why there is
    // none (Error, empty when sound).
    struct Fit;
    static Fit From(double f1, double z1, double f2, double z2);
};

struct Rayleigh::Fit {
    Rayleigh Damping;
    QString Error;
};

// Why the time step is too long for the highest frequency kept (Hz) to be followed: empty when
// it is at most a tenth of the shortest period. The average acceleration method stays stable at
// any step, so a longer step is not refused, but its modes above that are lagged and shrunk.
QString StepWarning(double step, double highestFrequency);

// Newmark's average acceleration (gamma 1/2, beta 1/4): unconditionally stable and without
// numerical damping (an undamped structure keeps its energy exactly); its error is a lengthening
// of the periods, T_num / T = (w dt / 2) / atan(w dt / 2), 3.2 % at dt = T / 10. Every step solves
// the effective stiffness K* = K + 4/dt^2 M + 2/dt C, factorised once.
class Newmark {
public:
    // Fills the force vector at a time; it is given zero and sized to the equations.
    using Load = std::function<void(double time, Eigen::VectorXd& force)>;
    // Hears each state: the step's number (0 the start), its time and the displacements; the
    // velocities and accelerations are those of the integrator at that moment.
    using Take = std::function<void(int step, double time, const Eigen::VectorXd& displacements)>;

    // `blockStarts` groups the equations of each node for the factorisation (SparseCholesky).
    // Throws SolverError when K* cannot be factorised: a part moves without stiffness and
    // without mass, or the factors do not fit in memory.
    Newmark(const SparseMatrix& stiffness, const SparseMatrix& mass, Rayleigh damping, double step,
            const std::vector<int>& blockStarts = {});
    ~Newmark();
    Newmark(const Newmark&) = delete;
    Newmark& operator=(const Newmark&) = delete;

    // The state at time 0 (empty vectors: at rest), where the next Run begins; without a Start
    // the structure starts at rest.
    void Start(const Eigen::VectorXd& displacements, const Eigen::VectorXd& velocities);
    // Goes on by `steps` steps from where the last Run ended, the first Run after a start from
    // the starting state, which `take` hears as step 0.
    void Run(int steps, const Load& load, const Take& take);

    // The state reached. On equations without mass the displacements follow from equilibrium;
    // their velocities and accelerations are the trapezoidal rule's on those displacements and
    // keep what the start left wrong in them as an oscillation from step to step.
    double Time() const { return step_ * dt_; }
    const Eigen::VectorXd& Displacements() const { return u_; }
    const Eigen::VectorXd& Velocities() const { return v_; }
    const Eigen::VectorXd& Accelerations() const { return a_; }

private:
    Eigen::VectorXd Force(const Load& load, double time) const;
    void Accelerate(const Eigen::VectorXd& force);

    SparseMatrix k_, m_;
    std::vector<int> blockStarts_;
    Rayleigh damping_;
    double dt_;
    std::unique_ptr<SparseCholesky> effective_;
    Eigen::VectorXd u_, v_, a_;
    int step_ = 0;
    bool started_ = false; // the accelerations of the starting state are known
};

} // namespace DirectIntegration
