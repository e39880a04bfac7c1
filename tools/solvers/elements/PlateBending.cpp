#include "PlateBending.h"

#include "ShellKinematics.h"

#include <cmath>

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

template class PlateElement<3>;
template class PlateElement<4>;
