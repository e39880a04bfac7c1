#include "FieldReport.h"
#include "LoadCombinations.h"
#include "MeshPanels.h"
#include "MeshStatics.h"
#include "ResultFile.h"
#include "SolverError.h"
#include "SolverFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <numbers>
#include <set>

// Plane stress, plane strain and bodies of revolution solved as the programs solve them, against
// patch tests, beam theory and Lame's thick cylinder; the refusals of meshes that would solve
// into nonsense; the result file of the continuum types.
class TestContinuum : public QObject {
    Q_OBJECT

    using Point = std::array<double, 2>;

    // A mesh in the making: nodes, cells (three or four corners, from 1), supports and loads.
    struct Mesh {
        std::vector<Point> Nodes;
        std::vector<std::vector<int>> Cells;
        QStringList Supports, Loads;

        int Add(double x, double z) {
            Nodes.push_back({x, z});
            return static_cast<int>(Nodes.size());
        }
        void Fix(int node, bool x, bool z) {
            Supports << QStringLiteral("%1 %2 %3").arg(node).arg(x ? 1 : 0).arg(z ? 1 : 0);
        }
        void Load(int node, double fx, double fz, int loadCase = 1) {
            Loads << QStringLiteral("%1 %2 %3 %4")
                         .arg(loadCase)
                         .arg(node)
                         .arg(fx, 0, 'g', 17)
                         .arg(fz, 0, 'g', 17);
        }
        // Splits every quadrilateral into two triangles.
        Mesh Triangles() const {
            Mesh m = *this;
            m.Cells.clear();
            for (const auto& c : Cells) {
                if (c.size() == 3) {
                    m.Cells.push_back(c);
                    continue;
                }
                m.Cells.push_back({c[0], c[1], c[2]});
                m.Cells.push_back({c[0], c[2], c[3]});
            }
            return m;
        }
        QByteArray File(int problem, double e, double nu, double t = 0.1, int cases = 1) const {
            SolverFiles::Tables tables;
            tables.push_back({2, {QStringLiteral("%1 %2 78.5 1.2e-5").arg(e).arg(nu)}});
            if (problem == 9)
                tables.push_back({3, {QString::number(t)}});
            QStringList nodes, cells;
            for (const Point& p : Nodes)
                nodes << QStringLiteral("%1 %2").arg(p[0], 0, 'g', 17).arg(p[1], 0, 'g', 17);
            for (const auto& c : Cells)
                cells << QStringLiteral("%1 %2 %3 %4 1%5")
                             .arg(c[0])
                             .arg(c[1])
                             .arg(c[2])
                             .arg(c.size() > 3 ? c[3] : 0)
                             .arg(problem == 9 ? QStringLiteral(" 1") : QString());
            tables.push_back({4, nodes});
            tables.push_back({5, cells});
            tables.push_back({6, Supports});
            if (!Loads.isEmpty())
                tables.push_back({7, Loads});
            return SolverFiles::Structure(cases, tables);
        }
    };

    static QString Program(int problem) {
        return problem == 9    ? QStringLiteral("Omberi")
               : problem == 10 ? QStringLiteral("Zuntel")
                               : QStringLiteral("Frelam");
    }
    static QString Name(int problem) {
        return QStringLiteral("test.d%1").arg(problem, 2, 10, QChar(u'0'));
    }

    // The distorted patch of five quadrilaterals in a 0.24 x 0.12 rectangle, shifted by x0.
    static Mesh Patch(double x0) {
        Mesh m;
        const double corners[8][2] = {{0, 0},       {0.24, 0},    {0.24, 0.12}, {0, 0.12},
                                      {0.04, 0.02}, {0.18, 0.03}, {0.16, 0.08}, {0.08, 0.08}};
        for (const auto& c : corners)
            m.Add(x0 + c[0], c[1]);
        m.Cells = {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}, {5, 6, 7, 8}};
        return m;
    }

    // A rectangle of nx x nz quadrilaterals from (x0, 0) to (x0 + length, height).
    static Mesh Grid(double x0, double length, double height, int nx, int nz) {
        Mesh m;
        for (int j = 0; j <= nz; ++j)
            for (int i = 0; i <= nx; ++i)
                m.Add(x0 + length * i / nx, height * j / nz);
        const auto id = [nx](int i, int j) { return j * (nx + 1) + i + 1; };
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < nx; ++i)
                m.Cells.push_back({id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)});
        return m;
    }

    // A quarter of a ring a <= r <= b, nr x nt quadrilaterals, held on its two straight sides
    // by rollers, the inner pressure p as loads of its chords; node 1 on the inner wall at z 0.
    static Mesh QuarterRingMesh(double a, double b, double p, int nr, int nt) {
        Mesh m;
        const auto id = [nr](int i, int j) { return j * (nr + 1) + i + 1; };
        for (int j = 0; j <= nt; ++j)
            for (int i = 0; i <= nr; ++i) {
                const double r = a + (b - a) * i / nr, theta = std::numbers::pi / 2 * j / nt;
                m.Add(r * std::cos(theta), r * std::sin(theta));
            }
        for (int j = 0; j < nt; ++j)
            for (int i = 0; i < nr; ++i)
                m.Cells.push_back({id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)});
        for (int i = 0; i <= nr; ++i) {
            m.Fix(id(i, 0), false, true);  // on the x axis: uz = 0
            m.Fix(id(i, nt), true, false); // on the z axis: ux = 0
        }
        std::vector<std::array<double, 2>> f(m.Nodes.size(), {0, 0});
        for (int j = 0; j < nt; ++j) {
            const Point pa = m.Nodes[id(0, j) - 1], pb = m.Nodes[id(0, j + 1) - 1];
            // Half of p times the chord, along the chord's normal away from the axis.
            const double dx = pb[0] - pa[0], dz = pb[1] - pa[1];
            for (int k : {id(0, j), id(0, j + 1)}) {
                f[k - 1][0] += p * dz / 2;
                f[k - 1][1] -= p * dx / 2;
            }
        }
        for (int j = 0; j <= nt; ++j)
            m.Load(id(0, j), f[id(0, j) - 1][0], f[id(0, j) - 1][1]);
        return m;
    }

private slots:
    void patchTestsAreExactOnDistortedMeshes();
    void bendingAgreesWithBeamTheory();
    void thickCylinderAgreesWithLame();
    void tubeInAxialCompression();
    void refinementConvergesAtSecondOrder();
    void badMeshesAreRefusedByElement();
    void combinationsSuperposeTheCases();
    void resultFileHoldsTheFieldAndTorsion();
    void programWritesResultsAndProtocol();
    void examplesSolveToWhatTheyShow();
};

void TestContinuum::patchTestsAreExactOnDistortedMeshes() {
    // A constant stress state by the consistent loads of its tractions on the patch's edges,
    // balanced in itself, held only against moving as a whole: every element, quadrilateral
    // or triangle, must give that stress exactly, and the displacements must be linear.
    const double sx = 3.0, sz = -2.0, txz = 1.5;
    for (int problem : {9, 10, 11}) {
        for (bool triangles : {false, true}) {
            // The body of revolution lies off the axis, where sx = sr and the hoop stress are
            // carried by the ring: its constant states are er = et (ur = a r) and sz.
            const bool ring = problem == 11;
            Mesh m = Patch(ring ? 1.0 : 0.0);
            const double t = 0.1;
            const double across = problem == 9 ? t : 1.0;
            // Tractions on the four sides of the rectangle: (sx, txz) on x = const, (txz, sz)
            // on z = const, with outward normals; ring loads per unit circumference.
            const double s[2][2] = {{ring ? sx : sx, ring ? 0 : txz}, {ring ? 0 : txz, sz}};
            std::vector<std::array<double, 2>> f(m.Nodes.size(), {0, 0});
            const auto edge = [&](int a, int b, int nx, int nz) {
                const Point pa = m.Nodes[a - 1], pb = m.Nodes[b - 1];
                const double length = std::hypot(pb[0] - pa[0], pb[1] - pa[1]);
                const double tx = s[0][0] * nx + s[0][1] * nz, tz = s[1][0] * nx + s[1][1] * nz;
                // Per radian: the integral of N r along the edge; per unit length otherwise.
                const double wa = ring ? length * (2 * pa[0] + pb[0]) / 6 : length / 2 * across;
                const double wb = ring ? length * (pa[0] + 2 * pb[0]) / 6 : length / 2 * across;
                f[a - 1][0] += tx * wa;
                f[a - 1][1] += tz * wa;
                f[b - 1][0] += tx * wb;
                f[b - 1][1] += tz * wb;
            };
            edge(1, 2, 0, -1);
            edge(2, 3, 1, 0);
            edge(3, 4, 0, 1);
            edge(4, 1, -1, 0);
            // A ring's radial stress needs the hoop to carry it: sr = st = sx means the body
            // of revolution stays in the state er = et; the ring loads above give sr on its
            // faces, and its hoop balances them.
            for (size_t n = 0; n < m.Nodes.size(); ++n) {
                const double radian = ring ? m.Nodes[n][0] : 1.0;
                if (f[n][0] != 0 || f[n][1] != 0)
                    m.Load(static_cast<int>(n + 1), f[n][0] / radian, f[n][1] / radian);
            }
            m.Fix(1, !ring, true);
            if (!ring)
                m.Fix(2, false, true);
            if (triangles)
                m = m.Triangles();
            const double e = 2e5, nu = 0.25;
            SolverFiles::Run run(Program(problem), Name(problem), m.File(problem, e, nu, t));
            QVERIFY2(run.Ok(), qPrintable(run.Error()));
            // The ring: sr = st = sx (a radial expansion er = et) and sz.
            const int elements = static_cast<int>(m.Cells.size());
            for (int element = 1; element <= elements; ++element) {
                QV_COMPARE_NEAR(run.Case(1, "stresses", element, 0), sx, 1e-8);
                QV_COMPARE_NEAR(run.Case(1, "stresses", element, 1), sz, 1e-8);
                if (ring) {
                    QV_COMPARE_NEAR(run.Case(1, "stresses", element, 2), 0.0, 1e-8);
                    QV_COMPARE_NEAR(run.Case(1, "stresses", element, 3), sx, 1e-8);
                } else {
                    QV_COMPARE_NEAR(run.Case(1, "stresses", element, 2), txz, 1e-8);
                }
            }
            for (int node = 1; node <= static_cast<int>(m.Nodes.size()); ++node) {
                QV_COMPARE_NEAR(run.Case(1, "nodeStresses", node, 0), sx, 1e-8);
                QV_COMPARE_NEAR(run.Case(1, "nodeStresses", node, 1), sz, 1e-8);
            }
        }
    }
}

void TestContinuum::bendingAgreesWithBeamTheory() {
    // A cantilever of 10 x 1 in plane stress, two elements through its depth. Pure bending by
    // a couple at the free end is exact for the quadrilaterals (a plain bilinear element gives
    // a third of it); a tip shear follows Timoshenko's beam within 2 %.
    const double length = 10, height = 1, t = 0.1, e = 1e4, nu = 0.25;
    const int nx = 10, nz = 2;
    const double inertia = t * height * height * height / 12;
    for (bool shear : {false, true}) {
        Mesh m = Grid(0, length, height, nx, nz);
        const auto id = [nx](int i, int j) { return j * (nx + 1) + i + 1; };
        for (int j = 0; j <= nz; ++j)
            m.Fix(id(0, j), true, j == nz / 2);
        const double load = 1;
        if (shear) {
            // The parabolic shear of beam theory as consistent loads over the end's edges:
            // Simpson's rule per element edge is exact for it.
            std::vector<double> fz(nz + 1, 0.0);
            const auto tau = [&](double z) {
                return 1.5 * load / height * (1 - std::pow(2 * z / height - 1, 2));
            };
            for (int j = 0; j < nz; ++j) {
                const double za = height * j / nz, zb = height * (j + 1) / nz, h = zb - za;
                const double ta = tau(za), tm = tau((za + zb) / 2), tb = tau(zb);
                fz[j] += h / 6 * (ta + 2 * tm);
                fz[j + 1] += h / 6 * (2 * tm + tb);
            }
            for (int j = 0; j <= nz; ++j)
                m.Load(id(nx, j), 0, -fz[j]);
        } else {
            // A couple M: linear normal stress over the end, as consistent nodal forces.
            m.Load(id(nx, 0), -0.25 * 6 * load / height / 2 * height, 0);
            m.Load(id(nx, nz), 0.25 * 6 * load / height / 2 * height, 0);
        }
        SolverFiles::Run run(QStringLiteral("Omberi"), Name(9), m.File(9, e, nu, t));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const double tip = run.Displacement(id(nx, nz / 2), 1);
        if (!shear) {
            // Nodal forces +-0.75 at the faces with the centre unloaded: a moment of
            // 0.75 * height = 0.75, tension on top: the tip goes down by M L^2 / 2 E I.
            const double moment = 0.75 * height;
            QV_COMPARE_NEAR(-tip, moment * length * length / (2 * e * inertia), 1e-8);
            // The stress is linear over the depth, M z / I about the middle: the recovery gives
            // it exactly at every node, on the faces and the ends too.
            for (int j = 0; j <= nz; ++j)
                for (int i = 0; i <= nx; ++i)
                    QV_COMPARE_NEAR(run.Case(1, "nodeStresses", id(i, j), 0),
                                    moment * (height * j / nz - height / 2) / inertia, 1e-8);
        } else {
            const double g = e / (2 * (1 + nu));
            const double timoshenko = load * std::pow(length, 3) / (3 * e * inertia) +
                                      load * length / (5.0 / 6 * g * t * height);
            QV_COMPARE_NEAR(-tip, timoshenko, 0.02);
        }
    }
}

void TestContinuum::thickCylinderAgreesWithLame() {
    const double a = 1, b = 2, p = 10, e = 2e5, nu = 0.3;
    const auto lameUr = [&](double r) {
        // Plane strain (long closed-free cylinder with ez = 0).
        return (1 + nu) * p * a * a / (e * (b * b - a * a)) * ((1 - 2 * nu) * r + b * b / r);
    };
    const auto lameHoop = [&](double r) {
        return p * a * a / (b * b - a * a) * (1 + b * b / (r * r));
    };
    // Plane strain: a quarter ring.
    {
        const int nr = 8, nt = 12;
        const Mesh m = QuarterRingMesh(a, b, p, nr, nt);
        const auto id = [nr](int i, int j) { return j * (nr + 1) + i + 1; };
        SolverFiles::Run run(QStringLiteral("Zuntel"), Name(10), m.File(10, e, nu));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        QV_COMPARE_NEAR(run.Displacement(id(0, 0), 0), lameUr(a), 0.01);
        QV_COMPARE_NEAR(run.Displacement(id(nr, 0), 0), lameUr(b), 0.01);
        // The hoop stress is sz on the x axis; at the middle of the wall.
        QV_COMPARE_NEAR(run.Case(1, "nodeStresses", id(nr / 2, 0), 1), lameHoop(1.5), 0.02);
    }
    // The body of revolution: a tube of height 0.5 held at its base along z only; the same
    // ur at z = 0 when its ends stay plane and free (sz = 0, which changes ur by nu).
    {
        const int nr = 8, nz = 2;
        const double height = 0.5;
        Mesh m = Grid(a, b - a, height, nr, nz);
        const auto id = [nr](int i, int j) { return j * (nr + 1) + i + 1; };
        for (int i = 0; i <= nr; ++i)
            m.Fix(id(i, 0), false, true);
        for (int j = 0; j <= nz; ++j)
            m.Load(id(0, j), p * height / nz * (j == 0 || j == nz ? 0.5 : 1.0), 0);
        SolverFiles::Run run(QStringLiteral("Frelam"), Name(11), m.File(11, e, nu));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        // Open ends: ur = p a^2 / (E (b^2 - a^2)) ((1 - nu) r + (1 + nu) b^2 / r).
        const auto openUr = [&](double r) {
            return p * a * a / (e * (b * b - a * a)) * ((1 - nu) * r + (1 + nu) * b * b / r);
        };
        for (int j = 0; j <= nz; ++j) {
            QV_COMPARE_NEAR(run.Displacement(id(0, j), 0), openUr(a), 0.01);
            QV_COMPARE_NEAR(run.Displacement(id(nr, j), 0), openUr(b), 0.01);
        }
        QV_COMPARE_NEAR(run.Case(1, "nodeStresses", id(nr / 2, 1), 3), lameHoop(1.5), 0.02);
        // At the inner wall, where the stresses peak: the patch recovery gives the hoop stress
        // of eight elements through the wall within 1 % and the radial one within 10 %, where
        // the mean of the elements' corners was 15 % low.
        QV_COMPARE_NEAR(run.Case(1, "nodeStresses", id(0, 1), 3), lameHoop(a), 0.01);
        QV_COMPARE_NEAR(run.Case(1, "nodeStresses", id(0, 1), 0), -p, 0.10);
        // No load along the axis, so the reactions there add up to nothing per radian.
        double sum = 0;
        for (int i = 0; i <= nr; ++i)
            sum += run.Reaction(id(i, 0), 1) * m.Nodes[id(i, 0) - 1][0];
        QVERIFY(std::abs(sum) < 1e-9 * p);
    }
}

void TestContinuum::tubeInAxialCompression() {
    // A thick tube on the axis-free base, pressed by p on its top ring: uz = -p H / E at the top
    // and the wall widens by nu p r / E, both exact; the base reaction per unit circumference
    // carries the load back.
    const double a = 0.8, b = 1.2, height = 2, p = 50, e = 3e4, nu = 0.2;
    const int nr = 4, nz = 6;
    Mesh m = Grid(a, b - a, height, nr, nz);
    const auto id = [nr](int i, int j) { return j * (nr + 1) + i + 1; };
    for (int i = 0; i <= nr; ++i)
        m.Fix(id(i, 0), false, true);
    for (int i = 0; i < nr; ++i) {
        const Point pa = m.Nodes[id(i, nz) - 1], pb = m.Nodes[id(i + 1, nz) - 1];
        const double length = pb[0] - pa[0];
        m.Load(id(i, nz), 0, -p * length * (2 * pa[0] + pb[0]) / 6 / pa[0]);
        m.Load(id(i + 1, nz), 0, -p * length * (pa[0] + 2 * pb[0]) / 6 / pb[0]);
    }
    SolverFiles::Run run(QStringLiteral("Frelam"), Name(11), m.File(11, e, nu));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    for (int i = 0; i <= nr; ++i) {
        const double r = m.Nodes[id(i, nz) - 1][0];
        QV_COMPARE_NEAR(run.Displacement(id(i, nz), 1), -p * height / e, 1e-8);
        QV_COMPARE_NEAR(run.Displacement(id(i, nz), 0), nu * p * r / e, 1e-8);
    }
    QV_COMPARE_NEAR(run.Case(1, "stresses", 1, 1), -p, 1e-8);
    double total = 0;
    for (int i = 0; i <= nr; ++i)
        total += run.Reaction(id(i, 0), 1) * 2 * std::numbers::pi * m.Nodes[id(i, 0) - 1][0];
    QV_COMPARE_NEAR(total, p * std::numbers::pi * (b * b - a * a), 1e-9);
}

void TestContinuum::refinementConvergesAtSecondOrder() {
    // The thick cylinder of plane strain on triangles, the slowest elements: halving the mesh
    // must cut the error of the inner wall's displacement about four times, as it does for
    // linear elements on a smooth solution.
    const double a = 1, b = 2, p = 10, e = 2e5, nu = 0.3;
    const double exact =
        (1 + nu) * p * a * a / (e * (b * b - a * a)) * ((1 - 2 * nu) * a + b * b / a);
    std::vector<double> errors;
    for (int n : {8, 16, 32}) {
        const Mesh m = QuarterRingMesh(a, b, p, n, 2 * n).Triangles();
        SolverFiles::Run run(QStringLiteral("Zuntel"), Name(10), m.File(10, e, nu));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        errors.push_back(std::abs(run.Displacement(1, 0) - exact));
    }
    for (size_t k = 1; k < errors.size(); ++k) {
        const double order = std::log2(errors[k - 1] / errors[k]);
        QVERIFY2(order > 1.7 && order < 2.3, qPrintable(QString::number(order)));
    }
}

void TestContinuum::badMeshesAreRefusedByElement() {
    struct Case {
        const char* What;
        std::function<void(Mesh&)> Spoil;
        const char* Message;
    };
    const std::vector<Case> cases{
        {"a flat triangle",
         [](Mesh& m) {
             m.Cells.push_back({1, 2, m.Add(2, 0)});
         },
         "has no area"},
        {"a concave quadrilateral",
         [](Mesh& m) {
             m.Cells.push_back({1, 2, m.Add(0.3, 0.3), 4});
         },
         "is not convex"},
        {"a corner twice",
         [](Mesh& m) {
             m.Cells.push_back({1, 2, 2, 4});
         },
         "twice"},
        {"a crossed quadrilateral",
         [](Mesh& m) {
             m.Cells[0] = {1, 3, 2, 4};
         },
         "is twisted"},
        {"an element on top of another",
         [](Mesh& m) {
             m.Cells.push_back({1, 2, m.Add(0.5, 0.5)});
         },
         "overlaps element 1"},
        {"a node of no element", [](Mesh& m) { m.Add(5, 5); }, "node 5 belongs to no element"},
        {"a mechanism", [](Mesh& m) { m.Supports = {QStringLiteral("1 1 1")}; },
         "mechanism or not supported enough: node"},
        // Its rounding left the reactions of the load of 1 beside it as noise of 1e84.
        {"a load of 1e100 beside one of 1", [](Mesh& m) { m.Load(4, 1e100, 1); },
         "loads of up to 1e+100 kN are too large to calculate with"},
    };
    for (const Case& c : cases) {
        // One unit square, held on its base, with a node to spare where a case needs one.
        Mesh m;
        m.Add(0, 0);
        m.Add(1, 0);
        m.Add(1, 1);
        m.Add(0, 1);
        m.Cells = {{1, 2, 3, 4}};
        m.Fix(1, true, true);
        m.Fix(2, false, true);
        m.Load(3, 1, 0);
        c.Spoil(m);
        SolverFiles::Run run(QStringLiteral("Omberi"), Name(9), m.File(9, 1e4, 0.2));
        QVERIFY2(!run.Ok(), c.What);
        QVERIFY2(run.Error().contains(QLatin1String(c.Message)),
                 qPrintable(QStringLiteral("%1: %2").arg(c.What, run.Error())));
    }
    // A ring load on the axis has no circumference to act on.
    Mesh m = Grid(0, 1, 1, 1, 1);
    m.Fix(1, false, true);
    m.Fix(2, false, true);
    m.Load(3, 1, 0);
    SolverFiles::Run run(QStringLiteral("Frelam"), Name(11), m.File(11, 1e4, 0.2));
    QVERIFY(!run.Ok());
    QVERIFY2(run.Error().contains(QLatin1String("node 3 lies on the axis")),
             qPrintable(run.Error()));
}

void TestContinuum::combinationsSuperposeTheCases() {
    // A plane-stress wall clamped at one end: case 1 a load down at its free end, case 2 a pull
    // along it and a load up, case 3 none.
    MeshModel model = MeshPanels::Grid(ProblemType::Mesh::PlaneStress, 2);
    model.LoadCases = 3;
    const std::vector<MeshModel::NodalLoad> down = model.Loads;
    for (const MeshModel::NodalLoad& load : down)
        model.Loads.push_back({2, load.Node, {0.9, 0, 0.3 * load.Node}, 0});
    model.Combinations = {{1, {{1, 1.35}, {2, 1.5}}, 70}, {2, {{1, 1.0}, {2, -0.8}, {3, 2.0}}, 72}};
    model.Envelopes = {{1, {1, 2}, 75}};
    FieldResults results = MeshStatics::Run(model).Results;
    std::unique_ptr<MeshFamily> family = MeshFamily::Of(model);
    QStringList warnings;
    family->Build(model, warnings);
    LoadCombinations::Apply(model, *family, results);
    QCOMPARE(results.Combinations.size(), size_t{2});
    const FieldResults::Case& combined = results.Combinations[0];

    // The same factors on the loads, solved at once: every value alike, the principal stresses
    // too, which are not the factors times the cases' principal stresses.
    MeshModel once = model;
    once.LoadCases = 1;
    once.Combinations.clear();
    once.Envelopes.clear();
    once.Loads.clear();
    for (const MeshModel::NodalLoad& load : model.Loads) {
        const double factor = load.Case == 1 ? 1.35 : 1.5;
        once.Loads.push_back({1, load.Node, {factor * load.Load[0], 0, factor * load.Load[2]}, 0});
    }
    const FieldResults::Case direct = MeshStatics::Run(once).Results.Cases[0];
    const auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
        double largest = 0, worst = 0;
        for (size_t k = 0; k < a.size(); ++k) {
            largest = std::max(largest, std::abs(b[k]));
            worst = std::max(worst, std::abs(a[k] - b[k]));
        }
        return a.size() == b.size() && worst <= 1e-9 * largest;
    };
    QVERIFY(same(combined.Displacements, direct.Displacements));
    QVERIFY(same(combined.Stresses, direct.Stresses));
    QVERIFY(same(combined.NodeStresses, direct.NodeStresses));
    for (size_t r = 0; r < direct.Reactions.size(); ++r)
        QVERIFY(same(combined.Reactions[r].Values, direct.Reactions[r].Values));
    const int s1 = results.Columns.IndexOf(QStringLiteral("s1"));
    double apart = 0;
    for (int e = 0; e < results.Elements; ++e) {
        const size_t at = static_cast<size_t>(e * results.StressCount() + s1);
        apart = std::max(apart,
                         std::abs(combined.Stresses[at] - (1.35 * results.Cases[0].Stresses[at] +
                                                           1.5 * results.Cases[1].Stresses[at])));
    }
    QVERIFY(apart > 1e-3 * std::abs(combined.Stresses[static_cast<size_t>(s1)]));

    // The envelope: value for value the larger and the smaller of the two, and the combination
    // that gives it; each governs somewhere.
    const FieldResults::Envelope& envelope = results.Envelopes.at(0);
    const FieldResults::Case& other = results.Combinations[1];
    std::set<double> governing;
    const auto extremes = [&](const std::vector<double>& one, const std::vector<double>& two,
                              const std::vector<double>& max, const std::vector<double>& maxBy,
                              const std::vector<double>& min, const std::vector<double>& minBy) {
        for (size_t k = 0; k < one.size(); ++k) {
            if (max[k] != std::max(one[k], two[k]) || min[k] != std::min(one[k], two[k]) ||
                maxBy[k] != (two[k] > one[k] ? 2 : 1) || minBy[k] != (two[k] < one[k] ? 2 : 1))
                return false;
            governing.insert(maxBy[k]);
        }
        return one.size() == max.size();
    };
    QVERIFY(extremes(combined.Displacements, other.Displacements, envelope.Max.Displacements,
                     envelope.MaxBy.Displacements, envelope.Min.Displacements,
                     envelope.MinBy.Displacements));
    QVERIFY(extremes(combined.NodeStresses, other.NodeStresses, envelope.Max.NodeStresses,
                     envelope.MaxBy.NodeStresses, envelope.Min.NodeStresses,
                     envelope.MinBy.NodeStresses));
    QVERIFY(extremes(combined.Reactions[0].Values, other.Reactions[0].Values,
                     envelope.Max.Reactions[0].Values, envelope.MaxBy.Reactions[0].Values,
                     envelope.Min.Reactions[0].Values, envelope.MinBy.Reactions[0].Values));
    QCOMPARE(governing, (std::set<double>{1, 2}));

    // The protocol names each combination's terms and each extreme's combination.
    const QString text =
        FieldReport::Tables(results, QStringLiteral("kN"), QStringLiteral("m"), {});
    QVERIFY(text.contains(
        QStringLiteral("\nCombination 2 = 1 x case 1 - 0.8 x case 2 + 2 x case 3\n")));
    QVERIFY(text.contains(QStringLiteral("\nEnvelope 1 of combinations 1, 2:")));
    const QJsonObject json = FieldReport::Json(results);
    QCOMPARE(json[QStringLiteral("combinations")][1][QStringLiteral("terms")][1]
                 [QStringLiteral("factor")]
                     .toDouble(),
             -0.8);
    QCOMPARE(json[QStringLiteral("envelopes")][0][QStringLiteral("maxBy")]
                 [QStringLiteral("displacements")][0][1]
                     .toDouble(),
             envelope.MaxBy.Displacements[0]);

    // A combination of a case the data does not have is refused at its line.
    model.Combinations[1].Terms.push_back({4, 1.0});
    try {
        LoadCombinations::Apply(model, *family, results);
        QFAIL("a missing case was combined");
    } catch (const SolverError& error) {
        QCOMPARE(error.Line(), 72);
    }
}

void TestContinuum::resultFileHoldsTheFieldAndTorsion() {
    for (ResultFile::Kind kind : {ResultFile::Kind::Field, ResultFile::Kind::Torsion}) {
        ResultFile::Contents written;
        written.Type = kind;
        written.Problem = kind == ResultFile::Kind::Field ? 9 : 16;
        FieldResults& r = written.Field;
        r.Nodes = 3;
        r.Elements = 1;
        r.Components = {"ux", "uz"};
        r.Columns = *ResultLayout::OfOldNames({"sx", "sz", "txz", "s1", "s2", "angle"});
        if (kind == ResultFile::Kind::Torsion)
            r.Twist = FieldResults::Torsion{10, 8e7, 1.2e-4, 1.04e-3, 3.1e3, 0.1, -0.2};
        FieldResults::Case c;
        c.Number = 2;
        c.Displacements = {1, 2, 3, 4, 5, 6};
        c.Reactions = {{3, {-1.5, 2.5}}};
        c.Stresses = {1, 2, 3, 4, 5, 6};
        for (int i = 0; i < 18; ++i)
            c.NodeStresses.push_back(i * 0.5);
        r.Cases = {c};
        // A file without combinations is one of version 5, as older viewers read it.
        QCOMPARE(int(ResultFile::Write(written)[8]), 5);
        if (kind == ResultFile::Kind::Field) {
            FieldResults::Case combined = c;
            combined.Number = 1;
            combined.Terms = {{2, 1.35}};
            r.Combinations = {combined};
            r.Envelopes = {{1, {1}, combined, combined, combined, combined}};
            r.Envelopes[0].MinBy.NodeStresses[4] = 7;
        }
        const QByteArray bytes = ResultFile::Write(written);
        const ResultFile::ReadOutcome read = ResultFile::ReadChecked(bytes);
        QVERIFY2(read.Read, qPrintable(read.Fault));
        const FieldResults& back = read.Read->Field;
        QCOMPARE(read.Read->Type, kind);
        QCOMPARE(back.Columns, r.Columns);
        QCOMPARE(back.Cases[0].NodeStresses, c.NodeStresses);
        QCOMPARE(back.Cases[0].Reactions[0].Values, c.Reactions[0].Values);
        QCOMPARE(back.Twist.has_value(), kind == ResultFile::Kind::Torsion);
        QCOMPARE(back.Combinations.size(), r.Combinations.size());
        if (!r.Combinations.empty()) {
            QCOMPARE(back.Combinations[0].Terms, r.Combinations[0].Terms);
            QCOMPARE(back.Combinations[0].Reactions[0].Values, c.Reactions[0].Values);
            QCOMPARE(back.Envelopes[0].Combinations, std::vector<int>{1});
            QCOMPARE(back.Envelopes[0].MinBy.NodeStresses, r.Envelopes[0].MinBy.NodeStresses);
        }
        if (back.Twist)
            QCOMPARE(back.Twist->AtZ, -0.2);
        // Cut short anywhere, or a reaction at a node the file does not have: refused.
        for (qsizetype cut = 1; cut < bytes.size(); cut += 7)
            QVERIFY(!ResultFile::ReadChecked(bytes.left(cut)).Read);
    }
}

void TestContinuum::programWritesResultsAndProtocol() {
    QTemporaryDir directory;
    const QString data = directory.filePath(QStringLiteral("panel.d09"));
    QVERIFY(QFile::copy(QStringLiteral(SOLVERS_EXAMPLES "/panel.d09"), data));
    const SolverCommand::Outcome outcome =
        SolverCommand::Run(*SolverEntry::Named(QStringLiteral("Omberi")),
                           {data, QStringLiteral("S")}, directory.path());
    QCOMPARE(outcome.ExitCode, 0);
    QFile result(directory.filePath(QStringLiteral("panel.bin")));
    QVERIFY(result.open(QIODevice::ReadOnly));
    const auto contents = ResultFile::Read(result.readAll());
    QVERIFY(contents && contents->Type == ResultFile::Kind::Field);
    QCOMPARE(contents->Field.Nodes, 55);
    QVERIFY(outcome.Protocol.contains(QLatin1String("Stresses at the element centres")));
    // A mesh that cannot be solved leaves no result file and says why in the protocol, with
    // the element's line for the editor to select.
    {
        Mesh bad = Grid(0, 1, 1, 1, 1);
        bad.Cells = {{1, 2, 3, 4}}; // corners crossed: (0, 0), (1, 0), (0, 1), (1, 1)
        bad.Fix(1, true, true);
        bad.Fix(2, false, true);
        bad.Load(4, 1, 0);
        const QString path = directory.filePath(QStringLiteral("bad.d09"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bad.File(9, 1e4, 0.2));
        file.close();
        const SolverCommand::Outcome refused =
            SolverCommand::Run(*SolverEntry::Named(QStringLiteral("Omberi")),
                               {path, QStringLiteral("S")}, directory.path());
        QCOMPARE(refused.ExitCode, 1);
        QVERIFY2(refused.Message.startsWith(QLatin1String("Line ")), qPrintable(refused.Message));
        QVERIFY(!QFile::exists(directory.filePath(QStringLiteral("bad.bin"))));
        QVERIFY2(refused.Protocol.contains(QLatin1String("is twisted")),
                 qPrintable(refused.Protocol));
    }
    // A case without loads is listed as the bars list one: with nothing moving.
    Mesh m = Grid(0, 1, 1, 2, 1);
    m.Fix(1, true, true);
    m.Fix(3, false, true);
    m.Load(6, 0, -1, 2);
    SolverFiles::Run run(QStringLiteral("Omberi"), Name(9), m.File(9, 1e4, 0.2, 0.1, 2));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QCOMPARE(run.Json()[QStringLiteral("cases")].toArray().size(), 2);
    QCOMPARE(run.Displacement(6, 1, 1), 0.0);
    QVERIFY(run.Displacement(6, 1, 2) < 0);
    // The panel carries its 30 kN down to its two supports.
    const FieldResults::Case& c = contents->Field.Cases[0];
    QV_COMPARE_NEAR(c.Reactions[0].Values[1] + c.Reactions[1].Values[1], 30.0, 1e-10);
}

void TestContinuum::examplesSolveToWhatTheyShow() {
    const auto solve = [](const QString& program, const QString& name) {
        QFile file(QStringLiteral(SOLVERS_EXAMPLES "/") + name);
        if (!file.exists())
            file.setFileName(QStringLiteral(SOLVERS_MODELS "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("no example %s", qPrintable(name));
        return std::make_unique<SolverFiles::Run>(program, name, file.readAll());
    };
    // The wall carries its slab's 40 kN/m over 6 m down to its base.
    const auto wall = solve(QStringLiteral("Omberi"), QStringLiteral("wall.d09"));
    QVERIFY2(wall->Ok(), qPrintable(wall->Error()));
    double down = 0;
    for (const QJsonValue row :
         wall->Json()[QStringLiteral("cases")][0][QStringLiteral("reactions")].toArray())
        down += row[2].toDouble();
    QV_COMPARE_NEAR(down, 240.0, 1e-9);
    // The thick ring's inner wall against Lame's open cylinder.
    const auto ring = solve(QStringLiteral("Frelam"), QStringLiteral("thickring.d11"));
    QVERIFY2(ring->Ok(), qPrintable(ring->Error()));
    const double a = 0.5, b = 1.0, p = 1e4, e = 2.1e8, nu = 0.3;
    QV_COMPARE_NEAR(ring->Displacement(1, 0),
                    p * a * a / (e * (b * b - a * a)) * ((1 - nu) * a + (1 + nu) * b * b / a),
                    0.002);
    // Each type's stresses in the order the JSON and the result file promise.
    const std::vector<std::pair<const char*, QStringList>> layouts{
        {"panel.d09", {"sx", "sz", "txz", "s1", "s2", "angle"}},
        {"dam.d10", {"sx", "sz", "txz", "sy", "s1", "s2", "angle"}},
        {"ring.d11", {"sr", "sz", "trz", "st", "s1", "s2", "angle"}}};
    for (const auto& [name, names] : layouts) {
        const QString file = QString::fromLatin1(name);
        const auto run = solve(file.endsWith(QLatin1String("09"))   ? QStringLiteral("Omberi")
                               : file.endsWith(QLatin1String("10")) ? QStringLiteral("Zuntel")
                                                                    : QStringLiteral("Frelam"),
                               file);
        QCOMPARE(run->Json()[QStringLiteral("stressNames")].toVariant().toStringList(), names);
    }
    for (const char* name : {"panel.d09", "dam.d10", "ring.d11", "gravitydam.d10"}) {
        const QString file = QString::fromLatin1(name);
        const auto run = solve(file.endsWith(QLatin1String("09"))   ? QStringLiteral("Omberi")
                               : file.endsWith(QLatin1String("10")) ? QStringLiteral("Zuntel")
                                                                    : QStringLiteral("Frelam"),
                               file);
        QVERIFY2(run->Ok(), qPrintable(file + u' ' + run->Error()));
    }
}

QTEST_APPLESS_MAIN(TestContinuum)
#include "tst_continuum.moc"
