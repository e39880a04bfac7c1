#!/usr/bin/env bash
# Times an iterative solution run by mpirun with 1 and with 2 processes.
#   bench/mpi_solve.sh [BUILD_DIR [SIDE]]
#     the benchmark's cube of SIDE^3 bricks (31: 98,304 unknowns, the default; 68: 985,527),
#     built in BUILD_DIR (default build-petsc-rel); prints the solver's own counters (setup_s,
#     solve_s, iterations) and the whole run's time;
#   bench/mpi_solve.sh -- PROGRAM ARGUMENTS...
#     any program that solves under mpirun, e.g. the solid solver on a large model
#     ("bench/mpi_solve.sh -- build/package/Fentar model.dat S"), timed whole by hyperfine
#     (three runs) where it is installed, else once.
# Root in a container and fewer cores than processes are both allowed.
set -euo pipefail
cd "$(dirname "$0")/.."

export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
export OMPI_MCA_rmaps_base_oversubscribe=1

if [[ ${1:-} == -- ]]; then
    shift
    command=$(printf '%q ' "$@")
    if command -v hyperfine >/dev/null; then
        hyperfine --runs 3 "mpirun -n 1 $command" "mpirun -n 2 $command"
    else
        for processes in 1 2; do
            echo "== $processes process(es) =="
            time mpirun -n "$processes" "$@"
        done
    fi
    exit 0
fi

build=${1:-build-petsc-rel}
side=${2:-31}
program=$build/bench/bench_iterative
if [[ ! -x $program ]]; then
    echo "$program is not built (ninja -C $build bench_iterative)" >&2
    exit 1
fi
for processes in 1 2; do
    echo "== $processes process(es), cube of $side^3 bricks =="
    TIMEFORMAT="whole run (making the cube included): %R s"
    time mpirun -n "$processes" "$program" --benchmark_filter="^Iterative/$side/" \
        --benchmark_counters_tabular=true --benchmark_color=false
done
