#include "MembraneDrilling.h"

#include "Elasticity.h"
#include "ShellKinematics.h"

template <int N>
DrillingMembrane<N>::DrillingMembrane(const ShellMaterial& m,
                                      std::array<std::array<double, 2>, N> xy)
    : material_(m), points_(xy) {
    ShellKinematics::Validate(points_);
}

template <int N>
Eigen::Matrix<double, 4 * N, 3 * N> DrillingMembrane<N>::Expand() const {
    Eigen::Matrix<double, 4 * N, 3 * N> expand = Eigen::Matrix<double, 4 * N, 3 * N>::Zero();
    for (int a = 0; a < N; ++a) {
        expand(2 * a, 3 * a) = 1;
        expand(2 * a + 1, 3 * a + 1) = 1;
    }
    for (int k = 0; k < N; ++k) {
        const int i = k, j = (k + 1) % N;
        const double dx = points_[j][0] - points_[i][0], dy = points_[j][1] - points_[i][1];
        const int row = 2 * (N + k);
        for (int c : {i, j}) {
            expand(row, 3 * c) = 0.5;
            expand(row + 1, 3 * c + 1) = 0.5;
            const double sign = c == j ? 1 : -1;
            expand(row, 3 * c + 2) = sign * dy / 8;
            expand(row + 1, 3 * c + 2) = -sign * dx / 8;
        }
    }
    return expand;
}

template <int N>
typename DrillingMembrane<N>::Strain DrillingMembrane<N>::StrainAt(double xi, double eta) const {
    const ShellKinematics::Field f = ShellKinematics::At(points_, xi, eta);
    Eigen::Matrix<double, 3, 4 * N> b = Eigen::Matrix<double, 3, 4 * N>::Zero();
    for (int a = 0; a < 2 * N; ++a) {
        b(0, 2 * a) = f.Dxy(0, a);
        b(1, 2 * a + 1) = f.Dxy(1, a);
        b(2, 2 * a) = f.Dxy(1, a);
        b(2, 2 * a + 1) = f.Dxy(0, a);
    }
    return b * Expand();
}

template <int N>
Eigen::Matrix3d DrillingMembrane<N>::Elastic() const {
    return material_.Thickness * Elasticity::PlaneStress(material_.E, material_.Nu);
}

template <int N>
Element::Matrix DrillingMembrane<N>::Stiffness() const {
    // The strains are linear in a triangle (three inner points are exact) and quadratic in a
    // quadrilateral's reference square (3 x 3 Gauss points).
    static const std::vector<Quadrature::Point> rule =
        N == 3 ? Quadrature::Triangle(2) : Quadrature::Square(3);
    const Eigen::Matrix3d elastic = Elastic();
    Element::Matrix k = Element::Matrix::Zero(3 * N, 3 * N);
    for (const Quadrature::Point& q : rule) {
        const Strain b = StrainAt(q.Xi[0], q.Xi[1]);
        const double weight = q.Weight * ShellKinematics::At(points_, q.Xi[0], q.Xi[1]).Measure;
        k.noalias() += weight * b.transpose() * elastic * b;
    }
    // The penalty gamma t A (theta - omega)^2 at the centre.
    const std::array<double, 2> centre = ShellKinematics::Centre(N);
    const ShellKinematics::Field f = ShellKinematics::At(points_, centre[0], centre[1]);
    const Eigen::Matrix<double, 4 * N, 3 * N> expand = Expand();
    Eigen::Matrix<double, 1, 3 * N> spin = Eigen::Matrix<double, 1, 3 * N>::Zero();
    for (int a = 0; a < 2 * N; ++a)
        spin += 0.5 * (f.Dxy(0, a) * expand.row(2 * a + 1) - f.Dxy(1, a) * expand.row(2 * a));
    for (int a = 0; a < N; ++a)
        spin(3 * a + 2) -= f.Linear(a);
    const double gamma =
        Penalty * material_.ShearModulus() * material_.Thickness * ShellKinematics::Area(points_);
    k.noalias() += gamma * spin.transpose() * spin;
    return k;
}

template <int N>
Eigen::Matrix<double, N, 3> DrillingMembrane<N>::SampleForces(const Element::Vector& u) const {
    const Eigen::Matrix3d elastic = Elastic();
    const auto& points = ShellKinematics::SamplePoints(N);
    Eigen::Matrix<double, N, 3> forces;
    for (int g = 0; g < N; ++g) {
        const auto& xi = points[static_cast<size_t>(g)].Xi;
        forces.row(g) = (elastic * (StrainAt(xi[0], xi[1]) * u)).transpose();
    }
    return forces;
}

template <int N>
Element::Results DrillingMembrane<N>::Forces(const Element::Vector& u) const {
    return Fitted(SampleForces(u));
}

template <int N>
Element::Results DrillingMembrane<N>::Fitted(const Eigen::Matrix<double, N, 3>& forces) const {
    // Fitted through the sample points: exact for the triangle's linear strains, the usual
    // extrapolation from the Gauss points of a quadrilateral.
    Element::Results block(N + 1, 3);
    const std::array<double, 2> centre = ShellKinematics::Centre(N);
    block.row(0) = ShellKinematics::FitAt(points_, centre[0], centre[1]).Value * forces;
    for (int a = 0; a < N; ++a) {
        const std::array<double, 2> corner = ShellKinematics::Corner(N, a);
        block.row(a + 1) = ShellKinematics::FitAt(points_, corner[0], corner[1]).Value * forces;
    }
    return block;
}

template <int N>
Element::Sampled DrillingMembrane<N>::Sample(const Element::Vector& u) const {
    const auto& points = ShellKinematics::SamplePoints(N);
    Element::Sampled sampled;
    sampled.At.resize(N, 2);
    for (int g = 0; g < N; ++g) {
        const auto& xi = points[static_cast<size_t>(g)].Xi;
        const std::array<double, 2> at = ShellKinematics::Position(points_, xi[0], xi[1]);
        sampled.At.row(g) << at[0], at[1];
    }
    sampled.Values = SampleForces(u);
    return sampled;
}

template <int N>
Eigen::Vector3d DrillingMembrane<N>::FreeStrain(const Element::Heat& heat, double xi,
                                                double eta) const {
    const ShellKinematics::Field f = ShellKinematics::At(points_, xi, eta);
    double change = 0;
    for (int a = 0; a < N; ++a)
        change += f.Linear(a) * heat.Change[static_cast<size_t>(a)];
    return Eigen::Vector3d(1, 1, 0) * (heat.Alpha * change);
}

template <int N>
Element::Vector DrillingMembrane<N>::HeatLoads(const Element::Heat& heat) const {
    // The stiffness's own rule.
    static const std::vector<Quadrature::Point> rule =
        N == 3 ? Quadrature::Triangle(2) : Quadrature::Square(3);
    const Eigen::Matrix3d elastic = Elastic();
    Element::Vector f = Element::Vector::Zero(3 * N);
    for (const Quadrature::Point& q : rule) {
        const double weight = q.Weight * ShellKinematics::At(points_, q.Xi[0], q.Xi[1]).Measure;
        f.noalias() += weight * StrainAt(q.Xi[0], q.Xi[1]).transpose() *
                       (elastic * FreeStrain(heat, q.Xi[0], q.Xi[1]));
    }
    return f;
}

template <int N>
Eigen::Matrix<double, N, 3> DrillingMembrane<N>::SampleHeatForces(const Element::Heat& heat) const {
    const Eigen::Matrix3d elastic = Elastic();
    const auto& points = ShellKinematics::SamplePoints(N);
    Eigen::Matrix<double, N, 3> forces;
    for (int g = 0; g < N; ++g) {
        const auto& xi = points[static_cast<size_t>(g)].Xi;
        forces.row(g) = (elastic * FreeStrain(heat, xi[0], xi[1])).transpose();
    }
    return forces;
}

template <int N>
Element::Results DrillingMembrane<N>::HeatForces(const Element::Heat& heat) const {
    return Fitted(SampleHeatForces(heat));
}

template <int N>
Element::Results DrillingMembrane<N>::HeatSamples(const Element::Heat& heat) const {
    return SampleHeatForces(heat);
}

template class DrillingMembrane<3>;
template class DrillingMembrane<4>;
