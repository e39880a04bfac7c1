#include "PlateBending.h"

#include "ShellKinematics.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

template <int N>
PlateElement<N>::PlateElement(const ShellMaterial& m, std::array<int, N> nodes,
                              std::array<std::array<double, 2>, N> xy)
    : material_(m), nodes_(nodes), points_(xy) {
    ShellKinematics::Validate(points_);
}

template <int N>
Eigen::Matrix<double, 4 * N, 3 * N> PlateElement<N>::Slopes() const {
    // A corner's slopes are its rotations: dw/dx = -ry, dw/dy = rx.
    Eigen::Matrix<double, 4 * N, 3 * N> slopes = Eigen::Matrix<double, 4 * N, 3 * N>::Zero();
    for (int a = 0; a < N; ++a) {
        slopes(2 * a, 3 * a + 2) = -1;
        slopes(2 * a + 1, 3 * a + 1) = 1;
    }
    // A midpoint's slope along its side is that of the cubic w through the two corners'
    // values and slopes; across the side it is the corners' mean:
    //   s = t (3/2) (wj - wi) / L + (n n^T / 2 - t t^T / 4)(si + sj),
    // and n n^T = I - t t^T.
    for (int k = 0; k < N; ++k) {
        const int i = k, j = (k + 1) % N;
        const Eigen::Vector2d side(points_[j][0] - points_[i][0], points_[j][1] - points_[i][1]);
        const double length = side.norm();
        const Eigen::Vector2d t = side / length;
        const Eigen::Matrix2d mean = 0.5 * Eigen::Matrix2d::Identity() - 0.75 * t * t.transpose();
        const int row = 2 * (N + k);
        slopes.template block<2, 1>(row, 3 * i) = -1.5 / length * t;
        slopes.template block<2, 1>(row, 3 * j) = 1.5 / length * t;
        for (int c : {i, j})
            slopes.template block<2, 3>(row, 3 * c) +=
                mean * slopes.template block<2, 3>(2 * c, 3 * c);
    }
    return slopes;
}

template <int N>
typename PlateElement<N>::Curvature PlateElement<N>::CurvatureAt(double xi, double eta) const {
    const ShellKinematics::Field f = ShellKinematics::At(points_, xi, eta);
    Eigen::Matrix<double, 3, 4 * N> b = Eigen::Matrix<double, 3, 4 * N>::Zero();
    for (int a = 0; a < 2 * N; ++a) {
        b(0, 2 * a) = f.Dxy(0, a);
        b(1, 2 * a + 1) = f.Dxy(1, a);
        b(2, 2 * a) = f.Dxy(1, a);
        b(2, 2 * a + 1) = f.Dxy(0, a);
    }
    return b * Slopes();
}

template <int N>
Eigen::Matrix3d PlateElement<N>::Rigidity() const {
    const double d = material_.Rigidity(), nu = material_.Nu;
    Eigen::Matrix3d r;
    r << d, d * nu, 0, //
        d * nu, d, 0,  //
        0, 0, d * (1 - nu) / 2;
    return r;
}

template <int N>
Element::Matrix PlateElement<N>::Stiffness() const {
    // The curvatures are linear in a triangle: the three inner points are exact.
    const Eigen::Matrix3d rigidity = Rigidity();
    Matrix k = Matrix::Zero(3 * N, 3 * N);
    for (const Quadrature::Point& q : ShellKinematics::SamplePoints(N)) {
        const Curvature b = CurvatureAt(q.Xi[0], q.Xi[1]);
        const double weight = q.Weight * ShellKinematics::At(points_, q.Xi[0], q.Xi[1]).Measure;
        k.noalias() += weight * b.transpose() * rigidity * b;
    }
    return k;
}

template <int N>
Element::Matrix PlateElement<N>::Mass() const {
    const auto shares = ShellKinematics::Shares(points_);
    Matrix m = Matrix::Zero(3 * N, 3 * N);
    for (int a = 0; a < N; ++a)
        m(3 * a, 3 * a) = material_.Density * material_.Thickness * shares(a);
    return m;
}

template <int N>
double PlateElement<N>::TotalMass() const {
    return material_.Density * material_.Thickness * ShellKinematics::Area(points_);
}

template <int N>
Element::Vector PlateElement<N>::Loads(const std::array<double, 3>& perUnit) const {
    const auto shares = ShellKinematics::Shares(points_);
    Vector f = Vector::Zero(3 * N);
    for (int a = 0; a < N; ++a)
        f(3 * a) = perUnit[2] * shares(a);
    return f;
}

template <int N>
ResultLayout PlateElement<N>::Layout() const {
    constexpr auto moment = ResultColumn::Quantity::MomentPerLength;
    constexpr auto shear = ResultColumn::Quantity::ForcePerLength;
    return {{{"mx", "Moment mx", moment},
             {"my", "Moment my", moment},
             {"mxy", "Twisting moment mxy", moment},
             {"qx", "Shear force qx", shear},
             {"qy", "Shear force qy", shear}}};
}

template <int N>
Eigen::Matrix<double, N, 3> PlateElement<N>::SampleMoments(const Vector& u) const {
    const Eigen::Matrix3d rigidity = Rigidity();
    const auto& points = ShellKinematics::SamplePoints(N);
    Eigen::Matrix<double, N, 3> moments;
    for (int g = 0; g < N; ++g)
        moments.row(g) =
            (rigidity * (CurvatureAt(points[g].Xi[0], points[g].Xi[1]) * u)).transpose();
    return moments;
}

template <int N>
Eigen::Matrix<double, 1, 5> PlateElement<N>::Fitted(const Eigen::Matrix<double, N, 3>& moments,
                                                    double xi, double eta) const {
    const ShellKinematics::Fit fit = ShellKinematics::FitAt(points_, xi, eta);
    const Eigen::Matrix<double, 2, 3> gradient = fit.Gradient * moments; // rows d/dx, d/dy
    Eigen::Matrix<double, 1, 5> row;
    row.head<3>() = fit.Value * moments;
    row(3) = gradient(0, 0) + gradient(1, 2);
    row(4) = gradient(0, 2) + gradient(1, 1);
    return row;
}

template <int N>
Element::Results PlateElement<N>::Recover(const Vector& u) const {
    const Eigen::Matrix<double, N, 3> moments = SampleMoments(u);
    Results block(N + 1, 5);
    const std::array<double, 2> centre = ShellKinematics::Centre(N);
    block.row(0) = Fitted(moments, centre[0], centre[1]);
    for (int a = 0; a < N; ++a) {
        const std::array<double, 2> corner = ShellKinematics::Corner(N, a);
        block.row(a + 1) = Fitted(moments, corner[0], corner[1]);
    }
    return block;
}

template <int N>
Element::Sampled PlateElement<N>::Sample(const Vector& u) const {
    const Eigen::Matrix<double, N, 3> moments = SampleMoments(u);
    const auto& points = ShellKinematics::SamplePoints(N);
    Sampled sampled;
    sampled.At.resize(N, 2);
    sampled.Values.resize(N, 5);
    for (int g = 0; g < N; ++g) {
        const auto& xi = points[g].Xi;
        const std::array<double, 2> at = ShellKinematics::Position(points_, xi[0], xi[1]);
        sampled.At.row(g) << at[0], at[1];
        sampled.Values.row(g) = Fitted(moments, xi[0], xi[1]);
    }
    return sampled;
}

template <int N>
Element::Vector PlateElement<N>::VolumeLoads(const std::array<double, 3>& perVolume) const {
    return Loads({0, 0, perVolume[2] * material_.Thickness});
}

template <int N>
Eigen::Vector3d PlateElement<N>::HeatMoments(const Heat& heat) const {
    const double curvature = -heat.Alpha * heat.Across / material_.Thickness;
    return Rigidity() * Eigen::Vector3d(curvature, curvature, 0);
}

template <int N>
Element::Vector PlateElement<N>::HeatLoads(const Heat& heat) const {
    // The stiffness's own points, exact for the triangle's linear curvatures.
    const Eigen::Vector3d moments = HeatMoments(heat);
    Vector f = Vector::Zero(3 * N);
    for (const Quadrature::Point& q : ShellKinematics::SamplePoints(N)) {
        const double weight = q.Weight * ShellKinematics::At(points_, q.Xi[0], q.Xi[1]).Measure;
        f.noalias() += weight * CurvatureAt(q.Xi[0], q.Xi[1]).transpose() * moments;
    }
    return f;
}

template <int N>
Element::Results PlateElement<N>::HeatResults(const Heat& heat) const {
    // Even moments: no shear force of their own.
    Results block = Results::Zero(N + 1, 5);
    block.leftCols<3>().rowwise() = HeatMoments(heat).transpose();
    return block;
}

template <int N>
Element::Results PlateElement<N>::HeatSamples(const Heat& heat) const {
    return HeatResults(heat).topRows(N);
}

template class PlateElement<3>;
template class PlateElement<4>;

PlateFoundation::PlateFoundation(std::span<const int> nodes,
                                 std::span<const std::array<double, 2>> corners, double k)
    : count_(corners.size()), k_(k) {
    if ((count_ != 3 && count_ != 4) || nodes.size() != count_)
        throw std::invalid_argument("a plate's foundation lies under three or four corners");
    std::copy(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(count_), nodes_.begin());
    std::copy(corners.begin(), corners.end(), corners_.begin());
    ShellKinematics::Validate(corners);
}

Element::Matrix PlateFoundation::Stiffness() const {
    // L_a L_b dA is of degree 2 in a triangle and 3 in each direction of a quadrilateral's
    // square: three inner points, or 2 x 2 Gauss points, are exact.
    static const std::vector<Quadrature::Point> triangle = Quadrature::Triangle(2);
    static const std::vector<Quadrature::Point> square = Quadrature::Square(2);
    const std::span<const std::array<double, 2>> corners(corners_.data(), count_);
    const auto n = static_cast<Eigen::Index>(count_);
    Matrix k = Matrix::Zero(3 * n, 3 * n);
    for (const Quadrature::Point& q : count_ == 3 ? triangle : square) {
        const ShellKinematics::Field f = ShellKinematics::At(corners, q.Xi[0], q.Xi[1]);
        const double weight = k_ * q.Weight * f.Measure;
        for (Eigen::Index a = 0; a < n; ++a)
            for (Eigen::Index b = 0; b < n; ++b)
                k(3 * a, 3 * b) += weight * (f.Linear(a) * f.Linear(b));
    }
    return k;
}
