#pragma once

#include "EquationSystem.h"
#include "LoadCases.h"
#include "SolverError.h"
#include "SolverProgress.h"

#include <Eigen/Dense>
#include <QString>
#include <array>
#include <functional>
#include <future>
#include <memory>
#include <span>
#include <vector>

// The solution of the stiffness equations of a model for its load cases: directly by a sparse
// Cholesky factorisation while its factors fit comfortably and are quick to make, otherwise by
// the conjugate gradient with an algebraic multigrid made for elasticity (whose coarse levels
// take the rigid motions of the nodes), which needs memory only in proportion to the model and
// can share the work among processes. The choice can be forced.
class LinearSolver {
public:
    enum class Method { Automatic, Direct, Iterative };
    static constexpr int Never = -1;

    struct Options {
        Method Use = Method::Automatic;
        // The relative residual |f - K u| / |f| at which the iterative method stops.
        double Tolerance = 1e-8;
        // The memory the run may take (bytes); 0: what the system has available.
        double Memory = 0;
        // The processes an iterative solution may share, in a program that can start them:
        // 0 takes one per core for a large enough model, 1 solves in this process alone.
        int Processes = 0;
    };

    // The equations to solve: the elements, the components the nodes carry, where the elements
    // stiffen them (six per node, as EquationSystem::Prepare takes it) and the supports.
    struct Problem {
        int Nodes = 0;
        std::vector<const Element*> Elements;
        DofNumbering::Wording Wording;
        std::vector<int> Kept;
        std::vector<double> Diagonal;
        EquationSystem::Constraints Constraints;
        // The nodes' positions and which rigid motions of space move the model freely (see
        // IterativeSolver::System); none: the iteration is not made for it.
        std::span<const std::array<double, 3>> Coordinates;
        std::vector<int> RigidMotions;
        // Above this many equations the automatic choice iterates; 0: only when the factors
        // would not fit in memory; Never: not even then (the multigrid does not converge well
        // enough on the family's models to be worth the try).
        int IterativeFrom = 0;
        // What the residual |K u - f| of the report is measured against (LoadCases::Measure).
        LoadCases::Measure Residual = LoadCases::Measure::Backward;
    };

    // What was done, for the protocol.
    struct Report {
        Method Used = Method::Direct;
        QString Why;                 // the protocol's line on the method and why it was chosen
        std::vector<int> Iterations; // iterative: per load case with loads
        double Tolerance = 0;        // iterative: the residual it stopped at
        int Processes = 1;           // iterative: that shared the solution
        double Residual = 0;         // the largest backward error of the cases
    };

    LinearSolver();
    ~LinearSolver();
    LinearSolver(const LinearSolver&) = delete;
    LinearSolver& operator=(const LinearSolver&) = delete;

    // Chooses the method, numbers and assembles the equations and, directly, factorises them;
    // throws SolverError when they cannot be solved.
    void Prepare(const Problem& problem, const Options& options,
                 SolverProgress* progress = nullptr);
    const EquationSystem& System() const { return *system_; }
    // The equation of a node's component in a load column and a solution; -1 where it has
    // none. A component a support holds has none in a solution by iteration either.
    int Equation(int node, int component) const;

    // `fill(number, column)` adds a case's loads into a zero column; `take(number, solution)`
    // gets its solution (null for a case without loads). `loaded`: the cases with loads,
    // ascending, of 1 to `cases`. Throws SolverError when a case cannot be solved.
    using Fill = std::function<void(int, Eigen::VectorXd&)>;
    using Take = std::function<void(int, const Eigen::VectorXd*)>;
    void Solve(int cases, const std::vector<int>& loaded, const Fill& fill, const Take& take,
               SolverProgress* progress = nullptr);
    const Report& Done() const { return report_; }

private:
    bool CanIterate(const Problem& problem) const;
    // Takes the problem's components and supports; how many components supports hold.
    int Hold(const Problem& problem);
    static SolverError Unsuited(const Problem& problem);
    SolverError TooLarge(int equations, double memory, bool canIterate) const;
    void Number(const Problem& problem, Method method, double memory, SolverProgress* progress);
    void SolveIteratively(int cases, const std::vector<int>& loaded, const Fill& fill,
                          const Take& take, SolverProgress* progress);
    void Describe(int equations);

    Options options_;
    Report report_;
    std::unique_ptr<EquationSystem> system_;
    std::vector<std::array<double, 3>> coordinates_;
    std::vector<char> held_; // per node, one per kept component
    std::vector<int> slot_;  // per component of space, its place among the kept, or -1
    std::vector<int> kept_, motions_;
    LoadCases::Measure measure_ = LoadCases::Measure::Backward;
    int width_ = 0, nodes_ = 0, processes_ = 1;
    std::future<bool> starting_; // the iteration's processes, started while assembling
};
