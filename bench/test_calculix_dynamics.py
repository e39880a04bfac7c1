#!/usr/bin/env python3
"""The frames of calculix_dynamics.py: both programs must be handed the same frame, the same
sections, masses and ground motion.

    python3 bench/test_calculix_dynamics.py [-v]
"""

import math
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import calculix_dynamics as cd  # noqa: E402
from data_tables import read_tables  # noqa: E402


def read_ours(path):
    return read_tables(path)


def read_inp(path):
    """The keyword blocks in order: (keyword line, data lines)."""
    blocks = []
    with open(path) as file:
        for line in file:
            line = line.strip()
            if line.startswith("*"):
                blocks.append((line.upper(), []))
            elif blocks:
                blocks[-1][1].append([f.strip() for f in line.split(",")])
    return blocks


class TorsionConstant(unittest.TestCase):
    def test_rectangles(self):
        # Saint-Venant: 0.1406 a^4 for a square, 0.2287 a b^3 for sides 2 : 1.
        self.assertAlmostEqual(cd.torsion_constant(1, 1), 0.140577, places=6)
        self.assertAlmostEqual(cd.torsion_constant(2, 1) / 2, 0.228682, places=6)
        self.assertAlmostEqual(cd.torsion_constant(0.25, 0.4), cd.torsion_constant(0.4, 0.25))


class SameFrame(unittest.TestCase):
    def test_decks_describe_one_frame(self):
        frame = cd.Frame(3, 2, 3)
        with tempfile.TemporaryDirectory() as folder:
            ours_path = os.path.join(folder, "history.p07")
            inp_path = os.path.join(folder, "modal.inp")
            cd.write_ours(frame, ours_path, "history", 12)
            cd.write_inp(frame, inp_path, 3, 12, "modal")
            ours, deck = read_ours(ours_path), read_inp(inp_path)

        nodes = {int(v[0]): tuple(map(float, v[1:4])) for v in deck[1][1]}
        for k, row in enumerate(ours[4], start=1):
            self.assertEqual(nodes[k], tuple(map(float, row)))

        # Each member is a straight chain of B31 elements from its node i to its node j.
        elements = {}
        for keyword, data in deck:
            if keyword.startswith("*ELEMENT"):
                kind = keyword.split("ELSET=")[1]
                for row in data:
                    elements.setdefault(kind, []).append((int(row[1]), int(row[2])))
        chains = {}
        for kind in ("COLUMNS", "XS", "YS"):
            pairs = elements[kind]
            for start in range(0, len(pairs), 3):
                chain = pairs[start:start + 3]
                for (a, b), (c, _) in zip(chain, chain[1:]):
                    self.assertEqual(b, c)
                chains[(chain[0][0], chain[-1][1])] = kind
        self.assertEqual(len(chains), len(ours[5]))
        sections = [tuple(map(float, row)) for row in ours[3]]
        rect, axis = {}, {}
        for keyword, data in deck:
            if keyword.startswith("*BEAM SECTION"):
                kind = keyword.split("ELSET=")[1].split(",")[0]
                rect[kind] = tuple(map(float, data[0]))
                axis[kind] = tuple(map(float, data[1]))
        for row in ours[5]:
            i, j, section = int(row[0]), int(row[1]), int(row[3])
            kind = chains[(i, j)]
            a, iy, iz = sections[section - 1][0], sections[section - 1][2], sections[section - 1][3]
            width, depth = rect[kind]
            self.assertAlmostEqual(a, width * depth, places=12)
            self.assertAlmostEqual(iy, width * depth ** 3 / 12, places=12)
            self.assertAlmostEqual(iz, depth * width ** 3 / 12, places=12)
            # CalculiX's section 1-axis is our local y; its 2-axis, along x times it, our
            # local z: for a beam the depth stands upright.
            along = [q - p for p, q in zip(nodes[i], nodes[j])]
            self.assertEqual(sum(p * q for p, q in zip(along, axis[kind])), 0)
            if kind == "COLUMNS":
                self.assertEqual(nodes[i][:2], nodes[j][:2])
            else:
                self.assertEqual(nodes[i][2], nodes[j][2])
                n1 = axis[kind]
                upright = along[0] * n1[1] - along[1] * n1[0]
                self.assertEqual(n1[2], 0)
                self.assertGreater(upright, 0)

        # The masses: gamma / g; the feet held; the record the same points.
        blocks = dict((keyword, data) for keyword, data in deck)
        gamma = float(ours[2][0][2])
        self.assertAlmostEqual(float(deck[[k for k, _ in deck].index("*DENSITY")][1][0][0]) *
                               cd.G, gamma, places=9)
        feet = {int(v[0]) for v in ours[6]}
        held = {int(v[0]) for v in blocks["*NSET, NSET=FEET"]}
        self.assertTrue(feet < held)
        self.assertTrue(all(nodes[n][2] == 0 for n in held if n in nodes))
        record = [tuple(map(float, v[1:3])) for v in ours[22]]
        values = [float(x) for row in blocks["*AMPLITUDE, NAME=QUAKE"] for x in row]
        self.assertEqual(record, list(zip(values[0::2], values[1::2])))
        self.assertEqual(len(record), round(cd.DURATION / cd.STEP) + 1)
        for t, a in record:
            self.assertAlmostEqual(a, 0.25 * math.exp(-t / 4) * math.sin(2.4 * math.pi * t),
                                   places=10)


if __name__ == "__main__":
    unittest.main()
