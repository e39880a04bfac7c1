#!/usr/bin/env python3
"""Writes the continuum models of package/models (usage: continuum-examples.py DIR): a wall panel with an opening (plane stress), a gravity dam
(plane strain) and a thick ring under inner pressure (axisymmetric body)."""
import sys, os
out = sys.argv[1]

def write(name, head, title, item, materials, sections, nodes, cells, supports, loads, cases, problem, coord):
    L = [head, "*1 General data",
         "#  1  Title        = " + title,
         "#  2  Force unit   = kN", "#  3  Length unit  = m",
         "#  4  Load cases   = %d" % cases,
         "#  5  Nodes        = %d" % len(nodes),
         "#  6  Elements     = %d" % len(cells),
         "#  7  Materials    = %d" % len(materials),
         "#  8  Sections     = %d" % len(sections),
         "*2 Materials", "   No     E        nu     gamma    alpha"]
    for i, m in enumerate(materials, 1):
        L.append("#%3d   %s" % (i, m))
    if sections:
        L += ["*3 Sections", "   No     t"]
        for i, t in enumerate(sections, 1):
            L.append("#%3d    %s" % (i, t))
    L += ["*4 Nodes", "   No %8s %8s" % coord]
    for i, (x, z) in enumerate(nodes, 1):
        L.append("#%5d %9.4f %9.4f" % (i, x, z))
    L += ["*5 Elements", "   No   n1  n2  n3  n4  material" + ("  section" if sections else "")]
    for i, c in enumerate(cells, 1):
        c = list(c) + [0] * (4 - len(c))
        L.append("#%5d %5d %5d %5d %5d     1" % (i, *c) + ("        1" if sections else ""))
    comps = ("ur", "uz") if problem == 11 else ("ux", "uz")
    L += ["*6 Supports", "   No  node  %s  %s" % comps]
    for i, (n, a, b) in enumerate(supports, 1):
        L.append("#%5d %5d   %d   %d" % (i, n, a, b))
    forces = ("Fr", "Fz") if problem == 11 else ("Fx", "Fz")
    L += ["*7 Nodal loads", "   No  case  node      %s        %s" % forces]
    for i, (c, n, fx, fz) in enumerate(loads, 1):
        L.append("#%5d   %d %5d %10.4f %10.4f" % (i, c, n, fx, fz))
    L.append("&")
    open(os.path.join(out, name), "w", newline="").write("\r\n".join(L) + "\r\n")

def grid(xs, zs, keep=lambda x, z: True):
    """Quadrilaterals on the lines xs x zs, without the cells whose centre keep() refuses."""
    ids = {}
    nodes = []
    cells = []
    for j in range(len(zs) - 1):
        for i in range(len(xs) - 1):
            xc, zc = (xs[i] + xs[i + 1]) / 2, (zs[j] + zs[j + 1]) / 2
            if not keep(xc, zc):
                continue
            c = []
            for (a, b) in ((i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1)):
                if (a, b) not in ids:
                    ids[(a, b)] = None
                c.append((a, b))
            cells.append(c)
    # number nodes row by row
    order = sorted(ids, key=lambda k: (k[1], k[0]))
    for n, k in enumerate(order, 1):
        ids[k] = n
        nodes.append((xs[k[0]], zs[k[1]]))
    return nodes, [[ids[k] for k in c] for c in cells], ids

# Wall panel 6 m x 3 m, t = 0.2 m, a door 1.2 m wide and 2.1 m high from x = 1.2; a window
# 1.5 x 1.2 m from x = 3.9, z = 0.9; a slab line load of 40 kN/m on top; supported on its base.
xs = [0.3 * i for i in range(21)]
zs = [0.3 * j for j in range(11)]
def wall_keep(x, z):
    if 1.2 < x < 2.4 and z < 2.1: return False
    if 3.9 < x < 5.4 and 0.9 < z < 2.1: return False
    return True
nodes, cells, ids = grid(xs, zs, wall_keep)
supports = [(ids[(i, 0)], 1, 1) for i in range(len(xs)) if (i, 0) in ids]
loads = []
top = len(zs) - 1
for i in range(len(xs)):
    share = 0.3 * (0.5 if i in (0, len(xs) - 1) else 1.0)
    loads.append((1, ids[(i, top)], 0.0, -40.0 * share))
# a wind load of 5 kN at the top left corner
loads.append((2, ids[(0, top)], 5.0, 0.0))
write("wall.d09", "Wall panel with a door and a window, plane stress", "Wall with openings", 9,
      ["3.0E7     0.2    25.0     1.0E-5"], ["0.20"], nodes, cells, supports, loads, 2, 9, ("x", "z"))

# Gravity dam: base 8 m, crest 2 m wide, 10 m high, the upstream face vertical at x = 0,
# water 9 m deep. Case 1: the dam's weight and the full reservoir; case 2: the weight alone.
nx, nz = 8, 10
nodes = []
for j in range(nz + 1):
    z = 10.0 * j / nz
    width = 8.0 - 6.0 * z / 10.0
    for i in range(nx + 1):
        nodes.append((width * i / nx, z))
idn = lambda i, j: j * (nx + 1) + i + 1
cells = [[idn(i, j), idn(i + 1, j), idn(i + 1, j + 1), idn(i, j + 1)] for j in range(nz) for i in range(nx)]
supports = [(idn(i, 0), 1, 1) for i in range(nx + 1)]
gamma, gw, depth = 24.0, 9.81, 9.0
weight = [0.0] * len(nodes)
for c in cells:
    p = [nodes[k - 1] for k in c]
    area = 0.5 * abs(sum(p[a][0] * p[(a + 1) % 4][1] - p[(a + 1) % 4][0] * p[a][1] for a in range(4)))
    for k in c:
        weight[k - 1] += gamma * area / 4
water = [0.0] * len(nodes)
for j in range(nz):
    za, zb = 10.0 * j / nz, 10.0 * (j + 1) / nz
    pa, pb = gw * max(0.0, depth - za), gw * max(0.0, depth - zb)
    h = zb - za
    water[idn(0, j) - 1] += h * (2 * pa + pb) / 6
    water[idn(0, j + 1) - 1] += h * (pa + 2 * pb) / 6
loads = []
for n in range(len(nodes)):
    if nodes[n][1] == 0.0:
        continue  # held by the foundation
    if weight[n] or water[n]:
        loads.append((1, n + 1, water[n], -weight[n]))
for n in range(len(nodes)):
    if nodes[n][1] == 0.0:
        continue
    if weight[n]:
        loads.append((2, n + 1, 0.0, -weight[n]))
write("gravitydam.d10", "Concrete gravity dam, 10 m high, full and empty reservoir, plane strain",
      "Gravity dam", 10, ["2.5E7     0.2    24.0     1.0E-5"], [], nodes, cells, supports, loads, 2, 10, ("x", "z"))

# Thick ring: inner radius 0.5 m, outer 1.0 m, 0.4 m high, inner pressure 10 MPa, held along z
# at its base; Lame: ur(a) = p a^2 / (E (b^2 - a^2)) ((1 - nu) a + (1 + nu) b^2 / a).
a, b, height, p = 0.5, 1.0, 0.4, 10000.0
nr, nz = 10, 4
nodes = [(a + (b - a) * i / nr, height * j / nz) for j in range(nz + 1) for i in range(nr + 1)]
idn = lambda i, j: j * (nr + 1) + i + 1
cells = [[idn(i, j), idn(i + 1, j), idn(i + 1, j + 1), idn(i, j + 1)] for j in range(nz) for i in range(nr)]
supports = [(idn(i, 0), 0, 1) for i in range(nr + 1)]
loads = [(1, idn(0, j), p * height / nz * (0.5 if j in (0, nz) else 1.0), 0.0) for j in range(nz + 1)]
write("thickring.d11", "Thick steel ring under an inner pressure of 10 MPa, axisymmetric body",
      "Thick ring", 11, ["2.1E8     0.3    78.5     1.2E-5"], [], nodes, cells, supports, loads, 1, 11, ("r", "z"))
