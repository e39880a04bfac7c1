#!/usr/bin/env python3
"""Omberi side by side with CalculiX, the field's free reference, on one machine in one run.

Both programs solve the same plane-stress mesh: a cantilever in pure bending, held at x = 0
(ux at every node of the end, uz at the node on the neutral axis) and loaded at x = L by the
end stresses sx = s * zeta / c (zeta measured from the neutral axis, c half the depth) as
consistent nodal forces. Its closed form is exact in plane stress for these supports:

    ux = s * x * zeta / (c * E),    uz = -s / (2 * c * E) * (x^2 + nu * zeta^2),

so the tip of the neutral axis sinks by s L^2 / (2 c E) and the top corner of the tip moves
by s L / E. Omberi's quadrilaterals with incompatible modes carry this field exactly on
rectangles; CalculiX's CPS4 is a plain bilinear element with full integration, which is
stiffer in bending on a coarse mesh, and its triangles (CPS3, with --triangles) more so.

Each mesh is written as a .d09 file for Omberi and an input deck for CalculiX (CPS4, or CPS3
with --triangles), both timed by hyperfine as a user runs them from the shell: "Omberi
beam.d09 S" and "ccx -i beam" with OMP_NUM_THREADS=2. Omberi's answers are read from the
JSON of "Omberi --json beam.d09", run once more after the timing, CalculiX's from its .dat
file (*NODE PRINT of the tip nodes).

Needs: the Debian packages calculix-ccx (the program ccx) and hyperfine; Omberi from a
Release build. The script installs nothing.

    bench/calculix.py --omberi build-release/tools/solvers/Omberi [--nodes 40000 250000]
        [--runs 3] [--warmup 1] [--triangles] [--keep DIR]
"""

import argparse
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile

E = 2.1e8  # kN/m2
NU = 0.3
THICKNESS = 0.1  # m
DEPTH = 1.0  # m
STRESS = 1.0e5  # kN/m2, the end stress at the top and bottom fibres


class Beam:
    """The mesh: `rows` nodes through the depth (odd, so that one row lies on the neutral
    axis) and `columns` along the length, square cells, numbered column by column from 1."""

    def __init__(self, nodes, triangles):
        half = round(math.sqrt(nodes / 16.0) / 2)
        self.rows = 2 * max(half, 1) + 1
        self.columns = max(2, round(nodes / self.rows))
        self.h = DEPTH / (self.rows - 1)
        self.length = (self.columns - 1) * self.h
        self.triangles = triangles

    def node(self, column, row):
        return column * self.rows + row + 1

    @property
    def nodes(self):
        return self.rows * self.columns

    def points(self):
        for column in range(self.columns):
            for row in range(self.rows):
                yield self.node(column, row), column * self.h, row * self.h

    def cells(self):
        """The corners of each element, counter-clockwise in the x-z plane."""
        for column in range(self.columns - 1):
            for row in range(self.rows - 1):
                a = self.node(column, row)
                b = self.node(column + 1, row)
                c = self.node(column + 1, row + 1)
                d = self.node(column, row + 1)
                if self.triangles:
                    yield (a, b, c)
                    yield (a, c, d)
                else:
                    yield (a, b, c, d)

    def centre_row(self):
        return (self.rows - 1) // 2

    def end_forces(self):
        """The consistent nodal forces of the end stresses at x = L: the integral of the
        linear stress times the linear shape functions over each edge, times the
        thickness."""
        c = DEPTH / 2
        forces = [0.0] * self.rows
        for row in range(self.rows - 1):
            low = STRESS * (row * self.h - c) / c
            high = STRESS * ((row + 1) * self.h - c) / c
            forces[row] += THICKNESS * self.h * (2 * low + high) / 6
            forces[row + 1] += THICKNESS * self.h * (low + 2 * high) / 6
        return [(self.node(self.columns - 1, row), f) for row, f in enumerate(forces)]

    def exact(self, x, z):
        c = DEPTH / 2
        zeta = z - c
        return (STRESS * x * zeta / (c * E),
                -STRESS / (2 * c * E) * (x * x + NU * zeta * zeta))

    def tip(self):
        """The nodes of the loaded end with their coordinates."""
        return [(self.node(self.columns - 1, row), self.length, row * self.h)
                for row in range(self.rows)]


def number(value):
    # CalculiX reads at most 20 characters of a number.
    return f"{float(value):.12g}"


def write_d09(beam, path):
    cells = list(beam.cells())
    lines = ["Cantilever in pure bending, plane stress",
             "*1 General data",
             "# 1 Title = Cantilever in pure bending",
             "# 2 Force = kN",
             "# 3 Length = m",
             "# 4 Cases = 1",
             f"# 5 Nodes = {beam.nodes}",
             f"# 6 Elements = {len(cells)}",
             "# 7 Materials = 1",
             "# 8 Sections = 1",
             "*2 Materials",
             f"# 1 {number(E)} {NU} 78.5 1.2E-5",
             "*3 Sections",
             f"# 1 {THICKNESS}",
             "*4 Nodes"]
    lines += [f"# {n} {number(x)} {number(z)}" for n, x, z in beam.points()]
    lines.append("*5 Elements")
    for e, corners in enumerate(cells, start=1):
        four = list(corners) + [0] * (4 - len(corners))
        lines.append(f"# {e} {four[0]} {four[1]} {four[2]} {four[3]} 1 1")
    lines.append("*6 Supports")
    centre = beam.node(0, beam.centre_row())
    for row in range(beam.rows):
        n = beam.node(0, row)
        lines.append(f"# {row + 1} {n} 1 {1 if n == centre else 0}")
    lines.append("*7 Nodal loads")
    for k, (n, f) in enumerate(beam.end_forces(), start=1):
        lines.append(f"# {k} 1 {n} {number(f)} 0")
    lines.append("&")
    with open(path, "w", newline="") as file:
        file.write("\r\n".join(lines) + "\r\n")


def write_inp(beam, path):
    kind = "CPS3" if beam.triangles else "CPS4"
    lines = ["*HEADING", "Cantilever in pure bending, plane stress", "*NODE"]
    # CalculiX's plane elements lie in its x-y plane: our z is its y.
    lines += [f"{n}, {number(x)}, {number(z)}" for n, x, z in beam.points()]
    lines.append(f"*ELEMENT, TYPE={kind}, ELSET=EALL")
    lines += [f"{e}, " + ", ".join(str(n) for n in corners)
              for e, corners in enumerate(beam.cells(), start=1)]
    lines.append("*NSET, NSET=HELD")
    lines += [str(beam.node(0, row)) for row in range(beam.rows)]
    lines.append("*NSET, NSET=CENTRE")
    lines.append(str(beam.node(0, beam.centre_row())))
    lines.append("*NSET, NSET=TIP")
    lines += [str(n) for n, _, _ in beam.tip()]
    lines += ["*BOUNDARY", "HELD, 1, 1", "CENTRE, 2, 2",
              "*MATERIAL, NAME=STEEL", "*ELASTIC", f"{number(E)}, {NU}",
              "*SOLID SECTION, ELSET=EALL, MATERIAL=STEEL", f"{THICKNESS}",
              "*STEP", "*STATIC", "*CLOAD"]
    lines += [f"{n}, 1, {number(f)}" for n, f in beam.end_forces()]
    lines += ["*NODE PRINT, NSET=TIP", "U", "*END STEP"]
    with open(path, "w") as file:
        file.write("\n".join(lines) + "\n")


def omberi_tip(beam, omberi, data):
    """ux and uz of the tip nodes from Omberi's answers in full precision ("--json"; the
    protocol rounds to five digits)."""
    answer = subprocess.run([omberi, "--json", data], check=True, capture_output=True).stdout
    rows = json.loads(answer)["cases"][0]["displacements"]
    return {n: tuple(rows[n - 1][1:3]) for n, _, _ in beam.tip()}


def calculix_tip(dat):
    """vx and vy of the nodes that *NODE PRINT wrote into the .dat file."""
    found = {}
    with open(dat) as file:
        table = False
        for line in file:
            if line.strip().startswith("displacements"):
                table = True
                continue
            fields = line.split()
            if table and len(fields) == 4 and fields[0].isdigit():
                found[int(fields[0])] = (float(fields[1]), float(fields[2]))
    return found


def errors(beam, tip):
    """Against the closed form: the sinking of the neutral axis at the tip, the movement of
    the top corner along the beam, and the largest miss over the tip nodes relative to the
    largest displacement there."""
    points = beam.tip()
    if any(n not in tip for n, _, _ in points):
        return None
    centre = points[beam.centre_row()]
    top = points[-1]
    uz, uz_exact = tip[centre[0]][1], beam.exact(centre[1], centre[2])[1]
    ux, ux_exact = tip[top[0]][0], beam.exact(top[1], top[2])[0]
    largest = max(max(abs(v) for v in beam.exact(x, z)) for _, x, z in points)
    miss = max(max(abs(a - b) for a, b in zip(tip[n], beam.exact(x, z)))
               for n, x, z in points)
    return {"uz": uz, "uz_exact": uz_exact, "ux": ux, "ux_exact": ux_exact,
            "uz_error": uz / uz_exact - 1, "ux_error": ux / ux_exact - 1,
            "miss": miss / largest}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--omberi", required=True, help="the Omberi program of a Release build")
    parser.add_argument("--nodes", type=int, nargs="+", default=[40000, 250000])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("--triangles", action="store_true",
                        help="split each cell into two triangles (CPS3 for CalculiX)")
    parser.add_argument("--keep", help="a directory to keep the files in")
    options = parser.parse_args()

    omberi = os.path.abspath(options.omberi)
    for program in ("ccx", "hyperfine"):
        if not shutil.which(program):
            sys.exit(f"{program} is not installed (Debian: apt-get install "
                     f"{'calculix-ccx' if program == 'ccx' else program})")
    if not os.access(omberi, os.X_OK):
        sys.exit(f"{omberi} is not a program")

    base = options.keep or tempfile.mkdtemp(prefix="calculix-")
    failed = False
    for nodes in options.nodes:
        beam = Beam(nodes, options.triangles)
        folder = os.path.join(base, f"beam{beam.nodes}")
        os.makedirs(folder, exist_ok=True)
        write_d09(beam, os.path.join(folder, "beam.d09"))
        write_inp(beam, os.path.join(folder, "beam.inp"))
        cells = sum(1 for _ in beam.cells())
        print(f"\n{beam.nodes} nodes ({beam.columns} x {beam.rows}), {cells} "
              f"{'triangles' if beam.triangles else 'quadrilaterals'}, L = "
              f"{beam.length:.6g} m, depth {DEPTH} m", flush=True)

        timings = os.path.join(folder, "timings.json")
        environment = dict(os.environ, OMP_NUM_THREADS="2")
        subprocess.run(
            ["hyperfine", "--style", "basic", "--warmup", str(options.warmup),
             "--runs", str(options.runs), "--export-json", timings,
             "-n", "Omberi", f"cd {folder} && {omberi} beam.d09 S",
             "-n", "CalculiX", f"cd {folder} && ccx -i beam"],
            check=True, env=environment)
        with open(timings) as file:
            medians = {r["command"]: r["median"] for r in json.load(file)["results"]}

        answers = {"Omberi": errors(beam, omberi_tip(beam, omberi,
                                                     os.path.join(folder, "beam.d09"))),
                   "CalculiX": errors(beam, calculix_tip(os.path.join(folder, "beam.dat")))}
        print(f"closed form: tip of the neutral axis uz = "
              f"{beam.exact(beam.length, DEPTH / 2)[1]:.6e} m, top corner ux = "
              f"{beam.exact(beam.length, DEPTH)[0]:.6e} m")
        for name, answer in answers.items():
            if answer is None:
                print(f"{name:9s} median {medians[name]:8.3f} s   no answer found")
                failed = True
                continue
            print(f"{name:9s} median {medians[name]:8.3f} s   uz {answer['uz']:.6e} "
                  f"({answer['uz_error']:+.2e})   ux {answer['ux']:.6e} "
                  f"({answer['ux_error']:+.2e})   largest miss at the tip "
                  f"{answer['miss']:.2e}")
        print(f"CalculiX / Omberi: {medians['CalculiX'] / medians['Omberi']:.2f} "
              f"(goal: at least 5)")
    if not options.keep:
        shutil.rmtree(base)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
