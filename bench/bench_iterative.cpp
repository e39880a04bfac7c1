// The iterative solver (conjugate gradients with smoothed-aggregation multigrid) on a cube of
// n x n x n eight-node bricks clamped on one face and loaded across the opposite one:
//   Iterative/31: 32,768 nodes, 98,304 unknowns;
//   Iterative/68: 328,509 nodes, 985,527 unknowns;
//   Direct/31: the same 98,304 unknowns factorised by CHOLMOD, for comparison.
// The block is made before the timing. Counters: unknowns, setup_s (the matrix handed to PETSc
// and the multigrid built), solve_s, iterations and the true relative residual (tolerance
// 1e-8). Under mpirun ("mpirun -n 2 bench_iterative") the solves run over all processes; the
// first one reports. bench/mpi_solve.sh times that.
//
// Measured on the shared 2-core build machine (2.6 GHz, load average 5 to 7 from other builds,
// so wall times are 2 to 3 times the CPU times), RelWithDebInfo, one process:
//   Iterative/31: 19 iterations to 3.1e-9; setup 4.6-5.5 s (three quarters of it the Galerkin
//     products of the coarse levels), solve 1.2-1.5 s; 2.7 s of CPU in all.
//   Iterative/68: 18 iterations to 5.5e-9; setup 72 s, solve 9.5 s (40 s of CPU); peak 2.4 GiB.
//   Direct/31: 50 s (19 s of CPU).
// Over two processes (bench/mpi_solve.sh, cube 31) the same load made the run slower, not
// faster: 12.3 s against 6.1 s, 19 iterations either way; two processes need two free cores.
#include "ElasticBlock.h"
#include "IterativeSolver.h"
#include "SessionMain.h"
#include "SolverError.h"

#include <benchmark/benchmark.h>

namespace {

struct Cube {
    ElasticBlock Block;
    std::vector<char> Fixed;
    Eigen::MatrixXd Loads;

    explicit Cube(int n) : Block(n, n, n), Fixed(Block.ClampedAtStart()) {
        Loads = Eigen::MatrixXd::Zero(3 * Block.Nodes(), 1);
        for (int node = 0; node < Block.Nodes(); ++node)
            if (Block.Coordinates()[static_cast<size_t>(node)][0] == n)
                Loads(3 * node + 2, 0) = -1;
    }
};

void Iterative(benchmark::State& state) {
    const Cube cube(static_cast<int>(state.range(0)));
    IterativeSolver::System system;
    system.Nodes = cube.Block.Nodes();
    system.Coordinates = cube.Block.Coordinates();
    system.Upper = &cube.Block.Upper();
    system.Fixed = cube.Fixed;
    IterativeSolver::Outcome outcome;
    for (auto _ : state) {
        try {
            outcome = IterativeSolver::Solve(system, cube.Loads, {1e-8, 5000});
        } catch (const SolverError& error) {
            state.SkipWithError(qPrintable(error.Text()));
            return;
        }
        benchmark::DoNotOptimize(outcome.Solutions.data());
    }
    state.counters["unknowns"] = static_cast<double>(cube.Loads.rows());
    state.counters["setup_s"] = outcome.SetupSeconds;
    state.counters["solve_s"] = outcome.SolveSeconds;
    state.counters["iterations"] = outcome.Iterations[0];
    state.counters["residual"] = outcome.Residuals[0];
}

void Direct(benchmark::State& state) {
    const Cube cube(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const Eigen::MatrixXd u = DirectSolution(cube.Block.Upper(), cube.Fixed, cube.Loads);
        benchmark::DoNotOptimize(u.data());
    }
    state.counters["unknowns"] = static_cast<double>(cube.Loads.rows());
}

} // namespace

BENCHMARK(Iterative)->Arg(31)->Arg(68)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(Direct)->Arg(31)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv) {
    return RunWithSolverSession(argc, argv);
}
