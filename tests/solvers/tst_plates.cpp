#include "ResultFile.h"
#include "SolverFiles.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <numbers>

// Plates solved as the programs solve them, against Navier's series, the classic coefficients
// of clamped and circular plates, beam theory and the frequencies of a simply supported plate;
// the refusals of plates that cannot be solved; the results the viewer reads.
class TestPlates : public QObject {
    Q_OBJECT

    using Point = std::array<double, 2>;
    static constexpr double Pi = std::numbers::pi;

    struct Mesh {
        std::vector<Point> Nodes;
        std::vector<std::vector<int>> Cells;
        QStringList Supports, Loads, Pressures, Masses;

        int Add(double x, double y) {
            Nodes.push_back({x, y});
            return static_cast<int>(Nodes.size());
        }
        void Fix(int node, bool w, bool rx, bool ry) {
            Supports << QStringLiteral("%1 %2 %3 %4").arg(node).arg(w).arg(rx).arg(ry);
        }
        void Load(int node, double fz, double mx = 0, double my = 0, int loadCase = 1) {
            Loads << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(loadCase)
                         .arg(node)
                         .arg(fz, 0, 'g', 17)
                         .arg(mx, 0, 'g', 17)
                         .arg(my, 0, 'g', 17);
        }
        void PressureAll(double p, int loadCase = 1) {
            for (size_t e = 0; e < Cells.size(); ++e)
                Pressures << QStringLiteral("%1 %2 %3").arg(loadCase).arg(e + 1).arg(p, 0, 'g', 17);
        }
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
        QByteArray File(double e, double nu, double t, double gamma = 0, int cases = 1,
                        int modes = 0) const {
            SolverFiles::Tables tables;
            tables.push_back({2, {QStringLiteral("%1 %2 %3 0").arg(e).arg(nu).arg(gamma)}});
            tables.push_back({3, {QString::number(t)}});
            QStringList nodes, cells;
            for (const Point& p : Nodes)
                nodes << QStringLiteral("%1 %2").arg(p[0], 0, 'g', 17).arg(p[1], 0, 'g', 17);
            for (const auto& c : Cells)
                cells << QStringLiteral("%1 %2 %3 %4 1 1")
                             .arg(c[0])
                             .arg(c[1])
                             .arg(c[2])
                             .arg(c.size() > 3 ? c[3] : 0);
            tables.push_back({4, nodes});
            tables.push_back({5, cells});
            tables.push_back({6, Supports});
            tables.push_back({7, Loads});
            tables.push_back({8, Pressures});
            tables.push_back({9, Masses});
            return SolverFiles::Structure(cases, tables, QString::number(modes));
        }
    };

    // A rectangle of nx x ny quadrilaterals from (0, 0) to (a, b); node (i, j) is id(i, j).
    static Mesh Grid(double a, double b, int nx, int ny) {
        Mesh m;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                m.Add(a * i / nx, b * j / ny);
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i)
                m.Cells.push_back(
                    {Id(nx, i, j), Id(nx, i + 1, j), Id(nx, i + 1, j + 1), Id(nx, i, j + 1)});
        return m;
    }
    static int Id(int nx, int i, int j) { return j * (nx + 1) + i + 1; }

    // The edges of a grid held: simply supported (w only) or clamped.
    static void HoldEdges(Mesh& m, int nx, int ny, bool clamped) {
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                if (i == 0 || j == 0 || i == nx || j == ny)
                    m.Fix(Id(nx, i, j), true, clamped, clamped);
    }

    // Navier's series for a simply supported a x b plate under an even load q (downwards
    // positive here): the deflection and the moments mx, my at (x, y).
    struct Navier {
        double W = 0, Mx = 0, My = 0;
    };
    static Navier NavierSeries(double a, double b, double q, double d, double nu, double x,
                               double y) {
        Navier out;
        for (int m = 1; m < 400; m += 2)
            for (int n = 1; n < 400; n += 2) {
                const double am = m * Pi / a, bn = n * Pi / b;
                const double wmn = 16 * q / (Pi * Pi * m * n * d * std::pow(am * am + bn * bn, 2));
                const double s = std::sin(am * x) * std::sin(bn * y);
                out.W += wmn * s;
                out.Mx += d * wmn * (am * am + nu * bn * bn) * s;
                out.My += d * wmn * (bn * bn + nu * am * am) * s;
            }
        return out;
    }

private slots:
    void simplySupportedSquareAgreesWithNavier();
    void clampedSquareAgreesWithTheClassicCoefficients();
    void circularPlatesAgreeWithTheirClosedForms();
    void cantileverStripBendsAsABeam();
    void fineMeshesAreSolvedNotRefused();
    void naturalFrequenciesOfASimplySupportedSquare();
    void freeSquareHasThreeRigidModesThenLeissas();
    void platesThatCannotBeSolvedAreRefused();
    void resultFilesHoldWhatTheViewerShows();
    void examplesSolveToWhatTheyShow();
};

void TestPlates::simplySupportedSquareAgreesWithNavier() {
    // 6 x 6 m, 0.2 m of concrete under 10 kN/m2 downwards, on the coarse 8 x 8 mesh an engineer
    // draws: the deflection within 1 %, the moment within 3 % at the centre, both signs as an
    // engineer reads them (down is negative, the sagging moment positive).
    const double a = 6, e = 3e7, nu = 0.2, t = 0.2, q = 10;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    const Navier exact = NavierSeries(a, a, q, d, nu, a / 2, a / 2);
    QVERIFY(std::abs(exact.W / (q * a * a * a * a / d) - 0.00406) < 2e-5);
    for (bool triangles : {false, true}) {
        const int n = 8;
        Mesh m = Grid(a, a, n, n);
        HoldEdges(m, n, n, false);
        if (triangles)
            m = m.Triangles();
        m.PressureAll(-q);
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"),
                                   m.File(e, nu, t));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const int centre = Id(n, n / 2, n / 2);
        QV_COMPARE_NEAR(run.Displacement(centre, 0), -exact.W, 0.01);
        // The rotations at the middle of the edges: the slope of the sagging plate.
        QVERIFY(run.Displacement(Id(n, 0, n / 2), 2) > 0); // ry = -dw/dx > 0 at x = 0
        const double mx = run.Case(1, QStringLiteral("nodeStresses"), centre, 0);
        const double my = run.Case(1, QStringLiteral("nodeStresses"), centre, 1);
        QV_COMPARE_NEAR(mx, exact.Mx, 0.03);
        QV_COMPARE_NEAR(my, exact.My, 0.03);
        // The supports carry the whole load, a quarter on each edge.
        double total = 0;
        for (int k = 0; k <= n; ++k)
            total += run.Reaction(Id(n, 0, k), 0) + run.Reaction(Id(n, n, k), 0) +
                     run.Reaction(Id(n, k, 0), 0) + run.Reaction(Id(n, k, n), 0);
        total -= run.Reaction(Id(n, 0, 0), 0) + run.Reaction(Id(n, n, 0), 0) +
                 run.Reaction(Id(n, 0, n), 0) + run.Reaction(Id(n, n, n), 0);
        QV_COMPARE_NEAR(total, q * a * a, 1e-9);
        // The shear force at the middle of an edge, Timoshenko's 0.338 q a, and none at the
        // centre.
        QV_COMPARE_NEAR(run.Case(1, QStringLiteral("nodeStresses"), Id(n, 0, n / 2), 3),
                        0.338 * q * a, 0.08);
        QV_COMPARE_NEAR(run.Case(1, QStringLiteral("nodeStresses"), centre, 3), 0, 0.01 * q * a);
        // Principal moments at the centre: equal, as the plate is square.
        const double m1 = run.Case(1, QStringLiteral("nodeStresses"), centre, 5);
        const double m2 = run.Case(1, QStringLiteral("nodeStresses"), centre, 6);
        QV_COMPARE_NEAR(m1, mx, 0.02);
        QV_COMPARE_NEAR(m2, my, 0.02);
    }
}

void TestPlates::clampedSquareAgreesWithTheClassicCoefficients() {
    // Timoshenko's clamped square plate (nu = 0.3): w = 0.00126532 q a^4 / D, the moment at
    // the centre 0.0231 q a^2 and at the middle of an edge -0.0513 q a^2.
    const double a = 4, e = 2.1e8, nu = 0.3, t = 0.05, q = 5;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    for (bool triangles : {false, true}) {
        const int n = 16;
        Mesh m = Grid(a, a, n, n);
        HoldEdges(m, n, n, true);
        if (triangles)
            m = m.Triangles();
        m.PressureAll(-q);
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("clamped.d13"),
                                   m.File(e, nu, t));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        QV_COMPARE_NEAR(run.Displacement(Id(n, n / 2, n / 2), 0),
                        -0.00126532 * q * a * a * a * a / d, 0.015);
        QV_COMPARE_NEAR(run.Case(1, QStringLiteral("nodeStresses"), Id(n, n / 2, n / 2), 0),
                        0.0231 * q * a * a, 0.03);
        QV_COMPARE_NEAR(run.Case(1, QStringLiteral("nodeStresses"), Id(n, 0, n / 2), 0),
                        -0.0513 * q * a * a, 0.05);
    }
}

void TestPlates::circularPlatesAgreeWithTheirClosedForms() {
    // A disc of radius a in rings of quadrilaterals round a fan of triangles, under an even
    // load: clamped w0 = q a^4 / 64 D, simply supported w0 = (5 + nu) q a^4 / (64 (1 + nu) D).
    const double a = 2, e = 3e7, nu = 0.2, t = 0.15, q = 8;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    const int rings = 6, around = 32;
    Mesh base;
    const int centre = base.Add(0, 0);
    for (int r = 1; r <= rings; ++r)
        for (int k = 0; k < around; ++k) {
            const double radius = a * r / rings, angle = 2 * Pi * k / around;
            base.Add(radius * std::cos(angle), radius * std::sin(angle));
        }
    const auto id = [](int r, int k) { return 2 + (r - 1) * around + (k % around); };
    for (int k = 0; k < around; ++k)
        base.Cells.push_back({centre, id(1, k), id(1, k + 1)});
    for (int r = 1; r < rings; ++r)
        for (int k = 0; k < around; ++k)
            base.Cells.push_back({id(r, k), id(r + 1, k), id(r + 1, k + 1), id(r, k + 1)});
    base.PressureAll(-q);
    for (bool clamped : {true, false}) {
        Mesh m = base;
        for (int k = 0; k < around; ++k)
            m.Fix(id(rings, k), true, clamped, clamped);
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("disc.d13"),
                                   m.File(e, nu, t));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const double exact = clamped ? q * std::pow(a, 4) / (64 * d)
                                     : (5 + nu) * q * std::pow(a, 4) / (64 * (1 + nu) * d);
        // The polygon of 32 sides has 0.6 % less area than the circle.
        QV_COMPARE_NEAR(run.Displacement(centre, 0), -exact, 0.02);
    }
}

void TestPlates::cantileverStripBendsAsABeam() {
    // A strip 4 m long and 0.5 m wide, one element wide, clamped at x = 0, a load P and a
    // moment M at the free end; with nu = 0 the strip is a beam of EI = D b.
    const double length = 4, b = 0.5, e = 2e8, t = 0.1, p = 2, moment = 3;
    const double ei = e * b * t * t * t / 12;
    for (bool triangles : {false, true}) {
        const int n = 8;
        Mesh m = Grid(length, b, n, 1);
        m.Fix(Id(n, 0, 0), true, true, true);
        m.Fix(Id(n, 0, 1), true, true, true);
        m.Load(Id(n, n, 0), -p / 2, 0, 0, 1);
        m.Load(Id(n, n, 1), -p / 2, 0, 0, 1);
        // A moment about +y turns the end by ry = -dw/dx > 0: the tip goes down.
        m.Load(Id(n, n, 0), 0, 0, moment / 2, 2);
        m.Load(Id(n, n, 1), 0, 0, moment / 2, 2);
        if (triangles)
            m = m.Triangles();
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("strip.d13"),
                                   m.File(e, 0, t, 0, 2));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        QV_COMPARE_NEAR(run.Displacement(Id(n, n, 0), 0, 1), -p * std::pow(length, 3) / (3 * ei),
                        0.01);
        QV_COMPARE_NEAR(run.Displacement(Id(n, n, 1), 2, 1), p * length * length / (2 * ei), 0.01);
        QV_COMPARE_NEAR(run.Displacement(Id(n, n, 0), 0, 2), -moment * length * length / (2 * ei),
                        0.01);
        // The clamped end holds the load and its moment: the hogging moment P L per width.
        const double mx = run.Case(1, QStringLiteral("stresses"), 1, 0);
        const double centreX = length / n / 2;
        QV_COMPARE_NEAR(mx, -p * (length - centreX) / b, 0.02);
        QV_COMPARE_NEAR(run.Reaction(Id(n, 0, 0), 0, 1) + run.Reaction(Id(n, 0, 1), 0, 1), p, 1e-9);
    }
}

void TestPlates::fineMeshesAreSolvedNotRefused() {
    // A strip of 1,000 elements on two supports: its stiffness spans twelve orders of
    // magnitude, so the residual of a sound solution is 1e-4 of the loads, while it is
    // 1e-16 of |K| |u| + |f|. With nu = 0 the strip is a beam of EI = D b under q b.
    const double length = 1000, b = 1, e = 3000, t = 20, q = 0.001;
    const int n = 1000;
    Mesh m = Grid(length, b, n, 1);
    for (int i : {0, n})
        for (int j : {0, 1})
            m.Fix(Id(n, i, j), true, false, false);
    m.PressureAll(-q);
    const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("strip.d13"),
                               m.File(e, 0, t));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const double d = e * t * t * t / 12;
    QV_COMPARE_NEAR(run.Displacement(Id(n, n / 2, 0), 0), -5 * q * std::pow(length, 4) / (384 * d),
                    1e-3);
    QVERIFY(run.Outcome().Protocol.contains(QLatin1String("of |K| |u| + |f|")));
}

void TestPlates::freeSquareHasThreeRigidModesThenLeissas() {
    // A square plate without supports (nu = 0.3): three rigid-body modes at 0 Hz, then Leissa's
    // lambda = omega a^2 sqrt(rho t / D) = 13.49, 19.79, 24.43 on a 12 x 12 mesh within 3.5 %
    // (from below, the masses lumped: 1.2, 3.3 and 2.5 % low; 24 x 24 halves that).
    const double a = 4, e = 3e7, nu = 0.3, t = 0.2, gamma = 25, g = 9.80665;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    const double scale = std::sqrt(d / (gamma / g * t)) / (a * a);
    const int n = 12;
    const SolverFiles::Run run(QStringLiteral("Yerdol"), QStringLiteral("free.p13"),
                               Grid(a, a, n, n).File(e, nu, t, gamma, 1, 3));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QCOMPARE(run.Json()[QStringLiteral("rigidModes")].toInt(), 3);
    const QJsonArray modes = run.Json()[QStringLiteral("modes")].toArray();
    QCOMPARE(modes.size(), 3);
    const double leissa[] = {13.49, 19.79, 24.43};
    for (int k = 0; k < 3; ++k)
        QV_COMPARE_NEAR(modes[k][QStringLiteral("circular")].toDouble(), leissa[k] * scale, 0.035);
}

void TestPlates::naturalFrequenciesOfASimplySupportedSquare() {
    // omega_mn = pi^2 (m^2 + n^2) / a^2 sqrt(D / (rho t)): the lowest mode (1, 1) within 2 %,
    // the pair (1, 2), (2, 1) of equal frequencies within 3 %, on a 12 x 12 mesh with masses
    // lumped at the nodes; and a mass of table 9 at the centre lowers the first.
    const double a = 5, e = 3e7, nu = 0.2, t = 0.2, gamma = 25, g = 9.81;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    const double rho = gamma / g;
    const auto omega = [&](int i, int j) {
        return Pi * Pi * (i * i + j * j) / (a * a) * std::sqrt(d / (rho * t));
    };
    const int n = 12;
    Mesh m = Grid(a, a, n, n);
    HoldEdges(m, n, n, false);
    const SolverFiles::Run run(QStringLiteral("Yerdol"), QStringLiteral("slab.p13"),
                               m.File(e, nu, t, gamma, 1, 4));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const QJsonArray modes = run.Json()[QStringLiteral("modes")].toArray();
    QCOMPARE(modes.size(), 4);
    QV_COMPARE_NEAR(modes[0][QStringLiteral("circular")].toDouble(), omega(1, 1), 0.02);
    QV_COMPARE_NEAR(modes[1][QStringLiteral("circular")].toDouble(), omega(1, 2), 0.03);
    QV_COMPARE_NEAR(modes[2][QStringLiteral("circular")].toDouble(), omega(1, 2), 0.03);
    QV_COMPARE_NEAR(modes[0][QStringLiteral("period")].toDouble(),
                    1 / modes[0][QStringLiteral("frequency")].toDouble(), 1e-12);
    // The first shape: the centre moves most, scaled to 1.
    const QJsonArray shape = modes[0][QStringLiteral("shape")].toArray();
    QCOMPARE(shape[Id(n, n / 2, n / 2) - 1][1].toDouble(), 1.0);

    Mesh heavy = m;
    const double mass = rho * t * a * a / 2;
    heavy.Masses << QStringLiteral("%1 %2").arg(Id(n, n / 2, n / 2)).arg(mass);
    const SolverFiles::Run loaded(QStringLiteral("Yerdol"), QStringLiteral("slab.p13"),
                                  heavy.File(e, nu, t, gamma, 1, 1));
    QVERIFY2(loaded.Ok(), qPrintable(loaded.Error()));
    // Rayleigh: a point mass M at the centre of the (1,1) mode, whose modal mass is rho t a^2 / 4,
    // gives omega^2 = K / (rho t a^2 / 4 + M) (exact for M small; a check within 5 % here).
    const double expected =
        omega(1, 1) * std::sqrt(rho * t * a * a / 4 / (rho * t * a * a / 4 + mass));
    QV_COMPARE_NEAR(
        loaded.Json()[QStringLiteral("modes")].toArray()[0][QStringLiteral("circular")].toDouble(),
        expected, 0.05);
}

void TestPlates::platesThatCannotBeSolvedAreRefused() {
    const double e = 3e7, nu = 0.2, t = 0.2;
    {
        // Held at one corner only: the plate turns about it; the refusal names a node.
        Mesh m = Grid(2, 2, 2, 2);
        m.Fix(1, true, false, false);
        m.PressureAll(-1);
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("loose.d13"),
                                   m.File(e, nu, t));
        QVERIFY(!run.Ok());
        QVERIFY2(run.Error().contains(QLatin1String("node")), qPrintable(run.Error()));
        QVERIFY(run.Outcome().ResultFile.isEmpty());
    }
    {
        // A quadrilateral whose corners lie on one line, named with its line of the file.
        Mesh m = Grid(2, 2, 2, 2);
        HoldEdges(m, 2, 2, false);
        m.Cells.push_back({1, 2, 3});
        const SolverFiles::Run run(QStringLiteral("Nuvast"), QStringLiteral("flat.d13"),
                                   m.File(e, nu, t));
        QVERIFY(!run.Ok());
        QVERIFY2(run.Error().startsWith(QLatin1String("Line ")) &&
                     run.Error().contains(QLatin1String("element 5 has no area")),
                 qPrintable(run.Error()));
    }
    {
        // Modes of a plate that weighs nothing and carries no masses.
        Mesh m = Grid(2, 2, 2, 2);
        HoldEdges(m, 2, 2, false);
        const SolverFiles::Run run(QStringLiteral("Yerdol"), QStringLiteral("light.p13"),
                                   m.File(e, nu, t, 0, 1, 2));
        QVERIFY(!run.Ok());
        QVERIFY2(run.Error().contains(QLatin1String("no mass")), qPrintable(run.Error()));
    }
    {
        // The modes of a plate 1e-150 across: its powers leave the range of numbers, and the
        // eigen-solver threw. Refused before anything is computed, with the element's line.
        Mesh m = Grid(2e-150, 2e-150, 2, 2);
        HoldEdges(m, 2, 2, false);
        const SolverFiles::Run run(QStringLiteral("Yerdol"), QStringLiteral("tiny.p13"),
                                   m.File(e, nu, t, 25, 1, 2));
        QVERIFY2(run.Error().startsWith(QLatin1String("Line ")) &&
                     run.Error().contains(QLatin1String("too small to compute with")),
                 qPrintable(run.Error()));
    }
}

void TestPlates::resultFilesHoldWhatTheViewerShows() {
    // Statics: the field with the plate's components and moments; modes: the shapes with one
    // piece per element, as the viewer draws a mesh.
    const int n = 4;
    Mesh m = Grid(4, 4, n, n);
    HoldEdges(m, n, n, false);
    m.PressureAll(-2);
    const SolverFiles::Run statics(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"),
                                   m.File(3e7, 0.2, 0.2, 25, 1, 0));
    QVERIFY2(statics.Ok(), qPrintable(statics.Error()));
    const auto field = ResultFile::Read(statics.Outcome().ResultFile);
    QVERIFY(field);
    QCOMPARE(field->Type, ResultFile::Kind::Field);
    QCOMPARE(field->Field.Components, (QStringList{"uz", "rx", "ry"}));
    QCOMPARE(field->Field.Columns.Names(),
             (QStringList{"mx", "my", "mxy", "qx", "qy", "m1", "m2", "angle"}));
    QVERIFY(statics.Outcome().Protocol.contains(QLatin1String("mx [kNm/m]")));
    QVERIFY(statics.Outcome().Protocol.contains(QLatin1String("My [kNm]")));

    const SolverFiles::Run modes(QStringLiteral("Yerdol"), QStringLiteral("slab.p13"),
                                 m.File(3e7, 0.2, 0.2, 25, 1, 2));
    QVERIFY2(modes.Ok(), qPrintable(modes.Error()));
    const auto shapes = ResultFile::Read(modes.Outcome().ResultFile);
    QVERIFY(shapes);
    QCOMPARE(shapes->Type, ResultFile::Kind::Modes);
    QCOMPARE(shapes->Modes.Elements, n * n);
    QCOMPARE(shapes->Modes.Pieces, std::vector<int>(n * n, 1));
    QCOMPARE(shapes->Modes.List.size(), size_t{2});
    QVERIFY(shapes->Modes.List[0].Value < shapes->Modes.List[1].Value);
}

void TestPlates::examplesSolveToWhatTheyShow() {
    const auto read = [](const QString& folder, const QString& name) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("no example %s", qPrintable(name));
        return file.readAll();
    };
    const auto vertical = [](const SolverFiles::Run& run, int loadCase) {
        double sum = 0;
        for (const QJsonValue c : run.Json()[QStringLiteral("cases")].toArray())
            if (c[QStringLiteral("case")].toInt() == loadCase)
                for (const QJsonValue row : c[QStringLiteral("reactions")].toArray())
                    sum += row[1].toDouble();
        return sum;
    };
    // The manual's slab: 5 kN/m2 over 6 x 6 m and 20 kN at its centre.
    const SolverFiles::Run slab(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"),
                                read(QStringLiteral(SOLVERS_EXAMPLES), QStringLiteral("slab.d13")));
    QVERIFY2(slab.Ok(), qPrintable(slab.Error()));
    QV_COMPARE_NEAR(vertical(slab, 1), 5 * 36 + 20, 1e-9);
    // The floor slab: 7.5 kN/m2 over 7.2 x 5.4 m, then the column's 180 kN.
    const SolverFiles::Run floor(
        QStringLiteral("Nuvast"), QStringLiteral("floorslab.d13"),
        read(QStringLiteral(SOLVERS_MODELS), QStringLiteral("floorslab.d13")));
    QVERIFY2(floor.Ok(), qPrintable(floor.Error()));
    QV_COMPARE_NEAR(vertical(floor, 1), 7.5 * 7.2 * 5.4, 1e-9);
    QV_COMPARE_NEAR(vertical(floor, 2), 180, 1e-9);
    // Its lowest mode against Rayleigh's estimate: the (1, 1) mode of the bare slab with the
    // equipment's 2 t at the column, weighted by the mode's ordinate there.
    const SolverFiles::Run modes(
        QStringLiteral("Yerdol"), QStringLiteral("floorslab.p13"),
        read(QStringLiteral(SOLVERS_MODELS), QStringLiteral("floorslab.p13")));
    QVERIFY2(modes.Ok(), qPrintable(modes.Error()));
    const double d = 3e7 * 0.008 / (12 * 0.96), rho = 25 / 9.81, a = 7.2, b = 5.4;
    const double bare = Pi * Pi * (1 / (a * a) + 1 / (b * b)) * std::sqrt(d / (rho * 0.2));
    const double modal = rho * 0.2 * a * b / 4, ordinate = std::sin(Pi * 4.8 / a);
    QV_COMPARE_NEAR(modes.Json()[QStringLiteral("modes")][0][QStringLiteral("circular")].toDouble(),
                    bare * std::sqrt(modal / (modal + 2 * ordinate * ordinate)), 0.02);
}

QTEST_GUILESS_MAIN(TestPlates)
#include "tst_plates.moc"
