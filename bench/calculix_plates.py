#!/usr/bin/env python3
"""Nuvast side by side with CalculiX on a simply supported square plate, in one run.

Both programs solve the same mesh of square quadrilaterals: a concrete slab 5 m square and
0.2 m thick, held in uz along its four edges (rotations free) and loaded by an even pressure
of 10 kN/m2. The closed form is Navier's double series for the centre deflection,

    w = 16 q a^4 / (pi^6 D) * sum over odd m, n of (-1)^((m + n) / 2 - 1) / (m n (m^2 + n^2)^2),

with D = E t^3 / (12 (1 - nu^2)), about 0.00406 q a^4 / D.

CalculiX meshes the plate with S4 shell elements. It expands every shell element into a
brick through the thickness; S4 becomes C3D8I, a brick with incompatible modes that bends
correctly with one layer, whereas S4R becomes C3D8R, one integration point and hourglass
control, which with one brick through the thickness carries bending only through its
hourglass stiffness and is not meant for thin plates in bending. S4 is therefore the
element that answers this problem well. A shell node held in uz has its expanded nodes tied
to it, so the plate is simply supported in the soft sense Navier's series assumes; its in-plane
motion, which the load does not excite, is held at two corners.

Each mesh is written as a .d13 file for Nuvast and an input deck for CalculiX, both timed by
hyperfine as a user runs them from the shell: "Nuvast plate.d13 S" and "ccx -i plate" with
OMP_NUM_THREADS=2. Nuvast's centre deflection is read from the JSON of
"Nuvast --json plate.d13", run once more after the timing; CalculiX's from its .dat file
(*NODE PRINT of the centre node). Nuvast writes its whole protocol and result file, CalculiX
only the one printed node (no .frd output is asked for), which favours CalculiX.

Needs: the Debian packages calculix-ccx (the program ccx) and hyperfine; Nuvast from a
Release (or RelWithDebInfo) build. The script installs nothing.

    bench/calculix_plates.py --nuvast build-release/tools/solvers/Nuvast
        [--nodes 40000 250000] [--runs 3] [--warmup 1] [--keep DIR] [--memory GIB]
"""

import argparse
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile

E = 3.0e7  # kN/m2
NU = 0.2
GAMMA = 25.0  # kN/m3
THICKNESS = 0.2  # m
SIDE = 5.0  # m
PRESSURE = 10.0  # kN/m2, downwards


def rigidity():
    return E * THICKNESS ** 3 / (12 * (1 - NU * NU))


def navier_centre():
    """The centre deflection, downwards positive."""
    total = 0.0
    for m in range(1, 400, 2):
        for n in range(1, 400, 2):
            sign = 1.0 if ((m + n) // 2 - 1) % 2 == 0 else -1.0
            total += sign / (m * n * (m * m + n * n) ** 2)
    return 16 * PRESSURE * SIDE ** 4 / (math.pi ** 6 * rigidity()) * total


class Plate:
    """`cells` x `cells` square quadrilaterals (an even number, so that a node lies at the
    centre), the nodes row by row from 1."""

    def __init__(self, nodes):
        self.cells = max(2, 2 * round((math.sqrt(nodes) - 1) / 2))
        self.side = self.cells + 1
        self.h = SIDE / self.cells

    @property
    def nodes(self):
        return self.side * self.side

    def node(self, row, column):
        return row * self.side + column + 1

    def points(self):
        for row in range(self.side):
            for column in range(self.side):
                yield self.node(row, column), column * self.h, row * self.h

    def quads(self):
        for row in range(self.cells):
            for column in range(self.cells):
                yield (self.node(row, column), self.node(row, column + 1),
                       self.node(row + 1, column + 1), self.node(row + 1, column))

    def edge(self):
        last = self.cells
        return [self.node(row, column) for row in range(self.side)
                for column in range(self.side)
                if row in (0, last) or column in (0, last)]

    def centre(self):
        return self.node(self.cells // 2, self.cells // 2)


def number(value):
    # CalculiX reads at most 20 characters of a number.
    return f"{float(value):.12g}"


def write_d13(plate, path):
    quads = list(plate.quads())
    lines = ["Simply supported square plate under an even pressure",
             "*1 General data",
             "# 1 Title = Square plate",
             "# 2 Force = kN",
             "# 3 Length = m",
             "# 4 Cases = 1",
             f"# 5 Nodes = {plate.nodes}",
             f"# 6 Elements = {len(quads)}",
             "# 7 Materials = 1",
             "# 8 Sections = 1",
             "# 9 Natural modes = 0",
             "*2 Materials",
             f"# 1 {number(E)} {NU} {GAMMA} 1.0E-5",
             "*3 Sections",
             f"# 1 {THICKNESS}",
             "*4 Nodes"]
    lines += [f"# {n} {number(x)} {number(y)}" for n, x, y in plate.points()]
    lines.append("*5 Elements")
    lines += [f"# {e} {a} {b} {c} {d} 1 1" for e, (a, b, c, d) in enumerate(quads, start=1)]
    lines.append("*6 Supports")
    lines += [f"# {k} {n} 1 0 0" for k, n in enumerate(plate.edge(), start=1)]
    lines.append("*7 Nodal loads")
    lines.append("*8 Element loads")
    lines += [f"# {e} 1 {e} {number(-PRESSURE)}" for e in range(1, len(quads) + 1)]
    lines.append("*9 Masses")
    lines.append("&")
    with open(path, "w", newline="") as file:
        file.write("\r\n".join(lines) + "\r\n")


def write_inp(plate, path):
    lines = ["*HEADING", "Simply supported square plate under an even pressure", "*NODE"]
    lines += [f"{n}, {number(x)}, {number(y)}, 0" for n, x, y in plate.points()]
    lines.append("*ELEMENT, TYPE=S4, ELSET=EALL")
    lines += [f"{e}, {a}, {b}, {c}, {d}"
              for e, (a, b, c, d) in enumerate(plate.quads(), start=1)]
    lines.append("*NSET, NSET=EDGE")
    lines += [str(n) for n in plate.edge()]
    lines += ["*NSET, NSET=CENTRE", str(plate.centre()),
              "*BOUNDARY", "EDGE, 3, 3",
              f"{plate.node(0, 0)}, 1, 2", f"{plate.node(0, plate.cells)}, 2, 2",
              "*MATERIAL, NAME=CONCRETE", "*ELASTIC", f"{number(E)}, {NU}",
              "*SHELL SECTION, ELSET=EALL, MATERIAL=CONCRETE", f"{THICKNESS}",
              # A positive P pushes along the normal, +z for these corners (checked: the
              # plate rose under a positive P), so the downward load is negative.
              "*STEP", "*STATIC", "*DLOAD", f"EALL, P, {number(-PRESSURE)}",
              "*NODE PRINT, NSET=CENTRE", "U", "*END STEP"]
    with open(path, "w") as file:
        file.write("\n".join(lines) + "\n")


def nuvast_centre(plate, nuvast, data):
    """The centre's deflection (downwards positive) in full precision ("--json"); None with
    Nuvast's reason printed when it gave no answer."""
    run = subprocess.run([nuvast, "--json", data], capture_output=True)
    if run.returncode != 0:
        print(f"Nuvast refused: {run.stderr.decode(errors='replace').strip()}")
        return None
    rows = json.loads(run.stdout)["cases"][0]["displacements"]
    row = rows[plate.centre() - 1]
    if int(row[0]) != plate.centre():
        return None
    return -row[1]


def calculix_centre(plate, dat):
    with open(dat) as file:
        table = False
        for line in file:
            if line.strip().startswith("displacements"):
                table = True
                continue
            fields = line.split()
            if table and len(fields) == 4 and fields[0] == str(plate.centre()):
                return -float(fields[3])
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--nuvast", required=True, help="the Nuvast program of a Release build")
    parser.add_argument("--nodes", type=int, nargs="+", default=[40000, 250000])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("--keep", help="a directory to keep the files in")
    parser.add_argument("--memory", type=float,
                        help="GiB of address space CalculiX may take (ulimit -v), so that a "
                             "mesh too large for the machine fails instead of exhausting it")
    options = parser.parse_args()

    nuvast = os.path.abspath(options.nuvast)
    for program in ("ccx", "hyperfine"):
        if not shutil.which(program):
            sys.exit(f"{program} is not installed (Debian: apt-get install "
                     f"{'calculix-ccx' if program == 'ccx' else program})")
    if not os.access(nuvast, os.X_OK):
        sys.exit(f"{nuvast} is not a program")

    exact = navier_centre()
    base = options.keep or tempfile.mkdtemp(prefix="calculix-plates-")
    failed = False
    for nodes in options.nodes:
        plate = Plate(nodes)
        folder = os.path.join(base, f"plate{plate.nodes}")
        os.makedirs(folder, exist_ok=True)
        write_d13(plate, os.path.join(folder, "plate.d13"))
        write_inp(plate, os.path.join(folder, "plate.inp"))
        print(f"\n{plate.nodes} nodes ({plate.side} x {plate.side}), {plate.cells ** 2} "
              f"quadrilaterals (CalculiX: S4), a = {SIDE} m, t = {THICKNESS} m", flush=True)

        timings = os.path.join(folder, "timings.json")
        environment = dict(os.environ, OMP_NUM_THREADS="2")
        limit = f"ulimit -v {int(options.memory * 1024 * 1024)} && " if options.memory else ""
        # A failed run (CalculiX out of its --memory) leaves no displacements in the .dat file,
        # which the check below reports, rather than stopping the comparison.
        dat = os.path.join(folder, "plate.dat")
        if os.path.exists(dat):
            os.remove(dat)
        subprocess.run(
            ["hyperfine", "--style", "basic", "--ignore-failure", "--warmup", str(options.warmup),
             "--runs", str(options.runs), "--export-json", timings,
             "-n", "Nuvast", f"cd {folder} && {nuvast} plate.d13 S",
             "-n", "CalculiX", f"cd {folder} && {limit}ccx -i plate"],
            check=True, env=environment)
        with open(timings) as file:
            medians = {r["command"]: r["median"] for r in json.load(file)["results"]}

        answers = {"Nuvast": nuvast_centre(plate, nuvast, os.path.join(folder, "plate.d13")),
                   "CalculiX": calculix_centre(plate, dat)}
        print(f"Navier: centre deflection {exact:.6e} m")
        for name, w in answers.items():
            if w is None:
                print(f"{name:9s} median {medians[name]:8.3f} s   no answer found")
                failed = True
                continue
            miss = w / exact - 1
            # CalculiX's miss is reported; only Nuvast is held to the 1 % here.
            failed = failed or (name == "Nuvast" and abs(miss) > 0.01)
            print(f"{name:9s} median {medians[name]:8.3f} s   w {w:.6e} m ({miss:+.2e})")
        if all(w is not None for w in answers.values()):
            print(f"CalculiX / Nuvast: {medians['CalculiX'] / medians['Nuvast']:.2f} "
                  f"(goal: at least 5)", flush=True)
    if not options.keep:
        shutil.rmtree(base)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
