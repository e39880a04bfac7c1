#pragma once

#include <Eigen/Core>
#include <Eigen/SparseCore>
#include <QString>
#include <array>
#include <span>
#include <vector>

// The iterative solution of large elastic systems: conjugate gradients preconditioned by
// smoothed-aggregation algebraic multigrid, which takes the rigid-body modes of the nodes as
// the near-null space its coarse levels must represent. The direct factorisation's memory
// grows far faster than the model for solids; this grows with it. Under mpirun the solution
// runs over all processes of the run (see Session); otherwise in this process alone.
namespace IterativeSolver {

// Whether this build has the iterative solver; without it Solve refuses every system.
bool Available();

// An elastic system node by node, ALL components of every node: ux uy uz of a solid, the two
// of a plane model, uz rx ry of a plate, all six of a shell. The fixed ones are handled here:
// their rows and columns are dropped from the coupling and their loads set to 0, so that the
// blocks of a node stay whole for the multigrid's aggregation. The rigid motions of the nodes
// (those the components can show) are the near-null space the coarse levels must represent.
struct System {
    int Nodes = 0;
    // The components each node carries, of ux uy uz rx ry rz numbered 0 to 5.
    std::vector<int> Components = {0, 1, 2};
    // Which rigid motions of space (translations along x y z, rotations about x y z, numbered 0
    // to 5) move the model without straining it: all six for a solid, a plate or a shell; only
    // the axial translation for a body of revolution, whose radial motion stretches the hoop.
    std::vector<int> Motions = {0, 1, 2, 3, 4, 5};
    // Per node: its position, from which the rigid-body modes are formed.
    std::span<const std::array<double, 3>> Coordinates;
    // The upper triangle of the stiffness, Block() Nodes square, column major, compressed or
    // not.
    const Eigen::SparseMatrix<double>* Upper = nullptr;
    // Block() per node, nonzero where a support holds the component.
    std::span<const char> Fixed;
    int Block() const { return static_cast<int>(Components.size()); }
};

// The rigid motions of the system's nodes as its components show them: those of Motions
// (translations, and rotations about the centre of the nodes scaled by their size), those that
// vanish left out. Block() Nodes x modes.
Eigen::MatrixXd RigidModes(const System& system);

struct Settings {
    double Tolerance = 1e-8; // relative residual |f - K u| / |f| of each load case
    int MaxIterations = 5000;
    // How many processes share the solve when this one runs alone (not under mpirun) and its
    // Session may start helpers: 0 chooses from the cores this process may use and the size of
    // the system, 1 solves alone. Only the first solve of a run starts them; later ones use
    // the same processes.
    int Processes = 1;
};

// The processes the automatic choice takes for a system of `unknowns` with `cores` to run
// on: one per core, but only as many as keep each a share large enough to repay starting it.
int ProcessesFor(long long unknowns, int cores);

struct Outcome {
    Eigen::MatrixXd Solutions;     // Block() Nodes x cases, 0 at fixed components
    std::vector<int> Iterations;   // per case
    std::vector<double> Residuals; // per case: the true relative residual reached
    // Distributing the matrix and building the multigrid; the solutions of all cases.
    double SetupSeconds = 0, SolveSeconds = 0;
    int Processes = 1; // that shared the solve
};

// Starts MPI, PETSc and the helpers that `processes` asks for (see Settings), as the first
// Solve would, and returns whether they run. Starting helpers takes a few tenths of a second:
// a program may call this on a thread of its own while it assembles the equations, and must
// let it return before it solves.
bool Start(int processes);

// `loads` is Block() Nodes x cases; loads at fixed components are ignored (the supports take them).
// A case without loads gives zeros without iterating. Starts PETSc (and MPI) on the first call
// when no Session has; a Session must then still outlive the solves to finish them. Throws
// SolverError when the system is refused or a case does not converge (the first such case).
Outcome Solve(const System& system, const Eigen::MatrixXd& loads, const Settings& settings = {});

// The life of PETSc and MPI in a program that solves iteratively; one per process, made at the
// start of main. Under mpirun (more than one process) it starts MPI at once; the first process
// (rank 0) runs the program as usual and its Solve calls are carried out by all processes; the
// others call Serve, which helps with those solves until rank 0's Session ends. Run alone, it
// starts nothing: a model solved directly pays nothing for MPI, and the first Solve starts it,
// with helpers when its Settings ask for more than one process: copies of this program started
// with HelperArgument, which the Session of each recognises, making it a process that serves.
// The end finishes PETSc and MPI if they were started.
class Session {
public:
    // The first argument of a helper's command line.
    static constexpr const char* HelperArgument = "--iterative-helper";

    // `argv` is main's; without it this process never starts helpers nor serves as one.
    explicit Session(char* argv[] = nullptr);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    int Rank() const { return rank_; }
    int Size() const { return size_; }
    // For the processes other than the first: takes part in rank 0's solves until it ends;
    // returns the exit code. Returns 0 at once on rank 0 or in a build without the solver.
    int Serve();

private:
    int rank_ = 0, size_ = 1;
};

} // namespace IterativeSolver
