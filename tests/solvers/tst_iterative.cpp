#include "BarFamily.h"
#include "ElasticBlock.h"
#include "IterativeSolver.h"
#include "MeshPanels.h"
#include "MeshStatics.h"
#include "SolverFiles.h"

#include <QtTest>

// The iterative solution of elastic systems against the direct factorisation: a cantilever
// block of bricks under several load cases, a wall, a plate, a shell and frames through the
// statics, what the supports take, systems that cannot be solved (reported as failures, never as
// answers) and systems refused before solving.
class TestIterative : public QObject {
    Q_OBJECT

private:
    // The run's PETSc, finished when the tests end.
    IterativeSolver::Session session_;

    static IterativeSolver::System SystemOf(const ElasticBlock& block,
                                            const std::vector<char>& fixed) {
        IterativeSolver::System system;
        system.Nodes = block.Nodes();
        system.Coordinates = block.Coordinates();
        system.Upper = &block.Upper();
        system.Fixed = fixed;
        return system;
    }

    // |f - K u| / |f| over the free components, from the whole symmetric matrix.
    static double Residual(const ElasticBlock& block, const std::vector<char>& fixed,
                           const Eigen::VectorXd& u, const Eigen::VectorXd& f) {
        const Eigen::SparseMatrix<double> whole = block.Upper().selfadjointView<Eigen::Upper>();
        Eigen::VectorXd r = f - whole * u;
        Eigen::VectorXd free = f;
        for (size_t i = 0; i < fixed.size(); ++i)
            if (fixed[i]) {
                r[static_cast<Eigen::Index>(i)] = 0;
                free[static_cast<Eigen::Index>(i)] = 0;
            }
        return r.norm() / free.norm();
    }

    // Forces on the nodes of the free end, x = L, in direction `component`.
    static Eigen::VectorXd EndLoad(const ElasticBlock& block, int component, double value) {
        Eigen::VectorXd f = Eigen::VectorXd::Zero(3 * block.Nodes());
        for (int n = 0; n < block.Nodes(); ++n)
            if (block.Coordinates()[static_cast<size_t>(n)][0] == block.Nx())
                f[3 * n + component] = value;
        return f;
    }

    // A frame of `bays` bays along x and `across` along y (0: a plane frame in x-z), `storeys`
    // high, clamped at the ground, pushed along x at the top and loaded down along its beams.
    static BarModel Frame(int bays, int across, int storeys) {
        const bool space = across > 0;
        BarModel model;
        model.Axes = space ? ProblemType::Layout::Space : ProblemType::Layout::PlaneXZ;
        model.Components = space ? std::vector<int>{0, 1, 2, 3, 4, 5} : std::vector<int>{0, 2, 4};
        model.ForceUnit = QStringLiteral("kN");
        model.LengthUnit = QStringLiteral("m");
        model.LoadCases = 1;
        const int nx = bays + 1, ny = across + 1;
        const auto node = [&](int i, int j, int k) { return (k * ny + j) * nx + i; };
        for (int k = 0; k <= storeys; ++k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i)
                    model.Nodes.push_back({5.0 * i, 4.0 * j, 3.0 * k});
        const auto add = [&model](int a, int b) {
            BarModel::Bar bar;
            bar.I = a;
            bar.J = b;
            bar.E = 2.1e8;
            bar.G = 8.1e7;
            bar.A = 0.01;
            bar.It = 2e-5;
            bar.Iy = 1e-4;
            bar.Iz = 5e-5;
            bar.Element = static_cast<int>(model.Bars.size());
            model.Bars.push_back(bar);
            model.Pieces.push_back(1);
        };
        for (int k = 0; k <= storeys; ++k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i) {
                    if (k > 0) {
                        add(node(i, j, k - 1), node(i, j, k));
                        if (i > 0) {
                            model.ElementLoads.push_back(
                                {1, static_cast<int>(model.Bars.size()), {0, 0, -5}});
                            add(node(i - 1, j, k), node(i, j, k));
                        }
                        if (j > 0)
                            add(node(i, j - 1, k), node(i, j, k));
                    } else {
                        BarModel::Support support;
                        support.Node = node(i, j, k);
                        support.Fixed.fill(true);
                        model.Supports.push_back(support);
                    }
                }
        for (int j = 0; j < ny; ++j)
            model.NodalLoads.push_back({1, node(0, j, storeys), {10, 0, 0, 0, 0, 0}});
        model.DataNodes = static_cast<int>(model.Nodes.size());
        model.DataElements = static_cast<int>(model.Bars.size());
        return model;
    }

private slots:
    void solvesAloneWithoutMpirun() {
        QVERIFY(IterativeSolver::Available());
        QCOMPARE(session_.Rank(), 0);
        QCOMPARE(session_.Size(), 1);
        QCOMPARE(session_.Serve(), 0);
    }

    void agreesWithTheDirectSolution() {
        const ElasticBlock block(12, 4, 4);
        const std::vector<char> fixed = block.ClampedAtStart();
        Eigen::MatrixXd loads(3 * block.Nodes(), 4);
        loads.col(0) = EndLoad(block, 2, -1);
        loads.col(1) = EndLoad(block, 1, 2.5);
        loads.col(2).setZero();
        // Torsion of the block about its axis: loads of all three components at once.
        loads.col(3).setZero();
        for (int n = 0; n < block.Nodes(); ++n) {
            const auto& p = block.Coordinates()[static_cast<size_t>(n)];
            if (p[0] == block.Nx()) {
                loads(3 * n + 1, 3) = -(p[2] - 2);
                loads(3 * n + 2, 3) = p[1] - 2;
            }
        }
        const IterativeSolver::Outcome outcome =
            IterativeSolver::Solve(SystemOf(block, fixed), loads, {1e-10, 500});
        QCOMPARE(outcome.Iterations.size(), size_t(4));
        QCOMPARE(outcome.Residuals.size(), size_t(4));
        QCOMPARE(outcome.Solutions.rows(), loads.rows());
        QCOMPARE(outcome.Solutions.cols(), loads.cols());
        const Eigen::MatrixXd direct = DirectSolution(block.Upper(), fixed, loads);
        QCOMPARE(direct.cols(), loads.cols());
        for (int c : {0, 1, 3}) {
            const Eigen::VectorXd u = outcome.Solutions.col(c);
            QVERIFY(outcome.Iterations[static_cast<size_t>(c)] > 0);
            // Multigrid that sees the rigid-body modes needs few steps for this block; plain
            // or broken preconditioning needs hundreds.
            QVERIFY2(outcome.Iterations[static_cast<size_t>(c)] < 60,
                     qPrintable(QString::number(outcome.Iterations[static_cast<size_t>(c)])));
            QVERIFY(outcome.Residuals[static_cast<size_t>(c)] <= 1e-10);
            const double residual = Residual(block, fixed, u, loads.col(c));
            QVERIFY2(residual <= 1.01e-10, qPrintable(QString::number(residual)));
            QVERIFY(std::abs(residual - outcome.Residuals[static_cast<size_t>(c)]) <= 1e-12);
            const double difference = (u - direct.col(c)).norm() / direct.col(c).norm();
            QVERIFY2(difference < 1e-7, qPrintable(QString::number(difference)));
            for (size_t i = 0; i < fixed.size(); ++i)
                if (fixed[i])
                    QCOMPARE(u[static_cast<Eigen::Index>(i)], 0.0);
        }
        // The end load bends the block down, about as a beam: P L^3 / (3 E I) with shear.
        const int tip = block.Node(12, 2, 2);
        QVERIFY(outcome.Solutions(3 * tip + 2, 0) < 0);
        QVERIFY(outcome.Solutions.col(2).isZero(0));
        QCOMPARE(outcome.Iterations[2], 0);
        QCOMPARE(outcome.Residuals[2], 0.0);
    }

    // The families whose nodes carry other components than a solid's (two in a plane, a plate's
    // deflection and slopes, a shell's six) iterate to their direct answer through the statics.
    void meshFamiliesAgreeWithTheDirectSolution_data() {
        // A plate's fourth-order equations are the hardest for the multigrid and the worst
        // conditioned: its residual stalls near 3e-10 on this mesh.
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<int>("most"); // iterations the multigrid needs at most
        QTest::newRow("plane-stress wall")
            << static_cast<int>(ProblemType::Mesh::PlaneStress) << 1e-10 << 40;
        QTest::newRow("plate") << static_cast<int>(ProblemType::Mesh::Plate) << 1e-9 << 150;
        QTest::newRow("shell") << static_cast<int>(ProblemType::Mesh::Shell) << 1e-10 << 100;
    }

    void meshFamiliesAgreeWithTheDirectSolution() {
        QFETCH(int, kind);
        QFETCH(double, tolerance);
        QFETCH(int, most);
        const MeshModel model = MeshPanels::Grid(static_cast<ProblemType::Mesh>(kind), 8);
        LinearSolver::Options direct, iterative;
        direct.Use = LinearSolver::Method::Direct;
        iterative.Use = LinearSolver::Method::Iterative;
        iterative.Tolerance = tolerance;
        iterative.Processes = 1;
        const MeshStatics::Outcome a = MeshStatics::Run(model, direct);
        const MeshStatics::Outcome b = MeshStatics::Run(model, iterative);
        QCOMPARE(a.Solver.Used, LinearSolver::Method::Direct);
        QCOMPARE(b.Solver.Used, LinearSolver::Method::Iterative);
        QCOMPARE(b.Solver.Iterations.size(), size_t(1));
        QVERIFY2(b.Solver.Iterations.front() <= most,
                 qPrintable(QString::number(b.Solver.Iterations.front())));
        const std::vector<double>& u = a.Results.Cases.front().Displacements;
        const std::vector<double>& v = b.Results.Cases.front().Displacements;
        QCOMPARE(v.size(), u.size());
        double largest = 0, off = 0;
        for (size_t i = 0; i < u.size(); ++i) {
            largest = std::max(largest, std::abs(u[i]));
            off = std::max(off, std::abs(u[i] - v[i]));
        }
        QVERIFY(largest > 0);
        // What the residual leaves of the answer, with the condition of the equations.
        QVERIFY2(off <= 1e3 * tolerance * largest, qPrintable(QString::number(off / largest)));
        QVERIFY(b.Results.Imbalance < 1e-6);
    }

    // Frames iterate to their direct answer too: a plane frame (ux uz ry at each node) and a
    // space frame (all six), sideways loads at the top and loads along the beams.
    void barFramesAgreeWithTheDirectSolution_data() {
        QTest::addColumn<int>("across"); // bays across: 0 for a plane frame
        QTest::newRow("plane frame") << 0;
        QTest::newRow("space frame") << 3;
    }

    void barFramesAgreeWithTheDirectSolution() {
        QFETCH(int, across);
        const BarModel model = Frame(6, across, 8);
        LinearSolver::Options direct, iterative;
        direct.Use = LinearSolver::Method::Direct;
        iterative.Use = LinearSolver::Method::Iterative;
        iterative.Tolerance = 1e-10;
        iterative.Processes = 1;
        const MeshModel mesh = MeshModel::FromBars(model);
        const MeshStatics::Outcome a =
            MeshStatics::Run(mesh, std::make_unique<BarFamily>(model), direct);
        const MeshStatics::Outcome b =
            MeshStatics::Run(mesh, std::make_unique<BarFamily>(model), iterative);
        QCOMPARE(b.Solver.Used, LinearSolver::Method::Iterative);
        const FieldResults::Case& u = a.Results.Cases.front();
        const FieldResults::Case& v = b.Results.Cases.front();
        double largest = 0, off = 0;
        for (size_t i = 0; i < u.Displacements.size(); ++i) {
            largest = std::max(largest, std::abs(u.Displacements[i]));
            off = std::max(off, std::abs(u.Displacements[i] - v.Displacements[i]));
        }
        QVERIFY(largest > 0);
        QVERIFY2(off <= 1e4 * iterative.Tolerance * largest,
                 qPrintable(QString::number(off / largest)));
        // The section forces and the reactions follow the displacements.
        double force = 0, forceOff = 0;
        for (size_t i = 0; i < u.Stresses.size(); ++i) {
            force = std::max(force, std::abs(u.Stresses[i]));
            forceOff = std::max(forceOff, std::abs(u.Stresses[i] - v.Stresses[i]));
        }
        QVERIFY2(forceOff <= 1e-5 * force, qPrintable(QString::number(forceOff / force)));
        QVERIFY(b.Results.Imbalance < 1e-6);
    }

    // The supports take loads at fixed components; a matrix still open to insertion is read as
    // well as a compressed one.
    void supportsTakeTheirLoads() {
        const ElasticBlock block(6, 2, 2);
        const std::vector<char> fixed = block.ClampedAtStart();
        Eigen::MatrixXd loads(3 * block.Nodes(), 1);
        loads.col(0) = EndLoad(block, 2, -1);
        const IterativeSolver::Outcome plain =
            IterativeSolver::Solve(SystemOf(block, fixed), loads, {1e-10, 500});

        Eigen::MatrixXd withSupportLoads = loads;
        for (size_t i = 0; i < fixed.size(); ++i)
            if (fixed[i])
                withSupportLoads(static_cast<Eigen::Index>(i), 0) = 1e6;
        Eigen::SparseMatrix<double> open = block.Upper();
        open.coeffRef(0, 0) += 0; // leaves the matrix uncompressed
        open.uncompress();
        QVERIFY(!open.isCompressed());
        IterativeSolver::System system = SystemOf(block, fixed);
        system.Upper = &open;
        const IterativeSolver::Outcome loaded =
            IterativeSolver::Solve(system, withSupportLoads, {1e-10, 500});
        QVERIFY((loaded.Solutions - plain.Solutions).norm() <= 1e-12 * plain.Solutions.norm());
    }

    void reportsWhatItCannotSolve() {
        const ElasticBlock block(6, 2, 2);
        const std::vector<char> fixed = block.ClampedAtStart();
        Eigen::MatrixXd loads(3 * block.Nodes(), 2);
        loads.col(0) = EndLoad(block, 2, -1);
        loads.col(1) = EndLoad(block, 1, 1);

        // Too few iterations: refused, naming the first case and what it reached.
        const QString short_ = SolverFiles::Refusal([&] {
            IterativeSolver::Solve(SystemOf(block, fixed), loads, {1e-10, 1});
        });
        QVERIFY2(short_.contains(QStringLiteral("load case 1")), qPrintable(short_));
        QVERIFY(short_.contains(QStringLiteral("did not converge in 1 iterations")));

        // A block without supports pushed sideways has no equilibrium at all.
        const std::vector<char> floating(fixed.size(), 0);
        QVERIFY(!SolverFiles::Refusal([&] {
                     IterativeSolver::Solve(SystemOf(block, floating), loads, {1e-10, 300});
                 }).isEmpty());
    }

    // Malformed systems are refused with a reason, before anything is solved.
    void refusesMalformedSystems() {
        const ElasticBlock block(2, 1, 1);
        const std::vector<char> fixed = block.ClampedAtStart();
        const Eigen::MatrixXd loads = Eigen::MatrixXd::Ones(3 * block.Nodes(), 1);
        const auto refusal = [&](const IterativeSolver::System& system, const Eigen::MatrixXd& f,
                                 const IterativeSolver::Settings& settings = {}) {
            try {
                IterativeSolver::Solve(system, f, settings);
            } catch (const SolverError& error) {
                return error.Message();
            }
            return QString();
        };
        IterativeSolver::System system = SystemOf(block, fixed);
        QVERIFY(refusal(system, loads).isEmpty());

        system.Upper = nullptr;
        QVERIFY(!refusal(system, loads).isEmpty());

        system = SystemOf(block, fixed);
        system.Nodes -= 1;
        QVERIFY(refusal(system, loads).contains(QStringLiteral("not")));
        system = SystemOf(block, fixed);
        system.Fixed = system.Fixed.first(3);
        QVERIFY(refusal(system, loads).contains(QStringLiteral("support flags")));
        system = SystemOf(block, fixed);
        system.Coordinates = system.Coordinates.first(2);
        QVERIFY(refusal(system, loads).contains(QStringLiteral("coordinates")));
        QVERIFY(refusal(SystemOf(block, fixed), loads.topRows(3)).contains(QStringLiteral("rows")));

        Eigen::MatrixXd infinite = loads;
        infinite(5, 0) = std::numeric_limits<double>::infinity();
        QVERIFY(refusal(SystemOf(block, fixed), infinite).contains(QStringLiteral("finite")));
        QVERIFY(!refusal(SystemOf(block, fixed), loads, {0, 10}).isEmpty());
        QVERIFY(!refusal(SystemOf(block, fixed), loads, {1e-8, 0}).isEmpty());

        // The whole matrix where its upper triangle is expected would count every coupling
        // twice.
        const Eigen::SparseMatrix<double> whole = block.Upper().selfadjointView<Eigen::Upper>();
        system = SystemOf(block, fixed);
        system.Upper = &whole;
        QVERIFY(refusal(system, loads).contains(QStringLiteral("below its diagonal")));

        // A free component that no element holds: named, not left to the iteration.
        Eigen::SparseMatrix<double> loose = block.Upper();
        const int node = block.Node(2, 1, 1);
        loose.coeffRef(3 * node + 1, 3 * node + 1) = 0;
        system = SystemOf(block, fixed);
        system.Upper = &loose;
        QCOMPARE(refusal(system, loads),
                 QStringLiteral("uy of node %1 has no stiffness of its own (not held by any "
                                "element)")
                     .arg(node + 1));
    }
};

QTEST_GUILESS_MAIN(TestIterative)
#include "tst_iterative.moc"
