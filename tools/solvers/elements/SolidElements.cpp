#include "SolidElements.h"

#include "Quadrature.h"

#include <Eigen/Eigenvalues>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

using Vector3 = Eigen::Vector3d;

// The shape functions of a reference element of `Count` corners at a point and their
// derivatives; rows: d/dxi, d/deta, d/dzeta.
template <int Count>
struct Shape {
    Eigen::Matrix<double, Count, 1> Values;
    Eigen::Matrix<double, 3, Count> Derived;
};

struct Point {
    Vector3 Xi;
    double Weight = 0;
};

// Gauss-Legendre points and weights on [-1, 1].
std::vector<std::pair<double, double>> Line(int n) {
    if (n == 2) {
        const double a = 1 / std::sqrt(3.0);
        return {{-a, 1.0}, {a, 1.0}};
    }
    const double a = std::sqrt(0.6);
    return {{-a, 5.0 / 9}, {0.0, 8.0 / 9}, {a, 5.0 / 9}};
}

// The trilinear brick on [-1, 1]^3: n1..n4 at zeta = -1 counter-clockwise, n5..n8 above them.
struct Brick {
    static constexpr int Count = 8;
    static constexpr std::array<int, 8> Mirror = {4, 5, 6, 7, 0, 1, 2, 3};
    static constexpr double Corner[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                            {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};

    static Shape<8> At(const Vector3& x) {
        Shape<8> s;
        for (int a = 0; a < 8; ++a) {
            const double f[3] = {1 + Corner[a][0] * x[0], 1 + Corner[a][1] * x[1],
                                 1 + Corner[a][2] * x[2]};
            s.Values(a) = f[0] * f[1] * f[2] / 8;
            s.Derived(0, a) = Corner[a][0] * f[1] * f[2] / 8;
            s.Derived(1, a) = Corner[a][1] * f[0] * f[2] / 8;
            s.Derived(2, a) = Corner[a][2] * f[0] * f[1] / 8;
        }
        return s;
    }
    // n x n x n Gauss points, xi running fastest.
    static std::vector<Point> Gauss(int n) {
        std::vector<Point> rule;
        const auto line = Line(n);
        for (const auto& [z, wz] : line)
            for (const auto& [y, wy] : line)
                for (const auto& [x, wx] : line)
                    rule.push_back({Vector3(x, y, z), wx * wy * wz});
        return rule;
    }
    static const std::vector<Point>& Rule() {
        static const std::vector<Point> rule = Gauss(2);
        return rule;
    }
    // N_a N_b det J is of degree 4 in each direction of a distorted brick.
    static const std::vector<Point>& MassRule() {
        static const std::vector<Point> rule = Gauss(3);
        return rule;
    }
    static std::vector<Vector3> Corners() {
        std::vector<Vector3> corners;
        for (const auto& c : Corner)
            corners.emplace_back(c[0], c[1], c[2]);
        return corners;
    }
    static Vector3 Centre() { return Vector3::Zero(); }
};

// The wedge: the triangle (0, 0), (1, 0), (0, 1) in (xi, eta) times [-1, 1] in zeta; n1..n3 at
// zeta = -1, n4..n6 above them.
struct Wedge {
    static constexpr int Count = 6;
    static constexpr std::array<int, 6> Mirror = {3, 4, 5, 0, 1, 2};

    static Shape<6> At(const Vector3& x) {
        const double l[3] = {1 - x[0] - x[1], x[0], x[1]};
        const double dl[2][3] = {{-1, 1, 0}, {-1, 0, 1}};
        const double h[2] = {(1 - x[2]) / 2, (1 + x[2]) / 2};
        const double dh[2] = {-0.5, 0.5};
        Shape<6> s;
        for (int level = 0; level < 2; ++level)
            for (int t = 0; t < 3; ++t) {
                const int a = 3 * level + t;
                s.Values(a) = l[t] * h[level];
                s.Derived(0, a) = dl[0][t] * h[level];
                s.Derived(1, a) = dl[1][t] * h[level];
                s.Derived(2, a) = l[t] * dh[level];
            }
        return s;
    }
    static const std::vector<Point>& Rule() {
        static const std::vector<Point> rule = [] {
            std::vector<Point> points;
            for (const auto& [z, wz] : Line(2))
                for (const Quadrature::Point& t : Quadrature::Triangle(2))
                    points.push_back({Vector3(t.Xi[0], t.Xi[1], z), t.Weight * wz});
            return points;
        }();
        return rule;
    }
    // N_a N_b det J is of degree 3 over the triangle and 4 along the axis of a distorted wedge:
    // the triangle as a square collapsed onto one side (xi = s, eta = t (1 - s)) takes it
    // exactly with 3 x 3 Gauss points.
    static const std::vector<Point>& MassRule() {
        static const std::vector<Point> rule = [] {
            std::vector<Point> points;
            const auto line = Line(3);
            for (const auto& [z, wz] : line)
                for (const auto& [gt, wt] : line)
                    for (const auto& [gs, ws] : line) {
                        const double s = (1 + gs) / 2, t = (1 + gt) / 2;
                        points.push_back(
                            {Vector3(s, t * (1 - s), z), ws / 2 * wt / 2 * (1 - s) * wz});
                    }
            return points;
        }();
        return rule;
    }
    static std::vector<Vector3> Corners() {
        return {{0, 0, -1}, {1, 0, -1}, {0, 1, -1}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
    }
    static Vector3 Centre() { return {1.0 / 3, 1.0 / 3, 0}; }
};

// The tetrahedron (0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1).
struct Tetrahedron {
    static constexpr int Count = 4;
    static constexpr std::array<int, 4> Mirror = {0, 2, 1, 3};

    static Shape<4> At(const Vector3& x) {
        Shape<4> s;
        s.Values << 1 - x.sum(), x[0], x[1], x[2];
        s.Derived << -1, 1, 0, 0, //
            -1, 0, 1, 0,          //
            -1, 0, 0, 1;
        return s;
    }
    static const std::vector<Point>& Rule() {
        static const std::vector<Point> rule = {{Vector3::Constant(0.25), 1.0 / 6}};
        return rule;
    }
    // Four points, exact for quadratics: N_a N_b over a body whose det J is constant.
    static const std::vector<Point>& MassRule() {
        static const std::vector<Point> rule = [] {
            const double a = (5 - std::sqrt(5.0)) / 20, b = 1 - 3 * a;
            return std::vector<Point>{{Vector3(a, a, a), 1.0 / 24},
                                      {Vector3(b, a, a), 1.0 / 24},
                                      {Vector3(a, b, a), 1.0 / 24},
                                      {Vector3(a, a, b), 1.0 / 24}};
        }();
        return rule;
    }
    static std::vector<Vector3> Corners() { return {}; } // det J is the same everywhere
    static Vector3 Centre() { return Vector3::Constant(0.25); }
};

template <int Count>
using CornersOf = std::array<Vector3, Count>;

// Rows: d/dxi, d/deta, d/dzeta; columns: x, y, z. Its determinant is the volume of the
// reference element's point mapped into space.
template <int Count>
Eigen::Matrix3d JacobianAt(const CornersOf<Count>& p, const Shape<Count>& s) {
    Eigen::Matrix3d j = Eigen::Matrix3d::Zero();
    for (int a = 0; a < Count; ++a)
        j += s.Derived.col(a) * p[static_cast<size_t>(a)].transpose();
    return j;
}

// The strains (ex, ey, ez, gxy, gyz, gzx) of displacements (ux, uy, uz) at each of the points
// whose shape gradients (d/dx, d/dy, d/dz) are the columns of `g`.
template <int Count>
Eigen::Matrix<double, 6, 3 * Count> StrainOperator(const Eigen::Matrix<double, 3, Count>& g) {
    Eigen::Matrix<double, 6, 3 * Count> b = Eigen::Matrix<double, 6, 3 * Count>::Zero();
    for (int a = 0; a < Count; ++a) {
        const int c = 3 * a;
        b(0, c) = g(0, a);
        b(1, c + 1) = g(1, a);
        b(2, c + 2) = g(2, a);
        b(3, c) = g(1, a);
        b(3, c + 1) = g(0, a);
        b(4, c + 1) = g(2, a);
        b(4, c + 2) = g(1, a);
        b(5, c) = g(2, a);
        b(5, c + 2) = g(0, a);
    }
    return b;
}

// D B, B the strain operator of the gradients `g`: each column of B has only three terms, and
// the products made with them take a third of the time of a dense product, which is most of
// the time a brick takes to make.
template <int Count>
Eigen::Matrix<double, 6, 3 * Count> StressOperator(const Eigen::Matrix<double, 6, 6>& d,
                                                   const Eigen::Matrix<double, 3, Count>& g) {
    Eigen::Matrix<double, 6, 3 * Count> db;
    for (int a = 0; a < Count; ++a) {
        const double x = g(0, a), y = g(1, a), z = g(2, a);
        db.col(3 * a) = x * d.col(0) + y * d.col(3) + z * d.col(5);
        db.col(3 * a + 1) = y * d.col(1) + x * d.col(3) + z * d.col(4);
        db.col(3 * a + 2) = z * d.col(2) + y * d.col(4) + x * d.col(5);
    }
    return db;
}

// B' M, B the strain operator of the gradients `g`: each row of B' has three terms.
template <int Count, int Columns>
Eigen::Matrix<double, 3 * Count, Columns>
StrainTransposed(const Eigen::Matrix<double, 3, Count>& g,
                 const Eigen::Matrix<double, 6, Columns>& m) {
    Eigen::Matrix<double, 3 * Count, Columns> product;
    for (int a = 0; a < Count; ++a) {
        const double x = g(0, a), y = g(1, a), z = g(2, a);
        product.row(3 * a) = x * m.row(0) + y * m.row(3) + z * m.row(5);
        product.row(3 * a + 1) = y * m.row(1) + x * m.row(3) + z * m.row(4);
        product.row(3 * a + 2) = z * m.row(2) + y * m.row(4) + x * m.row(5);
    }
    return product;
}

// A point of a rule mapped into space: its shape, its strain operator and its volume weight.
template <typename Kind>
struct Mapped {
    Shape<Kind::Count> S;
    Eigen::Matrix<double, 3, Kind::Count> G; // the shape gradients d/dx, d/dy, d/dz
    Eigen::Matrix<double, 6, 3 * Kind::Count> B;
    double Det = 0;
    double Volume = 0; // the rule's weight times det J
};

template <typename Kind>
Mapped<Kind> Map(const CornersOf<Kind::Count>& p, const Point& q) {
    Mapped<Kind> m;
    m.S = Kind::At(q.Xi);
    const Eigen::Matrix3d j = JacobianAt<Kind::Count>(p, m.S);
    m.Det = j.determinant();
    m.G = j.inverse() * m.S.Derived;
    m.B = StrainOperator<Kind::Count>(m.G);
    m.Volume = q.Weight * m.Det;
    return m;
}

template <typename Kind>
Element::Matrix Stiffness(const CornersOf<Kind::Count>& p, const SolidMaterial& material) {
    constexpr int size = 3 * Kind::Count;
    Eigen::Matrix<double, size, size> k = Eigen::Matrix<double, size, size>::Zero();
    for (const Point& q : Kind::Rule()) {
        const Mapped<Kind> m = Map<Kind>(p, q);
        k.noalias() += m.Volume * StrainTransposed<Kind::Count, size>(
                                      m.G, StressOperator<Kind::Count>(material.D, m.G));
    }
    return k;
}

template <typename Kind>
Element::Matrix Mass(const CornersOf<Kind::Count>& p, double density) {
    constexpr int size = 3 * Kind::Count;
    Element::Matrix m = Element::Matrix::Zero(size, size);
    for (const Point& q : Kind::MassRule()) {
        const Shape<Kind::Count> s = Kind::At(q.Xi);
        const double w = q.Weight * JacobianAt<Kind::Count>(p, s).determinant() * density;
        for (int a = 0; a < Kind::Count; ++a)
            for (int b = 0; b < Kind::Count; ++b)
                for (int c = 0; c < 3; ++c)
                    m(3 * a + c, 3 * b + c) += w * s.Values(a) * s.Values(b);
    }
    return m;
}

// The consistent nodal loads of a force per volume; the stiffness's rule integrates N det J
// exactly.
template <typename Kind>
Element::Vector Loads(const CornersOf<Kind::Count>& p, const std::array<double, 3>& perVolume) {
    Element::Vector f = Element::Vector::Zero(3 * Kind::Count);
    for (const Point& q : Kind::Rule()) {
        const Shape<Kind::Count> s = Kind::At(q.Xi);
        const double w = q.Weight * JacobianAt<Kind::Count>(p, s).determinant();
        for (int a = 0; a < Kind::Count; ++a)
            for (int c = 0; c < 3; ++c)
                f(3 * a + c) += w * s.Values(a) * perVolume[static_cast<size_t>(c)];
    }
    return f;
}

// The stress D eps0 of the free strain alpha T in every direction: hydrostatic.
SolidElement::Stress FreeStress(const Eigen::Matrix<double, 6, 6>& d, double alphaT) {
    return d.leftCols<3>().rowwise().sum() * alphaT;
}

// alpha times the change of temperature at a point of shape `s`.
template <int Count>
double AlphaT(const Shape<Count>& s, const Element::Heat& heat) {
    double change = 0;
    for (int a = 0; a < Count; ++a)
        change += s.Values(a) * heat.Change[static_cast<size_t>(a)];
    return heat.Alpha * change;
}

// The heat's rows of results, whose stress is hydrostatic: von Mises' stress, blind to it, loses
// nothing (what the root of a difference of squares gives there is rounding).
Element::Results Hydrostatic(Element::Results rows) {
    rows.col(9).setZero();
    return rows;
}

// The integral of B^T D eps0 by the stiffness's rule.
template <typename Kind>
Element::Vector HeatLoads(const CornersOf<Kind::Count>& p, const SolidMaterial& material,
                          const Element::Heat& heat) {
    Element::Vector f = Element::Vector::Zero(3 * Kind::Count);
    for (const Point& q : Kind::Rule()) {
        const Mapped<Kind> m = Map<Kind>(p, q);
        f += m.Volume * StrainTransposed<Kind::Count, 1>(
                            m.G, FreeStress(material.D, AlphaT<Kind::Count>(m.S, heat)));
    }
    return f;
}

// The rule of the stiffness integrates det J exactly for each kind.
template <typename Kind>
double Volume(const CornersOf<Kind::Count>& p) {
    double v = 0;
    for (const Point& q : Kind::Rule())
        v += q.Weight * JacobianAt<Kind::Count>(p, Kind::At(q.Xi)).determinant();
    return v;
}

template <int Count>
using PointStresses = Eigen::Matrix<double, Count, 6>;

// The rows of results from stresses at the integration points (as many as corners): the field
// of the element's own shape functions through them, at the centre and the corners. It is
// exact for any stress the shape functions span in the reference coordinates, and so for a
// stress linear in x, y and z (the coordinates are such fields): constant and linear stresses
// come out exact at the corners, not only at the points.
template <typename Kind>
Element::Results Extrapolate(const PointStresses<Kind::Count>& at) {
    constexpr int count = Kind::Count;
    static const Eigen::Matrix<double, count, count> toCorners = [] {
        Eigen::Matrix<double, count, count> through;
        const auto& rule = Kind::Rule();
        for (int g = 0; g < count; ++g)
            through.row(g) = Kind::At(rule[static_cast<size_t>(g)].Xi).Values.transpose();
        return Eigen::Matrix<double, count, count>(through.inverse());
    }();
    const PointStresses<count> corners = toCorners * at;
    Element::Results results(count + 1, 10);
    results.row(0) =
        SolidElement::Describe((Kind::At(Kind::Centre()).Values.transpose() * corners).transpose());
    for (int a = 0; a < count; ++a)
        results.row(a + 1) = SolidElement::Describe(corners.row(a).transpose());
    return results;
}

template <typename Kind>
SolidElement::ShapeCheck Classify(std::span<const Vector3> corners) {
    constexpr int count = Kind::Count;
    CornersOf<count> p;
    for (size_t a = 0; a < p.size(); ++a) {
        if (!corners[a].allFinite())
            return {SolidShape::Degenerate, false};
        p[a] = corners[a];
    }
    // The centre too: a brick whose top face is turned half round pinches to a line there
    // while every other point keeps its sign.
    std::vector<Vector3> points = Kind::Corners();
    points.push_back(Kind::Centre());
    for (const Point& q : Kind::Rule())
        points.push_back(q.Xi);
    // Each determinant against two measures of the element's own size: the largest product
    // of the lengths of a Jacobian's rows (the edges of a mapped point), which a flat element
    // or one with a corner that another meets makes vanish somewhere while it stays finite
    // elsewhere, and the cube of the longest row, below which the element is too thin to
    // solve with (a slab of 1e-10 of its length, a needle of 1e-5). Neither depends on the
    // units.
    std::vector<double> dets;
    double edges = 0, longest = 0;
    for (const Vector3& x : points) {
        const Eigen::Matrix3d j = JacobianAt<count>(p, Kind::At(x));
        dets.push_back(j.determinant());
        const Vector3 rows = j.rowwise().norm();
        edges = std::max(edges, rows.prod());
        longest = std::max(longest, rows.maxCoeff());
    }
    const double tiny = std::max(1e-9 * edges, 1e-10 * longest * longest * longest);
    if (!(tiny > 0) || !std::isfinite(tiny))
        return {SolidShape::Degenerate, false};
    bool positive = false, negative = false, flat = false;
    for (double d : dets) {
        positive = positive || d > tiny;
        negative = negative || d < -tiny;
        flat = flat || std::abs(d) <= tiny;
    }
    if (positive && negative)
        return {SolidShape::Inverted, false};
    if (flat)
        return {SolidShape::Degenerate, false};
    return {SolidShape::Sound, negative};
}

template <typename Kind, typename Made>
std::unique_ptr<SolidElement> Build(const SolidMaterial& material, std::span<const int> nodes,
                                    std::span<const Vector3> corners) {
    const SolidElement::ShapeCheck check = Classify<Kind>(corners);
    if (check.Shape == SolidShape::Inverted)
        throw std::invalid_argument("the solid element is folded through itself");
    if (check.Shape == SolidShape::Degenerate)
        throw std::invalid_argument("the solid element has no volume");
    std::array<int, Kind::Count> n;
    CornersOf<Kind::Count> p;
    for (size_t a = 0; a < n.size(); ++a) {
        const size_t from = check.Mirrored ? static_cast<size_t>(Kind::Mirror[a]) : a;
        n[a] = nodes[from];
        p[a] = corners[from];
    }
    return std::make_unique<Made>(material, n, p);
}

// The Jacobian of the brick's centre and its determinant, for the incompatible modes.
struct Centre {
    Eigen::Matrix3d Inverse;
    double Det = 0;
};

} // namespace

ResultLayout SolidElement::StressLayout() {
    constexpr auto stress = ResultColumn::Quantity::Stress;
    return {{{"sx", "Stress sx", stress},
             {"sy", "Stress sy", stress},
             {"sz", "Stress sz", stress},
             {"txy", "Shear stress txy", stress},
             {"tyz", "Shear stress tyz", stress},
             {"tzx", "Shear stress tzx", stress},
             {"s1", "Principal stress s1", stress},
             {"s2", "Principal stress s2", stress},
             {"s3", "Principal stress s3", stress},
             {"mises", "Von Mises stress", stress}}};
}

SolidElement::StressRow SolidElement::Describe(const Stress& s) {
    Eigen::Matrix3d tensor;
    tensor << s(0), s(3), s(5), //
        s(3), s(1), s(4),       //
        s(5), s(4), s(2);
    const Eigen::Vector3d principal =
        Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d>(tensor, Eigen::EigenvaluesOnly)
            .eigenvalues(); // ascending
    const double mises = std::sqrt(
        std::max(0.0, s(0) * s(0) + s(1) * s(1) + s(2) * s(2) - s(0) * s(1) - s(1) * s(2) -
                          s(2) * s(0) + 3 * (s(3) * s(3) + s(4) * s(4) + s(5) * s(5))));
    StressRow row;
    row << s.transpose(), principal(2), principal(1), principal(0), mises;
    return row;
}

SolidElement::ShapeCheck SolidElement::Classify(std::span<const Eigen::Vector3d> corners) {
    switch (corners.size()) {
    case 8:
        return ::Classify<Brick>(corners);
    case 6:
        return ::Classify<Wedge>(corners);
    case 4:
        return ::Classify<Tetrahedron>(corners);
    default:
        throw std::invalid_argument("a solid element has 8, 6 or 4 corners");
    }
}

std::unique_ptr<SolidElement> SolidElement::Make(const SolidMaterial& material,
                                                 std::span<const int> nodes,
                                                 std::span<const Eigen::Vector3d> corners) {
    if (nodes.size() != corners.size())
        throw std::invalid_argument("a solid element needs one node per corner");
    switch (corners.size()) {
    case 8:
        return Build<Brick, SolidBrick>(material, nodes, corners);
    case 6:
        return Build<Wedge, SolidWedge>(material, nodes, corners);
    case 4:
        return Build<Tetrahedron, SolidTetrahedron>(material, nodes, corners);
    default:
        throw std::invalid_argument("a solid element has 8, 6 or 4 corners");
    }
}

// The brick -----------------------------------------------------------------------------------

struct SolidBrick::Parts {
    Eigen::Matrix<double, 24, 24> Kcc = Eigen::Matrix<double, 24, 24>::Zero();
    Eigen::Matrix<double, 24, 9> Kci = Eigen::Matrix<double, 24, 9>::Zero();
    Eigen::Matrix<double, 9, 9> Kii = Eigen::Matrix<double, 9, 9>::Zero();
    // Per Gauss point, the compatible and incompatible strain operators, for the stresses.
    std::array<Eigen::Matrix<double, 6, 24>, 8> Bc;
    std::array<Eigen::Matrix<double, 6, 9>, 8> Bi;
    // Per Gauss point, its shape and volume weight.
    std::array<Shape<8>, 8> S;
    std::array<double, 8> Volume{};
};

namespace {

// The heat's loads on the compatible and the incompatible modes of a brick, and the stress of
// its free strain at each Gauss point.
struct BrickHeat {
    Eigen::Matrix<double, 24, 1> Fc = Eigen::Matrix<double, 24, 1>::Zero();
    Eigen::Matrix<double, 9, 1> Fi = Eigen::Matrix<double, 9, 1>::Zero();
    std::array<SolidElement::Stress, 8> Stress0;
};

template <typename Parts>
BrickHeat HeatOn(const Parts& parts, const SolidMaterial& material, const Element::Heat& heat) {
    BrickHeat h;
    for (size_t g = 0; g < 8; ++g) {
        h.Stress0[g] = FreeStress(material.D, AlphaT<8>(parts.S[g], heat));
        h.Fc.noalias() += parts.Volume[g] * parts.Bc[g].transpose() * h.Stress0[g];
        h.Fi.noalias() += parts.Volume[g] * parts.Bi[g].transpose() * h.Stress0[g];
    }
    return h;
}

} // namespace

SolidBrick::Parts SolidBrick::Integrate(bool compatible) const {
    const Eigen::Matrix3d j0 = JacobianAt<8>(corners_, Brick::At(Vector3::Zero()));
    const Centre centre{j0.inverse(), j0.determinant()};
    const Eigen::Matrix<double, 6, 6>& d = material_->D;
    Parts parts;
    const auto& rule = Brick::Rule();
    for (size_t g = 0; g < rule.size(); ++g) {
        const Mapped<Brick> m = Map<Brick>(corners_, rule[g]);
        // The modes' gradients with the centre's Jacobian, scaled by det J0 / det J: their
        // integral over the element, and so their work against any constant stress, vanishes.
        const Vector3& x = rule[g].Xi;
        const Eigen::Matrix3d gradients =
            centre.Det / m.Det * centre.Inverse * (-2 * x).asDiagonal();
        const Eigen::Matrix<double, 6, 9> dbi = StressOperator<3>(d, gradients);
        if (compatible)
            parts.Kcc.noalias() +=
                m.Volume * StrainTransposed<8, 24>(m.G, StressOperator<8>(d, m.G));
        parts.Kci.noalias() += m.Volume * StrainTransposed<8, 9>(m.G, dbi);
        parts.Kii.noalias() += m.Volume * StrainTransposed<3, 9>(gradients, dbi);
        parts.Bc[g] = m.B;
        parts.Bi[g] = StrainOperator<3>(gradients);
        parts.S[g] = m.S;
        parts.Volume[g] = m.Volume;
    }
    return parts;
}

Element::Matrix SolidBrick::Stiffness() const {
    const Parts p = Integrate();
    const Eigen::Matrix<double, 24, 24> k = p.Kcc - p.Kci * p.Kii.ldlt().solve(p.Kci.transpose());
    // The condensation leaves rounding that is not quite symmetric.
    return (k + k.transpose()) / 2;
}

Element::Matrix SolidBrick::Mass() const {
    return ::Mass<Brick>(corners_, material_->Density);
}

Element::Vector SolidBrick::Loads(const std::array<double, 3>& perVolume) const {
    return ::Loads<Brick>(corners_, perVolume);
}

double SolidBrick::Volume() const {
    return ::Volume<Brick>(corners_);
}

// The stresses at the Gauss points, extrapolated trilinearly to the corners rather than the
// strain field evaluated there: the incompatible modes' strains at a corner are those of the
// modes' derivatives at xi = +-1, far from where they were fitted, while the extrapolation is
// exact for every stress linear in the element, and the centre is the mean of the points.
Element::Results SolidBrick::Recover(const Vector& u) const {
    const Parts p = Integrate(false);
    const Eigen::Matrix<double, 24, 1> displacements = u;
    const Eigen::Matrix<double, 9, 1> a = -p.Kii.ldlt().solve(p.Kci.transpose() * displacements);
    PointStresses<8> at;
    for (size_t g = 0; g < 8; ++g)
        at.row(static_cast<Eigen::Index>(g)) =
            (material_->D * (p.Bc[g] * displacements + p.Bi[g] * a)).transpose();
    return Extrapolate<Brick>(at);
}

Element::Vector SolidBrick::HeatLoads(const Heat& heat) const {
    // The inner modes are free: the heat's loads on them are condensed out as their stiffness.
    const Parts p = Integrate(false);
    const BrickHeat h = HeatOn(p, *material_, heat);
    return h.Fc - p.Kci * p.Kii.ldlt().solve(h.Fi);
}

Element::Results SolidBrick::HeatResults(const Heat& heat) const {
    // Held at its corners, the heated brick still moves its inner modes, a = Kii^-1 Fi; what
    // they strain adds to the displacements' strain as the free strain takes from it.
    const Parts p = Integrate(false);
    const BrickHeat h = HeatOn(p, *material_, heat);
    const Eigen::Matrix<double, 9, 1> a = p.Kii.ldlt().solve(h.Fi);
    PointStresses<8> at;
    for (size_t g = 0; g < 8; ++g)
        at.row(static_cast<Eigen::Index>(g)) =
            (h.Stress0[g] - material_->D * (p.Bi[g] * a)).transpose();
    return Extrapolate<Brick>(at);
}

// The wedge -----------------------------------------------------------------------------------

Element::Matrix SolidWedge::Stiffness() const {
    return ::Stiffness<Wedge>(corners_, *material_);
}

Element::Matrix SolidWedge::Mass() const {
    return ::Mass<Wedge>(corners_, material_->Density);
}

Element::Vector SolidWedge::Loads(const std::array<double, 3>& perVolume) const {
    return ::Loads<Wedge>(corners_, perVolume);
}

double SolidWedge::Volume() const {
    return ::Volume<Wedge>(corners_);
}

// The stresses at the six integration points, carried to the corners by the wedge's own
// shape functions through them.
Element::Results SolidWedge::Recover(const Vector& u) const {
    const Eigen::Matrix<double, 18, 1> displacements = u;
    PointStresses<6> at;
    const auto& rule = Wedge::Rule();
    for (size_t g = 0; g < rule.size(); ++g)
        at.row(static_cast<Eigen::Index>(g)) =
            (material_->D * Map<Wedge>(corners_, rule[g]).B * displacements).transpose();
    return Extrapolate<Wedge>(at);
}

Element::Vector SolidWedge::HeatLoads(const Heat& heat) const {
    return ::HeatLoads<Wedge>(corners_, *material_, heat);
}

Element::Results SolidWedge::HeatResults(const Heat& heat) const {
    PointStresses<6> at;
    const auto& rule = Wedge::Rule();
    for (size_t g = 0; g < rule.size(); ++g)
        at.row(static_cast<Eigen::Index>(g)) =
            FreeStress(material_->D, AlphaT<6>(Wedge::At(rule[g].Xi), heat)).transpose();
    return Hydrostatic(Extrapolate<Wedge>(at));
}

// The tetrahedron -----------------------------------------------------------------------------

Element::Matrix SolidTetrahedron::Stiffness() const {
    return ::Stiffness<Tetrahedron>(corners_, *material_);
}

Element::Matrix SolidTetrahedron::Mass() const {
    return ::Mass<Tetrahedron>(corners_, material_->Density);
}

Element::Vector SolidTetrahedron::Loads(const std::array<double, 3>& perVolume) const {
    return ::Loads<Tetrahedron>(corners_, perVolume);
}

double SolidTetrahedron::Volume() const {
    return ::Volume<Tetrahedron>(corners_);
}

// One constant stress, the same at the centre and every corner.
Element::Results SolidTetrahedron::Recover(const Vector& u) const {
    const Eigen::Matrix<double, 12, 1> displacements = u;
    const Stress stress =
        material_->D * Map<Tetrahedron>(corners_, Tetrahedron::Rule().front()).B * displacements;
    Results results(5, 10);
    results.rowwise() = Describe(stress);
    return results;
}

Element::Vector SolidTetrahedron::HeatLoads(const Heat& heat) const {
    return ::HeatLoads<Tetrahedron>(corners_, *material_, heat);
}

// The heat's stress where each row of Recover() stands: the centre, then the corners.
Element::Results SolidTetrahedron::HeatResults(const Heat& heat) const {
    Results results(5, 10);
    results.row(0) =
        Describe(FreeStress(material_->D, AlphaT<4>(Tetrahedron::At(Tetrahedron::Centre()), heat)));
    for (int a = 0; a < 4; ++a)
        results.row(a + 1) =
            Describe(FreeStress(material_->D, heat.Alpha * heat.Change[static_cast<size_t>(a)]));
    return Hydrostatic(results);
}
