#include "IterativeSolver.h"
#include "MemoryBudget.h"
#include "MeshStatics.h"
#include "Parallel.h"
#include "SolidMesh.h"
#include "SolverFiles.h"

#include <QTest>
#include <atomic>
#include <cmath>
#include <numbers>
#include <tuple>

// The solid solver on whole models: a cantilever of coarse bricks against beam theory, a thick
// cylinder under inner pressure against Lame, the iterative method against the direct one,
// the reactions' balance, and the refusals of inverted elements, of supports that leave the
// solid free to move and of models too large for the memory.
class TestSolidStatics : public QObject {
    Q_OBJECT

    using Point = std::array<double, 3>;

    static MeshModel Base() {
        MeshModel model;
        model.Problem = 17;
        model.Kind = ProblemType::Mesh::Solid;
        model.Components = {0, 1, 2};
        model.Title = QStringLiteral("test");
        model.ForceUnit = QStringLiteral("kN");
        model.LengthUnit = QStringLiteral("m");
        model.Materials.push_back({2.0e8, 0.3, 0});
        return model;
    }

    static void AddBrick(MeshModel& model, std::array<int, 8> corners) {
        MeshModel::Cell cell;
        cell.Corners = corners;
        cell.Count = 8;
        cell.Line = 100 + static_cast<int>(model.Cells.size());
        model.Cells.push_back(cell);
    }

    // nx x ny x nz bricks over [0, lx] x [0, ly] x [0, lz]; node (i, j, k) is
    // (k (ny + 1) + j) (nx + 1) + i.
    static MeshModel Box(int nx, int ny, int nz, double lx, double ly, double lz) {
        MeshModel model = Base();
        for (int k = 0; k <= nz; ++k)
            for (int j = 0; j <= ny; ++j)
                for (int i = 0; i <= nx; ++i)
                    model.Nodes.push_back({lx * i / nx, ly * j / ny, lz * k / nz});
        const auto at = [&](int i, int j, int k) { return (k * (ny + 1) + j) * (nx + 1) + i; };
        for (int k = 0; k < nz; ++k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i)
                    AddBrick(model, {at(i, j, k), at(i + 1, j, k), at(i + 1, j + 1, k),
                                     at(i, j + 1, k), at(i, j, k + 1), at(i + 1, j, k + 1),
                                     at(i + 1, j + 1, k + 1), at(i, j + 1, k + 1)});
        return model;
    }

    // A cantilever along x, clamped at x = 0, with a load P down at the free end spread over
    // its end nodes.
    static MeshModel Cantilever(int nx, int ny, int nz, double length, double width, double depth,
                                double load) {
        MeshModel model = Box(nx, ny, nz, length, width, depth);
        const int end = 0;
        (void)end;
        std::vector<int> tip;
        for (size_t n = 0; n < model.Nodes.size(); ++n) {
            if (model.Nodes[n][0] == 0)
                model.Supports.push_back({static_cast<int>(n), {true, true, true}, 0});
            if (std::abs(model.Nodes[n][0] - length) < 1e-12)
                tip.push_back(static_cast<int>(n));
        }
        for (int n : tip)
            model.Loads.push_back({1, n, {0, 0, -load / static_cast<double>(tip.size())}, 0});
        return model;
    }

    // A quarter of a thick cylinder (inner radius a, outer b), one layer of height h, held in z
    // on both faces (plane strain) and on its two cut planes by symmetry; inner pressure p as
    // the consistent nodal forces of the flat faces inside.
    static MeshModel Cylinder(double a, double b, double h, double p, int rings, int sectors) {
        MeshModel model = Base();
        model.Materials[0] = {2.0e5, 0.3, 0};
        const auto at = [&](int r, int s, int k) {
            return (k * (sectors + 1) + s) * (rings + 1) + r;
        };
        for (int k = 0; k <= 1; ++k)
            for (int s = 0; s <= sectors; ++s)
                for (int r = 0; r <= rings; ++r) {
                    const double radius = a + (b - a) * r / rings;
                    const double angle = std::numbers::pi / 2 * s / sectors;
                    model.Nodes.push_back(
                        {radius * std::cos(angle), radius * std::sin(angle), h * k});
                }
        for (int s = 0; s < sectors; ++s)
            for (int r = 0; r < rings; ++r)
                AddBrick(model,
                         {at(r, s, 0), at(r + 1, s, 0), at(r + 1, s + 1, 0), at(r, s + 1, 0),
                          at(r, s, 1), at(r + 1, s, 1), at(r + 1, s + 1, 1), at(r, s + 1, 1)});
        for (size_t n = 0; n < model.Nodes.size(); ++n) {
            const Point& q = model.Nodes[n];
            model.Supports.push_back(
                {static_cast<int>(n), {std::abs(q[0]) < 1e-12, std::abs(q[1]) < 1e-12, true}, 0});
        }
        // Each inner face (a flat rectangle of chord c and height h) takes p c h along its
        // normal, a quarter at each corner.
        for (int s = 0; s < sectors; ++s) {
            const double a0 = std::numbers::pi / 2 * s / sectors;
            const double a1 = std::numbers::pi / 2 * (s + 1) / sectors;
            const double chord = 2 * a * std::sin((a1 - a0) / 2);
            const double mid = (a0 + a1) / 2;
            const double f = p * chord * h / 4;
            for (int node : {at(0, s, 0), at(0, s + 1, 0), at(0, s, 1), at(0, s + 1, 1)})
                model.Loads.push_back({1, node, {f * std::cos(mid), f * std::sin(mid), 0}, 0});
        }
        return model;
    }

    static double Displacement(const FieldResults& results, int node, int component,
                               int loadCase = 0) {
        return results.Cases[static_cast<size_t>(loadCase)]
            .Displacements[3 * static_cast<size_t>(node) + static_cast<size_t>(component)];
    }

private slots:
    void CoarseCantileverBendsAsABeam() {
        // 10 x 1 x 1 m, E 2e8, nu 0.3: Timoshenko's tip deflection with shear (k = 5/6). One
        // brick through the depth is the mesh that shows locking at once: a brick without its
        // incompatible modes gives a fraction of this.
        const double length = 10, width = 1, depth = 1, load = 10, e = 2.0e8, nu = 0.3;
        const double inertia = width * depth * depth * depth / 12;
        const double shear = e / (2 * (1 + nu)) * width * depth * 5.0 / 6.0;
        const double exact = load * std::pow(length, 3) / (3 * e * inertia) + load * length / shear;
        for (const auto& [nx, nz, tolerance] :
             {std::tuple{10, 1, 0.03}, std::tuple{10, 2, 0.03}, std::tuple{20, 2, 0.02}}) {
            const MeshModel model = Cantilever(nx, 1, nz, length, width, depth, load);
            const MeshStatics::Outcome solved = MeshStatics::Run(model);
            double tip = 0;
            int count = 0;
            for (size_t n = 0; n < model.Nodes.size(); ++n)
                if (model.Nodes[n][0] == length) {
                    tip += Displacement(solved.Results, static_cast<int>(n), 2);
                    ++count;
                }
            QV_COMPARE_NEAR(-tip / count, exact, tolerance);
            // The root's reactions carry the load and its moment.
            double vertical = 0;
            for (const FieldResults::Reaction& r : solved.Results.Cases[0].Reactions)
                vertical += r.Values[2];
            QV_COMPARE_NEAR(vertical, load, 1e-9);
            QVERIFY(solved.Results.Imbalance < 1e-9);
        }
    }

    void ThickCylinderFollowsLame() {
        // Plane strain: ur(r) = p a^2 (1 + nu) / (E (b^2 - a^2)) ((1 - 2 nu) r + b^2 / r), and
        // the hoop stress at the bore p (b^2 + a^2) / (b^2 - a^2).
        const double a = 1, b = 2, p = 100, e = 2.0e5, nu = 0.3;
        const MeshModel model = Cylinder(a, b, 0.1, p, 8, 12);
        const MeshStatics::Outcome solved = MeshStatics::Run(model);
        const auto ur = [&](double r) {
            return p * a * a * (1 + nu) / (e * (b * b - a * a)) * ((1 - 2 * nu) * r + b * b / r);
        };
        // Node 0 is on the bore on the x axis, node 8 on the outside.
        QV_COMPARE_NEAR(Displacement(solved.Results, 0, 0), ur(a), 0.01);
        QV_COMPARE_NEAR(Displacement(solved.Results, 8, 0), ur(b), 0.01);
        // At the bore on the x axis, sy is the hoop stress (nodal mean of one ring of elements:
        // a coarse estimate of the steep gradient there).
        const double hoop = p * (b * b + a * a) / (b * b - a * a);
        const double sy = solved.Results.Cases[0].NodeStresses[0 * 10 + 1];
        QV_COMPARE_NEAR(sy, hoop, 0.06);
        // Principal stresses and von Mises at every node follow from its mean tensor.
        const std::vector<double>& all = solved.Results.Cases[0].NodeStresses;
        for (size_t node = 0; node < model.Nodes.size(); ++node) {
            const double* at = all.data() + 10 * node;
            QVERIFY(at[6] >= at[7] && at[7] >= at[8]);
            QV_COMPARE_NEAR(at[6] + at[7] + at[8], at[0] + at[1] + at[2], 1e-9);
            const double mises =
                std::sqrt(((at[6] - at[7]) * (at[6] - at[7]) + (at[7] - at[8]) * (at[7] - at[8]) +
                           (at[8] - at[6]) * (at[8] - at[6])) /
                          2);
            QV_COMPARE_NEAR(at[9], mises, 1e-9);
        }
    }

    void IterativeAgreesWithDirect() {
        if (!IterativeSolver::Available())
            QSKIP("this build has no iterative solver");
        MeshModel model = Cantilever(16, 3, 4, 8, 1.5, 2, 50);
        // A second case pulling sideways and a third without loads.
        model.LoadCases = 3;
        for (const MeshModel::NodalLoad& load : std::vector(model.Loads))
            model.Loads.push_back({2, load.Node, {0, load.Load[2], 0}, 0});
        LinearSolver::Options direct, iterative;
        direct.Use = LinearSolver::Method::Direct;
        iterative.Use = LinearSolver::Method::Iterative;
        iterative.Tolerance = 1e-10;
        const MeshStatics::Outcome a = MeshStatics::Run(model, direct);
        const MeshStatics::Outcome b = MeshStatics::Run(model, iterative);
        QCOMPARE(b.Solver.Used, LinearSolver::Method::Iterative);
        QCOMPARE(b.Solver.Iterations.size(), size_t(2));
        QVERIFY(b.Solver.Tolerance <= 1e-10);
        for (int c = 0; c < 2; ++c) {
            const std::vector<double>& u = a.Results.Cases[static_cast<size_t>(c)].Displacements;
            const std::vector<double>& v = b.Results.Cases[static_cast<size_t>(c)].Displacements;
            double largest = 0, difference = 0;
            for (size_t i = 0; i < u.size(); ++i) {
                largest = std::max(largest, std::abs(u[i]));
                difference = std::max(difference, std::abs(u[i] - v[i]));
            }
            QVERIFY2(
                difference <= 1e-6 * largest,
                qPrintable(
                    QStringLiteral("case %1: %2 of %3").arg(c + 1).arg(difference).arg(largest)));
        }
        // The case without loads is at rest either way.
        for (double u : b.Results.Cases[2].Displacements)
            QCOMPARE(u, 0.0);
    }

    void RefusesWhatCannotBeSolved() {
        // An element folded through itself is named with its line.
        MeshModel folded = Cantilever(2, 1, 1, 2, 1, 1, 1);
        folded.Nodes[static_cast<size_t>(folded.Cells[1].Corners[1])][0] = 0.2;
        QString error = SolverFiles::Refusal([&] { MeshStatics::Run(folded); });
        QVERIFY2(error.startsWith(QLatin1String("Line 101: element 2")), qPrintable(error));
        QVERIFY(error.contains(QLatin1String("inside out")));
        // One without volume.
        MeshModel flat = Cantilever(1, 1, 1, 1, 1, 1, 1);
        for (int a = 4; a < 8; ++a)
            flat.Nodes[static_cast<size_t>(flat.Cells[0].Corners[static_cast<size_t>(a)])][2] = 0;
        error = SolverFiles::Refusal([&] { MeshStatics::Run(flat); });
        QVERIFY2(error.contains(QLatin1String("no volume")), qPrintable(error));
        // A brick given twice, numbered from its other face, halved the displacements.
        MeshModel twice = Cantilever(2, 1, 1, 2, 1, 1, 1);
        const std::array<int, 8> c = twice.Cells[0].Corners;
        AddBrick(twice, {c[4], c[5], c[6], c[7], c[0], c[1], c[2], c[3]});
        error = SolverFiles::Refusal([&] { MeshStatics::Run(twice); });
        QVERIFY2(
            error.startsWith(QLatin1String("Line 102: element 3 repeats element 1 (line 100)")),
            qPrintable(error));
        // Supports on one line let it turn about that line.
        MeshModel hinged = Box(2, 1, 1, 2, 1, 1);
        for (int n : {0, 3})
            hinged.Supports.push_back({n, {true, true, true}, 0});
        hinged.Loads.push_back({1, 5, {0, 0, -1}, 0});
        error = SolverFiles::Refusal([&] { MeshStatics::Run(hinged); });
        QVERIFY2(error.contains(QLatin1String("rigid motion")), qPrintable(error));
    }

    void LongMeshesAreCheckedAndRecoveredOnEveryCore() {
        // A bar long enough for its elements to be shared among threads: the element named is
        // the first unsound one whichever thread finds which.
        MeshModel bar = Box(5000, 1, 1, 5000, 1, 1);
        const auto fold = [&](int element) {
            // Corner 2 of a brick at y = 0, z = 0 belongs to it and to the next one only.
            bar.Nodes[static_cast<size_t>(bar.Cells[static_cast<size_t>(element)].Corners[1])][0] =
                element - 0.8;
        };
        fold(4000);
        QString error = SolverFiles::Refusal([&] { SolidMesh::Check(bar); });
        QVERIFY2(error.startsWith(QLatin1String("Line 4100: element 4001,")), qPrintable(error));
        fold(100);
        error = SolverFiles::Refusal([&] { SolidMesh::Check(bar); });
        QVERIFY2(error.startsWith(QLatin1String("Line 200: element 101,")), qPrintable(error));

        // Uniform tension of a bar of 2,304 bricks: every nodal stress, summed over threads, is
        // the applied one.
        const int nx = 64, n = 6;
        const double length = 8, side = 1, stress = 1000;
        MeshModel pulled = Box(nx, n, n, length, side, side);
        const double h = side / n;
        for (size_t node = 0; node < pulled.Nodes.size(); ++node) {
            const Point& p = pulled.Nodes[node];
            const int id = static_cast<int>(node);
            if (p[0] == 0) {
                // Free to contract: x everywhere, and just enough to stop it turning.
                const bool origin = p[1] == 0 && p[2] == 0;
                pulled.Supports.push_back(
                    {id, {true, origin, origin || (p[1] == side && p[2] == 0)}, 0});
            } else if (std::abs(p[0] - length) < 1e-12) {
                const double share = (p[1] == 0 || p[1] == side ? 0.5 : 1.0) *
                                     (p[2] == 0 || p[2] == side ? 0.5 : 1.0);
                pulled.Loads.push_back({1, id, {stress * h * h * share, 0, 0}, 0});
            }
        }
        pulled.LoadCases = 1;
        LinearSolver::Options direct;
        direct.Use = LinearSolver::Method::Direct;
        const MeshStatics::Outcome solved = MeshStatics::Run(pulled, direct);
        const std::vector<double>& at = solved.Results.Cases[0].NodeStresses;
        for (size_t node = 0; node < pulled.Nodes.size(); ++node) {
            QV_COMPARE_NEAR(at[node * 10], stress, 1e-9 * stress);     // sx
            QV_COMPARE_NEAR(at[node * 10 + 1], 0.0, 1e-9 * stress);    // sy
            QV_COMPARE_NEAR(at[node * 10 + 9], stress, 1e-9 * stress); // von Mises
        }
    }

    void ParallelRangesCoverEveryPassOnce() {
        for (const auto& [count, threads, grain] : std::vector<std::tuple<size_t, int, size_t>>{
                 {0, 2, 1}, {1, 4, 1}, {5, 8, 1}, {1000, 2, 300}, {1000, 3, 1}, {999, 2, 1000}}) {
            std::vector<std::atomic<int>> seen(count);
            std::atomic<size_t> parts{0};
            Parallel::ForRanges(count, threads, grain, [&](size_t part, size_t first, size_t last) {
                QVERIFY(part < Parallel::Parts(count, threads, grain));
                ++parts;
                for (size_t i = first; i < last; ++i)
                    ++seen[i];
            });
            QCOMPARE(parts.load(), Parallel::Parts(count, threads, grain));
            for (size_t i = 0; i < count; ++i)
                QCOMPARE(seen[i].load(), 1);
        }
        QCOMPARE(Parallel::Parts(1000, 3, 300), size_t{3});
        QCOMPARE(Parallel::Parts(500, 3, 300), size_t{1});
    }

    void RefusesModelsTooLargeForTheMemory() {
        const MeshModel model = Cantilever(24, 8, 8, 6, 2, 2, 1);
        LinearSolver::Options direct;
        direct.Use = LinearSolver::Method::Direct;
        direct.Memory = 1e5; // 100 kB: the factors alone need more
        QString error = SolverFiles::Refusal([&] { MeshStatics::Run(model, direct); });
        QVERIFY2(error.contains(QLatin1String("too large for the direct solver")) &&
                     error.contains(QLatin1String("GB")),
                 qPrintable(error));
        if (IterativeSolver::Available()) {
            QVERIFY(error.contains(QLatin1String("--solver=iterative")));
            // Left to choose, the solver turns to the iteration, which needs less.
            LinearSolver::Options automatic;
            automatic.Memory = 20e6;
            const MeshStatics::Outcome solved = MeshStatics::Run(model, automatic);
            QCOMPARE(solved.Solver.Used, LinearSolver::Method::Iterative);
            // And when even that does not fit, it says how much it needs.
            automatic.Memory = 1e4;
            error = SolverFiles::Refusal([&] { MeshStatics::Run(model, automatic); });
            QVERIFY2(error.contains(QLatin1String("too large for the memory")), qPrintable(error));
        }
    }

    void MemoryBudgetReadsTheSystemsFigures() {
        const char* meminfo = "MemTotal:       24000000 kB\nMemAvailable:   20000000 kB\n";
        QCOMPARE(MemoryBudget::FromTexts(meminfo, "max\n", "123\n"), 20000000.0 * 1024);
        // A container's limit below what the machine has free is what counts.
        QCOMPARE(MemoryBudget::FromTexts(meminfo, "8000000000\n", "3000000000\n"), 5e9);
        QCOMPARE(MemoryBudget::FromTexts(nullptr, nullptr, nullptr), 0.0);
        QVERIFY(MemoryBudget::AvailableBytes() > 0);
    }

    void SolvesTheFileThroughTheProgram() {
        // The example block of the formats: two bricks and a wedge cap, loaded at the ridge.
        const QByteArray data = SolverFiles::Structure(
            1, {{2, {"3.0E7 0.2 25.0 1.0E-5"}},
                {4,
                 {"0 0 0", "1 0 0", "1 1 0", "0 1 0", "0 0 1", "1 0 1", "1 1 1", "0 1 1", "0 0 2",
                  "1 0 2", "1 1 2", "0 1 2", "0.5 0 2.5", "0.5 1 2.5"}},
                {5, {"1 2 3 4 5 6 7 8 1", "5 6 7 8 9 10 11 12 1", "9 10 13 12 11 14 0 0 1"}},
                {6, {"1 1 1 1", "2 1 1 1", "3 1 1 1", "4 1 1 1"}},
                {7, {"1 13 0 0 -50", "1 14 0 0 -50"}}});
        const SolverFiles::Run run(QStringLiteral("Fentar"), QStringLiteral("block.d17"), data);
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const QJsonObject json = run.Json();
        QCOMPARE(json[QStringLiteral("components")].toArray().size(), 3);
        QCOMPARE(json[QStringLiteral("stressNames")].toArray().last().toString(),
                 QStringLiteral("mises"));
        QCOMPARE(json[QStringLiteral("solution")][QStringLiteral("method")].toString(),
                 QStringLiteral("direct"));
        // The base carries the 100 kN; the ridge sinks.
        double vertical = 0;
        for (int node = 1; node <= 4; ++node)
            vertical += run.Reaction(node, 2);
        QV_COMPARE_NEAR(vertical, 100.0, 1e-9);
        QVERIFY(run.Displacement(13, 2) < 0);
        QVERIFY(run.Outcome().Protocol.contains(QLatin1String("2 bricks, 1 wedges")));
        QVERIFY(!run.Outcome().ResultFile.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSolidStatics)
#include "tst_solidstatics.moc"
