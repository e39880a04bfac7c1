#!/usr/bin/env python3
"""Quendo side by side with CalculiX on an earthquake: a space frame's 100 modes under a
design spectrum and under a 10 s ground-acceleration history, timed against Hosken's static
solve of the same frame, in one run.

The frame is the layout of the solver benchmarks' space frame (bench/BenchModels.cpp):
nx x ny columns 6 m apart in x and 5 m in y, `levels` levels of nodes 3.5 m apart, beams both
ways at every level above the ground, every foot fixed. Its members are concrete (E 3.0e7
kN/m2, nu 0.2, gamma 25 kN/m3) of solid rectangular sections, columns 30/30 and beams 25 wide
and 40 deep, because CalculiX's beams (B31) take a rectangle but no general section; our
sections carry the rectangle's A, Iy, Iz and its Saint-Venant torsion constant It. The masses
are the members' own weight: ours gamma * A / g along the bar, CalculiX's *DENSITY gamma / g
(t/m3 with kN and m).

Timed with hyperfine in rounds, each command once a round and the rounds one after the
other (so that a shared machine's changing load falls on all alike), each as a user runs it
from the shell, with OMP_NUM_THREADS=2:
  - "static": Hosken on frame.d07, the same frame with 10 kN/m down on every beam (the
    reference: one factorisation and one load case);
  - "spectrum": Quendo on spectrum.p07, 100 modes, the type 1 code spectrum on ground C (agR
    0.24 g) in x and y, CQC and SRSS;
  - "history": Quendo on history.p07, 100 modes, 10 s of ground acceleration in x (a sine of
    1.2 Hz, 0.25 g at first, dying away as e^(-t / 4 s); a table of points every 0.01 s),
    modal superposition in steps of 0.01 s, 5 % damping;
  - "ccx-frequency": CalculiX's *FREQUENCY, 100 modes. CalculiX 2.20 has no response
    spectrum, so this, the part of a spectrum analysis nothing can skip, stands against
    "spectrum";
  - "ccx-modal": *FREQUENCY (100 modes, stored) then *MODAL DYNAMIC over the same 10 s in the
    same steps, *MODAL DAMPING 0.05. The ground's acceleration enters as the loads it puts on
    the held frame, -m a(t): a *DLOAD GRAV of g along -x times the record as an *AMPLITUDE,
    so that CalculiX answers the motion relative to the ground, as Quendo does. (Its *BASE
    MOTION takes only displacements in a modal dynamic step, and on these beams left every
    free node at rest.)
The medians over the rounds are printed, of the wall time and of the processor time (user
and system); on a shared machine the processor time is the steadier measure.

CalculiX expands every B31 beam into a brick (C3D8I) and ties the bricks meeting at a node
by a rigid knot; that is its cost and counts in its time. A foot held in its rotations would
become a mean-rotation constraint, with which CalculiX 2.20's *MODAL DYNAMIC crashes, so
CalculiX's feet are clamped instead by two massless stubs each, 1 m along x and y and a
thousand times stiffer than concrete, their far ends held in ux uy uz. One brick per member
is far too stiff (its frequencies come out several times too high), so CalculiX's members are
cut into --divisions elements, which adds nodes to its model alone; Quendo divides its members
itself as the modes need. On a small frame CalculiX's lowest frequency is 3 % above Quendo's
with 4 elements a member, 0.5 % with 8, 0.3 % below with 16: the bricks deform in shear
(our bars are Euler-Bernoulli), which at depth / length about 0.08 lowers them by about half
a per cent. At 8 divisions CalculiX's model of the 20,000-node frame has about 1.7 million
nodes and 5 million unknowns, beyond a few hours of a two-core machine: --no-ccx times ours
alone there, and the comparison runs on a smaller frame.

Answers: the lowest frequencies (ours from "Quendo --json", CalculiX's from the .dat of
*FREQUENCY), and the history's peak of ux relative to the ground at the top corner node
(ours from "peaks" in the JSON's "forced", CalculiX's from *NODE PRINT of that node at every
step). Quendo and Hosken write their whole protocol and result file, CalculiX the printed
node, the eigenvalues and its mesh, which favours CalculiX.

Needs: the Debian packages calculix-ccx (the program ccx) and hyperfine; Hosken and Quendo of
a Release (or RelWithDebInfo) build. The script installs nothing.

    bench/calculix_dynamics.py --solvers build/tools/solvers [--frame 20 20 50]
        [--modes 100] [--divisions 8] [--runs 3] [--warmup 0] [--keep DIR]
        [--no-ccx-modal] [--no-ccx]

For example:

    bench/calculix_dynamics.py --solvers build/tools/solvers --frame 3 3 4 --modes 10
    bench/calculix_dynamics.py --solvers build/tools/solvers --frame 6 6 10 --runs 2
    bench/calculix_dynamics.py --solvers build/tools/solvers --no-ccx --runs 1

What such runs print, as an example of reading it (one RelWithDebInfo build on two cores
shared with other work, processor times; one day's figures, not a claim):
  - 6 x 6 x 10, 360 nodes, 2 rounds: static 0.10 s, spectrum 18.5 s, history 20.8 s,
    ccx-frequency 136 s, ccx-modal 251 s: CalculiX / Quendo 7.4 and 12.1; the six lowest
    frequencies 0.4 to 1.1 % apart, the top's peak 0.01 %;
  - 10 x 10 x 10, 1,000 nodes, --divisions 4: spectrum 23 s, history 29 s, ccx-frequency
    188 s, ccx-modal 361 s: 8.1 and 12.3; CalculiX's frequencies 3.3 to 3.9 % high (too few
    divisions), the peak 0.2 % apart;
  - 10 x 10 x 50, 5,000 nodes, --no-ccx: static 0.76 s, spectrum 133 s, history 153 s;
  - 20 x 20 x 50, 20,000 nodes, --no-ccx: static 6.7 s, spectrum 604 s (the members cut
    into 171,417 inner points, 1.15 million unknowns), and the history killed (exit status
    137) when it had filled the machine's 23 GB. CalculiX at only 2 divisions has 1.86
    million equations; within 14 GB of address space it could not allocate the 7.4 GB of
    its Lanczos vectors.
"""

import argparse
import json
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

E = 3.0e7  # kN/m2
NU = 0.2
GAMMA = 25.0  # kN/m3
ALPHA = 1.0e-5
G = 9.80665  # m/s2
COLUMN = (0.30, 0.30)  # width along local y, depth along local z (m)
BEAM = (0.25, 0.40)
BAY_X, BAY_Y, STOREY = 6.0, 5.0, 3.5  # m
STUB = 1.0  # m, the lever arms that clamp CalculiX's feet
BEAM_LOAD = -10.0  # kN/m on every beam in the static case
DAMPING = 0.05
DURATION, STEP = 10.0, 0.01  # s


def quake(t):
    """The ground's acceleration in multiples of g (as BenchModels::QuakeAcceleration)."""
    return 0.25 * math.exp(-t / 4) * math.sin(2 * math.pi * 1.2 * t)


def torsion_constant(width, depth):
    """Saint-Venant's J of a solid rectangle by the series of its stress function."""
    a, b = max(width, depth), min(width, depth)
    total = sum(math.tanh((2 * k + 1) * math.pi * a / (2 * b)) / (2 * k + 1) ** 5
                for k in range(50))
    return a * b ** 3 / 3 * (1 - 192 * b / (math.pi ** 5 * a) * total)


def section(width, depth):
    """A, It, Iy (about local y: bending in the plane of local z) and Iz."""
    return (width * depth, torsion_constant(width, depth), width * depth ** 3 / 12,
            depth * width ** 3 / 12)


class Frame:
    """The nodes level by level, row by row in y, x fastest, from 1; the members as
    (i, j, kind) with kind "column", "x" or "y"."""

    def __init__(self, nx, ny, levels):
        self.nx, self.ny, self.levels = nx, ny, levels

    def node(self, level, x, y):
        return (level * self.ny + y) * self.nx + x + 1

    @property
    def nodes(self):
        return self.nx * self.ny * self.levels

    def points(self):
        for level in range(self.levels):
            for y in range(self.ny):
                for x in range(self.nx):
                    yield self.node(level, x, y), BAY_X * x, BAY_Y * y, STOREY * level

    def members(self):
        for level in range(1, self.levels):
            for y in range(self.ny):
                for x in range(self.nx):
                    yield self.node(level - 1, x, y), self.node(level, x, y), "column"
                    if x + 1 < self.nx:
                        yield self.node(level, x, y), self.node(level, x + 1, y), "x"
                    if y + 1 < self.ny:
                        yield self.node(level, x, y), self.node(level, x, y + 1), "y"

    def feet(self):
        return [self.node(0, x, y) for y in range(self.ny) for x in range(self.nx)]

    def top(self):
        return self.node(self.levels - 1, self.nx - 1, self.ny - 1)

    def coordinates(self, n):
        k = n - 1
        x, k = k % self.nx, k // self.nx
        y, level = k % self.ny, k // self.ny
        return BAY_X * x, BAY_Y * y, STOREY * level


def number(value):
    # CalculiX reads at most 20 characters of a number.
    return f"{float(value):.12g}"


def history_points():
    steps = round(DURATION / STEP)
    return [(i * STEP, quake(i * STEP)) for i in range(steps + 1)]


def write_ours(frame, path, kind, modes):
    """kind "static" (.d07), "spectrum" or "history" (.p07)."""
    members = list(frame.members())
    dynamics = kind != "static"
    lines = [f"Concrete space frame {frame.nx} x {frame.ny} x {frame.levels}",
             "*1 General data",
             "# 1 Title = Space frame",
             "# 2 Force = kN",
             "# 3 Length = m",
             "# 4 Cases = 1",
             f"# 5 Nodes = {frame.nodes}",
             f"# 6 Elements = {len(members)}",
             "# 7 Materials = 1",
             "# 8 Sections = 2",
             f"# 9 Natural modes = {modes if dynamics else 0}"]
    lines += ["*2 Materials", f"# 1 {number(E)} {NU} {GAMMA} {ALPHA}", "*3 Sections"]
    for k, dims in enumerate((COLUMN, BEAM), start=1):
        lines.append(f"# {k} " + " ".join(number(v) for v in section(*dims)))
    lines.append("*4 Nodes")
    lines += [f"# {n} {number(x)} {number(y)} {number(z)}" for n, x, y, z in frame.points()]
    lines.append("*5 Elements")
    beams = []
    for e, (i, j, what) in enumerate(members, start=1):
        lines.append(f"# {e} {i} {j} 1 {1 if what == 'column' else 2} 0")
        if what != "column":
            beams.append(e)
    lines.append("*6 Supports")
    lines += [f"# {k} {n} 1 1 1 1 1 1" for k, n in enumerate(frame.feet(), start=1)]
    lines += ["*7 Nodal loads", "*8 Element loads"]
    if not dynamics:
        lines += [f"# {k} 1 {e} 0 0 {number(BEAM_LOAD)}" for k, e in enumerate(beams, start=1)]
    lines.append("*9 Masses")
    if dynamics:
        lines += ["*20 Damping", f"# 1 0 {DAMPING}"]
        if kind == "spectrum":
            lines += ["*25 Ground motions", "# 1 1 X 1 1.0", "# 2 1 Y 1 1.0",
                      "*28 Spectrum excitations", "# 1 1 CQC SRSS",
                      "*30 Code spectra", "# 1 1 1 C 0.24 1.0"]
        else:
            lines.append("*22 Time functions")
            lines += [f"# {k} 1 {number(t)} {number(a)}"
                      for k, (t, a) in enumerate(history_points(), start=1)]
            lines += ["*25 Ground motions", "# 1 1 X 1 1.0",
                      "*27 History excitations", f"# 1 1 0 {number(DURATION)} {number(STEP)} MODAL"]
    lines.append("&")
    with open(path, "w", newline="") as file:
        file.write("\r\n".join(lines) + "\r\n")


def write_inp(frame, path, divisions, modes, analysis, element="B31"):
    """analysis "frequency" or "modal" (*FREQUENCY then *MODAL DYNAMIC). Each member becomes
    `divisions` elements of the type (B31, or B32 and B32R with a middle node each); inner
    nodes are numbered after the frame's."""
    per = divisions * (2 if element.startswith("B32") else 1)
    lines = ["*HEADING", f"Concrete space frame {frame.nx} x {frame.ny} x {frame.levels}",
             "*NODE"]
    lines += [f"{n}, {number(x)}, {number(y)}, {number(z)}" for n, x, y, z in frame.points()]
    inner = frame.nodes
    elements = {"column": [], "x": [], "y": []}
    extra = []
    for i, j, what in frame.members():
        a, b = frame.coordinates(i), frame.coordinates(j)
        chain = [i]
        for k in range(1, per):
            inner += 1
            f = k / per
            extra.append(f"{inner}, " + ", ".join(number(p + f * (q - p)) for p, q in zip(a, b)))
            chain.append(inner)
        chain.append(j)
        step = per // divisions
        elements[what] += [tuple(chain[k:k + step + 1]) for k in range(0, per, step)]
    # A foot held in a rotation turns into a mean-rotation constraint in CalculiX, with which
    # its *MODAL DYNAMIC crashes (2.20); so each foot is clamped instead by two stubs, 1 m
    # along x and y, a thousand times stiffer than concrete and without mass, whose far ends
    # are held in ux uy uz: rigid lever arms that hold the foot's three rotations.
    anchors, stubs = [], []
    for n in frame.feet():
        x, y, z = frame.coordinates(n)
        for dx, dy in ((STUB, 0.0), (0.0, STUB)):
            inner += 1
            extra.append(f"{inner}, {number(x + dx)}, {number(y + dy)}, {number(z)}")
            anchors.append(inner)
            stubs.append((n, inner))
    lines += extra
    e = 0
    for what, pairs in elements.items():
        lines.append(f"*ELEMENT, TYPE={element}, ELSET={what.upper()}S")
        for corners in pairs:
            e += 1
            lines.append(f"{e}, " + ", ".join(str(n) for n in corners))
    lines.append("*ELEMENT, TYPE=B31, ELSET=STUBS")
    for i, j in stubs:
        e += 1
        lines.append(f"{e}, {i}, {j}")
    lines.append("*NSET, NSET=FEET")
    lines += [str(n) for n in frame.feet() + anchors]
    lines += ["*NSET, NSET=WATCH", str(frame.top())]
    lines += ["*MATERIAL, NAME=CONCRETE", "*ELASTIC", f"{number(E)}, {NU}",
              "*DENSITY", number(GAMMA / G),
              "*MATERIAL, NAME=STUB", "*ELASTIC", f"{number(1000 * E)}, {NU}",
              "*DENSITY", "0."]
    # Section 1 axis: ours local y. A beam along x: local y = z x x = +y, so the depth (the
    # 2-direction, t x n1) is vertical; along y: n1 = -x gives t x n1 = +z. A column takes
    # the global y as its local y (square anyway).
    for what, dims, axis, material in (
            ("column", COLUMN, "0., 1., 0.", "CONCRETE"), ("x", BEAM, "0., 1., 0.", "CONCRETE"),
            ("y", BEAM, "-1., 0., 0.", "CONCRETE"), ("stub", COLUMN, "0., 0., 1.", "STUB")):
        lines += [f"*BEAM SECTION, ELSET={what.upper()}S, MATERIAL={material}, SECTION=RECT",
                  f"{number(dims[0])}, {number(dims[1])}", axis]
    lines += ["*BOUNDARY", "FEET, 1, 3"]
    if analysis == "modal":
        lines.append("*AMPLITUDE, NAME=QUAKE")
        points = history_points()
        for k in range(0, len(points), 4):
            lines.append(", ".join(f"{number(t)}, {number(a)}" for t, a in points[k:k + 4]))
    if analysis in ("frequency", "modal"):
        storage = ", STORAGE=YES" if analysis == "modal" else ""
        lines += ["*STEP", f"*FREQUENCY{storage}", str(modes), "*END STEP"]
    if analysis == "modal":
        steps = round(DURATION / STEP)
        lines += [f"*STEP, INC={steps + 1}", "*MODAL DYNAMIC",
                  f"{number(STEP)}, {number(DURATION)}",
                  "*MODAL DAMPING", f"1, {modes}, {DAMPING}",
                  "*DLOAD, AMPLITUDE=QUAKE"]
        lines += [f"{what}, GRAV, {number(G)}, -1., 0., 0." for what in ("COLUMNS", "XS", "YS")]
        lines += ["*NODE PRINT, NSET=WATCH", "U", "*END STEP"]
    with open(path, "w") as file:
        file.write("\n".join(lines) + "\n")


def run_json(program, data):
    run = subprocess.run([program, "--json", data], capture_output=True)
    if run.returncode != 0:
        print(f"{os.path.basename(program)} refused {os.path.basename(data)}: "
              f"{run.stderr.decode(errors='replace').strip()}")
        return None
    return json.loads(run.stdout)


def our_frequencies(answer):
    return [m["frequency"] for m in answer["modes"]] if answer else []


def our_peak(answer, node):
    """The history's largest |ux| of the node relative to the ground, and when."""
    if not answer:
        return None
    for forced in answer.get("forced", []):
        if forced.get("kind") == "history":
            for row in forced["peaks"]:
                if int(row[0]) == node:
                    high, at_high, low, at_low = row[1:5]
                    return (high, at_high) if abs(high) >= abs(low) else (low, at_low)
    return None


def calculix_frequencies(dat):
    """The frequencies (cycles per second) of the eigenvalue table of the .dat file."""
    found = []
    try:
        with open(dat) as file:
            table = False
            for line in file:
                if "E I G E N V A L U E   O U T P U T" in line:
                    table = True
                    continue
                if table and "P A R T I C I P A T I O N" in line:
                    break
                fields = line.split()
                if table and len(fields) == 5 and fields[0].isdigit():
                    found.append(float(fields[3]))
    except FileNotFoundError:
        pass
    return found


def calculix_peak(dat, top):
    """The largest |ux| of the node over the printed steps, and when."""
    best = None
    try:
        with open(dat) as file:
            time = None
            for line in file:
                if line.strip().startswith("displacements"):
                    time = float(line.split()[-1])
                    continue
                fields = line.split()
                if time is not None and len(fields) == 4 and fields[0] == str(top):
                    u = float(fields[1])
                    if best is None or abs(u) > abs(best[0]):
                        best = (u, time)
    except FileNotFoundError:
        pass
    return best


def timed(options, folder, commands):
    """Each command once per round under hyperfine, the rounds one after the other, so that
    the commands share the machine's changing load alike; per command the wall times of the
    rounds and their processor times (its own and the kernel's for it)."""
    found = {name: {"wall": [], "cpu": [], "failed": []} for name, _ in commands}
    for round in range(options.runs):
        timings = os.path.join(folder, f"timings{round + 1}.json")
        arguments = ["hyperfine", "--style", "basic", "--ignore-failure", "--runs", "1",
                     "--export-json", timings]
        if round == 0 and options.warmup:
            arguments += ["--warmup", str(options.warmup)]
        for name, command in commands:
            arguments += ["-n", name, command]
        subprocess.run(arguments, check=True, env=dict(os.environ, OMP_NUM_THREADS="2"))
        with open(timings) as file:
            for result in json.load(file)["results"]:
                times = found[result["command"]]
                times["wall"] += result["times"]
                times["cpu"].append(result["user"] + result["system"])
                times["failed"] += [code for code in result.get("exit_codes", []) if code]
    return found


def ratio(results, slow, fast):
    if any(name not in results or results[name]["failed"] for name in (slow, fast)):
        return "-"
    a, b = results[slow], results[fast]
    return (f"{statistics.median(a['wall']) / statistics.median(b['wall']):.2f} in wall time, "
            f"{statistics.median(a['cpu']) / statistics.median(b['cpu']):.2f} in processor time")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--solvers", required=True,
                        help="the folder of Hosken and Quendo (build/tools/solvers)")
    parser.add_argument("--frame", type=int, nargs=3, default=[20, 20, 50],
                        metavar=("NX", "NY", "LEVELS"))
    parser.add_argument("--modes", type=int, default=100)
    parser.add_argument("--divisions", type=int, default=8,
                        help="B31 elements per member for CalculiX")
    parser.add_argument("--runs", type=int, default=3, help="rounds")
    parser.add_argument("--warmup", type=int, default=0,
                        help="runs of each command before the first round")
    parser.add_argument("--no-ccx-modal", action="store_true",
                        help="leave out CalculiX's *MODAL DYNAMIC (its longest run)")
    parser.add_argument("--no-ccx", action="store_true",
                        help="time ours alone (CalculiX's beams cost it hours on 20,000 nodes)")
    parser.add_argument("--keep", help="a directory to keep the files in")
    options = parser.parse_args()

    solvers = os.path.abspath(options.solvers)
    hosken, quendo = (os.path.join(solvers, name) for name in ("Hosken", "Quendo"))
    for program in ("hyperfine",) + (() if options.no_ccx else ("ccx",)):
        if not shutil.which(program):
            sys.exit(f"{program} is not installed (Debian: apt-get install "
                     f"{'calculix-ccx' if program == 'ccx' else program})")
    for program in (hosken, quendo):
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} is not a program")

    frame = Frame(*options.frame)
    base = options.keep or tempfile.mkdtemp(prefix="calculix-dynamics-")
    folder = os.path.join(base, f"frame{frame.nodes}")
    os.makedirs(folder, exist_ok=True)
    write_ours(frame, os.path.join(folder, "frame.d07"), "static", options.modes)
    write_ours(frame, os.path.join(folder, "spectrum.p07"), "spectrum", options.modes)
    write_ours(frame, os.path.join(folder, "history.p07"), "history", options.modes)
    analyses = [] if options.no_ccx else \
        ["frequency"] + ([] if options.no_ccx_modal else ["modal"])
    for analysis in analyses:
        write_inp(frame, os.path.join(folder, f"{analysis}.inp"), options.divisions,
                  options.modes, analysis)
    members = sum(1 for _ in frame.members())
    peer = f"; CalculiX: {options.divisions} B31 per member" if analyses else ""
    print(f"\n{frame.nodes} nodes ({frame.nx} x {frame.ny} x {frame.levels}), {members} "
          f"members, {options.modes} modes{peer}", flush=True)

    commands = [("static", f"cd {folder} && {hosken} frame.d07 S"),
                ("spectrum", f"cd {folder} && {quendo} spectrum.p07 S"),
                ("history", f"cd {folder} && {quendo} history.p07 S")]
    commands += [(f"ccx-{analysis}", f"cd {folder} && ccx -i {analysis}")
                 for analysis in analyses]
    results = timed(options, folder, commands)
    print(f"\nmedians of {options.runs} interleaved rounds:")
    for name, _ in commands:
        r = results[name]
        # 137: killed, as the kernel kills the largest program when memory runs out.
        codes = ", ".join(map(str, r["failed"]))
        note = f"   (failed, exit status {codes})" if codes else ""
        print(f"{name:14s} wall {statistics.median(r['wall']):9.3f} s   processor "
              f"{statistics.median(r['cpu']):9.3f} s{note}")
    print(f"spectrum / static:        {ratio(results, 'spectrum', 'static')}")
    print(f"history / static:         {ratio(results, 'history', 'static')}")
    print(f"ccx-frequency / spectrum: {ratio(results, 'ccx-frequency', 'spectrum')} (goal: 5)")
    if "ccx-modal" in results:
        print(f"ccx-modal / history:      {ratio(results, 'ccx-modal', 'history')} (goal: 5)")

    failed = False
    if not analyses:
        if not options.keep:
            shutil.rmtree(base)
        return 1 if any(r["failed"] for r in results.values()) else 0
    ours = our_frequencies(run_json(quendo, os.path.join(folder, "spectrum.p07")))
    theirs = calculix_frequencies(os.path.join(folder, "frequency.dat"))
    shown = min(6, len(ours), len(theirs))
    if shown == 0:
        print("no frequencies to compare")
        failed = True
    for k in range(shown):
        print(f"mode {k + 1}: Quendo {ours[k]:.5f} Hz, CalculiX {theirs[k]:.5f} Hz "
              f"({theirs[k] / ours[k] - 1:+.2%})")
    peak = our_peak(run_json(quendo, os.path.join(folder, "history.p07")), frame.top())
    for analysis in analyses[1:]:
        other = calculix_peak(os.path.join(folder, f"{analysis}.dat"), frame.top())
        if peak is None or other is None:
            print(f"top node {frame.top()}: no peak found (Quendo {peak}, ccx-{analysis} {other})")
            failed = True
            continue
        print(f"top node {frame.top()}, ux relative to the ground: Quendo {peak[0]:+.5e} m at "
              f"{peak[1]:.2f} s, ccx-{analysis} {other[0]:+.5e} m at {other[1]:.2f} s "
              f"({abs(other[0]) / abs(peak[0]) - 1:+.2%})")
    if not options.keep:
        shutil.rmtree(base)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
