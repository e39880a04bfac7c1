#include "PlaneKinematics.h"
#include "PlaneSolid.h"
#include "Quadrature.h"
#include "ShapeFunctions.h"

namespace {

using Form = PlaneSolid::Form;

struct Geometry {
    PlaneKinematics::Gradient Dndx;
    double Area = 0; // positive: the corners run counter-clockwise
};

Geometry Of(const std::array<std::array<double, 2>, 3>& p) {
    const double x21 = p[1][0] - p[0][0], z21 = p[1][1] - p[0][1];
    const double x31 = p[2][0] - p[0][0], z31 = p[2][1] - p[0][1];
    const double twice = x21 * z31 - x31 * z21;
    Geometry g;
    g.Area = twice / 2;
    g.Dndx.resize(2, 3);
    g.Dndx << z21 - z31, z31, -z21, //
        x31 - x21, -x31, x21;
    g.Dndx /= twice;
    return g;
}

// The integration points: the centroid is exact for the plane forms; the body of revolution
// weights by r and has the hoop strain, which vary over the element.
const std::vector<Quadrature::Point>& Rule(Form form) {
    static const std::vector<Quadrature::Point> centroid = Quadrature::Triangle(1);
    static const std::vector<Quadrature::Point> three = Quadrature::Triangle(2);
    return form == Form::Axisymmetric ? three : centroid;
}

double Radius(const std::array<std::array<double, 2>, 3>& p, const PlaneKinematics::Shape& n) {
    return n(0) * p[0][0] + n(1) * p[1][0] + n(2) * p[2][0];
}

} // namespace

Element::Matrix PlaneTriangle::Stiffness() const {
    const Geometry g = Of(points_);
    Matrix k = Matrix::Zero(6, 6);
    for (const Quadrature::Point& q : Rule(solid_->Kind)) {
        const ShapeFunctions::Values v = ShapeFunctions::Triangle3(q.Xi[0], q.Xi[1]);
        const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
        const double r = axisymmetric ? Radius(points_, v.N) : 1.0;
        const PlaneKinematics::Operator b = PlaneKinematics::Strain(solid_->Kind, v.N, g.Dndx, r);
        const double weight = q.Weight * 2 * g.Area * (axisymmetric ? r : solid_->Thickness);
        k.noalias() += weight * b.transpose() * solid_->D * b;
    }
    return k;
}

Element::Matrix PlaneTriangle::Mass() const {
    const Geometry g = Of(points_);
    Matrix m = Matrix::Zero(6, 6);
    static const std::vector<Quadrature::Point> rule = Quadrature::Triangle(2);
    for (const Quadrature::Point& q : rule) {
        const ShapeFunctions::Values v = ShapeFunctions::Triangle3(q.Xi[0], q.Xi[1]);
        const double across =
            solid_->Kind == Form::Axisymmetric ? Radius(points_, v.N) : solid_->Thickness;
        const double weight = q.Weight * 2 * g.Area * across * solid_->Density;
        PlaneKinematics::AddMass(m, weight, v.N);
    }
    return m;
}

double PlaneTriangle::TotalMass() const {
    const double across = solid_->Kind == Form::Axisymmetric
                              ? (points_[0][0] + points_[1][0] + points_[2][0]) / 3
                              : solid_->Thickness;
    return solid_->Density * Of(points_).Area * across;
}

StressBlock PlaneTriangle::Recover(const Vector& u) const {
    const Geometry g = Of(points_);
    StressBlock block(4, solid_->Stresses());
    // The centre, then the corners in reference coordinates.
    static constexpr double At[4][2] = {{1.0 / 3, 1.0 / 3}, {0, 0}, {1, 0}, {0, 1}};
    for (int row = 0; row < 4; ++row) {
        const ShapeFunctions::Values v = ShapeFunctions::Triangle3(At[row][0], At[row][1]);
        PlaneKinematics::Shape n = v.N;
        double r = 1;
        bool onAxis = false;
        if (solid_->Kind == Form::Axisymmetric) {
            r = Radius(points_, n);
            onAxis = r <= 0;
            if (onAxis) // ur = 0 on the axis: the hoop strain is er there, taken below
                r = 1;
        }
        const PlaneKinematics::Operator b = PlaneKinematics::Strain(solid_->Kind, n, g.Dndx, r);
        PlaneSolid::Point strain = b * u;
        if (onAxis)
            strain(3) = strain(0);
        block.row(row) = solid_->Stress(strain).transpose();
    }
    return block;
}

Element::Sampled PlaneTriangle::Sample(const Vector& u) const {
    // The centroid, where the strain of a triangle is exact for a plane form and best for a
    // body of revolution.
    Sampled sampled;
    sampled.At.resize(1, 2);
    sampled.At << (points_[0][0] + points_[1][0] + points_[2][0]) / 3,
        (points_[0][1] + points_[1][1] + points_[2][1]) / 3;
    sampled.Values = Recover(u).topRows(1);
    return sampled;
}

namespace {

double Temperature(const Element::Heat& heat, const PlaneKinematics::Shape& n) {
    return n(0) * heat.Change[0] + n(1) * heat.Change[1] + n(2) * heat.Change[2];
}

} // namespace

Element::Vector PlaneTriangle::VolumeLoads(const std::array<double, 3>& perVolume) const {
    // Three inner points integrate N, and N r, exactly.
    const Geometry g = Of(points_);
    Vector f = Vector::Zero(6);
    static const std::vector<Quadrature::Point> rule = Quadrature::Triangle(2);
    for (const Quadrature::Point& q : rule) {
        const ShapeFunctions::Values v = ShapeFunctions::Triangle3(q.Xi[0], q.Xi[1]);
        const double across =
            solid_->Kind == Form::Axisymmetric ? Radius(points_, v.N) : solid_->Thickness;
        PlaneSolid::AddVolumeLoads(f, q.Weight * 2 * g.Area * across, v.N, perVolume);
    }
    return f;
}

Element::Vector PlaneTriangle::HeatLoads(const Heat& heat) const {
    // The stiffness's own points: the centroid takes the mean change of a plane triangle, whose
    // strain operator is constant, exactly.
    const Geometry g = Of(points_);
    Vector f = Vector::Zero(6);
    const bool axisymmetric = solid_->Kind == Form::Axisymmetric;
    for (const Quadrature::Point& q : Rule(solid_->Kind)) {
        const ShapeFunctions::Values v = ShapeFunctions::Triangle3(q.Xi[0], q.Xi[1]);
        const double r = axisymmetric ? Radius(points_, v.N) : 1.0;
        const PlaneKinematics::Operator b = PlaneKinematics::Strain(solid_->Kind, v.N, g.Dndx, r);
        const double weight = q.Weight * 2 * g.Area * (axisymmetric ? r : solid_->Thickness);
        const PlaneSolid::Point strain0 = solid_->FreeStrain(heat.Alpha * Temperature(heat, v.N));
        f.noalias() += weight * b.transpose() * (solid_->D * strain0);
    }
    return f;
}

Element::Results PlaneTriangle::HeatResults(const Heat& heat) const {
    // The rows of Recover(): the centre, then the corners.
    static constexpr double At[4][2] = {{1.0 / 3, 1.0 / 3}, {0, 0}, {1, 0}, {0, 1}};
    Results block(4, solid_->Stresses());
    for (int row = 0; row < 4; ++row) {
        const double alphaT =
            heat.Alpha * Temperature(heat, ShapeFunctions::Triangle3(At[row][0], At[row][1]).N);
        block.row(row) = solid_->HeatStress(solid_->FreeStrain(alphaT), alphaT).transpose();
    }
    return block;
}

Element::Results PlaneTriangle::HeatSamples(const Heat& heat) const {
    return HeatResults(heat).topRows(1);
}
