#!/usr/bin/env python3
"""Writes the solid models of package/models (usage: solid-examples.py DIR): a bridge pier of
bricks with a cap widened by wedge haunches, under the bearing loads of its deck; and a thick
plate with a round hole pulled along x, a quarter of it by symmetry, in bricks."""
import math
import os
import sys

out = sys.argv[1]


def write(name, heading, title, material, nodes, cells, supports, loads, cases=1):
    lines = [heading, "*1 General data",
             "#  1  Title         = " + title,
             "#  2  Force unit    = kN", "#  3  Length unit   = m",
             "#  4  Load cases    = %d" % cases, "#  5  Nodes         = %d" % len(nodes),
             "#  6  Elements      = %d" % len(cells), "#  7  Materials     = 1",
             "#  8  Sections      = 0",
             "*2 Materials", "   No     E        nu     gamma    alpha",
             "#  1   " + material,
             "*4 Nodes", "   No        x        y        z"]
    for i, p in enumerate(nodes, 1):
        lines.append("#%5d " % i + "".join("%9.4f" % v for v in p))
    lines += ["*5 Elements",
              "   No     n1    n2    n3    n4    n5    n6    n7    n8  material"]
    for i, c in enumerate(cells, 1):
        c = list(c) + [0] * (8 - len(c))
        lines.append("#%5d " % i + "".join("%6d" % n for n in c) + "     1")
    lines += ["*6 Supports", "   No  node  ux  uy  uz"]
    for i, (n, fixed) in enumerate(supports, 1):
        lines.append("#%5d %5d " % (i, n) + " ".join("%3d" % f for f in fixed))
    lines += ["*7 Nodal loads", "   No  case  node        Fx        Fy        Fz"]
    for i, (case, n, values) in enumerate(loads, 1):
        lines.append("#%5d %4d %5d " % (i, case, n) + "".join("%10.3f" % v for v in values))
    lines.append("&")
    with open(os.path.join(out, name), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


class Grid:
    """Nodes numbered once by their rounded coordinates."""

    def __init__(self):
        self.nodes, self.index = [], {}

    def node(self, p):
        key = tuple(round(v, 6) for v in p)
        if key not in self.index:
            self.nodes.append(p)
            self.index[key] = len(self.nodes)
        return self.index[key]


def pier():
    # A shaft 1.6 x 1.0 m, 4 m high, and a cap 2.8 m long and 0.8 m deep whose overhangs rest on
    # haunches: wedges from the shaft's faces out to the cap's ends.
    g = Grid()
    cells = []
    xs = [-0.8 + 0.2 * i for i in range(9)]
    ys = [-0.5 + 0.25 * j for j in range(5)]
    zs = [0.25 * k for k in range(17)]
    for k in range(16):
        for j in range(4):
            for i in range(8):
                corners = [(xs[i], ys[j], zs[k]), (xs[i + 1], ys[j], zs[k]),
                           (xs[i + 1], ys[j + 1], zs[k]), (xs[i], ys[j + 1], zs[k])]
                cells.append([g.node(p) for p in corners] +
                             [g.node((x, y, zs[k + 1])) for x, y, _ in corners])
    # The cap: from z = 4 to 4.8 over x from -1.4 to 1.4.
    cx = [-1.4 + 0.2 * i for i in range(15)]
    cz = [4.0 + 0.2 * k for k in range(5)]
    for k in range(4):
        for j in range(4):
            for i in range(14):
                corners = [(cx[i], ys[j], cz[k]), (cx[i + 1], ys[j], cz[k]),
                           (cx[i + 1], ys[j + 1], cz[k]), (cx[i], ys[j + 1], cz[k])]
                cells.append([g.node(p) for p in corners] +
                             [g.node((x, y, cz[k + 1])) for x, y, _ in corners])
    # Haunches under the overhangs: the triangle between the shaft's face (z from 3.5 to 4),
    # the cap's underside (x from 0.8 to 1.4) and the sloping face, in triangles that meet the
    # nodes of both, each swept along y into a wedge.
    slope = [(0.8, 3.5), (1.0, 3.5 + 0.5 / 3), (1.2, 3.5 + 1.0 / 3), (1.4, 4.0)]
    triangles = [((0.8, 3.5), slope[1], (0.8, 3.75)),
                 ((0.8, 3.75), slope[1], (1.0, 4.0)),
                 ((0.8, 3.75), (1.0, 4.0), (0.8, 4.0)),
                 (slope[1], slope[2], (1.2, 4.0)),
                 (slope[1], (1.2, 4.0), (1.0, 4.0)),
                 (slope[2], slope[3], (1.2, 4.0))]
    for side in (-1, 1):
        for j in range(4):
            for tri in triangles:
                cells.append([g.node((side * x, ys[j], z)) for x, z in tri] +
                             [g.node((side * x, ys[j + 1], z)) for x, z in tri])
    nodes = g.nodes
    supports = [(n, (1, 1, 1)) for n, p in enumerate(nodes, 1) if abs(p[2]) < 1e-9]
    loads = []
    # Two bearings at x = -1.0 and 1.0 on the cap, 1800 kN each over four nodes, and a braking
    # force of 10 % along x in case 2.
    for xb in (-1.0, 1.0):
        for yb in (-0.25, 0.0, 0.25):
            n = g.index[(round(xb, 6), round(yb, 6), 4.8)]
            loads.append((1, n, (0.0, 0.0, -600.0)))
            loads.append((2, n, (60.0, 0.0, -600.0)))
    write("pier.d17", "Bridge pier of bricks with wedge haunches under its bearings",
          "Bridge pier", "3.0E7     0.2    25.0     1.0E-5", nodes, cells, supports, loads, 2)


def holeplate():
    # A plate 0.8 x 0.8 m with a hole of radius 0.1 m at its centre, 0.1 m thick, pulled along x
    # by 10 MPa (10,000 kN/m2): a quarter (x, y >= 0) and half the thickness (z >= 0) by symmetry.
    a, b, half = 0.1, 0.4, 0.05
    rings, sectors, layers = 10, 16, 2
    g = Grid()
    cells = []

    def point(s, r, z):
        # Sector angle s from 0 (x axis) to pi/2 and ring r from 0 (the hole) to 1 (the edge of
        # the square), the rings graded towards the hole where the stress changes fastest.
        th = math.pi / 2 * s / sectors
        inner = (a * math.cos(th), a * math.sin(th))
        # The square's edge x = b for th <= 45 degrees, y = b beyond.
        if th <= math.pi / 4:
            outer = (b, b * math.tan(th))
        else:
            outer = (b / math.tan(th), b)
        t = (r / rings) ** 1.6
        return (inner[0] + t * (outer[0] - inner[0]), inner[1] + t * (outer[1] - inner[1]), z)

    zs = [half * k / layers for k in range(layers + 1)]
    for k in range(layers):
        for s in range(sectors):
            for r in range(rings):
                ring = [point(s, r, zs[k]), point(s, r + 1, zs[k]), point(s + 1, r + 1, zs[k]),
                        point(s + 1, r, zs[k])]
                cells.append([g.node(p) for p in ring] +
                             [g.node((x, y, zs[k + 1])) for x, y, _ in ring])
    nodes = g.nodes
    supports = []
    for n, p in enumerate(nodes, 1):
        fixed = (1 if abs(p[0]) < 1e-9 else 0, 1 if abs(p[1]) < 1e-9 else 0,
                 1 if abs(p[2]) < 1e-9 else 0)
        if any(fixed):
            supports.append((n, fixed))
    # 10,000 kN/m2 over the edge x = b (height b, thickness half): consistent nodal forces of the
    # bilinear faces there.
    edge = sorted({(round(p[1], 6), round(p[2], 6)) for p in nodes if abs(p[0] - b) < 1e-9})
    ys = sorted({y for y, _ in edge})
    zs2 = sorted({z for _, z in edge})
    loads = []
    for iy, y in enumerate(ys):
        wy = ((ys[iy] - ys[iy - 1]) / 2 if iy > 0 else 0) + \
             ((ys[iy + 1] - ys[iy]) / 2 if iy + 1 < len(ys) else 0)
        for iz, z in enumerate(zs2):
            wz = ((zs2[iz] - zs2[iz - 1]) / 2 if iz > 0 else 0) + \
                 ((zs2[iz + 1] - zs2[iz]) / 2 if iz + 1 < len(zs2) else 0)
            loads.append((1, g.index[(round(b, 6), y, z)], (10000.0 * wy * wz, 0.0, 0.0)))
    write("holeplate.d17", "Thick plate with a round hole pulled along x, a quarter by symmetry",
          "Plate with a hole", "2.1E8     0.3    78.5     1.2E-5", nodes, cells, supports, loads)


pier()
holeplate()
