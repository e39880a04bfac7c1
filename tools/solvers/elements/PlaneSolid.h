#pragma once

#include "Element.h"

#include <array>

// What the plane continuum elements share: the corners in the plane of the model (x-z, or r-z
// for a body of revolution), the elasticity of the material and how a strain is formed.
// Plane stress and plane strain have the strains (ex, ez, gxz); the body of revolution
// (er, ez, grz, et) with the hoop strain ur / r, and its matrices are per radian: integrals
// over the cross-section weighted by r. The displacement components are ux (ur) and uz,
// components 0 and 2 of the six of space.
struct PlaneSolid {
    enum class Form { Plane, Axisymmetric };

    using Elastic = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, 4, 4>;
    using Point = Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 4, 1>;

    Form Kind = Form::Plane;
    Elastic D;            // 3 x 3 or 4 x 4
    double Thickness = 1; // plane stress: the panel's t; otherwise 1
    double Density = 0;   // mass per volume
    // Plane strain: the stress across the plane, sy = nu (sx + sz), is given with the others.
    bool OutOfPlaneStress = false;
    // Plane strain (with Form::Plane): the body is held across the plane, which a change of
    // temperature strains too.
    bool PlaneStrain = false;
    double E = 0, Nu = 0;

    int Strains() const { return Kind == Form::Axisymmetric ? 4 : 3; }
    // The stresses an element gives per point: sx sz txz, then sy (plane strain) or st (the
    // hoop stress of a body of revolution).
    int Stresses() const { return Strains() + (OutOfPlaneStress ? 1 : 0); }
    // The stresses of a strain, in the order above, and their names.
    Point Stress(const Point& strain) const;
    ResultLayout StressLayout() const;

    // The strains a free change of temperature `alphaT` (alpha times the change) would take,
    // in the order of the strains: alpha T in the plane (and round the hoop); in plane strain
    // (1 + nu) alpha T, for the body may not stretch across the plane as it would.
    Point FreeStrain(double alphaT) const;
    // What the heat takes off Stress() of the displacements' strain, where `strain0` is the
    // strain the heat leaves unstressed at the point (its free strain, less what the element's
    // inner modes take of it): D strain0, and across the plane of plane strain
    // nu (sx0 + sz0) + E alpha T, so that sy = nu (sx + sz) - E alpha T.
    Point HeatStress(const Point& strain0, double alphaT) const;
    // The loads of a force per volume (x and z components; r and z in a body of revolution)
    // at a point of the shape values `n` and weight `weight` (the measure of the point, its
    // thickness or radius included), added to `f`.
    static void AddVolumeLoads(Element::Vector& f, double weight,
                               const Eigen::Ref<const Eigen::VectorXd>& n,
                               const std::array<double, 3>& perVolume);

    static constexpr std::array<int, 2> Components = {0, 2};
};

// Rows for the centre and then each corner of an element, one column per stress of
// PlaneSolid::Stresses().
using StressBlock = Element::Results;

// What the plane elements of N corners share: the solid they are made of, their nodes and
// the corners' coordinates (counter-clockwise), the components ux (ur) and uz and the names
// of their stresses.
template <int N>
class PlaneElement : public Element {
public:
    PlaneElement(const PlaneSolid& solid, std::array<int, N> corners,
                 std::array<std::array<double, 2>, N> points)
        : solid_(&solid), corners_(corners), points_(points) {}

    std::span<const int> Nodes() const override { return corners_; }
    std::span<const int> Components() const override { return PlaneSolid::Components; }
    ResultLayout Layout() const override { return solid_->StressLayout(); }

protected:
    const PlaneSolid* solid_;
    std::array<int, N> corners_;
    std::array<std::array<double, 2>, N> points_;
};

// The three-node triangle of constant strain (and of the strain that follows from linear
// displacements in a body of revolution).
class PlaneTriangle final : public PlaneElement<3> {
public:
    using PlaneElement::PlaneElement;

    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override;
    StressBlock Recover(const Vector& u) const override;
    Sampled Sample(const Vector& u) const override;
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
    Results HeatSamples(const Heat& heat) const override;
};

// The four-node quadrilateral with incompatible bending modes (1 - xi^2, 1 - eta^2) condensed
// out, in Taylor's form: the modes' strains are taken with the Jacobian of the centre, so
// that they add nothing to a constant stress and the element passes the patch test on any
// convex shape, while a rectangle bends as a beam does instead of locking in shear.
class PlaneQuad final : public PlaneElement<4> {
public:
    using PlaneElement::PlaneElement;

    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override;
    StressBlock Recover(const Vector& u) const override;
    Sampled Sample(const Vector& u) const override;
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;
    // The heat's loads with its share on the inner modes condensed out as the stiffness is, and
    // its stresses with the modes it moves itself.
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
    Results HeatSamples(const Heat& heat) const override;

private:
    struct Parts;  // the matrices of the compatible and incompatible modes
    struct Heated; // the heat's loads on both kinds of modes
    // `compatible`: with the stiffness of the compatible modes, which the stresses do not need.
    Parts Integrate(bool compatible = true) const;
    Heated HeatOn(const Parts& parts, const Heat& heat) const;
    // The stresses at the 2 x 2 Gauss points, in the order of Quadrature::Square(2).
    Results GaussStresses(const Vector& u) const;
    Results GaussHeatStresses(const Heat& heat) const;
};
