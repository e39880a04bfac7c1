#include "ShellKinematics.h"

#include "ShapeFunctions.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

using Values = ShapeFunctions::Values;

Values Linear(int corners, double xi, double eta) {
    return corners == 3 ? ShapeFunctions::Triangle3(xi, eta) : ShapeFunctions::Quad4(xi, eta);
}

// The six functions of the quadratic triangle: corners, then midpoints of sides 1-2, 2-3, 3-1.
Values Triangle6(double xi, double eta) {
    const double l[3] = {1 - xi - eta, xi, eta};
    const double dl[3][2] = {{-1, -1}, {1, 0}, {0, 1}};
    Values v;
    v.N.resize(6);
    v.Derived.resize(2, 6);
    for (int a = 0; a < 3; ++a) {
        v.N(a) = l[a] * (2 * l[a] - 1);
        for (int d = 0; d < 2; ++d)
            v.Derived(d, a) = (4 * l[a] - 1) * dl[a][d];
        const int b = (a + 1) % 3;
        v.N(3 + a) = 4 * l[a] * l[b];
        for (int d = 0; d < 2; ++d)
            v.Derived(d, 3 + a) = 4 * (dl[a][d] * l[b] + l[a] * dl[b][d]);
    }
    return v;
}

// The eight functions of the serendipity quadrilateral: corners (-1, -1), (1, -1), (1, 1),
// (-1, 1), then the midpoints (0, -1), (1, 0), (0, 1), (-1, 0).
Values Quad8(double xi, double eta) {
    static constexpr double At[8][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1},
                                        {0, -1},  {1, 0},  {0, 1}, {-1, 0}};
    Values v;
    v.N.resize(8);
    v.Derived.resize(2, 8);
    for (int a = 0; a < 8; ++a) {
        const double xa = At[a][0], ea = At[a][1];
        if (a < 4) {
            v.N(a) = (1 + xa * xi) * (1 + ea * eta) * (xa * xi + ea * eta - 1) / 4;
            v.Derived(0, a) = xa * (1 + ea * eta) * (2 * xa * xi + ea * eta) / 4;
            v.Derived(1, a) = ea * (1 + xa * xi) * (xa * xi + 2 * ea * eta) / 4;
        } else if (xa == 0) {
            v.N(a) = (1 - xi * xi) * (1 + ea * eta) / 2;
            v.Derived(0, a) = -xi * (1 + ea * eta);
            v.Derived(1, a) = ea * (1 - xi * xi) / 2;
        } else {
            v.N(a) = (1 + xa * xi) * (1 - eta * eta) / 2;
            v.Derived(0, a) = xa * (1 - eta * eta) / 2;
            v.Derived(1, a) = -eta * (1 + xa * xi);
        }
    }
    return v;
}

// Rows d/dxi, d/deta; columns x, y.
Eigen::Matrix2d Jacobian(ShellKinematics::Corners corners, const Values& linear) {
    Eigen::Matrix2d j = Eigen::Matrix2d::Zero();
    for (size_t a = 0; a < corners.size(); ++a)
        for (int d = 0; d < 2; ++d)
            for (int c = 0; c < 2; ++c)
                j(d, c) += linear.Derived(d, static_cast<Eigen::Index>(a)) * corners[a][c];
    return j;
}

void Check(ShellKinematics::Corners corners) {
    if (corners.size() != 3 && corners.size() != 4)
        throw std::invalid_argument("plate and membrane elements have three or four corners");
}

// The sample points lie at the centre plus the corners' offsets divided by this.
double Spread(int corners) {
    return corners == 3 ? 2.0 : std::sqrt(3.0);
}

} // namespace

void ShellKinematics::Validate(Corners corners) {
    Check(corners);
    double longest = 0;
    for (size_t k = 0; k < corners.size(); ++k) {
        const auto& a = corners[k];
        const auto& b = corners[(k + 1) % corners.size()];
        longest = std::max(longest, std::hypot(b[0] - a[0], b[1] - a[1]));
        if (a == b)
            throw std::invalid_argument("two corners of a plate or membrane element coincide");
    }
    if (!(Area(corners) > 1e-12 * longest * longest))
        throw std::invalid_argument("the corners of a plate or membrane element lie on one line");
}

ShellKinematics::Field ShellKinematics::At(Corners corners, double xi, double eta) {
    Check(corners);
    const int n = static_cast<int>(corners.size());
    const Values linear = Linear(n, xi, eta);
    const Values quadratic = n == 3 ? Triangle6(xi, eta) : Quad8(xi, eta);
    const Eigen::Matrix2d j = Jacobian(corners, linear);
    const Eigen::Matrix2d inverse = j.inverse();
    Field f;
    f.N = quadratic.N;
    f.Dxy = inverse * quadratic.Derived;
    f.Linear = linear.N;
    f.LinearDxy = inverse * linear.Derived;
    f.Measure = std::abs(j.determinant());
    return f;
}

const std::vector<Quadrature::Point>& ShellKinematics::SamplePoints(int corners) {
    static const std::vector<Quadrature::Point> triangle = Quadrature::Triangle(2);
    static const std::vector<Quadrature::Point> quad = [] {
        const double g = 1 / std::sqrt(3.0);
        return std::vector<Quadrature::Point>{
            {{-g, -g}, 1.0}, {{g, -g}, 1.0}, {{g, g}, 1.0}, {{-g, g}, 1.0}};
    }();
    return corners == 3 ? triangle : quad;
}

std::array<double, 2> ShellKinematics::Centre(int corners) {
    return corners == 3 ? std::array<double, 2>{1.0 / 3, 1.0 / 3} : std::array<double, 2>{0, 0};
}

std::array<double, 2> ShellKinematics::Corner(int corners, int k) {
    static constexpr double Triangle[3][2] = {{0, 0}, {1, 0}, {0, 1}};
    static constexpr double Square[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const auto& c = corners == 3 ? Triangle[k] : Square[k];
    return {c[0], c[1]};
}

ShellKinematics::Fit ShellKinematics::FitAt(Corners corners, double xi, double eta) {
    Check(corners);
    const int n = static_cast<int>(corners.size());
    // The field through the sample points is the corners' linear field of the element shrunk
    // about its centre by Spread().
    const double s = Spread(n);
    const std::array<double, 2> c = Centre(n);
    const Values scaled = Linear(n, c[0] + s * (xi - c[0]), c[1] + s * (eta - c[1]));
    const Eigen::Matrix2d inverse = Jacobian(corners, Linear(n, xi, eta)).inverse();
    Fit fit;
    fit.Value = scaled.N.transpose();
    fit.Gradient = s * inverse * scaled.Derived;
    return fit;
}

double ShellKinematics::Area(Corners corners) {
    return Shares(corners).sum();
}

Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 4, 1>
ShellKinematics::Shares(Corners corners) {
    Check(corners);
    const int n = static_cast<int>(corners.size());
    Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 4, 1> shares =
        Eigen::VectorXd::Zero(n);
    // Exact: the measure is constant in a triangle and bilinear (times a bilinear function)
    // in a quadrilateral.
    for (const Quadrature::Point& q : SamplePoints(n)) {
        const Values v = Linear(n, q.Xi[0], q.Xi[1]);
        shares += q.Weight * std::abs(Jacobian(corners, v).determinant()) * v.N;
    }
    return shares;
}

std::array<double, 2> ShellKinematics::Position(Corners corners, double xi, double eta) {
    Check(corners);
    const Values v = Linear(static_cast<int>(corners.size()), xi, eta);
    std::array<double, 2> p{0, 0};
    for (size_t a = 0; a < corners.size(); ++a)
        for (int c = 0; c < 2; ++c)
            p[c] += v.N(static_cast<Eigen::Index>(a)) * corners[a][c];
    return p;
}
