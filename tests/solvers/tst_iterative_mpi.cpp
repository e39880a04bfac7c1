#include "ElasticBlock.h"
#include "IterativeSolver.h"
#include "MeshPanels.h"
#include "MeshStatics.h"
#include "Parallel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Run as "mpirun -n N tst_iterative_mpi N": the first process solves a cantilever block over
// all N processes, twice, with a refused system in between that must not involve the others,
// then a plate through the statics, and holds each answer against the direct solution; the
// others only serve. Run alone as
// "tst_iterative_mpi helpers", the program starts a helper of its own at the first solve, as a
// solver run alone on a machine of two cores does, and the same holds. Exit code 0 when every
// answer agrees and the solves ran on as many processes as expected.
namespace {

bool Agrees(const IterativeSolver::Outcome& outcome, const Eigen::MatrixXd& direct,
            const char* what) {
    bool good = true;
    for (Eigen::Index c = 0; c < direct.cols(); ++c) {
        const double difference =
            (outcome.Solutions.col(c) - direct.col(c)).norm() / direct.col(c).norm();
        std::printf("%s, case %d: %d iterations, residual %.3g, off the direct answer by %.3g\n",
                    what, static_cast<int>(c + 1), outcome.Iterations[static_cast<size_t>(c)],
                    outcome.Residuals[static_cast<size_t>(c)], difference);
        good = good && difference < 1e-7;
    }
    return good;
}

// A plate, whose nodes carry uz rx ry, solved through the statics over the run's processes.
bool PlateAgrees(int processes) {
    const MeshModel model = MeshPanels::Grid(ProblemType::Mesh::Plate, 8);
    LinearSolver::Options direct, iterative;
    direct.Use = LinearSolver::Method::Direct;
    iterative.Use = LinearSolver::Method::Iterative;
    iterative.Tolerance = 1e-9;
    iterative.Processes = processes;
    const MeshStatics::Outcome a = MeshStatics::Run(model, direct);
    const MeshStatics::Outcome b = MeshStatics::Run(model, iterative);
    const std::vector<double>& u = a.Results.Cases.front().Displacements;
    const std::vector<double>& v = b.Results.Cases.front().Displacements;
    double largest = 0, off = 0;
    for (size_t i = 0; i < u.size(); ++i) {
        largest = std::max(largest, std::abs(u[i]));
        off = std::max(off, std::abs(u[i] - v[i]));
    }
    std::printf("plate: %d iterations on %d processes, off the direct answer by %.3g\n",
                b.Solver.Iterations.front(), b.Solver.Processes, off / largest);
    return b.Solver.Processes == processes && largest > 0 && off <= 1e-6 * largest;
}

int Run(int argc, char* argv[]) {
    IterativeSolver::Session session(argv);
    if (session.Rank() != 0)
        return session.Serve();
    const bool helpers = argc > 1 && std::strcmp(argv[1], "helpers") == 0;
    // A machine of one core starts no helper.
    const int expected = helpers    ? std::min(2, Parallel::Cores())
                         : argc > 1 ? std::atoi(argv[1])
                                    : 1;
    if (!helpers && session.Size() != expected) {
        std::fprintf(stderr, "%d processes, %d expected\n", session.Size(), expected);
        return 1;
    }
    const IterativeSolver::Settings settings{1e-10, 500, helpers ? 2 : 1};

    const ElasticBlock block(10, 3, 4);
    const std::vector<char> fixed = block.ClampedAtStart();
    Eigen::MatrixXd loads = Eigen::MatrixXd::Zero(3 * block.Nodes(), 2);
    for (int n = 0; n < block.Nodes(); ++n)
        if (block.Coordinates()[static_cast<size_t>(n)][0] == block.Nx()) {
            loads(3 * n + 2, 0) = -1;
            loads(3 * n + 1, 1) = 0.5;
        }
    IterativeSolver::System system;
    system.Nodes = block.Nodes();
    system.Coordinates = block.Coordinates();
    system.Upper = &block.Upper();
    system.Fixed = fixed;
    const Eigen::MatrixXd direct = DirectSolution(block.Upper(), fixed, loads);

    const IterativeSolver::Outcome first = IterativeSolver::Solve(system, loads, settings);
    bool good = Agrees(first, direct, "first");
    if (first.Processes != expected) {
        std::fprintf(stderr, "solved by %d processes, %d expected\n", first.Processes, expected);
        good = false;
    }
    IterativeSolver::System broken = system;
    broken.Nodes = 1;
    try {
        IterativeSolver::Solve(broken, loads, {});
        std::fprintf(stderr, "a malformed system was solved\n");
        good = false;
    } catch (const SolverError&) {
    }
    good = Agrees(IterativeSolver::Solve(system, loads.rightCols(1), settings), direct.rightCols(1),
                  "second") &&
           good;
    good = PlateAgrees(expected) && good;
    return good ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    try {
        return Run(argc, argv);
    } catch (const SolverError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Text()));
        return 1;
    }
}
