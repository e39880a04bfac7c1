#include "PlaneKinematics.h"
#include "PlaneSolid.h"
#include "Quadrature.h"
#include "ShapeFunctions.h"

#include <cmath>

namespace {

using Form = PlaneSolid::Form;
using Points = std::array<std::array<double, 2>, 4>;
using Jacobian = Eigen::Matrix2d;

// Rows: d/dxi, d/deta; columns: x, z.
Jacobian JacobianAt(const Points& p, const ShapeFunctions::Values& v) {
    Jacobian j = Jacobian::Zero();
    for (int a = 0; a < 4; ++a) {
        j(0, 0) += v.Derived(0, a) * p[a][0];
        j(0, 1) += v.Derived(0, a) * p[a][1];
        j(1, 0) += v.Derived(1, a) * p[a][0];
        j(1, 1) += v.Derived(1, a) * p[a][1];
    }
    return j;
}

double RadiusAt(const Points& p, const ShapeFunctions::Values& v) {
    double r = 0;
    for (int a = 0; a < 4; ++a)
        r += v.N(a) * p[a][0];
    return r;
}

using Incompatible = Eigen::Matrix<double, Eigen::Dynamic, 4, Eigen::ColMajor, 4, 4>;

// The strains of the incompatible modes 1 - xi^2 and 1 - eta^2 at (xi, eta), each in ux and
// uz: their derivatives taken with the centre's Jacobian and scaled by the centre's measure
// over the point's, which makes their integral over the element vanish exactly.
Incompatible IncompatibleStrain(Form form, const Jacobian& centreInverse, double scale, double xi,
                                double eta) {
    Eigen::Matrix2d dp;
    dp << -2 * xi, 0, //
        0, -2 * eta;
    const Eigen::Matrix2d g = scale * centreInverse * dp; // rows d/dx, d/dz; columns the modes
    Incompatible b = Incompatible::Zero(form == Form::Axisymmetric ? 4 : 3, 4);
    for (int m = 0; m < 2; ++m) {
        b(0, 2 * m) = g(0, m);
        b(1, 2 * m + 1) = g(1, m);
        b(2, 2 * m) = g(1, m);
        b(2, 2 * m + 1) = g(0, m);
    }
    return b;
}

// The 2 x 2 Gauss points in the order of Quadrature::Square(2): (-,-), (+,-), (-,+), (+,+).
const std::vector<Quadrature::Point>& Gauss() {
    static const std::vector<Quadrature::Point> rule = Quadrature::Square(2);
    return rule;
}

} // namespace

struct PlaneQuad::Parts {
    Eigen::Matrix<double, 8, 8> Kcc = Eigen::Matrix<double, 8, 8>::Zero();
    Eigen::Matrix<double, 8, 4> Kci = Eigen::Matrix<double, 8, 4>::Zero();
    Eigen::Matrix4d Kii = Eigen::Matrix4d::Zero();
    // Per Gauss point, the compatible and incompatible strain operators, for the stresses.
    std::array<PlaneKinematics::Operator, 4> Bc;
    std::array<Incompatible, 4> Bi;
    // Per Gauss point, its weight (the measure with the thickness or radius) and shape values.
    std::array<double, 4> Weight{};
    std::array<Eigen::Vector4d, 4> N;
};

struct PlaneQuad::Heated {
    Eigen::Matrix<double, 8, 1> Fc = Eigen::Matrix<double, 8, 1>::Zero();
    Eigen::Vector4d Fi = Eigen::Vector4d::Zero();
    std::array<double, 4> AlphaT{}; // alpha times the change at each Gauss point
};

PlaneQuad::Parts PlaneQuad::Integrate(bool compatible) const {
    const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
    const ShapeFunctions::Values centre = ShapeFunctions::Quad4(0, 0);
    const Jacobian j0 = JacobianAt(points_, centre);
    const Jacobian j0Inverse = j0.inverse();
    const double centreMeasure = j0.determinant() * (axisymmetric ? RadiusAt(points_, centre) : 1);
    Parts parts;
    const auto& rule = Gauss();
    for (size_t g = 0; g < rule.size(); ++g) {
        const Quadrature::Point& q = rule[g];
        const ShapeFunctions::Values v = ShapeFunctions::Quad4(q.Xi[0], q.Xi[1]);
        const Jacobian j = JacobianAt(points_, v);
        const double det = j.determinant();
        const PlaneKinematics::Gradient dndx = j.inverse() * v.Derived;
        const double r = axisymmetric ? RadiusAt(points_, v) : 1.0;
        const PlaneKinematics::Operator bc = PlaneKinematics::Strain(solid_->Kind, v.N, dndx, r);
        const double measure = det * (axisymmetric ? r : 1.0);
        const Incompatible bi =
            IncompatibleStrain(solid_->Kind, j0Inverse, centreMeasure / measure, q.Xi[0], q.Xi[1]);
        const double weight = q.Weight * measure * (axisymmetric ? 1.0 : solid_->Thickness);
        const auto dbc = (solid_->D * bc).eval();
        if (compatible)
            parts.Kcc.noalias() += weight * bc.transpose() * dbc;
        parts.Kci.noalias() += weight * dbc.transpose() * bi;
        parts.Kii.noalias() += weight * bi.transpose() * solid_->D * bi;
        parts.Bc[g] = bc;
        parts.Bi[g] = bi;
        parts.Weight[g] = weight;
        parts.N[g] = v.N;
    }
    return parts;
}

PlaneQuad::Heated PlaneQuad::HeatOn(const Parts& parts, const Heat& heat) const {
    const Eigen::Vector4d change(heat.Change[0], heat.Change[1], heat.Change[2], heat.Change[3]);
    Heated heated;
    for (size_t g = 0; g < 4; ++g) {
        heated.AlphaT[g] = heat.Alpha * parts.N[g].dot(change);
        const PlaneSolid::Point stress0 = solid_->D * solid_->FreeStrain(heated.AlphaT[g]);
        heated.Fc.noalias() += parts.Weight[g] * parts.Bc[g].transpose() * stress0;
        heated.Fi.noalias() += parts.Weight[g] * parts.Bi[g].transpose() * stress0;
    }
    return heated;
}

Element::Matrix PlaneQuad::Stiffness() const {
    const Parts p = Integrate();
    return p.Kcc - p.Kci * p.Kii.ldlt().solve(p.Kci.transpose());
}

Element::Matrix PlaneQuad::Mass() const {
    const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
    Matrix m = Matrix::Zero(8, 8);
    for (const Quadrature::Point& q : Gauss()) {
        const ShapeFunctions::Values v = ShapeFunctions::Quad4(q.Xi[0], q.Xi[1]);
        const double across = axisymmetric ? RadiusAt(points_, v) : solid_->Thickness;
        const double weight =
            q.Weight * JacobianAt(points_, v).determinant() * across * solid_->Density;
        PlaneKinematics::AddMass(m, weight, v.N);
    }
    return m;
}

double PlaneQuad::TotalMass() const {
    const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
    double mass = 0;
    for (const Quadrature::Point& q : Gauss()) {
        const ShapeFunctions::Values v = ShapeFunctions::Quad4(q.Xi[0], q.Xi[1]);
        mass += q.Weight * JacobianAt(points_, v).determinant() *
                (axisymmetric ? RadiusAt(points_, v) : solid_->Thickness);
    }
    return mass * solid_->Density;
}

Element::Results PlaneQuad::GaussStresses(const Vector& u) const {
    // The stresses need the incompatible modes' matrices, not the compatible stiffness.
    const Parts p = Integrate(false);
    const Eigen::Vector4d a = -p.Kii.ldlt().solve(p.Kci.transpose() * u);
    Results gauss(4, solid_->Stresses());
    for (size_t g = 0; g < 4; ++g) {
        const PlaneSolid::Point strain = p.Bc[g] * u + p.Bi[g] * a;
        gauss.row(static_cast<Eigen::Index>(g)) = solid_->Stress(strain).transpose();
    }
    return gauss;
}

Element::Sampled PlaneQuad::Sample(const Vector& u) const {
    Sampled sampled;
    sampled.Values = GaussStresses(u);
    sampled.At.resize(4, 2);
    const auto& rule = Gauss();
    for (size_t g = 0; g < 4; ++g) {
        const ShapeFunctions::Values v = ShapeFunctions::Quad4(rule[g].Xi[0], rule[g].Xi[1]);
        for (int c = 0; c < 2; ++c) {
            double x = 0;
            for (int k = 0; k < 4; ++k)
                x += v.N(k) * points_[static_cast<size_t>(k)][static_cast<size_t>(c)];
            sampled.At(static_cast<Eigen::Index>(g), c) = x;
        }
    }
    return sampled;
}

namespace {

// The stresses at the Gauss points, extrapolated bilinearly to the corners; the centre is
// their mean, where the incompatible modes' strains vanish.
StressBlock Extrapolated(const Element::Results& gauss) {
    StressBlock block(5, gauss.cols());
    block.row(0) = gauss.colwise().mean();
    // Corner (xi, eta) = (+-1, +-1) lies at (+-sqrt 3, +-sqrt 3) in the Gauss points' own
    // coordinates.
    static constexpr double Corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    static constexpr double GaussSign[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    const double s = std::sqrt(3.0);
    for (int c = 0; c < 4; ++c) {
        block.row(c + 1).setZero();
        for (int g = 0; g < 4; ++g) {
            const double w = (1 + GaussSign[g][0] * s * Corner[c][0]) *
                             (1 + GaussSign[g][1] * s * Corner[c][1]) / 4;
            block.row(c + 1) += w * gauss.row(g);
        }
    }
    return block;
}

} // namespace

StressBlock PlaneQuad::Recover(const Vector& u) const {
    return Extrapolated(GaussStresses(u));
}

Element::Vector PlaneQuad::VolumeLoads(const std::array<double, 3>& perVolume) const {
    const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
    Vector f = Vector::Zero(8);
    for (const Quadrature::Point& q : Gauss()) {
        const ShapeFunctions::Values v = ShapeFunctions::Quad4(q.Xi[0], q.Xi[1]);
        const double across = axisymmetric ? RadiusAt(points_, v) : solid_->Thickness;
        PlaneSolid::AddVolumeLoads(f, q.Weight * JacobianAt(points_, v).determinant() * across, v.N,
                                   perVolume);
    }
    return f;
}

Element::Vector PlaneQuad::HeatLoads(const Heat& heat) const {
    // The inner modes are free: the heat's loads on them are condensed out as their stiffness.
    const Parts p = Integrate(false);
    const Heated h = HeatOn(p, heat);
    return h.Fc - p.Kci * p.Kii.ldlt().solve(h.Fi);
}

Element::Results PlaneQuad::GaussHeatStresses(const Heat& heat) const {
    // Held at its nodes, the heated element still moves its inner modes, a = Kii^-1 Fi; what
    // they strain adds to the displacements' strain as the free strain takes from it.
    const Parts p = Integrate(false);
    const Heated h = HeatOn(p, heat);
    const Eigen::Vector4d a = p.Kii.ldlt().solve(h.Fi);
    Results gauss(4, solid_->Stresses());
    for (size_t g = 0; g < 4; ++g) {
        const PlaneSolid::Point strain0 = solid_->FreeStrain(h.AlphaT[g]) - p.Bi[g] * a;
        gauss.row(static_cast<Eigen::Index>(g)) =
            solid_->HeatStress(strain0, h.AlphaT[g]).transpose();
    }
    return gauss;
}

Element::Results PlaneQuad::HeatResults(const Heat& heat) const {
    return Extrapolated(GaussHeatStresses(heat));
}

Element::Results PlaneQuad::HeatSamples(const Heat& heat) const {
    return GaussHeatStresses(heat);
}
