#include "MeshModel.h"
#include "ProgramRun.h"
#include "ResultFile.h"
#include "ScalarField.h"
#include "SolverFiles.h"
#include "TorsionAnalysis.h"
#include "TorsionReport.h"

#include <QJsonDocument>
#include <QtTest>
#include <cmath>
#include <map>
#include <numbers>

// Saint-Venant torsion of meshed profiles: the warping element on its own, the torsion
// constants of the profiles a handbook lists, the meshes and contours refused, and the program.
class TestTorsion : public QObject {
    Q_OBJECT

private slots:
    void elementIsSymmetricWithOnlyConstantsFree();
    void patchTestReproducesLinearWarping();
    void rectangleMatchesTheSeriesOnCoarseAndFineMeshes();
    void plainElementsConvergeFromAbove();
    void circleTubeAndCompositeBar();
    void thinWalledBoxFollowsBredt();
    void clockwiseMeshesAreTurnedRound();
    void squaresJoinedAtACornerAreOneProfile();
    void reentrantCornersStopAtTheLimitOfJ_data();
    void reentrantCornersStopAtTheLimitOfJ();
    void refusesBadMeshesAndContours_data();
    void refusesBadMeshesAndContours();
    void programPrintsJson();
};

namespace {

using Point = Eigen::Vector2d;
constexpr double Pi = std::numbers::pi;
constexpr double E = 2.1e8, Nu = 0.3, G = E / (2 * (1 + Nu));

// Nodes are on lines 100 + n, elements 200 + e, contour items 300 + k (all from 1), so a
// refusal's line says which item it blames.
struct Builder {
    MeshModel Model;

    Builder() {
        Model.Problem = 16;
        Model.Kind = ProblemType::Mesh::Profile;
        Model.Moment = 10;
        Model.Materials.push_back({E, Nu, 0});
    }
    int Node(double y, double z) {
        Model.Nodes.push_back({y, 0, z});
        Model.NodeLines.push_back(100 + static_cast<int>(Model.Nodes.size()));
        return static_cast<int>(Model.Nodes.size()) - 1;
    }
    void Cell(std::vector<int> corners, int material = 0) {
        MeshModel::Cell cell;
        cell.Count = static_cast<int>(corners.size());
        cell.Corners.fill(-1);
        std::copy(corners.begin(), corners.end(), cell.Corners.begin());
        cell.Material = material;
        cell.Line = 200 + static_cast<int>(Model.Cells.size()) + 1;
        Model.Cells.push_back(cell);
    }
    void Contour(int node, int contour) {
        Model.Contours.push_back(
            {node, contour, 300 + static_cast<int>(Model.Contours.size()) + 1});
    }
    // A grid of nx x nz quadrilaterals; returns the node at column i, row j.
    std::function<int(int, int)> Grid(double y0, double z0, double width, double height, int nx,
                                      int nz, bool contour = true) {
        const int first = static_cast<int>(Model.Nodes.size());
        for (int j = 0; j <= nz; ++j)
            for (int i = 0; i <= nx; ++i)
                Node(y0 + width * i / nx, z0 + height * j / nz);
        auto at = [first, nx](int i, int j) { return first + j * (nx + 1) + i; };
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < nx; ++i)
                Cell({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
        if (contour)
            Contour(at(0, 0), 0);
        return at;
    }
    // An annulus of `sectors` x `rings` quadrilaterals from radius `inner` to `outer` (a disc
    // with triangles at the centre when inner is 0), material `material` from ring `from`.
    void Annulus(double inner, double outer, int sectors, int rings, int from = 1 << 20,
                 int material = 1) {
        const int centre = inner == 0 ? Node(0, 0) : -1;
        const int first = static_cast<int>(Model.Nodes.size());
        const int start = inner == 0 ? 1 : 0;
        for (int k = start; k <= rings; ++k) {
            const double r = inner + (outer - inner) * k / rings;
            for (int s = 0; s < sectors; ++s)
                Node(r * std::cos(2 * Pi * s / sectors), r * std::sin(2 * Pi * s / sectors));
        }
        auto at = [&](int k, int s) { return first + (k - start) * sectors + s % sectors; };
        for (int s = 0; s < sectors; ++s) {
            if (centre >= 0)
                Cell({centre, at(1, s), at(1, s + 1)}, from <= 0 ? material : 0);
            for (int k = start; k < rings; ++k)
                Cell({at(k, s), at(k + 1, s), at(k + 1, s + 1), at(k, s + 1)},
                     k >= from ? material : 0);
        }
        Contour(at(rings, 0), 0);
        if (inner > 0)
            Contour(at(0, 0), 1);
    }
};

TorsionAnalysis::Answer Solved(const MeshModel& model,
                               double tolerance = TorsionAnalysis::Tolerance,
                               long long budget = TorsionAnalysis::NodeBudget) {
    try {
        return TorsionAnalysis::Analyse(model, nullptr, tolerance, budget);
    } catch (const SolverError& error) {
        qFatal("not solved: %s", qPrintable(error.Text()));
    }
}

// The series of a rectangle a x b (a >= b): J = beta a b^3 and the largest stress, at the
// middle of a long side, tau = T / (alpha a b^2).
struct Rectangle {
    double J = 0, TauPerMoment = 0;
    Rectangle(double a, double b) {
        double tanhSum = 0, coshSum = 0;
        for (int n = 1; n < 200; n += 2) {
            tanhSum += std::tanh(n * Pi * a / (2 * b)) / std::pow(n, 5);
            coshSum += 1 / (n * n * std::cosh(n * Pi * a / (2 * b)));
        }
        J = a * b * b * b / 3 * (1 - 192 / std::pow(Pi, 5) * (b / a) * tanhSum);
        TauPerMoment = b * (1 - 8 / (Pi * Pi) * coshSum) / J;
    }
};

} // namespace

void TestTorsion::elementIsSymmetricWithOnlyConstantsFree() {
    const int nodes[4] = {0, 1, 2, 3};
    const Point quad[4] = {{0, 0}, {2, 0.3}, {1.7, 1.6}, {-0.2, 1.1}};
    const Point triangle[3] = {{0, 0}, {1.5, 0.2}, {0.4, 0.9}};
    for (const auto& element : {ScalarField(nodes, quad, 2.5), ScalarField({nodes, 3}, triangle)}) {
        const Eigen::MatrixXd k = element.Stiffness();
        QVERIFY((k - k.transpose()).norm() <= 1e-14 * k.norm());
        Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eigen(k);
        // One zero value, the constant; every other mode costs energy.
        QVERIFY(std::abs(eigen.eigenvalues()[0]) < 1e-13 * eigen.eigenvalues().maxCoeff());
        QVERIFY(eigen.eigenvalues()[1] > 1e-3 * eigen.eigenvalues().maxCoeff());
        QVERIFY(k.rowwise().sum().norm() < 1e-13 * k.norm());
    }
    QCOMPARE(ScalarField::Check(quad).Kind, ScalarField::Shape::Sound);
    const Point clockwise[4] = {quad[3], quad[2], quad[1], quad[0]};
    QCOMPARE(ScalarField::Check(clockwise).Kind, ScalarField::Shape::Clockwise);
    const Point dart[4] = {{0, 0}, {2, 0}, {0.5, 0.5}, {0, 2}};
    QCOMPARE(ScalarField::Check(dart).Kind, ScalarField::Shape::NotConvex);
    QCOMPARE(ScalarField::Check(dart).Corner, 2);
    const Point bowTie[4] = {{0, 0}, {3, 0}, {0, 1}, {1, 2}};
    QCOMPARE(ScalarField::Check(bowTie).Kind, ScalarField::Shape::Twisted);
    const Point line[3] = {{0, 0}, {1, 1}, {3, 3}};
    QCOMPARE(ScalarField::Check(line).Kind, ScalarField::Shape::NoArea);
}

void TestTorsion::patchTestReproducesLinearWarping() {
    // Four distorted quadrilaterals and two triangles round two inner nodes; the outer nodes
    // hold a linear field, which the inner ones must take exactly.
    const std::vector<Point> p = {{0, 0},     {1.1, -0.1}, {2.2, 0.1}, {-0.1, 1.0}, {0.9, 0.8},
                                  {1.4, 1.3}, {2.0, 1.1},  {0.1, 2.0}, {1.2, 2.3},  {2.1, 2.0}};
    const std::vector<std::vector<int>> cells = {{0, 1, 4, 3}, {1, 2, 6, 5}, {1, 5, 4},
                                                 {3, 4, 8, 7}, {4, 5, 8},    {5, 6, 9, 8}};
    const auto linear = [](const Point& q) { return 0.3 - 1.7 * q.x() + 2.9 * q.y(); };
    Eigen::MatrixXd k = Eigen::MatrixXd::Zero(10, 10);
    for (const auto& c : cells) {
        std::vector<Point> corners;
        for (int n : c)
            corners.push_back(p[static_cast<size_t>(n)]);
        const ScalarField element(c, corners);
        const Eigen::MatrixXd ke = element.Stiffness();
        for (size_t a = 0; a < c.size(); ++a)
            for (size_t b = 0; b < c.size(); ++b)
                k(c[a], c[b]) += ke(static_cast<int>(a), static_cast<int>(b));
        // The gradient of the exact field is recovered at any point.
        Element::Vector u(static_cast<int>(c.size()));
        for (size_t a = 0; a < c.size(); ++a)
            u[static_cast<int>(a)] = linear(corners[a]);
        QVERIFY((element.Gradient(u, 0.2, 0.1) - Point(-1.7, 2.9)).norm() < 1e-12);
    }
    const std::vector<int> inner = {4, 5};
    Eigen::Matrix2d kii;
    Eigen::Vector2d rhs = Eigen::Vector2d::Zero();
    for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b)
            kii(a, b) = k(inner[a], inner[b]);
        for (int n = 0; n < 10; ++n)
            if (n != 4 && n != 5)
                rhs[a] -= k(inner[a], n) * linear(p[static_cast<size_t>(n)]);
    }
    const Eigen::Vector2d w = kii.inverse() * rhs;
    QVERIFY(std::abs(w[0] - linear(p[4])) < 1e-12);
    QVERIFY(std::abs(w[1] - linear(p[5])) < 1e-12);
}

void TestTorsion::rectangleMatchesTheSeriesOnCoarseAndFineMeshes() {
    // 0.2 x 0.4 m: beta = 0.2287 (a handbook's 0.229), tau at the middle of the long sides.
    const Rectangle exact(0.4, 0.2);
    for (int n : {1, 8}) {
        Builder b;
        b.Grid(0.5, -3, 0.2, 0.4, n, 2 * n);
        const TorsionAnalysis::Answer answer = Solved(b.Model);
        const FieldResults::Torsion& t = *answer.Results.Twist;
        QV_COMPARE_NEAR(t.J, exact.J, 2e-4);
        QVERIFY(answer.ErrorEstimate <= TorsionAnalysis::Tolerance);
        QV_COMPARE_NEAR(t.Twist, 10 / (G * exact.J), 2e-4);
        QV_COMPARE_NEAR(t.TauMax, 10 * exact.TauPerMoment, 1e-3);
        QV_COMPARE_NEAR(std::abs(t.AtY - 0.6), 0.1, 1e-9); // a long side
        QV_COMPARE_NEAR(t.AtZ, -2.8, 1e-9);                // at its middle
        QVERIFY(answer.Residual < 1e-10 && answer.MomentError < 1e-10);
        // Symmetric about the centre: the warping is odd in y and in z.
        const std::vector<double>& w = answer.Results.Cases[0].Displacements;
        QV_COMPARE_NEAR(w[0], -w[static_cast<size_t>(n)], 1e-9);
    }
}

void TestTorsion::plainElementsConvergeFromAbove() {
    // Without division (a budget of the mesh's own nodes) linear elements give J from above,
    // the error falling by four per halving of the mesh.
    const Rectangle exact(0.4, 0.2);
    double before = 0;
    for (int n : {1, 2, 4, 8, 16}) {
        Builder b;
        b.Grid(0, 0, 0.2, 0.4, n, 2 * n);
        const TorsionAnalysis::Answer answer = Solved(b.Model, 1e-4, 0);
        const double error = answer.Results.Twist->J / exact.J - 1;
        QVERIFY(error > 0);
        // The nodal averages of the stresses tell that error once the mesh resolves them.
        const double indicator = answer.Levels.front().Indicator;
        QVERIFY2(n < 8 || (indicator > 0.5 * error && indicator < 1.5 * error),
                 qPrintable(QStringLiteral("%1 %2").arg(indicator).arg(error)));
        // Past the coarsest meshes the error falls by four per halving.
        if (before > 0)
            QVERIFY2(before / error > (n < 16 ? 1.8 : 3.5) && before / error < 4.5,
                     qPrintable(QStringLiteral("%1 %2").arg(before).arg(error)));
        before = error;
    }
}

void TestTorsion::circleTubeAndCompositeBar() {
    // Polygons of 128 sides: J of a circle of them lies 8.2e-4 under the circle's; for a ring
    // or a circle of them the warping is all but nil, so J is their polar moment.
    const double r = 0.05, R = 0.08;
    const auto polygon = [](double radius) {
        const double angle = 2 * Pi / 128;
        return 128.0 / 12 * std::pow(radius, 4) * std::sin(angle) * (2 + std::cos(angle));
    };
    {
        Builder b;
        b.Annulus(0, r, 128, 8);
        const FieldResults::Torsion t = *Solved(b.Model).Results.Twist;
        QV_COMPARE_NEAR(t.J, polygon(r), 1e-4);
        QV_COMPARE_NEAR(t.J, Pi * std::pow(r, 4) / 2, 1e-3);
        QV_COMPARE_NEAR(t.TauMax, 10 * r / (Pi * std::pow(r, 4) / 2), 1e-3);
        QV_COMPARE_NEAR(std::hypot(t.AtY, t.AtZ), r, 1e-9);
    }
    {
        Builder b;
        b.Annulus(r, R, 128, 4);
        const TorsionAnalysis::Answer answer = Solved(b.Model);
        QCOMPARE(answer.Profile.Holes, 1);
        QV_COMPARE_NEAR(answer.Results.Twist->J, polygon(R) - polygon(r), 1e-4);
        QV_COMPARE_NEAR(answer.Results.Twist->J, Pi * (std::pow(R, 4) - std::pow(r, 4)) / 2, 1e-3);
    }
    {
        // A steel core in an aluminium ring (G 26,316 of 80,769): G J is the sum of each
        // part's G Ip.
        Builder b;
        b.Model.Materials.push_back({70e6, 0.33, 0});
        const double g2 = 70e6 / (2 * 1.33);
        b.Annulus(0, R, 128, 8, 5);
        const TorsionAnalysis::Answer answer = Solved(b.Model);
        const double core = polygon(R * 5 / 8);
        QCOMPARE(answer.Profile.Materials, 2);
        QV_COMPARE_NEAR(answer.Results.Twist->G * answer.Results.Twist->J,
                        G * core + g2 * (polygon(R) - core), 1e-4);
    }
}

void TestTorsion::thinWalledBoxFollowsBredt() {
    // A square box 0.4 m wide on its centre line, walls t = 8 mm: Bredt's 4 A^2 t / s = b^3 t.
    // The thick wall and the corners add about 2 t / b.
    const double b0 = 0.4, t = 0.008;
    const int n = 51; // 50 cells of 8 mm along a side, the wall one cell thick
    const double step = (b0 + t) / n;
    Builder box;
    std::vector<int> numbers(static_cast<size_t>((n + 1) * (n + 1)), -1);
    const auto node = [&](int i, int j) {
        int& id = numbers[static_cast<size_t>(j * (n + 1) + i)];
        if (id < 0)
            id = box.Node(-t / 2 + step * i, -t / 2 + step * j);
        return id;
    };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            if (i == 0 || j == 0 || i == n - 1 || j == n - 1)
                box.Cell({node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)});
    box.Contour(node(0, 0), 0);
    box.Contour(node(1, 1), 1);
    const TorsionAnalysis::Answer answer = Solved(box.Model, 1e-3, 200000);
    const double bredt = 4 * std::pow(b0 * b0, 2) * t / (4 * b0);
    QV_COMPARE_NEAR(answer.Results.Twist->J, bredt, 0.03);
    // Bredt's stress T / (2 A t), exceeded only at the inner corners.
    const double mean = answer.Results.Cases[0].Stresses[3 * 25 + 2];
    QV_COMPARE_NEAR(mean, 10 / (2 * b0 * b0 * t), 0.03);
}

void TestTorsion::clockwiseMeshesAreTurnedRound() {
    Builder b;
    b.Grid(0, 0, 0.2, 0.4, 2, 4);
    const double j = Solved(b.Model).Results.Twist->J;
    for (MeshModel::Cell& cell : b.Model.Cells)
        std::swap(cell.Corners[1], cell.Corners[3]);
    const TorsionAnalysis::Answer answer = Solved(b.Model);
    QCOMPARE(answer.Profile.Reversed, 8);
    QV_COMPARE_NEAR(answer.Results.Twist->J, j, 1e-12);
}

void TestTorsion::squaresJoinedAtACornerAreOneProfile() {
    // Two 0.1 m squares sharing one corner node: each twists as if alone, so J is twice the
    // square's 0.1406 a^4, and the outer contour is one loop through the shared node twice.
    Builder b;
    const auto first = b.Grid(0, 0, 0.1, 0.1, 4, 4);
    const int shared = first(4, 4);
    std::vector<int> second;
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i)
            second.push_back(i == 0 && j == 0 ? shared : b.Node(0.1 + 0.025 * i, 0.1 + 0.025 * j));
    const auto at = [&](int i, int j) { return second[static_cast<size_t>(j * 5 + i)]; };
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            b.Cell({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    b.Contour(at(4, 4), 0);
    b.Contour(shared, 0);
    // The corner where they meet is sharp: J to 1e-3 keeps the meshes small.
    const TorsionAnalysis::Answer answer = Solved(b.Model, 1e-3);
    QCOMPARE(answer.Profile.Holes, 0);
    QV_COMPARE_NEAR(answer.Results.Twist->J, 2 * Rectangle(0.1, 0.1).J, 2e-3);
}

// Two reproducers of 24 triangles, an L of three 0.1 m squares and a T of twelve 0.05 m
// ones, which were divided to 790,000 nodes (9 s, 1.3 GB) while J crept towards its limit
// past their inside corners. J must meet that limit, here fitted as J + a h^(4/3) + b h^2
// to the meshes divided 32, 64 and 128 times (the 16, 32, 64 fit agrees to 5e-7), on
// meshes of some 50,000 nodes; the stress near the corners is reported as depending on the
// mesh and kept out of the largest one.
void TestTorsion::reentrantCornersStopAtTheLimitOfJ_data() {
    QTest::addColumn<QList<QPoint>>("squares");
    QTest::addColumn<bool>("alternate"); // the diagonals of neighbouring squares cross
    QTest::addColumn<double>("limit");
    QTest::addColumn<int>("corners");
    QList<QPoint> ell, tee;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (i < 2 || j < 2)
                ell << QPoint(i, j);
    for (int i = 0; i < 6; ++i)
        tee << QPoint(i, 3);
    for (int i = 2; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            tee << QPoint(i, j);
    QTest::newRow("L") << ell << false << 8.563032e-5 << 1;
    QTest::newRow("T") << tee << true << 5.746523e-5 << 2;
}

void TestTorsion::reentrantCornersStopAtTheLimitOfJ() {
    QFETCH(QList<QPoint>, squares);
    QFETCH(bool, alternate);
    QFETCH(double, limit);
    QFETCH(int, corners);
    Builder b;
    std::map<std::pair<int, int>, int> nodes;
    const auto node = [&](int i, int j) {
        const auto [at, added] = nodes.try_emplace({i, j}, 0);
        if (added)
            at->second = b.Node(0.05 * i, 0.05 * j);
        return at->second;
    };
    for (const QPoint& q : squares) {
        const int n0 = node(q.x(), q.y()), n1 = node(q.x() + 1, q.y());
        const int n2 = node(q.x() + 1, q.y() + 1), n3 = node(q.x(), q.y() + 1);
        if (alternate && (q.x() + q.y()) % 2 == 1) {
            b.Cell({n0, n1, n3});
            b.Cell({n1, n2, n3});
        } else {
            b.Cell({n0, n1, n2});
            b.Cell({n0, n2, n3});
        }
    }
    QCOMPARE(b.Model.Cells.size(), size_t(24));
    b.Contour(node(squares[0].x(), squares[0].y()), 0);
    const TorsionAnalysis::Answer answer = Solved(b.Model);
    QVERIFY2(answer.Levels.back().Nodes < 60000,
             qPrintable(QString::number(answer.Levels.back().Nodes)));
    QVERIFY(answer.Extrapolated && answer.ErrorEstimate <= TorsionAnalysis::Tolerance);
    QV_COMPARE_NEAR(answer.Results.Twist->J, limit, TorsionAnalysis::Tolerance);
    QV_COMPARE_NEAR(answer.Results.Twist->Twist, 10 / (G * limit), TorsionAnalysis::Tolerance);
    QCOMPARE(static_cast<int>(answer.Corners.size()), corners);
    for (const TorsionAnalysis::CornerStress& corner : answer.Corners) {
        QV_COMPARE_NEAR(corner.Corner.Angle, 270.0, 1e-9);
        QVERIFY(corner.Tau > answer.Results.Twist->TauMax);
        const Point at(answer.Results.Twist->AtY, answer.Results.Twist->AtZ);
        const std::array<double, 2> node = b.Model.Plan(corner.Corner.Node);
        QVERIFY((at - Point(node[0], node[1])).norm() >= corner.Corner.Reach * (1 - 1e-9));
    }
    // The stresses of the finest mesh still carry the moment.
    QVERIFY(answer.MomentError < 1e-9);
    const QJsonObject json = TorsionReport::Json(answer)[QStringLiteral("torsion")].toObject();
    QCOMPARE(json[QStringLiteral("reentrantCorners")].toArray().size(), corners);
    QVERIFY(json[QStringLiteral("reentrantCorners")][0][QStringLiteral("meshDependent")].toBool());
}

void TestTorsion::refusesBadMeshesAndContours_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("no area") << 0 << 226 << "element 26 has no area";
    QTest::newRow("not convex") << 1 << 201 << "element 1 is not convex: its angle at node 8";
    QTest::newRow("twisted") << 2 << 201 << "element 1 is twisted";
    QTest::newRow("corner twice") << 3 << 202 << "node 2 is named twice";
    QTest::newRow("overlap") << 4 << 226 << "element 26 overlaps element 1 (line 201)";
    QTest::newRow("pieces") << 5 << 226 << "pieces that do not touch: element 26";
    QTest::newRow("inside") << 6 << 302 << "node 8 of table 6 lies inside the profile";
    QTest::newRow("two holes one number")
        << 7 << 303 << "node 22 lies on another contour than node 8 (line 302)";
    QTest::newRow("0 on a hole") << 8 << 302 << "node 8 lies on a hole of the profile, not";
    QTest::newRow("hole unlisted") << 9 << 109 << "node 9 lies on a hole of the profile that";
    QTest::newRow("stresses beyond range") << 11 << 0 << "the answers are not finite numbers";
    QTest::newRow("no such hole")
        << 10 << 302 << "node 12 lies on the outer contour of the profile, so contour 2 is no";
}

void TestTorsion::refusesBadMeshesAndContours() {
    QFETCH(int, fault);
    QFETCH(int, line);
    QFETCH(QString, message);
    Builder b;
    // 5 x 5 unit cells; where asked, cells (1, 1) and (3, 3) are left out as two holes.
    const bool holes = fault >= 7 && fault <= 10;
    for (int j = 0; j <= 5; ++j)
        for (int i = 0; i <= 5; ++i)
            b.Node(i, j);
    const auto at = [](int i, int j) { return 6 * j + i; };
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i)
            if (!holes || i != j || i % 2 == 0)
                b.Cell({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    b.Contour(at(0, 0), 0);
    MeshModel& m = b.Model;
    switch (fault) {
    case 0:
        b.Cell({at(5, 0), at(5, 2), at(5, 3)}); // along the right side
        break;
    case 1:
        m.Nodes[static_cast<size_t>(at(1, 1))] = {0.2, 0, 0.2};
        break;
    case 2:
        std::swap(m.Cells[0].Corners[2], m.Cells[0].Corners[3]);
        break;
    case 3:
        m.Cells[1].Corners[3] = m.Cells[1].Corners[0];
        break;
    case 4:
        b.Cell({at(0, 0), at(1, 0), at(1, 1)});
        break;
    case 5:
        b.Grid(10, 0, 1, 1, 1, 1, false);
        break;
    case 6:
    case 8:
        b.Contour(at(1, 1), 0);
        break;
    case 7:
        b.Contour(at(1, 1), 1);
        b.Contour(at(3, 3), 1);
        break;
    case 9:
        b.Contour(at(3, 3), 2); // the second hole only
        break;
    case 10:
        b.Contour(at(5, 1), 2);
        break;
    case 11:
        // A 5 mm square under the largest moment a double holds: the stresses overflow.
        for (auto& node : m.Nodes)
            node = {node[0] * 1e-3, 0, node[2] * 1e-3};
        m.Moment = 1.7e308;
        break;
    }
    try {
        TorsionAnalysis::Analyse(m, nullptr);
        QFAIL("solved");
    } catch (const SolverError& error) {
        QCOMPARE(error.Line(), line);
        QVERIFY2(error.Message().contains(message), qPrintable(error.Message()));
    }
}

void TestTorsion::programPrintsJson() {
    // The package's example through the program: the 2 x 2 mesh of a 20 x 40 cm rectangle.
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("rect.d16"));
    QVERIFY(QFile::copy(QStringLiteral(SOLVERS_EXAMPLES "/rect.d16"), path));
    const ProgramRun::Result run = ProgramRun::Run(QStringLiteral(BRASKO_PROGRAM), directory.path(),
                                                   {QStringLiteral("--json"), path});
    QCOMPARE(run.ExitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.Output).object();
    const QJsonObject torsion = json[QStringLiteral("torsion")].toObject();
    const Rectangle exact(0.4, 0.2);
    QV_COMPARE_NEAR(torsion[QStringLiteral("J")].toDouble(), exact.J, 2e-4);
    QV_COMPARE_NEAR(torsion[QStringLiteral("G")].toDouble(), G, 1e-12);
    QV_COMPARE_NEAR(torsion[QStringLiteral("moment")].toDouble(), 10, 1e-12);
    QV_COMPARE_NEAR(torsion[QStringLiteral("tauMax")].toDouble(), 10 * exact.TauPerMoment, 1e-3);
    QCOMPARE(torsion[QStringLiteral("at")].toArray().size(), 2);
    QCOMPARE(json[QStringLiteral("stresses")].toArray().size(), 4);
    const QJsonArray nodes = json[QStringLiteral("nodeStresses")].toArray();
    QCOMPARE(nodes.size(), 9);
    // The centre of the rectangle carries no stress.
    QVERIFY(nodes[4].toArray()[3].toDouble() < 1e-6);

    // As the editor runs it, on the package's tube (J within 1e-4 of its polygons' Ip): the
    // result file holds the answer for the viewer and the report lies beside the data.
    const QString tube = directory.filePath(QStringLiteral("tube.d16"));
    QVERIFY(QFile::copy(QStringLiteral(SOLVERS_MODELS "/tube.d16"), tube));
    const ProgramRun::Result solved = ProgramRun::Run(
        QStringLiteral(BRASKO_PROGRAM), directory.path(), {tube, QStringLiteral("S")});
    QCOMPARE(solved.ExitCode, 0);
    const std::optional<ResultFile::Contents> contents =
        ResultFile::Read(ProgramRun::ReadFile(directory.filePath(QStringLiteral("tube.bin"))));
    QVERIFY(contents && contents->Type == ResultFile::Kind::Torsion);
    QVERIFY(contents->Field.Twist);
    const auto ip = [](double radius) {
        return 72.0 / 12 * std::pow(radius, 4) * std::sin(2 * Pi / 72) *
               (2 + std::cos(2 * Pi / 72));
    };
    QV_COMPARE_NEAR(contents->Field.Twist->J, ip(0.1) - ip(0.09), 1e-4);
    QCOMPARE(contents->Field.Cases[0].Displacements.size(), size_t(216));
    QVERIFY(ProgramRun::ReadFile(directory.filePath(QStringLiteral("tube.rpt")))
                .contains("Torsion constant J"));

    // A refusal names the line of the data file.
    QByteArray text = ProgramRun::ReadFile(tube);
    text.replace("#  73    1     1   ; bore", "#  73   73     1   ; bore");
    ProgramRun::WriteFile(tube, text);
    const ProgramRun::Result refused = ProgramRun::Run(
        QStringLiteral(BRASKO_PROGRAM), directory.path(), {QStringLiteral("--json"), tube});
    QCOMPARE(refused.ExitCode, 1);
    QVERIFY2(refused.Output.contains("Line 453: node 73 of table 6 lies inside the profile"),
             refused.Output.constData());
}

QTEST_GUILESS_MAIN(TestTorsion)
#include "tst_torsion.moc"
