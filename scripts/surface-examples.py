#!/usr/bin/env python3
"""Writes the plate and shell models of package/models (usage: surface-examples.py DIR): a floor
slab on its four edges under an even load and a column load (statics, and its natural modes),
and a cylindrical barrel roof on end diaphragms under its weight and snow."""
import math
import os
import sys

out = sys.argv[1]


def write(name, heading, title, general, materials, sections, coords, nodes, cells, supports,
          codes, loads, load_names, pressures, masses=None):
    lines = [heading, "*1 General data",
             "#  1  Title         = " + title,
             "#  2  Force unit    = kN", "#  3  Length unit   = m"]
    lines += general(len(nodes), len(cells), len(materials), len(sections))
    lines += ["*2 Materials", "   No     E        nu     gamma    alpha"]
    for i, m in enumerate(materials, 1):
        lines.append("#%3d   %s" % (i, m))
    lines += ["*3 Sections", "   No     t"]
    for i, t in enumerate(sections, 1):
        lines.append("#%3d    %s" % (i, t))
    lines.append("*4 Nodes")
    lines.append("   No " + "".join("%9s" % c for c in coords))
    for i, p in enumerate(nodes, 1):
        lines.append("#%5d " % i + "".join("%9.4f" % v for v in p))
    lines += ["*5 Elements", "   No     n1    n2    n3    n4  material  section"]
    for i, c in enumerate(cells, 1):
        c = list(c) + [0] * (4 - len(c))
        lines.append("#%5d %5d %5d %5d %5d     1        1" % (i, *c))
    lines += ["*6 Supports", "   No  node " + " ".join("%3s" % c for c in codes)]
    for i, (n, fixed) in enumerate(supports, 1):
        lines.append("#%5d %5d " % (i, n) + " ".join("%3d" % f for f in fixed))
    lines += ["*7 Nodal loads", "   No  case  node " + "".join("%10s" % c for c in load_names)]
    for i, (case, n, values) in enumerate(loads, 1):
        lines.append("#%5d %4d %5d " % (i, case, n) + "".join("%10.3f" % v for v in values))
    lines += ["*8 Element loads", "   No  case  element      p"]
    for i, (case, e, p) in enumerate(pressures, 1):
        lines.append("#%5d %4d %7d %10.3f" % (i, case, e, p))
    if masses is not None:
        lines += ["*9 Masses", "   No  node     m"]
        for i, (n, m) in enumerate(masses, 1):
            lines.append("#%5d %5d %8.3f" % (i, n, m))
    lines.append("&")
    with open(os.path.join(out, name), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def plate_general(cases, modes):
    def general(nodes, cells, materials, sections):
        return ["#  4  Load cases    = %d" % cases, "#  5  Nodes         = %d" % nodes,
                "#  6  Elements      = %d" % cells, "#  7  Materials     = %d" % materials,
                "#  8  Sections      = %d" % sections, "#  9  Natural modes = %d" % modes]
    return general


def shell_general(cases):
    def general(nodes, cells, materials, sections):
        return ["#  4  Load cases    = %d" % cases, "#  5  Nodes         = %d" % nodes,
                "#  6  Elements      = %d" % cells, "#  7  Materials     = %d" % materials,
                "#  8  Sections      = %d" % sections]
    return general


def grid(nx, ny, place):
    nodes = [place(i, j) for j in range(ny + 1) for i in range(nx + 1)]
    node = lambda i, j: j * (nx + 1) + i + 1
    cells = [(node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1))
             for j in range(ny) for i in range(nx)]
    return nodes, cells, node


# A floor slab 7.2 x 5.4 m, 0.2 m of concrete, on walls along its four edges: case 1 the floor
# load of 7.5 kN/m2, case 2 a column of 180 kN standing on the slab at (4.8, 2.7).
nx, ny = 16, 12
nodes, cells, node = grid(nx, ny, lambda i, j: (7.2 * i / nx, 5.4 * j / ny))
edges = [(node(i, j), (1, 0, 0)) for j in range(ny + 1) for i in range(nx + 1)
         if i in (0, nx) or j in (0, ny)]
column = node(round(4.8 / 7.2 * nx), ny // 2)
concrete = "3.0E7     0.2    25.0     1.0E-5   ; concrete C25/30"
write("floorslab.d13", "Floor slab on its edges with a column load", "Floor slab",
      plate_general(2, 0), [concrete], ["0.20"], ("x", "y"), nodes, cells, edges,
      ("uz", "rx", "ry"), [(2, column, (-180.0, 0.0, 0.0))], ("Fz", "Mx", "My"),
      [(1, e, -7.5) for e in range(1, len(cells) + 1)], [])
# The same slab's natural modes: its own weight and 2 tonnes of equipment at the column.
write("floorslab.p13", "Floor slab on its edges: natural modes", "Floor slab modes",
      plate_general(1, 6), [concrete], ["0.20"], ("x", "y"), nodes, cells, edges,
      ("uz", "rx", "ry"), [], ("Fz", "Mx", "My"), [], [(column, 2.0)])

# A barrel roof: a cylindrical shell of radius 12 m over an 80 degree arc (span 15.4 m), 24 m
# long, 0.1 m thick, on stiff end diaphragms (ux and uz held) with one point held along the
# length; case 1 its weight (2.5 kN/m2 as vertical loads at the nodes), case 2 wind suction of
# 0.8 kN/m2 normal to the shell (outwards).
radius, half_angle, length = 12.0, math.radians(40), 24.0
na, nl = 16, 24
def place(i, j):
    theta = -half_angle + 2 * half_angle * i / na
    return (radius * math.sin(theta), length * j / nl, radius * math.cos(theta) - radius * math.cos(half_angle))
nodes, cells, node = grid(na, nl, place)
supports = []
for j in (0, nl):
    for i in range(na + 1):
        fixed = (1, 1 if (j == 0 and i == na // 2) else 0, 1, 0, 0, 0)
        supports.append((node(i, j), fixed))
chord = 2 * radius * math.sin(half_angle / na)
weight = {}
for c in cells:
    for n in c:
        weight[n] = weight.get(n, 0.0) + 2.5 * chord * length / nl / 4
loads = [(1, n, (0.0, 0.0, -weight[n], 0.0, 0.0, 0.0)) for n in sorted(weight)]
write("barrelroof.d14", "Barrel roof on end diaphragms", "Barrel roof", shell_general(2),
      ["3.0E7     0.2    25.0     1.0E-5   ; concrete"], ["0.10"], ("x", "y", "z"), nodes, cells,
      supports, ("ux", "uy", "uz", "rx", "ry", "rz"), loads,
      ("Fx", "Fy", "Fz", "Mx", "My", "Mz"), [(2, e, 0.8) for e in range(1, len(cells) + 1)])
