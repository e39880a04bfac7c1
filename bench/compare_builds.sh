#!/bin/sh
# Times the solver programs of two builds side by side on the largest model of each solver
# benchmark, with hyperfine, from reading the data file to writing the results:
#
#   bench/compare_builds.sh OLD_BUILD NEW_BUILD [FAMILY ...]
#
# OLD_BUILD and NEW_BUILD are build folders (the programs in tools/solvers); the models come
# from NEW_BUILD's bench/bench_models. Without FAMILY every family runs, the two largest
# (wall, solid) last; the families are the first words of the table below. RUNS (default 5)
# and WARMUP (default 1) set hyperfine's runs; SCRATCH (default a new temporary folder) keeps
# the models, each build's results and protocol, and one markdown table per family, which are
# gathered in SCRATCH/summary.md. Each family takes about 12 times its program's run; the
# wall and the solid take minutes a run, so give them RUNS=3 WARMUP=0 on their own.
set -eu

if [ $# -lt 2 ]; then
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
shift 2
runs=${RUNS:-5}
warmup=${WARMUP:-1}
scratch=${SCRATCH:-$(mktemp -d /tmp/compare_builds.XXXXXX)}

# family program data-file
families='frame Pelgon frame.d05
frame-modes Lirtag frame.d08
space-frame Hosken tower.d07
space-modes Quendo tower.p07
space-spectrum Quendo quake.p07
space-history Quendo record.p07
torsion Brasko box.d16
revolution Kelmis tank.d02
shaft Gimbro shaft.d12
plate Nuvast plate.d13
plate-modes Yerdol plate.p13
shell Clobin roof.d14
wall Omberi panel.d09
solid Fentar beam.d17'

command -v hyperfine >/dev/null || { echo "hyperfine is not installed" >&2; exit 1; }
for build in "$old" "$new"; do
    [ -x "$build/tools/solvers/Pelgon" ] || { echo "no solver programs in $build" >&2; exit 1; }
done
[ -x "$new/bench/bench_models" ] || { echo "no bench/bench_models in $new (ninja bench_models)" >&2; exit 1; }
mkdir -p "$scratch/models" "$scratch/old" "$scratch/new"
"$new/bench/bench_models" "$scratch/models"
# Each build solves its own copy (hard links where possible): results are written beside the
# data file and the protocol into the working folder.
for side in old new; do
    cp -fl "$scratch/models/"* "$scratch/$side/" 2>/dev/null || cp -f "$scratch/models/"* "$scratch/$side/"
done

wanted() {
    [ $# -eq 0 ] && return 0
    name=$1
    shift
    for family in "$@"; do
        [ "$family" = "$name" ] && return 0
    done
    return 1
}

: >"$scratch/summary.md"
echo "$families" | while read -r family program file; do
    wanted "$family" "$@" || continue
    echo "== $family: $program $file"
    # hyperfine's own shell; a program's refusal (exit status 1) fails its timing.
    hyperfine --warmup "$warmup" --runs "$runs" --export-markdown "$scratch/$family.md" \
        -n "old $program" "cd '$scratch/old' && '$old/tools/solvers/$program' $file S >/dev/null" \
        -n "new $program" "cd '$scratch/new' && '$new/tools/solvers/$program' $file S >/dev/null"
    cat "$scratch/$family.md" >>"$scratch/summary.md"
done
echo "Results in $scratch (summary.md)"
