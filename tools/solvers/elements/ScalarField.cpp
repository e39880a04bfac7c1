#include "ScalarField.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Component[1] = {0};
const double GaussPoint = 1 / std::sqrt(3.0);

double Cross(const Eigen::Vector2d& a, const Eigen::Vector2d& b) {
    return a.x() * b.y() - a.y() * b.x();
}

} // namespace

ScalarField::ShapeVerdict ScalarField::Check(std::span<const Point> corners) {
    const int n = static_cast<int>(corners.size());
    const auto at = [&](int k) { return corners[static_cast<size_t>((k + n) % n)]; };
    double size = 0, area = 0;
    for (int k = 0; k < n; ++k) {
        size = std::max(size, (at(k + 1) - at(k)).norm());
        area += Cross(at(k), at(k + 1)) / 2;
    }
    // Coordinates written to twelve digits leave far less than this of a straight line.
    const double tolerance = 1e-12 * size * size;
    // A quadrilateral whose opposite sides cross is a bow tie, whatever its area adds up to.
    if (n == 4) {
        const auto side = [&](const Point& p, const Point& q, const Point& r) {
            const double c = Cross(q - p, r - p);
            return c > tolerance ? 1 : (c < -tolerance ? -1 : 0);
        };
        for (int k = 0; k < 2; ++k) {
            const Point &a = at(k), &b = at(k + 1), &c = at(k + 2), &d = at(k + 3);
            if (side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0)
                return {Shape::Twisted, k + 1};
        }
    }
    if (!(std::abs(area) > tolerance))
        return {Shape::NoArea, -1};
    const double sign = area > 0 ? 1 : -1;
    int first = -1, bent = 0;
    for (int k = 0; k < n; ++k) {
        if (sign * Cross(at(k) - at(k - 1), at(k + 1) - at(k)) <= tolerance) {
            if (first < 0)
                first = k;
            ++bent;
        }
    }
    // One corner turning the wrong way is a dart; two are a bow tie, whose sides cross.
    if (bent == 1)
        return {Shape::NotConvex, first};
    if (bent > 1)
        return {Shape::Twisted, first};
    return {area > 0 ? Shape::Sound : Shape::Clockwise, -1};
}

ScalarField::ScalarField(std::span<const int> nodes, std::span<const Point> corners, double factor)
    : count_(static_cast<int>(nodes.size())), factor_(factor) {
    for (int a = 0; a < count_; ++a) {
        nodes_[static_cast<size_t>(a)] = nodes[static_cast<size_t>(a)];
        corners_[static_cast<size_t>(a)] = corners[static_cast<size_t>(a)];
    }
}

std::span<const int> ScalarField::Components() const {
    return Component;
}

int ScalarField::SampleCount(bool exactSquares) const {
    return count_ == 4 ? 4 : (exactSquares ? 3 : 1);
}

ScalarField::Sample ScalarField::SampleAt(int index, bool exactSquares) const {
    if (count_ == 4) {
        const double xi = (index == 1 || index == 2) ? GaussPoint : -GaussPoint;
        const double eta = index >= 2 ? GaussPoint : -GaussPoint;
        return Evaluate(xi, eta, 1.0);
    }
    if (!exactSquares)
        return Evaluate(1.0 / 3, 1.0 / 3, 0.5);
    // The three inner points of the rule of degree 2.
    const double xi = index == 1 ? 2.0 / 3 : 1.0 / 6;
    const double eta = index == 2 ? 2.0 / 3 : 1.0 / 6;
    return Evaluate(xi, eta, 1.0 / 6);
}

ScalarField::Sample ScalarField::Evaluate(double xi, double eta, double weight) const {
    Sample s;
    Eigen::Matrix<double, 2, 4> derived = Eigen::Matrix<double, 2, 4>::Zero();
    s.N.setZero();
    if (count_ == 4) {
        static constexpr double Signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int a = 0; a < 4; ++a) {
            const double xa = Signs[a][0], ea = Signs[a][1];
            s.N[a] = (1 + xa * xi) * (1 + ea * eta) / 4;
            derived(0, a) = xa * (1 + ea * eta) / 4;
            derived(1, a) = ea * (1 + xa * xi) / 4;
        }
    } else {
        s.N.head<3>() << 1 - xi - eta, xi, eta;
        derived.leftCols<3>() << -1, 1, 0, //
            -1, 0, 1;
    }
    Eigen::Matrix2d jacobian = Eigen::Matrix2d::Zero(); // rows d/dxi, d/deta; columns y, z
    s.At.setZero();
    for (int a = 0; a < count_; ++a) {
        jacobian += derived.col(a) * corners_[static_cast<size_t>(a)].transpose();
        s.At += s.N[a] * corners_[static_cast<size_t>(a)];
    }
    const double det = jacobian.determinant();
    s.Weight = weight * det;
    // The inverse of the 2 x 2 Jacobian written out: d/dy, d/dz from d/dxi, d/deta.
    Eigen::Matrix2d inverse;
    inverse << jacobian(1, 1), -jacobian(0, 1), -jacobian(1, 0), jacobian(0, 0);
    s.Grad = (inverse / det) * derived;
    return s;
}

Element::Matrix ScalarField::Stiffness() const {
    Matrix k = Matrix::Zero(count_, count_);
    for (int i = 0; i < SampleCount(); ++i) {
        const Sample s = SampleAt(i);
        const auto g = s.Grad.leftCols(count_);
        k.noalias() += (s.Weight * factor_) * (g.transpose() * g);
    }
    return k;
}

double ScalarField::Area() const {
    double area = 0;
    for (int a = 0; a < count_; ++a)
        area += Cross(corners_[static_cast<size_t>(a)],
                      corners_[static_cast<size_t>((a + 1) % count_)]) /
                2;
    return area;
}

Element::Vector ScalarField::FluxLoad(const Eigen::Matrix2d& a, const Point& b) const {
    Vector f = Vector::Zero(count_);
    for (int i = 0; i < SampleCount(); ++i) {
        const Sample s = SampleAt(i);
        const Point q = a * s.At + b;
        f.noalias() += (s.Weight * factor_) * (s.Grad.leftCols(count_).transpose() * q);
    }
    return f;
}

ScalarField::Point ScalarField::Gradient(const Vector& u, double xi, double eta) const {
    const Sample s = Evaluate(xi, eta, 1.0);
    return s.Grad.leftCols(count_) * u.head(count_);
}
