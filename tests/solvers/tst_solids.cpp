#include "Elasticity.h"
#include "SolidElements.h"

#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

// The solid elements on small meshes assembled here: patch tests of a linear displacement
// field on distorted meshes of each kind and of the kinds mixed, a brick in pure bending,
// cantilevers of coarse bricks against beam theory, the shapes refused or turned round, and
// the stress results a recovered row carries.
class TestSolids : public QObject {
    Q_OBJECT

    using Vector3 = Eigen::Vector3d;
    using Cell = std::vector<int>;
    using Elements = std::vector<std::unique_ptr<SolidElement>>;

    struct Mesh {
        std::vector<Vector3> Nodes;
        std::vector<Cell> Cells;
        std::array<int, 3> Boxes{};

        int Node(int i, int j, int k) const {
            return (k * (Boxes[1] + 1) + j) * (Boxes[0] + 1) + i;
        }
        bool OnBoundary(int i, int j, int k) const {
            return i == 0 || j == 0 || k == 0 || i == Boxes[0] || j == Boxes[1] || k == Boxes[2];
        }
    };

    // How each box of a grid is filled: bricks, two wedges standing along z, six
    // tetrahedra round the box's diagonal, or (`Mixed`) all of them meeting face to face.
    enum class Fill { Bricks, Wedges, Tetrahedra, Mixed };

    // The corners of a box as v[di + 2 dj + 4 dk].
    using BoxCorners = std::array<int, 8>;

    static void AddBrick(Mesh& m, const BoxCorners& v) {
        m.Cells.push_back({v[0], v[1], v[3], v[2], v[4], v[5], v[7], v[6]});
    }
    // Two wedges whose triangles lie in x-y, split along the diagonal v0-v3 (z: 0 and 1).
    static void AddWedgesAlongZ(Mesh& m, const BoxCorners& v) {
        m.Cells.push_back({v[0], v[1], v[3], v[4], v[5], v[7]});
        m.Cells.push_back({v[0], v[3], v[2], v[4], v[7], v[6]});
    }
    // Two wedges whose triangles lie in y-z, split along the diagonal of each x face that
    // the tetrahedra below take.
    static void AddWedgesAlongX(Mesh& m, const BoxCorners& v) {
        m.Cells.push_back({v[0], v[2], v[6], v[1], v[3], v[7]});
        m.Cells.push_back({v[0], v[6], v[4], v[1], v[7], v[5]});
    }
    // Six tetrahedra along the paths from v0 to v7 through the box's edges; their faces on
    // the box's faces are split along the diagonals through v0 or v7, so that neighbouring
    // boxes meet conformingly. Half of them come numbered the other way round.
    static void AddTetrahedra(Mesh& m, const BoxCorners& v) {
        static constexpr int Paths[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                            {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
        for (const auto& path : Paths) {
            const int first = 1 << path[0], second = first | (1 << path[1]);
            m.Cells.push_back({v[0], v[first], v[second], v[7]});
        }
    }

    // nx x ny x nz boxes over [0, size]; `place` moves a node from where the grid puts it.
    static Mesh Grid(const Vector3& size, std::array<int, 3> boxes, Fill fill,
                     const std::function<Vector3(int, int, int, const Vector3&)>& place) {
        Mesh m;
        m.Boxes = boxes;
        for (int k = 0; k <= boxes[2]; ++k)
            for (int j = 0; j <= boxes[1]; ++j)
                for (int i = 0; i <= boxes[0]; ++i) {
                    const Vector3 at(size.x() * i / boxes[0], size.y() * j / boxes[1],
                                     size.z() * k / boxes[2]);
                    m.Nodes.push_back(place ? place(i, j, k, at) : at);
                }
        for (int k = 0; k < boxes[2]; ++k)
            for (int j = 0; j < boxes[1]; ++j)
                for (int i = 0; i < boxes[0]; ++i) {
                    BoxCorners v;
                    for (int c = 0; c < 8; ++c)
                        v[static_cast<size_t>(c)] =
                            m.Node(i + (c & 1), j + (c >> 1 & 1), k + (c >> 2));
                    // Mixed: bricks beside wedges, whose triangles meet the tetrahedra of
                    // the top layer; wedges across x join the top layer's bricks side to
                    // those tetrahedra. A brick's face never meets a tetrahedron's.
                    const bool top = k == boxes[2] - 1;
                    switch (fill) {
                    case Fill::Bricks:
                        AddBrick(m, v);
                        break;
                    case Fill::Wedges:
                        AddWedgesAlongZ(m, v);
                        break;
                    case Fill::Tetrahedra:
                        AddTetrahedra(m, v);
                        break;
                    case Fill::Mixed:
                        if (i == 0)
                            top ? AddWedgesAlongX(m, v) : AddBrick(m, v);
                        else
                            top ? AddTetrahedra(m, v) : AddWedgesAlongZ(m, v);
                        break;
                    }
                }
        return m;
    }

    static SolidMaterial Steel() { return {Elasticity::Solid(2e5, 0.3), 7.85e-9}; }

    static Elements Make(const Mesh& m, const SolidMaterial& material) {
        Elements elements;
        for (const Cell& cell : m.Cells) {
            std::vector<Vector3> corners;
            for (int n : cell)
                corners.push_back(m.Nodes[static_cast<size_t>(n)]);
            elements.push_back(SolidElement::Make(material, cell, corners));
        }
        return elements;
    }

    static Eigen::MatrixXd Assemble(const Elements& elements, size_t nodes) {
        Eigen::MatrixXd k = Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(3 * nodes),
                                                  static_cast<Eigen::Index>(3 * nodes));
        for (const auto& e : elements) {
            const Element::Matrix ke = e->Stiffness();
            const auto n = e->Nodes();
            for (size_t a = 0; a < n.size(); ++a)
                for (size_t b = 0; b < n.size(); ++b)
                    k.block<3, 3>(3 * n[a], 3 * n[b]) += ke.block<3, 3>(
                        static_cast<Eigen::Index>(3 * a), static_cast<Eigen::Index>(3 * b));
        }
        return k;
    }

    static Element::Vector Gather(const SolidElement& e, const Eigen::VectorXd& u) {
        Element::Vector ue(e.Size());
        const auto n = e.Nodes();
        for (size_t a = 0; a < n.size(); ++a)
            ue.segment<3>(static_cast<Eigen::Index>(3 * a)) = u.segment<3>(3 * n[a]);
        return ue;
    }

    // The displacements with those of the `held` unknowns given in `u` and the loads `f`
    // on the others.
    static Eigen::VectorXd Solve(const Eigen::MatrixXd& k, const std::vector<bool>& held,
                                 Eigen::VectorXd u, const Eigen::VectorXd& f) {
        std::vector<int> free, fixed;
        for (size_t i = 0; i < held.size(); ++i)
            (held[i] ? fixed : free).push_back(static_cast<int>(i));
        const Eigen::VectorXd rhs = f(free) - k(free, fixed) * u(fixed);
        const Eigen::VectorXd solved = k(free, free).ldlt().solve(rhs);
        u(free) = solved;
        return u;
    }

    // A general linear field, turning as well as straining.
    static Vector3 Linear(const Vector3& x) {
        Eigen::Matrix3d g;
        g << 1.2e-3, -0.4e-3, 0.7e-3, //
            0.9e-3, -0.6e-3, 0.3e-3,  //
            -0.2e-3, 1.1e-3, 0.8e-3;
        return Vector3(0.01, -0.02, 0.005) + g * x;
    }

    // The distortion of the grid's nodes: inner nodes move in every direction, those on the
    // cube's faces and edges only along them, by up to a fifth of a box.
    static Vector3 Distort(const Mesh& shape, int i, int j, int k, const Vector3& at) {
        const int index[3] = {i, j, k};
        Vector3 moved = at;
        for (int c = 0; c < 3; ++c)
            if (index[c] > 0 && index[c] < shape.Boxes[static_cast<size_t>(c)])
                moved[c] += 0.2 / shape.Boxes[static_cast<size_t>(c)] *
                            std::sin(1.7 * i + 2.3 * j + 3.1 * k + 0.9 * c + 0.4);
        return moved;
    }

    // A cantilever along x, held at x = 0 in every component, loaded at x = length by a
    // force `p` in z spread evenly over its end: the tip's deflection, the mean uz of the end
    // weighted as the load is.
    static double TipDeflection(const Mesh& m, double p) {
        const SolidMaterial steel = Steel();
        const Elements elements = Make(m, steel);
        const Eigen::MatrixXd k = Assemble(elements, m.Nodes.size());
        const Eigen::Index size = k.rows();
        std::vector<bool> held(static_cast<size_t>(size), false);
        Eigen::VectorXd f = Eigen::VectorXd::Zero(size);
        const int nx = m.Boxes[0], ny = m.Boxes[1], nz = m.Boxes[2];
        for (int k2 = 0; k2 <= nz; ++k2)
            for (int j = 0; j <= ny; ++j)
                for (int c = 0; c < 3; ++c)
                    held[static_cast<size_t>(3 * m.Node(0, j, k2) + c)] = true;
        std::vector<double> share(m.Nodes.size(), 0.0);
        for (int k2 = 0; k2 < nz; ++k2)
            for (int j = 0; j < ny; ++j)
                for (int c = 0; c < 4; ++c)
                    share[static_cast<size_t>(m.Node(nx, j + (c & 1), k2 + (c >> 1)))] +=
                        1.0 / (4 * ny * nz);
        for (size_t n = 0; n < share.size(); ++n)
            f(static_cast<Eigen::Index>(3 * n + 2)) = p * share[n];
        const Eigen::VectorXd u = Solve(k, held, Eigen::VectorXd::Zero(size), f);
        double tip = 0;
        for (size_t n = 0; n < share.size(); ++n)
            tip += share[n] * u(static_cast<Eigen::Index>(3 * n + 2));
        return tip;
    }

private slots:
    void linearFieldsAreExactOnDistortedMeshes();
    void aBrickBendsExactly();
    void coarseCantileversBendAsBeams();
    void shapesAreClassified();
    void mirroredNumberingMakesTheSameElement();
    void stressRowsCarryPrincipalAndEquivalentStresses();
};

void TestSolids::linearFieldsAreExactOnDistortedMeshes() {
    const SolidMaterial steel = Steel();
    const struct {
        const char* Name;
        Fill How;
    } fills[] = {{"bricks", Fill::Bricks},
                 {"wedges", Fill::Wedges},
                 {"tetrahedra", Fill::Tetrahedra},
                 {"bricks, wedges and tetrahedra", Fill::Mixed}};
    Eigen::Matrix<double, 6, 1> exact;
    {
        Eigen::Matrix3d g;
        const Vector3 o = Linear(Vector3::Zero());
        for (int c = 0; c < 3; ++c)
            g.col(c) = Linear(Vector3::Unit(c)) - o;
        const Eigen::Matrix3d e = (g + g.transpose()) / 2;
        exact = steel.D * (Eigen::Matrix<double, 6, 1>() << e(0, 0), e(1, 1), e(2, 2), 2 * e(0, 1),
                           2 * e(1, 2), 2 * e(2, 0))
                              .finished();
    }
    const SolidElement::StressRow expected = SolidElement::Describe(exact);
    for (int boxes : {2, 3})
        for (const auto& fill : fills) {
            const QString name = QStringLiteral("%1 boxes a side of %2").arg(boxes).arg(fill.Name);
            Mesh m = Grid(Vector3::Ones(), {boxes, boxes, boxes}, fill.How, {});
            const Mesh shape = m;
            for (int k = 0; k <= boxes; ++k)
                for (int j = 0; j <= boxes; ++j)
                    for (int i = 0; i <= boxes; ++i)
                        m.Nodes[static_cast<size_t>(m.Node(i, j, k))] = Distort(
                            shape, i, j, k, shape.Nodes[static_cast<size_t>(m.Node(i, j, k))]);
            const Elements elements = Make(m, steel);
            // The distorted elements still fill the cube.
            double volume = 0;
            for (const auto& e : elements)
                volume += e->Volume();
            QVERIFY2(std::abs(volume - 1) < 1e-12, qPrintable(name));

            const size_t nodes = m.Nodes.size();
            std::vector<bool> held(3 * nodes, false);
            Eigen::VectorXd given = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(3 * nodes));
            std::vector<Vector3> field(nodes);
            for (int k = 0; k <= boxes; ++k)
                for (int j = 0; j <= boxes; ++j)
                    for (int i = 0; i <= boxes; ++i) {
                        const int n = m.Node(i, j, k);
                        field[static_cast<size_t>(n)] = Linear(m.Nodes[static_cast<size_t>(n)]);
                        if (m.OnBoundary(i, j, k)) {
                            given.segment<3>(3 * n) = field[static_cast<size_t>(n)];
                            for (int c = 0; c < 3; ++c)
                                held[static_cast<size_t>(3 * n + c)] = true;
                        }
                    }
            const Eigen::VectorXd u =
                Solve(Assemble(elements, nodes), held, given, Eigen::VectorXd::Zero(given.size()));
            double displacementError = 0, scale = 0;
            for (size_t n = 0; n < nodes; ++n) {
                displacementError = std::max(
                    displacementError, (u.segment<3>(static_cast<Eigen::Index>(3 * n)) - field[n])
                                           .cwiseAbs()
                                           .maxCoeff());
                scale = std::max(scale, field[n].cwiseAbs().maxCoeff());
            }
            double stressError = 0;
            for (const auto& e : elements) {
                const Element::Results r = e->Recover(Gather(*e, u));
                QCOMPARE(r.rows(), static_cast<Eigen::Index>(e->Nodes().size() + 1));
                for (Eigen::Index row = 0; row < r.rows(); ++row)
                    stressError =
                        std::max(stressError, (r.row(row) - expected).cwiseAbs().maxCoeff());
            }
            displacementError /= scale;
            stressError /= expected.cwiseAbs().maxCoeff();
            qInfo("%s: displacement error %.1e, stress error %.1e", qPrintable(name),
                  displacementError, stressError);
            QVERIFY2(displacementError < 1e-8, qPrintable(name));
            QVERIFY2(stressError < 1e-8, qPrintable(name));
        }
}

void TestSolids::aBrickBendsExactly() {
    // Pure bending about y of a box, sx = -E kappa z and no other stress: the displacements
    // are quadratic, which the incompatible modes carry, so one brick given the nodal values
    // bends without shear and its corners give the linear stress exactly. So does a row of
    // bricks along the beam, solved for its inner nodes.
    const SolidMaterial steel = Steel();
    const double e = 2e5, nu = 0.3, kappa = 1e-4;
    const auto bent = [&](const Vector3& x) {
        return Vector3(-kappa * x.x() * x.z(), nu * kappa * x.y() * x.z(),
                       kappa / 2 * (x.x() * x.x() + nu * (x.z() * x.z() - x.y() * x.y())));
    };
    const Mesh m =
        Grid(Vector3(4, 0.8, 1), {4, 1, 1}, Fill::Bricks, [](int, int, int, const Vector3& at) {
            return Vector3(at.x() - 2, at.y() - 0.4, at.z() - 0.5);
        });
    const Elements elements = Make(m, steel);
    const size_t nodes = m.Nodes.size();
    std::vector<bool> held(3 * nodes, false);
    Eigen::VectorXd given = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(3 * nodes));
    for (size_t n = 0; n < nodes; ++n) {
        given.segment<3>(static_cast<Eigen::Index>(3 * n)) = bent(m.Nodes[n]);
        const bool end = std::abs(std::abs(m.Nodes[n].x()) - 2) < 1e-12;
        for (int c = 0; c < 3; ++c)
            held[3 * n + static_cast<size_t>(c)] = end;
    }
    const Eigen::VectorXd u =
        Solve(Assemble(elements, nodes), held, given, Eigen::VectorXd::Zero(given.size()));
    QVERIFY((u - given).cwiseAbs().maxCoeff() < 1e-10 * given.cwiseAbs().maxCoeff());
    const double peak = e * kappa * 0.5;
    for (const auto& element : elements) {
        const Element::Results r = element->Recover(Gather(*element, u));
        for (Eigen::Index row = 1; row < r.rows(); ++row) {
            const Vector3& at =
                m.Nodes[static_cast<size_t>(element->Nodes()[static_cast<size_t>(row - 1)])];
            QVERIFY(std::abs(r(row, 0) + e * kappa * at.z()) < 1e-9 * peak);
            QVERIFY(r.row(row).segment<5>(1).cwiseAbs().maxCoeff() < 1e-9 * peak);
        }
        QVERIFY(r.row(0).segment<6>(0).cwiseAbs().maxCoeff() < 1e-9 * peak); // on the axis
    }
}

void TestSolids::coarseCantileversBendAsBeams() {
    // L = 10, a 1 x 1 section, P = 1: bending and shear deflection (k = 5/6).
    const double length = 10, e = 2e5, nu = 0.3, g = e / (2 * (1 + nu));
    const double beam = length * length * length / (3 * e / 12.0) + length / (5.0 / 6 * g);
    // Every inner section slanted, its top moved `slant` of a box's length along the beam and
    // its bottom as far back: alternately one way and the other (trapezoids, faces of 0.8 and
    // 1.2 for 0.1), or all the same way (parallelograms).
    const auto slanted = [](double slant, bool alternating) {
        return [slant, alternating](int i, int, int, const Vector3& at) {
            if (i == 0 || i == 10)
                return at;
            const double side = alternating && i % 2 == 0 ? -1 : 1;
            return Vector3(at.x() + side * slant * (2 * at.z() - 1), at.y(), at.z());
        };
    };
    const Vector3 beamBox(length, 1, 1);
    const struct {
        const char* Name;
        Mesh Shape;
        double Tolerance;
    } cases[] = {
        {"10 x 1 x 1 bricks", Grid(beamBox, {10, 1, 1}, Fill::Bricks, {}), 0.03},
        {"10 x 2 x 2 bricks", Grid(beamBox, {10, 2, 2}, Fill::Bricks, {}), 0.03},
        // A trapezoid stiffens any element of four corners a side that passes the patch
        // test; the plane quadrilateral of the same form gives -8.6 % on this mesh (nu = 0).
        {"10 x 1 x 1 trapezoidal bricks",
         Grid(beamBox, {10, 1, 1}, Fill::Bricks, slanted(0.1, true)), 0.10},
        // A parallelogram has a constant Jacobian: it bends nearly as the box does.
        {"10 x 1 x 1 parallelogram bricks",
         Grid(beamBox, {10, 1, 1}, Fill::Bricks, slanted(0.25, false)), 0.05},
    };
    for (const auto& c : cases) {
        const double tip = TipDeflection(c.Shape, 1);
        qInfo("%s: tip %.6g against %.6g, %+.2f %%", c.Name, tip, beam, 100 * (tip / beam - 1));
        QVERIFY2(std::abs(tip / beam - 1) < c.Tolerance, c.Name);
    }
}

void TestSolids::shapesAreClassified() {
    using Shape = SolidShape;
    const std::vector<Vector3> brick{{0, 0, 0},   {2, 0, 0},   {2, 1, 0},   {0, 1, 0},
                                     {0, 0, 1.5}, {2, 0, 1.5}, {2, 1, 1.5}, {0, 1, 1.5}};
    const auto check = [](const std::vector<Vector3>& corners) {
        return SolidElement::Classify(corners);
    };
    QCOMPARE(check(brick).Shape, Shape::Sound);
    QVERIFY(!check(brick).Mirrored);
    // The first face clockwise seen from the second: the same brick, numbered the other way.
    std::vector<Vector3> flipped = brick;
    std::swap(flipped[1], flipped[3]);
    std::swap(flipped[5], flipped[7]);
    QCOMPARE(check(flipped).Shape, Shape::Sound);
    QVERIFY(check(flipped).Mirrored);
    // A top corner pushed through the bottom face: the brick folds through itself.
    std::vector<Vector3> folded = brick;
    folded[6].z() = -1;
    QCOMPARE(check(folded).Shape, Shape::Inverted);
    // The top face turned half round: every vertical section pinches to a line half way up.
    std::vector<Vector3> twisted = brick;
    std::rotate(twisted.begin() + 4, twisted.begin() + 6, twisted.end());
    QCOMPARE(check(twisted).Shape, Shape::Degenerate);
    // Two corners swapped: the bottom face crosses itself.
    std::vector<Vector3> crossed = brick;
    std::swap(crossed[2], crossed[3]);
    QCOMPARE(check(crossed).Shape, Shape::Inverted);
    // Flat, and with two corners in one place (a brick collapsed towards a wedge).
    std::vector<Vector3> flat = brick;
    for (size_t a = 4; a < 8; ++a)
        flat[a].z() = 0;
    QCOMPARE(check(flat).Shape, Shape::Degenerate);
    // Flat but for rounding: a height of 1e-12 over a length of 2 is no volume either, while
    // a slab a thousandth as thick as it is long is.
    for (size_t a = 4; a < 8; ++a)
        flat[a].z() = 1e-12 * (1 + 0.1 * static_cast<double>(a));
    QCOMPARE(check(flat).Shape, Shape::Degenerate);
    std::vector<Vector3> slab = flat;
    for (size_t a = 4; a < 8; ++a)
        slab[a].z() = 2e-3;
    QCOMPARE(check(slab).Shape, Shape::Sound);
    std::vector<Vector3> collapsed = brick;
    collapsed[2] = collapsed[3];
    collapsed[6] = collapsed[7];
    QCOMPARE(check(collapsed).Shape, Shape::Degenerate);
    std::vector<Vector3> unknown = brick;
    unknown[5].x() = std::nan("");
    QCOMPARE(check(unknown).Shape, Shape::Degenerate);
    // Size is no criterion: a brick of micrometres or of kilometres is as sound as any.
    for (double scale : {1e-6, 1e6}) {
        std::vector<Vector3> scaled;
        for (const Vector3& p : brick)
            scaled.push_back(scale * p + Vector3(3e3, -2e3, 1e3));
        QCOMPARE(check(scaled).Shape, Shape::Sound);
    }

    const std::vector<Vector3> wedge{{0, 0, 0}, {1, 0, 0}, {0, 1, 0},
                                     {0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
    QCOMPARE(check(wedge).Shape, Shape::Sound);
    const std::vector<Vector3> wedgeFlipped{wedge[3], wedge[4], wedge[5],
                                            wedge[0], wedge[1], wedge[2]};
    QVERIFY(check(wedgeFlipped).Mirrored);
    QCOMPARE(check(wedgeFlipped).Shape, Shape::Sound);
    // The top triangle running the other way round from the bottom one.
    const std::vector<Vector3> wedgeTwisted{wedge[0], wedge[1], wedge[2],
                                            wedge[3], wedge[5], wedge[4]};
    QCOMPARE(check(wedgeTwisted).Shape, Shape::Inverted);
    std::vector<Vector3> wedgeFlat = wedge;
    wedgeFlat[5] = {1, 1, 0};
    wedgeFlat[2] = {1, 1, 0};
    QCOMPARE(check(wedgeFlat).Shape, Shape::Degenerate);

    const std::vector<Vector3> tetrahedron{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.2, 0.3, 0.9}};
    QCOMPARE(check(tetrahedron).Shape, Shape::Sound);
    QVERIFY(!check(tetrahedron).Mirrored);
    QVERIFY(check({tetrahedron[0], tetrahedron[2], tetrahedron[1], tetrahedron[3]}).Mirrored);
    QCOMPARE(check({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5, 0.5, 0}}).Shape, Shape::Degenerate);

    // Neither a shape that is not sound nor a wrong count of corners or nodes makes an element.
    const SolidMaterial steel = Steel();
    const std::vector<int> eight{0, 1, 2, 3, 4, 5, 6, 7};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SolidElement::Make(steel, eight, folded));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SolidElement::Make(steel, eight, flat));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             SolidElement::Make(steel, std::vector<int>{0, 1, 2}, brick));
    QVERIFY_THROWS_EXCEPTION(
        std::invalid_argument,
        SolidElement::Make(steel, std::vector<int>{0, 1, 2, 3, 4},
                           std::vector<Vector3>(brick.begin(), brick.begin() + 5)));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             check(std::vector<Vector3>(brick.begin(), brick.begin() + 7)));
}

void TestSolids::mirroredNumberingMakesTheSameElement() {
    // A distorted brick, and a wedge and a tetrahedron, numbered both ways: the element
    // turns its order round, and its matrices and results are those of the other numbering.
    const SolidMaterial steel = Steel();
    const std::vector<Vector3> brick{{0.1, 0, 0.05},  {2.1, 0.2, 0},  {2.3, 1.2, 0.1},
                                     {-0.1, 1, 0},    {0, 0.1, 1.4},  {2, 0, 1.6},
                                     {2.2, 1.1, 1.5}, {0.2, 0.9, 1.3}};
    const std::vector<Vector3> wedge{{0, 0, 0},   {1.2, 0.1, 0}, {0.1, 0.9, 0.1},
                                     {0.1, 0, 1}, {1.1, 0, 1.2}, {0, 1, 0.9}};
    const std::vector<Vector3> tetrahedron{{0, 0, 0}, {1, 0.1, 0}, {0.2, 1, 0}, {0.2, 0.3, 0.9}};
    const struct {
        std::vector<Vector3> Corners;
        std::vector<int> Mirror;
    } kinds[] = {{brick, {4, 5, 6, 7, 0, 1, 2, 3}},
                 {wedge, {3, 4, 5, 0, 1, 2}},
                 {tetrahedron, {0, 2, 1, 3}}};
    for (const auto& kind : kinds) {
        const size_t count = kind.Corners.size();
        std::vector<int> nodes(count), mirroredNodes(count);
        std::vector<Vector3> mirrored(count);
        for (size_t a = 0; a < count; ++a)
            nodes[a] = static_cast<int>(10 + a);
        for (size_t a = 0; a < count; ++a) {
            mirroredNodes[a] = nodes[static_cast<size_t>(kind.Mirror[a])];
            mirrored[a] = kind.Corners[static_cast<size_t>(kind.Mirror[a])];
        }
        const auto straight = SolidElement::Make(steel, nodes, kind.Corners);
        const auto turned = SolidElement::Make(steel, mirroredNodes, mirrored);
        QVERIFY(std::equal(turned->Nodes().begin(), turned->Nodes().end(),
                           straight->Nodes().begin(), straight->Nodes().end()));
        QVERIFY(turned->Volume() > 0);
        QCOMPARE(turned->Volume(), straight->Volume());
        QVERIFY((turned->Stiffness() - straight->Stiffness()).norm() <=
                1e-12 * straight->Stiffness().norm());
        const Element::Vector u = Element::Vector::LinSpaced(straight->Size(), -1e-3, 2e-3);
        QVERIFY((turned->Recover(u) - straight->Recover(u)).norm() <=
                1e-12 * straight->Recover(u).norm());
        // A force per volume gives the element's weight to its nodes.
        const Element::Vector loads = turned->Loads({0, 0, -2});
        QVERIFY(std::abs(loads(Eigen::seqN(2, count, 3)).sum() + 2 * turned->Volume()) <
                1e-12 * turned->Volume());
        QCOMPARE(loads(Eigen::seqN(0, count, 3)).cwiseAbs().maxCoeff(), 0.0);
    }
}

void TestSolids::stressRowsCarryPrincipalAndEquivalentStresses() {
    using Stress = SolidElement::Stress;
    const auto row = [](std::initializer_list<double> s) {
        Stress stress;
        std::copy(s.begin(), s.end(), stress.data());
        return SolidElement::Describe(stress);
    };
    const auto near = [](const SolidElement::StressRow& r, std::initializer_list<double> tail) {
        Eigen::Matrix<double, 1, 4> expected;
        std::copy(tail.begin(), tail.end(), expected.data());
        return (r.tail<4>() - expected).cwiseAbs().maxCoeff() < 1e-9;
    };
    // Pure shear: +-tau, and von Mises sqrt(3) tau; whichever plane it acts in.
    const double tau = 40;
    QVERIFY(near(row({0, 0, 0, tau, 0, 0}), {tau, 0, -tau, std::sqrt(3.0) * tau}));
    QVERIFY(near(row({0, 0, 0, 0, 0, -tau}), {tau, 0, -tau, std::sqrt(3.0) * tau}));
    // Uniaxial tension of 100 along (1, 1, 1) / sqrt 3: s_ij = 100 n_i n_j.
    const double third = 100.0 / 3;
    QVERIFY(near(row({third, third, third, third, third, third}), {100, 0, 0, 100}));
    // Hydrostatic pressure has no equivalent stress.
    QVERIFY(near(row({-5, -5, -5, 0, 0, 0}), {-5, -5, -5, 0}));
    // The six components come first, as given.
    QCOMPARE(row({1, 2, 3, 4, 5, 6}).head<6>(),
             (SolidElement::StressRow() << 1, 2, 3, 4, 5, 6, 0, 0, 0, 0).finished().head<6>());
    QCOMPARE(SolidElement::StressLayout().Names(),
             QStringList({"sx", "sy", "sz", "txy", "tyz", "tzx", "s1", "s2", "s3", "mises"}));
}

QTEST_APPLESS_MAIN(TestSolids)
#include "tst_solids.moc"
