#!/usr/bin/env python3
"""The meshes of calculix_solids.py: both programs must be handed the same model, and the
model must be the cantilever the closed form describes.

    python3 bench/test_calculix_solids.py [-v]
    FENTAR=build-release/tools/solvers/Fentar python3 bench/test_calculix_solids.py

With FENTAR set, a small cantilever is also solved by Fentar, directly and iteratively.
"""

import os
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import calculix_solids as cs  # noqa: E402
from data_tables import read_tables  # noqa: E402


def read_d17(path):
    tables = read_tables(path)
    nodes = {i + 1: tuple(map(float, v)) for i, v in enumerate(tables[4])}
    bricks = [tuple(map(int, v[:8])) for v in tables[5]]
    fixed = {int(v[0]) for v in tables[6] if v[1:] == ["1", "1", "1"]}
    loads = {int(v[1]): tuple(map(float, v[2:5])) for v in tables[7]}
    return nodes, bricks, fixed, loads


def read_inp(path):
    nodes, bricks, sets, loads, fixed = {}, [], {}, {}, set()
    block = None
    with open(path) as file:
        for line in file:
            line = line.strip()
            if line.startswith("*"):
                words = [w.strip() for w in line.upper().split(",")]
                block = words[0]
                if block == "*NSET":
                    block = words[1].split("=")[1]
                    sets[block] = []
                continue
            fields = [f.strip() for f in line.split(",")]
            if block == "*NODE":
                nodes[int(fields[0])] = tuple(map(float, fields[1:4]))
            elif block == "*ELEMENT":
                bricks.append(tuple(map(int, fields[1:9])))
            elif block in sets:
                sets[block] += [int(f) for f in fields if f]
            elif block == "*BOUNDARY":
                if fields[1:] == ["1", "3"]:
                    fixed |= set(sets[fields[0]])
            elif block == "*CLOAD":
                force = [0.0, 0.0, 0.0]
                force[int(fields[1]) - 1] = float(fields[2])
                loads[int(fields[0])] = tuple(force)
    return nodes, bricks, fixed, loads, sets


def volume(points):
    """Six times the volume of the tetrahedron n1 n2 n4 n5: positive for a brick whose n1 to
    n4 run counter-clockwise seen from n5 to n8, as both programs take it."""
    a, b, d, e = points[0], points[1], points[3], points[4]
    u = [b[i] - a[i] for i in range(3)]
    v = [d[i] - a[i] for i in range(3)]
    w = [e[i] - a[i] for i in range(3)]
    return (u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0])
            + u[2] * (v[0] * w[1] - v[1] * w[0]))


class Meshes(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.mesh = cs.Bricks(3000, "beam")  # 4 x 4 x 40 bricks
        self.d17 = os.path.join(self.folder.name, "beam.d17")
        self.inp = os.path.join(self.folder.name, "beam.inp")
        cs.write_d17(self.mesh, self.d17)
        cs.write_inp(self.mesh, self.inp, "spooles")

    def tearDown(self):
        self.folder.cleanup()

    def test_sizes_are_even_and_nearest(self):
        for shape, unknowns in (("beam", 100000), ("beam", 1000000), ("cube", 250000)):
            mesh = cs.Bricks(unknowns, shape)
            self.assertEqual(mesh.cells % 2, 0)
            for other in (mesh.cells - 2, mesh.cells + 2):
                along = 1 if shape == "cube" else cs.SLENDER
                count = 3 * (along * other + 1) * (other + 1) ** 2
                self.assertGreaterEqual(abs(count - unknowns), abs(3 * mesh.nodes - unknowns))

    def test_both_programs_get_the_same_model(self):
        nodes, bricks, fixed, loads = read_d17(self.d17)
        ccx_nodes, ccx_bricks, ccx_fixed, ccx_loads, sets = read_inp(self.inp)
        self.assertEqual(len(nodes), self.mesh.nodes)
        self.assertEqual(nodes.keys(), ccx_nodes.keys())
        for n, point in nodes.items():
            for a, b in zip(point, ccx_nodes[n]):
                self.assertAlmostEqual(a, b, places=10)
        self.assertEqual(bricks, ccx_bricks)
        self.assertEqual(fixed, ccx_fixed)
        self.assertEqual(loads.keys(), ccx_loads.keys())
        for n, force in loads.items():
            for a, b in zip(force, ccx_loads[n]):
                self.assertAlmostEqual(a, b, places=10)
        self.assertEqual(sets["TIP"], [self.mesh.tip()])

    def test_the_model_is_the_cantilever(self):
        nodes, bricks, fixed, loads = read_d17(self.d17)
        length = self.mesh.length
        # Held at every node of x = 0 and nowhere else.
        self.assertEqual(fixed, {n for n, p in nodes.items() if p[0] == 0})
        # P downwards over the face x = L, its resultant on the axis (no twist, no end moment).
        self.assertTrue(all(nodes[n][0] == length for n in loads))
        self.assertEqual(len(loads), (self.mesh.cells + 1) ** 2)
        total = sum(f[2] for f in loads.values())
        self.assertAlmostEqual(total, -cs.LOAD, places=9)
        for axis in (1, 2):
            arm = sum(f[2] * nodes[n][axis] for n, f in loads.items()) / total
            self.assertAlmostEqual(arm, cs.DEPTH / 2, places=12)
        self.assertEqual(nodes[self.mesh.tip()], (length, cs.DEPTH / 2, cs.DEPTH / 2))
        # Every brick once, right way round, filling the beam.
        self.assertEqual(len(set(bricks)), self.mesh.nx * self.mesh.cells ** 2)
        total_volume = 0.0
        for brick in bricks:
            six = volume([nodes[n] for n in brick])
            self.assertGreater(six, 0)
            total_volume += six
        self.assertAlmostEqual(total_volume, length * cs.DEPTH ** 2, places=9)

    def test_timoshenko_adds_the_shear_to_the_bending(self):
        bending = cs.LOAD * 10.0 ** 3 / (3 * cs.E * 1.0 / 12)
        shear = cs.LOAD * 10.0 / (5 / 6 * cs.E / (2 * (1 + cs.NU)))
        self.assertAlmostEqual(cs.timoshenko(10.0), bending + shear, places=15)
        self.assertAlmostEqual(shear / bending, 0.0078, places=4)


@unittest.skipUnless(os.environ.get("FENTAR"), "FENTAR names no Fentar program")
class Solved(unittest.TestCase):
    def test_both_methods_meet_the_beam(self):
        mesh = cs.Bricks(3000, "beam")
        exact = cs.timoshenko(mesh.length)
        fentar = os.path.abspath(os.environ["FENTAR"])
        with tempfile.TemporaryDirectory() as folder:
            data = os.path.join(folder, "beam.d17")
            cs.write_d17(mesh, data)
            found = {}
            for method in ("direct", "iterative"):
                w, solution = cs.fentar_tip(mesh, fentar, data,
                                            [f"--solver={method}"])
                self.assertIsNotNone(w, method)
                found[method] = w
                self.assertEqual(solution.get("method"), method)
            self.assertLess(abs(found["direct"] / exact - 1), 0.02)
            self.assertLess(abs(found["iterative"] / found["direct"] - 1), 1e-6)
            # The program as the timing runs it: it writes its files and succeeds.
            run = subprocess.run([fentar, data, "S"], cwd=folder,
                                 capture_output=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertTrue(os.path.exists(os.path.join(folder, "beam.bin")))


if __name__ == "__main__":
    unittest.main()
